// The expression evaluator: binary operators by precedence climbing over the
// factors of builtins.cpp. It stops at the first token it cannot use and
// leaves the cursor there for its caller.
//
// Operand kinds are examined only after the right operand is evaluated, so an
// error inside the right operand is the one reported.
#include "basic.h"
#include "errors.h"
#include "operations.h"

namespace basic {

namespace {

// left := left op right when either is a string: two strings concatenate or
// compare, and a string with a number is a mismatch.
[[gnu::noinline]] void ApplyToStrings(BinaryOp op, valrec& left, const valrec& right) {
  if (left.isString && right.isString) {
    switch (kStringForms[static_cast<size_t>(op)]) {
      case StringForm::kConcatenates:
        left.strValue = Str::Concat(left.strValue, right.strValue);
        return;
      case StringForm::kCompares:
        left.SetNumber(Holds(op, left.strValue.view(), right.strValue.view()) ? 1 : 0);
        return;
      case StringForm::kNone: break;
    }
  }
  TypeMismatch();
}

}  // namespace

// Precedence climbing: a factor, then every operator that binds at least as
// tightly as `lowest`, each right operand taking only the operators that bind
// more tightly than its own. Unary operators belong to the factor: -2^2 is 4
// and 2^-1 is 0.5.
void TBasic::EvalOperators(valrec& result, int lowest) {
  EvalFactor(result);
  if (kOperatorLevels[PeekCode()] >= lowest) ApplyOperators(result, lowest);
}

// `right` was just read after `op` (of `level`): it takes the operators
// that bind more tightly than `op`, then result := result op right. After
// "^" nothing binds more tightly, so the first step does nothing there.
void TBasic::FinishOperand(valrec& result, valrec& right, TokenCode op, int level) {
  if (kOperatorLevels[PeekCode()] > level) ApplyOperators(right, level + 1);
  // The kinds are checked only now, so an error inside the right operand is
  // the one reported. Comparisons yield 0/1 and chain on that: 1 < 2 < 3 is
  // (1 < 2) < 3.
  const BinaryOp operation = kBinaryOpOfToken[op];
  if (!result.isString && !right.isString)
    result.numValue = Compute(operation, result.numValue, right.numValue);
  else
    ApplyToStrings(operation, result, right);
}

// The operators after a factor. Most operands are single factors, so a right
// operand is read here and climbs further only when a tighter operator follows.
void TBasic::ApplyOperators(valrec& result, int lowest) {
  for (;;) {
    const TokenCode op = PeekCode();
    const int level = kOperatorLevels[op];
    if (level < lowest || level == kNone) return;
    valrec right;
    if (level == kPower) {
      if (result.isString) TypeMismatch();  // before the "^" is consumed
      Advance();
      DepthGuard guard(*this);
      EvalOperators(right, kPower);  // 2^3^2 is 2^9
    } else {
      Advance();
      EvalFactor(right);
    }
    FinishOperand(result, right, op, level);
  }
}

}  // namespace basic
