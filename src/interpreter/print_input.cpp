// PRINT and INPUT: the console statements.
#include <string>

#include "basic.h"
#include "errors.h"
#include "invariant.h"
#include "numeric.h"

namespace basic {

// "," and ";" write nothing; they only matter last, where either keeps the
// line open. Every number is followed by one blank, strings by none.
void TBasic::ExecPrint(StatementContext&) {
  bool endsWithSeparator = false;
  valrec item;
  while (!AtStatementEnd()) {
    endsWithSeparator = false;
    TokenCode code = PeekCode();
    if (code == tcComma || code == tcSemicolon) {
      Advance();
      endsWithSeparator = true;
      continue;
    }
    EvalExpression(item);
    if (item.isString) {
      console_.Write(item.strValue.view());
    } else {
      console_.Write(FormatNumber(item.numValue));
      console_.Write(' ');
    }
    console_.ItemDone();
  }
  if (!endsWithSeparator) console_.NewLine();
}

std::string TBasic::ReadInputLine() {
  std::string line;
  PauseObserver(StatementObserver::Pause::kInput);
  // Asking again at the end of input would never end.
  if (!console_.ReadLine(line)) RaiseRuntime(msg::kReadBeyondEnd);
  return line;
}

void TBasic::ExecInput(StatementContext&) {
  if (PeekCode() == tcString) {
    console_.Write(nextToken->Text().view());
    console_.ItemDone();
    Advance();
    ExpectToken(tcSemicolon);
  } else {
    console_.Write("? ");
    console_.ItemDone();
  }

  // The first variable decides the mode of the whole statement; every name in
  // it must agree before anything is read.
  if (PeekCode() != tcVariable) SyntaxError();
  const bool stringMode = nextToken->variable->isString;
  for (Token* t = nextToken; t->code != tcEol && t->code != tcColon && t->code != tcElse; ++t)
    if (t->code == tcVariable && t->variable->isString != stringMode) SyntaxError();

  if (stringMode) {
    // Each variable takes one whole line, unchanged.
    for (;;) {
      std::string line = ReadInputLine();
      VarLocation target = GetVariable();
      BASIC_ASSERT(target.str != nullptr);  // every variable was seen to be a string
      *target.str = Str(line);
      if (AtStatementEnd()) return;
      ExpectToken(tcComma);
      console_.Write("?? ");
      console_.ItemDone();
    }
  }

  // Numeric mode: the typed line is tokenized like program text and each item
  // is an expression evaluated with the program's variables.
  TokenList typed;
  Tokenize(ReadInputLine(), typed);
  Token* position = typed.begin();
  for (;;) {
    VarLocation target = GetVariable();
    while (AtEol(position)) {
      console_.Write("?? ");
      console_.ItemDone();
      std::string line = ReadInputLine();
      typed.FreeTokens();
      Tokenize(line, typed);
      position = typed.begin();
    }
    {
      SavedCursor restore(*this);
      CallsForbidden noCalls(*this);
      nextToken = position;
      double value = EvalNumber();
      BASIC_ASSERT(target.num != nullptr);  // every variable was seen to be numeric
      *target.num = value;
      if (!AtEol(nextToken)) {
        if (PeekCode() != tcComma) SyntaxError();
        Advance();
      }
      position = nextToken;
    }
    if (AtStatementEnd()) return;
    ExpectToken(tcComma);
  }
}

}  // namespace basic
