// PLACEHOLDER: owned by the DEL/RENUM work; replace the whole file.
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecDel(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecRenum(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
}  // namespace basic
