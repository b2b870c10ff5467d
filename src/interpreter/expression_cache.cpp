// Translation and running of cached numeric expressions. The translator reads
// tokens exactly as the evaluator does (precedence climbing, a factor's unary
// signs and brackets) and gives up on anything else.
#include "expression_cache.h"

#include "interpreter_limits.h"
#include "errors.h"
#include "numeric.h"
#include "operator_levels.h"
#include "values.h"

namespace basic {

namespace {

constexpr int kMaxTranslatedNesting = 64;

class Translator {
 public:
  Translator(const Token* start, std::vector<CompiledExpression::Step>& steps,
             std::vector<CompiledExpression::Use>& variables)
      : at_(start), steps_(steps), variables_(variables) {}

  bool Expression() { return Operators(1); }
  const Token* At() const { return at_; }
  int Nesting() const { return maxNesting_; }

 private:
  using Step = CompiledExpression::Step;

  bool Operators(int lowest) {
    return Factor() && More(lowest);
  }

  // The operators after an operand, as the evaluator applies them.
  bool More(int lowest) {
    for (;;) {
      const TokenCode op = at_->code;
      const int level = LevelOf(op);
      if (level < lowest || level == 0) return true;
      CompiledExpression::Op code;
      switch (op) {
        case tcPlus: code = CompiledExpression::kAdd; break;
        case tcMinus: code = CompiledExpression::kSubtract; break;
        case tcStar: code = CompiledExpression::kMultiply; break;
        case tcSlash: code = CompiledExpression::kDivide; break;
        case tcEqual: code = CompiledExpression::kEqual; break;
        case tcLess: code = CompiledExpression::kLess; break;
        case tcGreater: code = CompiledExpression::kGreater; break;
        case tcLessEqual: code = CompiledExpression::kLessEqual; break;
        case tcGreaterEqual: code = CompiledExpression::kGreaterEqual; break;
        case tcNotEqual: code = CompiledExpression::kNotEqual; break;
        default: return false;
      }
      ++at_;
      if (!Factor()) return false;
      if (LevelOf(at_->code) > level && !More(level + 1)) return false;
      if (!Emit(Op(code), -1)) return false;
    }
  }

  // One factor, as EvalFactor reads it; every factor is a level of nesting.
  bool Factor() {
    ++nesting_;
    if (nesting_ > maxNesting_) maxNesting_ = nesting_;
    // Deeper expressions are rare and stay with the evaluator, so the
    // translator's own recursion is small wherever it starts.
    if (nesting_ > kMaxTranslatedNesting) return false;
    bool ok = false;
    const Token& token = *at_;
    switch (token.code) {
      case tcNumber:
        ++at_;
        ok = CheckedConstant(token.number);
        break;
      case tcVariable:
        if (token.variable->isString) break;
        ++at_;
        if (at_->code == tcOpen) {
          ok = Element(token.variable);
        } else {
          variables_.push_back({token.variable, 0});
          ok = Emit(Variable(CompiledExpression::kVariable, token.variable), 1);
        }
        break;
      case tcMinus:
        ++at_;
        ok = Factor() && Emit(Op(CompiledExpression::kNegate), 0);
        break;
      case tcPlus:
        ++at_;
        ok = Factor();
        break;
      case tcOpen:
        ++at_;
        ok = Expression() && at_->code == tcClose;
        if (ok) ++at_;
        break;
      default:
        break;
    }
    --nesting_;
    return ok;
  }

  // NAME(s1, ..., sn): each subscript is converted and checked as soon as it
  // is known, as GetVariable does, before the next one is evaluated.
  bool Element(varrec* array) {
    ++at_;  // "("
    int count = 0;
    for (;;) {
      if (count == kMaxDimensions || !Expression()) return false;
      Step subscript = Variable(CompiledExpression::kSubscript, array);
      subscript.index = static_cast<uint8_t>(count++);
      if (!Emit(subscript, 0)) return false;
      if (at_->code == tcComma) {
        ++at_;
        continue;
      }
      if (at_->code != tcClose) return false;
      ++at_;
      break;
    }
    variables_.push_back({array, static_cast<uint8_t>(count)});
    Step element = Variable(CompiledExpression::kElement, array);
    element.index = static_cast<uint8_t>(count);
    return Emit(element, 1 - count);
  }

  bool CheckedConstant(double x) {
    // A literal is finite by construction; one that is not stays with the
    // evaluator, which reports it.
    if (!(x - x == 0)) return false;
    Step step;
    step.op = CompiledExpression::kConstant;
    step.constant = x;
    return Emit(step, 1);
  }

  static Step Op(CompiledExpression::Op op) {
    Step step;
    step.op = op;
    step.variable = nullptr;
    return step;
  }
  static Step Variable(CompiledExpression::Op op, varrec* v) {
    Step step;
    step.op = op;
    step.variable = v;
    return step;
  }

  bool Emit(Step step, int stackChange) {
    depth_ += stackChange;
    if (depth_ > static_cast<int>(CompiledExpression::kMaxStack)) return false;
    steps_.push_back(step);
    return true;
  }

  const Token* at_;
  std::vector<Step>& steps_;
  std::vector<CompiledExpression::Use>& variables_;
  int nesting_ = 0;
  int maxNesting_ = 0;
  int depth_ = 0;  // values on the stack
};

}  // namespace

const CompiledExpression* ExpressionCache::FindOrTranslate(const Token* start) {
  size_t slot = start->exprSlot;
  if (slot != 0 && slot <= entries_.size()) {
    CompiledExpression& entry = entries_[slot - 1];
    if (entry.start_ == start) {
      if (entry.generation_ != generation_) Translate(entry, start);
      return entry.translated_ ? &entry : nullptr;
    }
  }
  if (entries_.size() >= kMaxEntries) return nullptr;
  entries_.emplace_back();
  start->exprSlot = static_cast<uint16_t>(entries_.size());
  Translate(entries_.back(), start);
  return entries_.back().translated_ ? &entries_.back() : nullptr;
}

void ExpressionCache::Translate(CompiledExpression& entry, const Token* start) {
  entry.start_ = start;
  entry.generation_ = generation_;
  entry.steps_.clear();
  entry.variables_.clear();
  Translator translator(start, entry.steps_, entry.variables_);
  entry.translated_ = translator.Expression();
  entry.end_ = translator.At();
  entry.nesting_ = translator.Nesting();
  const auto& steps = entry.steps_;
  auto isOperand = [](const CompiledExpression::Step& step) {
    return step.op == CompiledExpression::kConstant || step.op == CompiledExpression::kVariable;
  };
  entry.binary_ = entry.translated_ && steps.size() == 3 && isOperand(steps[0]) &&
                  isOperand(steps[1]) && steps[2].op >= CompiledExpression::kAdd &&
                  steps[2].op <= CompiledExpression::kNotEqual;
}

namespace {

double Operand(const CompiledExpression::Step& step) {
  return step.op == CompiledExpression::kConstant ? step.constant : step.variable->numValue;
}

}  // namespace

double CompiledExpression::Run() const {
  if (binary_) {
    double left = Operand(steps_[0]);
    const double right = Operand(steps_[1]);
    switch (steps_[2].op) {
      case kAdd: return Add(left, right);
      case kSubtract: return Subtract(left, right);
      case kMultiply: return Multiply(left, right);
      case kDivide: return Divide(left, right);
      case kEqual: return left == right;
      case kLess: return left < right;
      case kGreater: return left > right;
      case kLessEqual: return left <= right;
      case kGreaterEqual: return left >= right;
      default: return left != right;  // kNotEqual
    }
  }
  // The values start at stack[1]: top begins on the unused stack[0], since
  // a pointer before the array would be undefined even if never read.
  double stack[kMaxStack + 1];
  double* top = stack;  // the topmost value
  for (const Step& step : steps_) {
    switch (step.op) {
      case kConstant: *++top = step.constant; break;
      case kVariable: *++top = step.variable->numValue; break;
      case kNegate: *top = -*top; break;
      case kAdd: top[-1] = Add(top[-1], top[0]); --top; break;
      case kSubtract: top[-1] = Subtract(top[-1], top[0]); --top; break;
      case kMultiply: top[-1] = Multiply(top[-1], top[0]); --top; break;
      case kDivide: top[-1] = Divide(top[-1], top[0]); --top; break;
      case kEqual: top[-1] = top[-1] == top[0]; --top; break;
      case kLess: top[-1] = top[-1] < top[0]; --top; break;
      case kGreater: top[-1] = top[-1] > top[0]; --top; break;
      case kLessEqual: top[-1] = top[-1] <= top[0]; --top; break;
      case kGreaterEqual: top[-1] = top[-1] >= top[0]; --top; break;
      case kNotEqual: top[-1] = top[-1] != top[0]; --top; break;
      case kSubscript: {
        const int32_t subscript = Low32(RoundToInt64(*top));
        if (subscript < 0 || subscript >= step.variable->extents[step.index]) BadSubscript();
        *top = subscript;
        break;
      }
      case kElement: {
        varrec& array = *step.variable;
        top -= step.index - 1;  // onto the first subscript
        int64_t offset = 0;
        for (int i = 0; i < step.index; ++i)
          offset = offset * array.extents[i] + static_cast<int64_t>(top[i]);
        double* element = &array.numElements[static_cast<size_t>(offset)];
        array.valuePtr = element;
        *top = *element;
        break;
      }
    }
  }
  return stack[1];
}

}  // namespace basic
