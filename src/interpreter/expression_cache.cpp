// Translation and running of cached numeric expressions. The translator reads
// tokens exactly as the evaluator does (precedence climbing, a factor's unary
// signs and brackets) and gives up on anything else.
#include "expression_cache.h"

#include <iterator>

#include "basic.h"

#include "errors.h"
#include "interpreter_limits.h"
#include "invariant.h"
#include "numeric.h"
#include "operations.h"
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
  bool OneFactor() { return Factor(); }
  // A numeric array element with its subscripts, as an assignment's target.
  bool Reference() {
    const Token& token = *at_;
    if (token.code != tcVariable || token.variable->isString || at_[1].code != tcOpen) return false;
    ++at_;
    ++nesting_;
    maxNesting_ = nesting_;
    const bool ok = Element(token.variable);
    --nesting_;
    return ok;
  }
  const Token* At() const { return at_; }
  int Nesting() const { return maxNesting_; }

 private:
  using Step = CompiledExpression::Step;

  bool Operators(int lowest) { return Factor() && More(lowest); }

  // The operators after an operand, as the evaluator applies them.
  bool More(int lowest) {
    for (;;) {
      const TokenCode op = at_->code;
      const int level = LevelOf(op);
      if (level < lowest || level == 0) return true;
      const BinaryOp operation = kBinaryOpOfToken[op];
      ++at_;
      if (operation == BinaryOp::kPower) {
        // Groups from the right, one level deeper, as the evaluator reads it.
        if (!Deeper() || !Operators(kPower)) return false;
        --nesting_;
      } else {
        if (!Factor()) return false;
        if (LevelOf(at_->code) > level && !More(level + 1)) return false;
      }
      if (!Emit(Op(CompiledExpression::OpOf(operation)), -1)) return false;
    }
  }

  // One more level of nesting. Deeper expressions are rare and stay with the
  // evaluator, so the translator's own recursion is small wherever it starts.
  bool Deeper() {
    ++nesting_;
    if (nesting_ > maxNesting_) maxNesting_ = nesting_;
    return nesting_ <= kMaxTranslatedNesting;
  }

  // One factor, as EvalFactor reads it; every factor is a level of nesting.
  bool Factor() {
    if (!Deeper()) return false;
    bool ok = false;
    const Token& token = *at_;
    switch (token.code) {
      case tcNumber:
        ++at_;
        ok = CheckedConstant(token.number, &token.number);
        break;
      case tcVariable:
        if (token.variable->isString) break;
        ++at_;
        if (at_->code == tcOpen) {
          ok = Element(token.variable);
        } else {
          variables_.push_back({token.variable, 0});
          ok = Emit(Variable(CompiledExpression::Op::kVariable, token.variable), 1);
        }
        break;
      case tcMinus:
        ++at_;
        ok = Factor() && Emit(Op(CompiledExpression::Op::kNegate), 0);
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
        if (IsStringMeasure(token.code)) {
          ++at_;
          Step measure = Op(CompiledExpression::Op::kMeasure);
          measure.index = static_cast<uint8_t>(token.code);
          ok = StringScalar(measure.variable) && Emit(measure, 1);
        } else if (IsNumericFunction(token.code)) {
          static_assert(kTokenCodeCount <= 256, "a function's code fits a step's index");
          ++at_;
          Step call = Op(CompiledExpression::Op::kFunction);
          call.index = static_cast<uint8_t>(token.code);
          ok = Factor() && Emit(call, 0);
        }
        break;
    }
    --nesting_;
    return ok;
  }

  // A measured string's factor: a string scalar, alone or in brackets,
  // with the nesting the evaluator passes through for it.
  bool StringScalar(varrec*& variable) {
    if (!Deeper()) return false;
    bool ok = false;
    const Token& token = *at_;
    if (token.code == tcVariable && token.variable->isString && at_[1].code != tcOpen) {
      ++at_;
      variable = token.variable;
      variables_.push_back({token.variable, 0, true});
      ok = true;
    } else if (token.code == tcOpen) {
      ++at_;
      ok = StringScalar(variable) && at_->code == tcClose;
      if (ok) ++at_;
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
      Step subscript = Variable(CompiledExpression::Op::kSubscript, array);
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
    if (count == 1) {  // the subscript step and the element step in one
      steps_.back().op = CompiledExpression::Op::kElement1;
      return true;
    }
    Step element = Variable(CompiledExpression::Op::kElement, array);
    element.index = static_cast<uint8_t>(count);
    return Emit(element, 1 - count);
  }

  bool CheckedConstant(double x, const double* literal) {
    // A literal is finite by construction; one that is not stays with the
    // evaluator, which reports it.
    if (!(x - x == 0)) return false;
    Step step;
    step.op = CompiledExpression::Op::kConstant;
    step.constant = x;
    step.operand = literal;
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
    // Every step leaves a value: an operator never finds its operands missing.
    BASIC_ASSERT(depth_ >= 1);
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

const CompiledExpression* ExpressionCache::FindOrTranslate(const Token* start, TranslationUse use) {
  size_t slot = start->exprSlot;
  if (slot != 0 && slot <= entries_.size()) {
    CompiledExpression& entry = entries_[slot - 1];
    if (entry.start_ == start) {
      // A token starts either values or targets; should it ever start both,
      // the one translated first keeps the slot and the other is walked.
      if (entry.use_ != use && entry.generation_ == generation_) return nullptr;
      if (entry.generation_ != generation_) Translate(entry, start, use);
      return entry.translated_ ? &entry : nullptr;
    }
  }
  if (entries_.size() >= kMaxEntries) return nullptr;
  entries_.emplace_back();
  start->exprSlot = static_cast<uint16_t>(entries_.size());
  Translate(entries_.back(), start, use);
  return entries_.back().translated_ ? &entries_.back() : nullptr;
}

namespace {

// A literal or variable pushed just before a binary operator is its right
// operand, and one pushed just before a subscript is the subscript: the step
// takes it itself, one dispatch instead of two. Two folded subscripts and
// their element become one step too. Values are read and checked in the
// same order as before, so nothing else changes.
void FoldOperands(std::vector<CompiledExpression::Step>& steps) {
  using C = CompiledExpression;
  const auto isFoldedSubscript = [](const C::Step& step, int index, const varrec* array) {
    return step.op == C::Op::kSubscript && step.operandFrom != C::kFromStack &&
           step.index == index && step.variable == array;
  };
  size_t kept = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    C::Step step = steps[i];
    if (step.op == C::Op::kElement && step.index == 2 && kept >= 2 &&
        isFoldedSubscript(steps[kept - 2], 0, step.variable) &&
        isFoldedSubscript(steps[kept - 1], 1, step.variable)) {
      step.op = C::Op::kElement2;
      step.operand = steps[kept - 2].operand;
      step.secondOperand = steps[kept - 1].operand;
      kept -= 2;
    }
    const bool binary = C::IsBinary(step.op);
    const bool subscript = step.op == C::Op::kSubscript || step.op == C::Op::kElement1;
    if ((binary || subscript) && kept > 0) {
      const C::Step& operand = steps[kept - 1];
      if (operand.op == C::Op::kConstant || operand.op == C::Op::kVariable) {
        const bool constant = operand.op == C::Op::kConstant;
        step.operandFrom = constant ? C::kFoldedConstant : C::kFoldedVariable;
        if (subscript)
          step.operand = constant ? operand.operand : &operand.variable->numValue;
        else if (constant)
          step.constant = operand.constant;
        else
          step.variable = operand.variable;
        --kept;
      }
    }
    steps[kept++] = step;
  }
  steps.resize(kept);
}

}  // namespace

namespace {

// Where RunSteps runs each step: the ops other than binary ones in the
// order of its labels, then each binary operation three times, once for
// each RightOperand.
enum StepCode : uint8_t {
  kRunConstant,
  kRunVariable,
  kRunNegate,
  kRunFunction,
  kRunSubscript,
  kRunFoldedSubscript,
  kRunElement,
  kRunElement1,
  kRunFoldedElement1,
  kRunElement2,
  kRunMeasure,
  kRunEnd,
  kRunFirstBinary
};

uint8_t CodeOf(const CompiledExpression::Step& step) {
  using C = CompiledExpression;
  if (C::IsBinary(step.op))
    return static_cast<uint8_t>(kRunFirstBinary + 3 * static_cast<int>(C::BinaryOf(step.op)) +
                                step.operandFrom);
  const bool folded = step.operandFrom != C::kFromStack;
  switch (step.op) {
    case C::Op::kConstant: return kRunConstant;
    case C::Op::kVariable: return kRunVariable;
    case C::Op::kNegate: return kRunNegate;
    case C::Op::kFunction: return kRunFunction;
    case C::Op::kSubscript: return folded ? kRunFoldedSubscript : kRunSubscript;
    case C::Op::kElement: return kRunElement;
    case C::Op::kElement1: return folded ? kRunFoldedElement1 : kRunElement1;
    case C::Op::kElement2: return kRunElement2;
    case C::Op::kMeasure: return kRunMeasure;
    default: return kRunEnd;
  }
}

}  // namespace

void ExpressionCache::Translate(CompiledExpression& entry, const Token* start, TranslationUse use) {
  entry.start_ = start;
  entry.generation_ = generation_;
  entry.use_ = use;
  entry.steps_.clear();
  entry.variables_.clear();
  Translator translator(start, entry.steps_, entry.variables_);
  switch (use) {
    case TranslationUse::kValue: entry.translated_ = translator.Expression(); break;
    case TranslationUse::kTarget: entry.translated_ = translator.Reference(); break;
    case TranslationUse::kFactor: entry.translated_ = translator.OneFactor(); break;
  }
  if (walkOnly_) entry.translated_ = false;
  entry.valueGeneration_ =
      entry.translated_ && use == TranslationUse::kValue ? generation_ : CompiledExpression::kNever;
  entry.fitsEpoch_ = CompiledExpression::kNever;
  entry.end_ = translator.At();
  entry.nesting_ = static_cast<int16_t>(translator.Nesting());
  const auto& steps = entry.steps_;
  auto isOperand = [](const CompiledExpression::Step& step) {
    return step.op == CompiledExpression::Op::kConstant ||
           step.op == CompiledExpression::Op::kVariable;
  };
  const bool binary = steps.size() == 3 && isOperand(steps[0]) && isOperand(steps[1]) &&
                      CompiledExpression::IsBinary(steps[2].op);
  const bool lone = steps.size() == 1 && isOperand(steps[0]);
  const bool element =
      steps.size() == 2 && isOperand(steps[0]) && steps[1].op == CompiledExpression::Op::kElement1;
  const bool function =
      steps.size() == 2 && isOperand(steps[0]) && steps[1].op == CompiledExpression::Op::kFunction;
  const bool elementBinary = steps.size() == 4 && isOperand(steps[0]) &&
                             steps[1].op == CompiledExpression::Op::kElement1 &&
                             isOperand(steps[2]) && CompiledExpression::IsBinary(steps[3].op);
  entry.form_ = !entry.translated_ ? CompiledExpression::Form::kSteps
                : binary           ? CompiledExpression::Form::kBinary
                : lone             ? CompiledExpression::Form::kLone
                : element          ? CompiledExpression::Form::kLoneElement
                : function         ? CompiledExpression::Form::kLoneFunction
                : elementBinary    ? CompiledExpression::Form::kElementBinary
                                   : CompiledExpression::Form::kSteps;
  if (entry.form_ == CompiledExpression::Form::kSteps && entry.translated_) {
    FoldOperands(entry.steps_);
    CompiledExpression::Step end;
    end.op = CompiledExpression::Op::kEnd;
    end.variable = nullptr;
    entry.steps_.push_back(end);
    for (CompiledExpression::Step& step : entry.steps_) step.code = CodeOf(step);
  }
  if (entry.form_ != CompiledExpression::Form::kSteps) {
    const auto operand = [](const CompiledExpression::Step& step) {
      return step.op == CompiledExpression::Op::kConstant ? step.operand : &step.variable->numValue;
    };
    entry.operands_[0] = operand(steps[0]);
    if (binary) {
      entry.binaryOp_ = CompiledExpression::BinaryOf(steps[2].op);
      entry.operands_[1] = operand(steps[1]);
    }
    if (element || elementBinary) entry.array_ = steps[1].variable;
    if (elementBinary) {
      entry.binaryOp_ = CompiledExpression::BinaryOf(steps[3].op);
      entry.operands_[1] = operand(steps[2]);
    }
    if (function) entry.function_ = static_cast<TokenCode>(steps[1].index);
  }
}

bool CompiledExpression::ShapesFit(uint64_t shapeEpoch) const {
  for (const Use& use : variables_)
    if (use.variable->dimCount != use.dimensions || use.variable->isString != use.isString)
      return false;
  fitsEpoch_ = shapeEpoch;
  return true;
}

int CompiledExpression::OperandsOnStack(const Step& step) {
  switch (step.op) {
    case Op::kConstant:
    case Op::kVariable:
    case Op::kElement2:
    case Op::kMeasure:
    case Op::kEnd: return 0;
    case Op::kNegate:
    case Op::kFunction: return 1;
    case Op::kSubscript:
    case Op::kElement1: return step.operandFrom == kFromStack ? 1 : 0;
    case Op::kElement: return step.index;
    default: return step.operandFrom == kFromStack ? 2 : 1;  // a binary operator
  }
}

// Threaded: each step's code ends by jumping straight to the next one's,
// which is cheaper than a loop around a switch and predicts better. GCC
// would merge those jumps into one shared dispatch (cross-jumping), which
// costs a jump more per step and predicts worse.
#if defined(__GNUC__) && !defined(__clang__)
[[gnu::optimize("no-crossjumping")]]
#endif
double
CompiledExpression::RunSteps() const {
  // clang-format off
  static const void* const kCode[] = {
      &&constant, &&variable, &&negate, &&function, &&subscript, &&foldedSubscript, &&element,
      &&element1, &&foldedElement1, &&element2, &&measure, &&end,
#define BASIC_BINARY_LABELS(name, token, level, value, strings) \
      &&fromStack##name, &&constant##name, &&variable##name,
      BASIC_BINARY_OPERATIONS(BASIC_BINARY_LABELS)
#undef BASIC_BINARY_LABELS
  };
  // clang-format on
  static_assert(std::size(kCode) == kRunFirstBinary + 3 * kBinaryOpCount);
  static_assert(RightOperand::kFoldedConstant == 1 && RightOperand::kFoldedVariable == 2);

  // The topmost value lives in `acc`, out of memory, so that a chain of
  // operations on it never waits on a store and a load. Under it, stack[1]
  // holds what acc held before the first value (0), and stack[2..] the
  // values below the top: with d values, top is stack + d. stack[0] is
  // never used; a pointer before the array would be undefined even if never
  // read.
#ifdef __clang_analyzer__
  // The analyzer cannot carry the promise below from step to step.
  double stack[kMaxStack + 1] = {};
#else
  double stack[kMaxStack + 1];
#endif
  double* top = stack;
  double acc = 0;
  const Step* step = steps_.data();
  // What the translator promises as it emits (Translator::Emit): every
  // step finds its operands on the stack.
#define BASIC_NEXT_STEP()                                \
  do {                                                   \
    ++step;                                              \
    BASIC_ASSERT(top - stack >= OperandsOnStack(*step)); \
    goto* kCode[step->code];                             \
  } while (false)

  // One label per step, in the table's order.
  // clang-format off
  goto* kCode[step->code];
constant:
  *++top = acc;
  acc = step->constant;
  BASIC_NEXT_STEP();
variable:
  *++top = acc;
  acc = step->variable->numValue;
  BASIC_NEXT_STEP();
negate:
  acc = -acc;
  BASIC_NEXT_STEP();
function:
  acc = ApplyNumeric(static_cast<TokenCode>(step->index), acc);
  BASIC_NEXT_STEP();
subscript:
  acc = step->variable->Subscript(step->index, acc);
  BASIC_NEXT_STEP();
foldedSubscript:
  *++top = acc;
  acc = step->variable->Subscript(step->index, *step->operand);
  BASIC_NEXT_STEP();
element1:
  acc = *step->variable->NumericElement(step->variable->Subscript(0, acc));
  BASIC_NEXT_STEP();
foldedElement1:
  *++top = acc;
  acc = *step->variable->NumericElement(step->variable->Subscript(0, *step->operand));
  BASIC_NEXT_STEP();
element: {
  // The subscripts, each checked by its kSubscript: the last in acc, the
  // others under it.
  varrec& array = *step->variable;
  const int last = step->index - 1;
  const double* const under = top - (last - 1);
  int64_t offset = 0;
  for (int i = 0; i < last; ++i)
    offset = array.NextOffset(offset, i, static_cast<int32_t>(under[i]));
  offset = array.NextOffset(offset, last, static_cast<int32_t>(acc));
  top -= last;
  acc = *array.NumericElement(offset);
  BASIC_NEXT_STEP();
}
element2: {
  varrec& array = *step->variable;
  const int32_t first = array.Subscript(0, *step->operand);
  const int32_t second = array.Subscript(1, *step->secondOperand);
  *++top = acc;
  acc = *array.NumericElement(array.NextOffset(first, 1, second));
  BASIC_NEXT_STEP();
}
measure:
  *++top = acc;
  acc = MeasureString(static_cast<TokenCode>(step->index), step->variable->strValue);
  BASIC_NEXT_STEP();
  // A binary operator's right operand is the top, over the left one, or
  // folded into the step.
#define BASIC_BINARY_CODE(name, token, level, value, strings) \
  fromStack##name:                                            \
    acc = Compute(BinaryOp::k##name, *top--, acc);            \
    BASIC_NEXT_STEP();                                        \
  constant##name:                                             \
    acc = Compute(BinaryOp::k##name, acc, step->constant);    \
    BASIC_NEXT_STEP();                                        \
  variable##name:                                             \
    acc = Compute(BinaryOp::k##name, acc, step->variable->numValue); \
    BASIC_NEXT_STEP();
  BASIC_BINARY_OPERATIONS(BASIC_BINARY_CODE)
#undef BASIC_BINARY_CODE
#undef BASIC_NEXT_STEP
end:
  // clang-format on
  BASIC_ASSERT(top == stack + 1);
  return acc;
}

}  // namespace basic
