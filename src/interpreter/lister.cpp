// PLACEHOLDER: owned by the lister work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecList(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
}  // namespace basic
namespace basic {
void TBasic::ListTokens(const Token*, std::string&) const {}
}  // namespace basic
