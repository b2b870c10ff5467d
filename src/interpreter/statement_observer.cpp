// The statement loop's slow way, where a StatementObserver sees each
// statement before it runs, and hears of the transfer the statement before
// it made.
#include "statement_observer.h"

#include "basic.h"

namespace basic {

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
  if (last.seen && last.transferred) observer_->OnJump(last.lineNumber, number);
  const bool entersLine =
      line != nullptr && (!last.seen || number != last.lineNumber || token == line->Tokens.begin());
  last.seen = true;
  last.transferred = false;
  last.lineNumber = number;
  observer_->OnStatement(line, entersLine);
}

}  // namespace basic
