// The expression evaluator: one procedure per precedence level, each taking
// its operands from the next tighter level. Every level stops at the first
// token it cannot use and leaves the cursor there for its caller.
//
// Operand kinds are examined only after the right operand is evaluated, so an
// error inside the right operand is the one reported.
#include <string_view>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

namespace {

// Bitwise operators work on both operands truncated to 64-bit integers.
template <typename Op>
void CombineBits(valrec& left, const valrec& right, Op op) {
  if (left.isString || right.isString) TypeMismatch();
  left.numValue = static_cast<double>(op(TruncToInt64(left.numValue), TruncToInt64(right.numValue)));
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

bool IsRelation(TokenCode code) { return code >= tcEqual && code <= tcNotEqual; }

// The operator loops live apart from the level functions: a bracket passes
// through every level, and a level that finds none of its operators should
// cost the native stack no more than a return address.

[[gnu::noinline]] void OrXorOperators(TBasic& basic, valrec& result) {
  for (TokenCode op = basic.PeekCode(); op == tcOr || op == tcXor; op = basic.PeekCode()) {
    basic.Advance();
    valrec right;
    basic.EvalConjunction(right);
    if (op == tcOr)
      CombineBits(result, right, [](int64_t a, int64_t b) { return a | b; });
    else
      CombineBits(result, right, [](int64_t a, int64_t b) { return a ^ b; });
  }
}

[[gnu::noinline]] void AndOperators(TBasic& basic, valrec& result) {
  while (basic.PeekCode() == tcAnd) {
    basic.Advance();
    valrec right;
    basic.EvalComparison(right);
    CombineBits(result, right, [](int64_t a, int64_t b) { return a & b; });
  }
}

// Comparisons chain on their 0/1 results: 1 < 2 < 3 is (1 < 2) < 3.
[[gnu::noinline]] void RelationOperators(TBasic& basic, valrec& result) {
  for (TokenCode op = basic.PeekCode(); IsRelation(op); op = basic.PeekCode()) {
    basic.Advance();
    valrec right;
    basic.EvalSum(right);
    if (result.isString != right.isString) TypeMismatch();
    result.SetNumber(Holds(op, Compare(result, right)) ? 1 : 0);
  }
}

[[gnu::noinline]] void SumOperators(TBasic& basic, valrec& result) {
  for (TokenCode op = basic.PeekCode(); op == tcPlus || op == tcMinus; op = basic.PeekCode()) {
    basic.Advance();
    valrec right;
    basic.EvalTerm(right);
    if (result.isString != right.isString) TypeMismatch();
    if (result.isString) {
      if (op == tcMinus) TypeMismatch();
      result.strValue = Str::Concat(result.strValue, right.strValue);
    } else {
      result.numValue = op == tcPlus ? Add(result.numValue, right.numValue)
                                     : Subtract(result.numValue, right.numValue);
    }
  }
}

bool IsTermOperator(TokenCode code) { return code == tcStar || code == tcSlash || code == tcMod; }

[[gnu::noinline]] void TermOperators(TBasic& basic, valrec& result) {
  for (TokenCode op = basic.PeekCode(); IsTermOperator(op); op = basic.PeekCode()) {
    basic.Advance();
    valrec right;
    basic.EvalPower(right);
    if (result.isString || right.isString) TypeMismatch();
    double a = result.numValue, b = right.numValue;
    result.numValue = op == tcStar ? Multiply(a, b) : op == tcSlash ? Divide(a, b) : ModOf(a, b);
  }
}

// Right-associative: the right operand is a whole power chain, so 2^3^2 is
// 2^9. Unary operators belong to the factor: -2^2 is 4 and 2^-1 is 0.5.
[[gnu::noinline]] void PowerOperator(TBasic& basic, valrec& result) {
  while (basic.PeekCode() == tcCaret) {
    if (result.isString) TypeMismatch();  // before the "^" is consumed
    basic.Advance();
    valrec right;
    {
      DepthGuard guard(basic);
      basic.EvalPower(right);
    }
    if (right.isString) TypeMismatch();
    result.numValue = Power(result.numValue, right.numValue);
  }
}

}  // namespace

void TBasic::EvalExpression(valrec& result) {
  EvalConjunction(result);
  if (PeekCode() == tcOr || PeekCode() == tcXor) OrXorOperators(*this, result);
}

void TBasic::EvalConjunction(valrec& result) {
  EvalComparison(result);
  if (PeekCode() == tcAnd) AndOperators(*this, result);
}

void TBasic::EvalComparison(valrec& result) {
  EvalSum(result);
  if (IsRelation(PeekCode())) RelationOperators(*this, result);
}

void TBasic::EvalSum(valrec& result) {
  EvalTerm(result);
  if (PeekCode() == tcPlus || PeekCode() == tcMinus) SumOperators(*this, result);
}

void TBasic::EvalTerm(valrec& result) {
  EvalPower(result);
  if (IsTermOperator(PeekCode())) TermOperators(*this, result);
}

void TBasic::EvalPower(valrec& result) {
  EvalFactor(result);
  if (PeekCode() == tcCaret) PowerOperator(*this, result);
}

}  // namespace basic
