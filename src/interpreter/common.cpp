// PLACEHOLDER: owned by the COMMON work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecCommon(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
}  // namespace basic
namespace basic {
void TBasic::ImportCommon(varrec&) {}
void TBasic::ExportCommon(std::vector<std::string>&) {}
}  // namespace basic
