// The statement loop's slow way, where a StatementObserver sees each
// statement before it runs, and where a transfer of control is told from
// falling through to the next statement.
#include "statement_observer.h"

#include "basic.h"

namespace basic {

namespace {

// Where execution goes after the statement at `first` (in `line`, null when
// immediate) when it does not transfer: the statement after its end, or the
// next line's first one (null when there is none).
void FindSuccessor(const Token* first, const ProgramLine* line, ObservedStatement& out) {
  out.successorLine = line != nullptr ? line->Next : nullptr;
  const Token* t = first + 1;
  while (t->code != tcColon && t->code != tcElse && !AtEol(t)) ++t;
  if (t->code == tcColon) {
    out.successor = t + 1;
  } else if (t->code == tcElse) {
    out.successor = t;  // runs as a statement of its own
  } else {
    out.successor = out.successorLine != nullptr ? out.successorLine->Tokens.begin() : nullptr;
  }
}

bool Transferred(const ObservedStatement& last, const ProgramLine* line, const Token* token) {
  switch (last.code) {
    case tcGoto:
    case tcGosub:
    case tcReturn:
    case tcRun: return true;
    case tcNext:
    case tcWend:
    case tcOn: return token != last.successor;
    // THEN n goes to a line's start; the branch's own statements stay on
    // the IF line, and falling through reaches the next line.
    case tcIf:
      return line != nullptr && token == line->Tokens.begin() && line != last.successorLine;
    default: return false;
  }
}

}  // namespace

void TBasic::SetStatementObserver(StatementObserver* observer) {
  if (observer_ == nullptr && observer != nullptr) {
    observedBudget_ = statementBudget;
    statementBudget = 1;
  } else if (observer_ != nullptr && observer == nullptr) {
    statementBudget = observedBudget_;
  }
  observer_ = observer;
  observed_ = {};
  if (observer_ != nullptr) observer_->Attached(*this);
}

bool TBasic::StatementBudgetSpent(const Token* token) {
  // Spent: later runs stop at their first statement. Observed: the next
  // statement comes this way again.
  statementBudget = 1;
  if (observer_ == nullptr) return true;
  if (--observedBudget_ == 0) {
    observedBudget_ = 1;
    return true;
  }
  ObserveStatement(token);
  return false;
}

void TBasic::ObserveStatement(const Token* token) {
  const ProgramLine* line = currentLine;
  const int32_t number = line != nullptr ? line->LineNo : 0;
  ObservedStatement& last = observed_;
  if (last.seen && Transferred(last, line, token)) observer_->OnJump(last.lineNumber, number);
  const bool entersLine =
      line != nullptr && (!last.seen || line != last.line || number != last.lineNumber ||
                          token == line->Tokens.begin());
  last.seen = true;
  last.line = line;
  last.lineNumber = number;
  last.code = token->code;
  if (last.code == tcNext || last.code == tcWend || last.code == tcOn || last.code == tcIf)
    FindSuccessor(token, line, last);
  observer_->OnStatement(line, entersLine);
}

}  // namespace basic
