// Numeric expressions made of literals, scalar variables, + - * /, the
// comparisons, unary signs and brackets, translated on first use into a
// postfix program that EvalNumber runs instead of walking the tokens again.
//
// A translation is used only while the tokens it was made from are unchanged
// (tokens never move, and the few places that rewrite them in place call
// TokensRewritten), only while its variables are still numeric scalars, and only where the nesting it would reach stays under the
// depth limit; otherwise the evaluator walks the tokens as always. The
// program computes with the same checked operations in the same order, so
// values and errors are the same either way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "interpreter_limits.h"
#include "tokens.h"
#include "values.h"

namespace basic {

class CompiledExpression {
 public:
  enum Op : uint8_t { kConstant, kVariable, kNegate, kAdd, kSubtract, kMultiply, kDivide,
                      kEqual, kLess, kGreater, kLessEqual, kGreaterEqual, kNotEqual,
                      kSubscript,  // the value on top becomes subscript `index` of `variable`
                      kElement };  // `index` subscripts become the element's value
  struct Step {
    Op op;
    uint8_t index = 0;  // kSubscript: which; kElement: how many
    union {
      double constant;   // kConstant
      varrec* variable;  // kVariable, kSubscript, kElement
    };
  };
  // A variable as the translation uses it: a scalar (0 dimensions) or an
  // array of that many dimensions.
  struct Use {
    const varrec* variable;
    uint8_t dimensions;
  };
  static constexpr size_t kMaxStack = 16;

  // Whether it may run now, `depth` evaluator levels deep: its variables must
  // still be numeric scalars, or arrays of the dimensions it subscripts.
  bool Runnable(int depth) const {
    if (depth + nesting_ > kMaxEvalDepth) return false;
    for (const Use& use : variables_)
      if (use.variable->dimCount != use.dimensions || use.variable->isString) return false;
    return true;
  }
  double Run() const;
  const Token* End() const { return end_; }

 private:
  friend class ExpressionCache;

  const Token* start_ = nullptr;
  uint32_t generation_ = 0;        // the cache's when translated
  const Token* end_ = nullptr;     // the first token after the expression
  bool translated_ = false;        // false: walk the tokens
  bool binary_ = false;            // two operands and one operator, the commonest form
  int nesting_ = 0;                // factor levels it passes through
  std::vector<Step> steps_;
  std::vector<Use> variables_;
};

class ExpressionCache {
 public:
  // The translation of the expression that starts at `start`, made now if
  // needed; nullptr when the tokens must be walked.
  const CompiledExpression* Find(const Token* start) {
    const size_t slot = start->exprSlot;
    if (slot != 0 && slot <= entries_.size()) {
      const CompiledExpression& entry = entries_[slot - 1];
      if (entry.start_ == start && entry.generation_ == generation_)
        return entry.translated_ ? &entry : nullptr;
    }
    return FindOrTranslate(start);
  }
  // Tokens were changed in place: every translation is made again on use.
  void TokensRewritten() { ++generation_; }

 private:
  static constexpr size_t kMaxEntries = 65535;  // what a token's slot holds
  const CompiledExpression* FindOrTranslate(const Token* start);
  void Translate(CompiledExpression& entry, const Token* start);
  std::vector<CompiledExpression> entries_;
  uint32_t generation_ = 0;
};

}  // namespace basic
