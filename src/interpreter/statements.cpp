// Simple statements: assignment, DIM, RUN, END, STOP, BYE, NEW, REM, and the
// handler of every code that cannot begin a statement.
#include <cstdint>
#include <string>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

void TBasic::ExecIllegal(StatementContext&) { RaiseMessage(msg::kIllegalCommand); }

// A colon or the end of the line where a statement would start: nothing to
// do, and the cursor stays on it.
void TBasic::ExecEmpty(StatementContext&) { nextToken = currentToken; }

// The target is referenced (and a first subscripted use dimensions it)
// before "=" is looked at and before the value is evaluated, and the location
// is kept: A(1) = A(2) stores into element 1 although A(2) was referenced last.
void TBasic::ExecImplicitLet(StatementContext& ctx) {
  nextToken = currentToken;
  ExecLet(ctx);
}

void TBasic::ExecLet(StatementContext&) {
  if (PeekCode() == tcVariable) {
    // A numeric scalar, the commonest target, without building a reference.
    varrec& v = *nextToken->variable;
    if (v.dimCount == 0 && !v.isString && nextToken[1].code != tcOpen) {
      Advance();
      ExpectToken(tcEqual);
      v.numValue = EvalNumber();
      return;
    }
    // A numeric element through its translated reference, which leaves the
    // element in valuePtr (the value it yields is not needed).
    double unused;
    if (v.dimCount != 0 && !v.isString &&
        RunTranslation(expressions_.FindReference(nextToken), unused)) {
      double* target = static_cast<double*>(v.valuePtr);
      ExpectToken(tcEqual);
      *target = EvalNumber();
      return;
    }
  }
  VarLocation target = GetVariable();
  ExpectToken(tcEqual);
  if (target.var->isString) {
    if (AppendToItself(target)) return;
    Str value = EvalString();
    *target.str = std::move(value);
  } else {
    *target.num = EvalNumber();
  }
}

// A$ = A$ + operand: a string operand that ends the expression is appended
// to the variable's own string, in place when it holds the only reference.
// Anything else after the "+" is evaluated as the evaluator would have.
bool TBasic::AppendToItself(const VarLocation& target) {
  varrec& v = *target.var;
  const Token* t = nextToken;
  if (target.str != &v.strValue || v.dimCount != 0 || t[0].code != tcVariable ||
      t[0].variable != &v || t[1].code != tcPlus)
    return false;
  nextToken += 2;
  valrec right;
  EvalFactor(right);
  if (right.isString && LevelOf(PeekCode()) == kNone) {
    v.strValue.Append(right.strValue);
    return true;
  }
  valrec result;
  result.SetString(v.strValue);
  FinishOperand(result, right, tcPlus, kSum);
  ApplyOperators(result, 1);
  if (!result.isString) TypeMismatch();
  v.strValue = std::move(result.strValue);
  return true;
}

void TBasic::ExecDim(StatementContext&) {
  for (;;) {
    if (PeekCode() != tcVariable) SyntaxError();
    varrec* v = nextToken->variable;
    Advance();
    if (v->dimCount > 0) RaiseMessage(msg::kAlreadyDimensioned);
    ExpectToken(tcOpen);
    int32_t extents[kMaxDimensions];
    int count = 0;
    for (;;) {
      const int64_t bound = EvalInteger();
      if (bound < INT32_MIN || bound > INT32_MAX) BadSubscript();
      const int64_t extent = bound + 1;
      if (extent < 1 || count == kMaxDimensions) BadSubscript();
      // An extent past the 32-bit range cannot be stored, let alone allocated.
      if (extent > INT32_MAX) RaiseRuntime(msg::kOutOfMemory);
      extents[count++] = static_cast<int32_t>(extent);
      if (PeekCode() == tcClose) break;
      ExpectToken(tcComma);
    }
    Advance();
    variables.Dimension(*v, extents, count);
    if (!AtStatementEnd()) ExpectToken(tcComma);
    if (AtStatementEnd()) return;
  }
}

void TBasic::ExecRem(StatementContext&) {}

void TBasic::ExecEnd(StatementContext&) { StopExecution(); }

void TBasic::ExecStop(StatementContext&) { RaiseError(kBreakCode, msg::kBreak); }

// Takes effect between lines: a running program goes on to its end.
void TBasic::ExecBye(StatementContext&) { stopRequested = true; }

void TBasic::ExecNew(StatementContext&) { NewProgram(); }

void TBasic::ExecRun(StatementContext& ctx) {
  ProgramLine* start = nullptr;
  if (AtStatementEnd()) {
    start = program.First();
  } else if (PeekCode() == tcNumber) {
    // Looked up before anything is cleared: a missing line changes nothing.
    start = GetLine(EvalInteger());
  } else {
    const std::string fileName(EvalString().view());
    int32_t number = 0;
    if (!AtStatementEnd()) {
      ExpectToken(tcComma);
      number = Low32(EvalInteger());
    }
    // Nothing may follow, not even ":": checked before the program is gone.
    CheckStatementEnd();
    LoadProgram(false, fileName);
    start = number != 0 ? GetLine(number) : program.First();
  }
  currentLine = start;
  ctx.lineJumped = true;
  variables.ClearVariables();
  ClearControlStack();
  ResetDataPointer();
  if (AtStatementEnd()) nextToken = NilToken();
  NoteTransfer();
}

}  // namespace basic
