// DATA, READ and RESTORE: READ evaluates each DATA item, where the DATA
// reader points, as an expression when it is read.
#include "basic.h"
#include "data_reader.h"
#include "errors.h"

namespace basic {

// Past the item just read, at the first item of the program or of the next
// DATA statement.
Token* DataReader::NextStatementItem(const Program& program) {
  Token* cursor = dataToken;
  if (dataLine == nullptr) {
    dataLine = program.First();
    if (dataLine == nullptr) RaiseMessage(msg::kOutOfData);
    cursor = dataLine->Tokens.begin();
  }
  if (cursor->code == tcComma) return cursor + 1;  // the same DATA statement
  // The next DATA statement with at least one item, in program order.
  for (;;) {
    if (!StepOverLineEnds(dataLine, cursor)) {
      dataToken = cursor;
      RaiseMessage(msg::kOutOfData);
    }
    const TokenCode code = cursor->code;
    ++cursor;
    if (code == tcData && !AtEndOfStatement(cursor)) return cursor;
  }
}

void TBasic::ExecData(StatementContext&) { SkipStatement(); }

void TBasic::ExecRead(StatementContext&) {
  for (;;) {
    ReadItem(GetVariable());
    if (AtStatementEnd()) return;
    ExpectToken(tcComma);
  }
}

void TBasic::EvaluateItem(const VarLocation& target, Token* item) {
  SavedCursor restore(*this);
  nextToken = item;
  if (target.var->isString) {
    Str value = EvalString();
    *target.str = std::move(value);
  } else {
    *target.num = EvalNumber();
  }
  dataReader.ItemEnded(nextToken);
}

void TBasic::ExecRestore(StatementContext&) {
  if (AtStatementEnd()) {
    ResetDataPointer();
    return;
  }
  dataReader.RestoreTo(*GetTargetLine());
}

}  // namespace basic
