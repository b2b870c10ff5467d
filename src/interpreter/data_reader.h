// Where READ takes its next DATA item. Items stay tokens of the program
// lines; the reader keeps its own position in them (dataLine, dataToken)
// and READ evaluates each item as an expression where the reader points.
#pragma once

#include "program_store.h"
#include "tokens.h"

namespace basic {

class DataReader {
 public:
  // Back to the program's first DATA item (RUN, RESTORE, NEW, any edit:
  // the position may point into a line that is gone).
  void Reset() {
    dataLine = nullptr;
    dataToken = NilToken();
  }
  // RESTORE n: the next item is the first DATA item from line n on.
  void RestoreTo(ProgramLine& line) {
    dataLine = &line;
    dataToken = line.Tokens.begin();
  }
  // The first token of the next item, in program order; "Out of data" after
  // the last, and later calls say so again.
  Token* NextItem(const Program& program) {
    if (dataLine != nullptr && dataToken->code == tcComma) return dataToken + 1;
    return NextStatementItem(program);
  }
  // The item just read ended at `end`: a comma there leads to the next item
  // of the same statement.
  void ItemEnded(Token* end) { dataToken = end; }
  bool AtStart() const { return dataLine == nullptr && AtEol(dataToken); }

 private:
  Token* NextStatementItem(const Program& program);

  ProgramLine* dataLine = nullptr;  // nullptr: before the first line
  Token* dataToken = NilToken();
};

}  // namespace basic
