// PLACEHOLDER
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecIllegal(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecImplicitLet(StatementContext&) { RaiseMessage("not built yet"); }
void TBasic::ExecLet(StatementContext&) { RaiseMessage("not built yet"); }
void TBasic::ExecDim(StatementContext&) { RaiseMessage("not built yet"); }
void TBasic::ExecRem(StatementContext&) { nextToken = NilToken(); }
void TBasic::ExecEnd(StatementContext&) { StopExecution(); }
void TBasic::ExecStop(StatementContext&) { RaiseError(kBreakCode, msg::kBreak); }
void TBasic::ExecBye(StatementContext&) { stopRequested = true; }
void TBasic::ExecNew(StatementContext&) { NewProgram(); }
void TBasic::ExecRun(StatementContext&) { RaiseMessage("not built yet"); }
}  // namespace basic
