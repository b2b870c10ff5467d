// The expression evaluator: binary operators by precedence climbing over the
// factors of builtins.cpp. It stops at the first token it cannot use and
// leaves the cursor there for its caller.
//
// Operand kinds are examined only after the right operand is evaluated, so an
// error inside the right operand is the one reported.
#include <array>
#include <cstdint>
#include <string_view>

#include "basic.h"
#include "errors.h"
#include "numeric.h"
#include "operator_levels.h"

namespace basic {

namespace {

// Bitwise operators work on both operands truncated to 64-bit integers.
template <typename Op>
void CombineBits(valrec& left, const valrec& right, Op op) {
  if (left.isString || right.isString) TypeMismatch();
  left.numValue =
      static_cast<double>(op(TruncToInt64(left.numValue), TruncToInt64(right.numValue)));
}

// <0, 0 or >0; strings by unsigned byte values, a prefix before the longer.
int Compare(const valrec& left, const valrec& right) {
  if (left.isString) return left.strValue.view().compare(right.strValue.view());
  if (left.numValue < right.numValue) return -1;
  return left.numValue > right.numValue ? 1 : 0;
}

bool Holds(TokenCode relation, int order) {
  switch (relation) {
    case tcEqual: return order == 0;
    case tcLess: return order < 0;
    case tcGreater: return order > 0;
    case tcLessEqual: return order <= 0;
    case tcGreaterEqual: return order >= 0;
    default: return order != 0;  // tcNotEqual
  }
}

// left := left op right for two numbers and the commonest operators; false
// leaves the rest to Apply. Values are never NaN, so each comparison is the
// plain one.
inline bool ApplyToNumbers(TokenCode op, double& left, double right) {
  switch (op) {
    case tcPlus: left = Add(left, right); return true;
    case tcMinus: left = Subtract(left, right); return true;
    case tcStar: left = Multiply(left, right); return true;
    case tcSlash: left = Divide(left, right); return true;
    case tcEqual: left = left == right; return true;
    case tcLess: left = left < right; return true;
    case tcGreater: left = left > right; return true;
    case tcLessEqual: left = left <= right; return true;
    case tcGreaterEqual: left = left >= right; return true;
    case tcNotEqual: left = left != right; return true;
    default: return false;
  }
}

// left := left op right, once both operands are known: the kinds are checked
// only now, so an error inside the right operand is the one reported.
// Comparisons yield 0/1 and chain on that: 1 < 2 < 3 is (1 < 2) < 3.
[[gnu::noinline]] void Apply(TokenCode op, valrec& left, const valrec& right) {
  switch (op) {
    case tcOr: CombineBits(left, right, [](int64_t a, int64_t b) { return a | b; }); return;
    case tcXor: CombineBits(left, right, [](int64_t a, int64_t b) { return a ^ b; }); return;
    case tcAnd: CombineBits(left, right, [](int64_t a, int64_t b) { return a & b; }); return;
    case tcPlus:
    case tcMinus:
      if (left.isString != right.isString) TypeMismatch();
      if (left.isString) {
        if (op == tcMinus) TypeMismatch();
        left.strValue = Str::Concat(left.strValue, right.strValue);
      } else {
        left.numValue = op == tcPlus ? Add(left.numValue, right.numValue)
                                     : Subtract(left.numValue, right.numValue);
      }
      return;
    case tcStar:
    case tcSlash:
    case tcMod: {
      if (left.isString || right.isString) TypeMismatch();
      const double a = left.numValue, b = right.numValue;
      left.numValue = op == tcStar ? Multiply(a, b) : op == tcSlash ? Divide(a, b) : ModOf(a, b);
      return;
    }
    case tcCaret:
      if (right.isString) TypeMismatch();
      left.numValue = Power(left.numValue, right.numValue);
      return;
    default:  // a relation
      if (left.isString != right.isString) TypeMismatch();
      left.SetNumber(Holds(op, Compare(left, right)) ? 1 : 0);
      return;
  }
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
  if (result.isString || right.isString || !ApplyToNumbers(op, result.numValue, right.numValue))
    Apply(op, result, right);
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
