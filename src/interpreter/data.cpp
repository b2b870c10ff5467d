// PLACEHOLDER
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecRead(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecData(StatementContext&) { SkipStatement(); }
void TBasic::ExecRestore(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
}  // namespace basic
