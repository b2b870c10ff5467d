// DATA, READ and RESTORE. Items stay tokens of the program lines; READ walks
// them with its own position (dataLine, dataToken) and evaluates each item
// as an expression when it is read.
#include "basic.h"
#include "errors.h"

namespace basic {

void TBasic::ExecData(StatementContext&) { SkipStatement(); }

void TBasic::ExecRead(StatementContext&) {
  for (;;) {
    const VarLocation target = GetVariable();
    {
      SavedCursor restore(*this);
      nextToken = dataToken;
      if (dataLine == nullptr) {
        dataLine = program.First();
        if (dataLine == nullptr) RaiseMessage(msg::kOutOfData);
        nextToken = dataLine->Tokens.begin();
      }
      if (PeekCode() == tcComma) {
        Advance();  // the next item of the same DATA statement
      } else {
        // The next DATA statement with at least one item, in program order.
        for (;;) {
          if (!StepOverLineEnds(dataLine)) {
            dataToken = nextToken;
            RaiseMessage(msg::kOutOfData);
          }
          const TokenCode code = PeekCode();
          Advance();
          if (code == tcData && !AtStatementEnd()) break;
        }
      }
      if (target.var->isString) {
        Str value = EvalString();
        *target.str = std::move(value);
      } else {
        *target.num = EvalNumber();
      }
      dataToken = nextToken;
    }
    if (AtStatementEnd()) return;
    ExpectToken(tcComma);
  }
}

void TBasic::ExecRestore(StatementContext&) {
  if (AtStatementEnd()) {
    ResetDataPointer();
    return;
  }
  ProgramLine* line = GetTargetLine();
  dataLine = line;
  dataToken = line->Tokens.begin();
}

}  // namespace basic
