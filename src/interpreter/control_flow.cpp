// PLACEHOLDER
#include "basic.h"
#include "errors.h"
namespace basic {
void TBasic::ExecGoto(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecIf(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecElse(StatementContext&) { nextToken = NilToken(); }
void TBasic::ExecOn(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecFor(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecNext(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecWhile(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecWend(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecGosub(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::ExecReturn(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }
void TBasic::Jump(StatementContext&) {}
bool TBasic::ScanBlock(TokenCode, TokenCode) { return false; }
}  // namespace basic
