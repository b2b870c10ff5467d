// A translation in readable form, one step a line, for tests and for finding
// out why an expression runs the way it does.
#include <string>
#include <string_view>

#include "expression_cache.h"
#include "numeric.h"
#include "tokens.h"

namespace basic {

namespace {

using C = CompiledExpression;

const char* OperatorName(C::Op op) {
  static const char* const kNames[] = {
      "constant",  "variable",  "negate",  "add",     "subtract",   "multiply",
      "divide",    "equal",     "less",    "greater", "less-equal", "greater-equal",
      "not-equal", "mod",       "and",     "or",      "xor",        "power",
      "function",  "subscript", "element", "element1"};
  static_assert(sizeof kNames / sizeof kNames[0] == C::kElement1 + 1);
  return kNames[op];
}

// The keyword as LIST writes it: the first of its forms.
std::string_view Keyword(TokenCode code) {
  const std::string_view forms = KeywordText[code];
  return forms.substr(0, forms.find('\x01'));
}

std::string Number(double x) { return FormatExactNumber(x); }

}  // namespace

std::string DescribeTranslation(const CompiledExpression& e) {
  if (!e.translated_) return "walked\n";
  // An operand of the forms without steps: a scalar's name, else the literal.
  auto Operand = [&e](const CompiledExpression&, const double* value) {
    for (const C::Use& use : e.variables_)
      if (use.dimensions == 0 && &use.variable->numValue == value) return use.variable->name;
    return Number(*value);
  };
  std::string out;
  switch (e.form_) {
    case C::kLone: return "lone " + Operand(e, e.operands_[0]) + "\n";
    case C::kBinary:
      return std::string("binary ") + OperatorName(e.binaryOp_) + " " + Operand(e, e.operands_[0]) +
             " " + Operand(e, e.operands_[1]) + "\n";
    case C::kLoneFunction:
      return "function " + std::string(Keyword(e.function_)) + " " + Operand(e, e.operands_[0]) +
             "\n";
    case C::kLoneElement:
      return "element " + e.array_->name + "(" + Operand(e, e.operands_[0]) + ")\n";
    case C::kSteps: break;
  }
  for (size_t i = 0; i < e.steps_.size(); ++i) {
    const C::Step& step = e.steps_[i];
    std::string line = std::to_string(i) + " " + OperatorName(step.op);
    const bool binary = step.op >= C::kAdd && step.op <= C::kPower;
    if (step.op == C::kConstant || (binary && step.index == C::kFoldedConstant))
      line += " " + Number(step.constant);
    else if (step.op == C::kVariable || step.op == C::kElement1 ||
             (binary && step.index == C::kFoldedVariable))
      line += " " + step.variable->name;
    else if (step.op == C::kFunction)
      line += " " + std::string(Keyword(static_cast<TokenCode>(step.index)));
    else if (step.op == C::kSubscript || step.op == C::kElement)
      line += " " + step.variable->name + " " + std::to_string(step.index);
    out += line + "\n";
  }
  return out;
}

}  // namespace basic
