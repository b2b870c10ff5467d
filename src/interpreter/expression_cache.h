// Numeric expressions made of literals, scalar variables, array elements,
// + - * / MOD ^, the comparisons, AND OR XOR, unary signs, brackets, the
// built-in functions of one number and LEN or ASC of a string scalar, translated on first use into
// a postfix program that EvalNumber runs instead of walking the tokens again.
//
// A translation is used only while the tokens it was made from are unchanged
// (tokens never move, and the few places that rewrite them in place call
// TokensRewritten), only while its variables are still scalars, and only where the nesting
// it would reach stays under the depth limit; otherwise the evaluator walks the tokens as always.
// The program computes with the same checked operations in the same order, so values and errors are
// the same either way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "errors.h"
#include "interpreter_limits.h"
#include "numeric.h"
#include "operations.h"
#include "tokens.h"
#include "values.h"

namespace basic {

// What a translation is made for: an expression's value, an assignment's
// target element, or one factor (a function's argument).
enum class TranslationUse : uint8_t { kValue, kTarget, kFactor };

class CompiledExpression;
// expression_dump.cpp: the translation one step a line ("walked" for none).
std::string DescribeTranslation(const CompiledExpression& expression);

class alignas(64) CompiledExpression {
 public:
  enum class Op : uint8_t {
    kConstant,
    kVariable,
    kNegate,
  // Each binary operation, in BinaryOp's order (OpOf).
#define BASIC_STEP_ENTRY(name, token, level, value, strings) k##name,
    BASIC_BINARY_OPERATIONS(BASIC_STEP_ENTRY)
#undef BASIC_STEP_ENTRY
        kFunction,  // built-in function `index` (a TokenCode) of the top
    kSubscript,     // the value on top becomes subscript `index` of `variable`
    kElement,       // `index` subscripts become the element's value
    kElement1,      // both at once for a one-dimensional array
    kElement2,      // a two-dimensional element of two folded subscripts
    kMeasure,       // built-in `index` (LEN, ASC) of string scalar `variable`
    kEnd            // after the last step: the value is on top
  };
  static constexpr Op OpOf(BinaryOp op) {
    return static_cast<Op>(static_cast<int>(Op::kNegate) + 1 + static_cast<int>(op));
  }
  static constexpr bool IsBinary(Op op) { return op > Op::kNegate && op < Op::kFunction; }
  static constexpr BinaryOp BinaryOf(Op op) {
    return static_cast<BinaryOp>(static_cast<int>(op) - static_cast<int>(Op::kNegate) - 1);
  }
  // Where a binary operator's right operand, or a subscript, comes from:
  // the stack, or the step itself when it was a literal or a variable pushed
  // just before (the push is folded into the step).
  enum RightOperand : uint8_t { kFromStack, kFoldedConstant = 1, kFoldedVariable = 2 };
  struct Step {
    Op op;
    uint8_t index = 0;  // Op::kSubscript: which; Op::kElement: how many; functions: the token
    uint8_t code = 0;   // the code in RunSteps that runs it, for the op and its operand
    RightOperand operandFrom = kFromStack;  // binary operators, kSubscript, kElement1
    union {
      double constant;   // Op::kConstant; a binary operator's folded literal
      varrec* variable;  // Op::kVariable, the arrays; a binary operator's folded variable
    };
    // Op::kConstant: the number in its token. A folded subscript: its value.
    // Op::kElement2: the first subscript's value.
    const double* operand = nullptr;
    const double* secondOperand = nullptr;  // Op::kElement2: the second's
  };
  // A variable as the translation uses it: a scalar (0 dimensions) or an
  // array of that many dimensions, numeric unless it is a measured string.
  struct Use {
    const varrec* variable;
    uint8_t dimensions;
    bool isString = false;
  };
  static constexpr size_t kMaxStack = 16;

  // Whether it may run now, `depth` evaluator levels deep: its variables must
  // still be numeric scalars, or arrays of the dimensions it subscripts.
  // They are looked at again only when some variable's shape may have
  // changed since they were last seen to fit (`shapeEpoch`).
  bool Runnable(int depth, uint64_t shapeEpoch) const {
    if (depth + nesting_ > kMaxEvalDepth) return false;
    return fitsEpoch_ == shapeEpoch || ShapesFit(shapeEpoch);
  }
  double Run() const {
    switch (form_) {
      case Form::kLone: return *operands_[0];
      case Form::kBinary: break;
      case Form::kLoneFunction: return ApplyNumeric(function_, *operands_[0]);
      case Form::kLoneElement: return RunElement();
      case Form::kElementBinary: return Compute(binaryOp_, RunElement(), *operands_[1]);
      case Form::kSteps: return RunSteps();
    }
    return Compute(binaryOp_, *operands_[0], *operands_[1]);
  }
  // Steps of any other shape: Run is RunSteps, which a caller that knows
  // the form may call itself.
  bool IsSteps() const { return form_ == Form::kSteps; }
  double RunSteps() const;
  const Token* End() const { return end_; }
  // One binary operation on two operands, each a variable's value or a
  // literal's number: Run is Compute(Operation(), *Operand(0), *Operand(1)),
  // and a caller may run it that way itself.
  bool IsOneOperation() const { return form_ == Form::kBinary; }
  BinaryOp Operation() const { return binaryOp_; }
  const double* Operand(int i) const { return operands_[i]; }
  // One operand: Run is *Operand(0).
  bool IsLone() const { return form_ == Form::kLone; }
  // Array()'s element subscripted by *Operand(0), alone or as the left
  // operand of Operation() with *Operand(1).
  bool IsLoneElement() const { return form_ == Form::kLoneElement; }
  bool IsElementOperation() const { return form_ == Form::kElementBinary; }
  varrec* Array() const { return array_; }

 private:
  friend class ExpressionCache;
  friend std::string DescribeTranslation(const CompiledExpression&);
  enum class Form : uint8_t { kLone, kBinary, kLoneFunction, kLoneElement, kElementBinary, kSteps };
  static constexpr uint64_t kNever = UINT64_MAX;

  static int OperandsOnStack(const Step& step);
  // A one-dimensional element subscripted by one operand, as Op::kElement1 does.
  double RunElement() const { return *array_->NumericElement(array_->Subscript(0, *operands_[0])); }
  bool ShapesFit(uint64_t shapeEpoch) const;

  // What every run reads, first, in one cache line.
  const Token* start_ = nullptr;
  // The cache's generation for a translated value, kNever for another use
  // or an expression that is walked: Current compares one field, not three.
  uint64_t valueGeneration_ = kNever;
  mutable uint64_t fitsEpoch_ = kNever;  // when the variables last fitted
  const Token* end_ = nullptr;           // the first token after the expression
  // The commonest forms run without the step loop: one operand, two
  // operands and one operator, a built-in function of one operand, an
  // element with an operand as subscript, or such an element and an operand
  // with one operator. Each operand points at its variable's value
  // or at the number in its literal's token, so running them reads nothing
  // beyond this line and the tokens.
  const double* operands_[2] = {};
  int16_t nesting_ = 0;  // factor levels it passes through
  Form form_ = Form::kSteps;
  BinaryOp binaryOp_ = BinaryOp::kAdd;
  TokenCode function_ = tcEol;  // Form::kLoneFunction: the built-in, of operands_[0]
  varrec* array_ = nullptr;     // an element's array; operands_[0] the subscript

  uint64_t generation_ = 0;  // the cache's when translated
  bool translated_ = false;  // false: walk the tokens
  TranslationUse use_ = TranslationUse::kValue;
  std::vector<Step> steps_;
  std::vector<Use> variables_;
};

class ExpressionCache {
 public:
  // The translation of the value expression at `start` when it is made and
  // current; nullptr otherwise, without translating anything.
  const CompiledExpression* Current(const Token* start) const {
    const size_t index = size_t{start->exprSlot} - 1;  // slot 0 wraps past the end
    if (index >= entries_.size()) return nullptr;
    const CompiledExpression& entry = entries_[index];
    if (entry.start_ != start || entry.valueGeneration_ != generation_) return nullptr;
    return &entry;
  }
  // The translation of the expression that starts at `start`, made now if
  // needed; nullptr when the tokens must be walked.
  const CompiledExpression* Find(const Token* start) { return Find(start, TranslationUse::kValue); }
  // The subscripted numeric array element at `start` (the target of an
  // assignment), translated as a reference: running it leaves the element
  // in the array's valuePtr. nullptr when the tokens must be walked.
  const CompiledExpression* FindReference(const Token* start) {
    return Find(start, TranslationUse::kTarget);
  }
  // The single factor at `start` (a function's argument), translated alone.
  const CompiledExpression* FindFactor(const Token* start) {
    return Find(start, TranslationUse::kFactor);
  }
  size_t size() const { return entries_.size(); }
  // The translation made for the expression at `start`, if any.
  const CompiledExpression* Made(const Token* start) const {
    const size_t index = size_t{start->exprSlot} - 1;
    return index < entries_.size() && entries_[index].start_ == start ? &entries_[index] : nullptr;
  }
  // Translates nothing from now on: every expression is walked, as a
  // reference to compare the translations with.
  void WalkOnly() { walkOnly_ = true; }
  // Tokens were changed in place: every translation is made again on use.
  void TokensRewritten() { ++generation_; }
  // Grows when tokens are rewritten: what was worked out from them is stale.
  uint64_t Generation() const { return generation_; }
  // The translation in `slot` (a token's exprSlot), found earlier by Find
  // and current while the generation and the variables' shapes stay as they
  // were then. Entries move as the cache grows, slots do not.
  const CompiledExpression& At(uint16_t slot) const { return entries_[size_t{slot} - 1]; }

 private:
  static constexpr size_t kMaxEntries = 65535;  // what a token's slot holds
  const CompiledExpression* Find(const Token* start, TranslationUse use) {
    const size_t slot = start->exprSlot;
    if (slot != 0 && slot <= entries_.size()) {
      const CompiledExpression& entry = entries_[slot - 1];
      if (entry.start_ == start && entry.generation_ == generation_ && entry.use_ == use)
        return entry.translated_ ? &entry : nullptr;
    }
    return FindOrTranslate(start, use);
  }
  const CompiledExpression* FindOrTranslate(const Token* start, TranslationUse use);
  void Translate(CompiledExpression& entry, const Token* start, TranslationUse use);
  std::vector<CompiledExpression> entries_;
  uint64_t generation_ = 0;
  bool walkOnly_ = false;
};

}  // namespace basic
