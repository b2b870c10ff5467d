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

// A binary operation's name as the dump writes it: LessEqual is less-equal.
std::string Spelled(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c >= 'A' && c <= 'Z') {
      if (!out.empty()) out += '-';
      out += static_cast<char>(c - 'A' + 'a');
    } else {
      out += c;
    }
  }
  return out;
}

std::string OperatorName(C::Op op) {
  if (C::IsBinary(op)) return Spelled(kBinaryOpNames[static_cast<size_t>(C::BinaryOf(op))]);
  switch (op) {
    case C::Op::kConstant: return "constant";
    case C::Op::kVariable: return "variable";
    case C::Op::kNegate: return "negate";
    case C::Op::kFunction: return "function";
    case C::Op::kSubscript: return "subscript";
    case C::Op::kElement: return "element";
    case C::Op::kElement2: return "element2";
    case C::Op::kMeasure: return "measure";
    default: return "element1";
  }
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
    case C::Form::kLone: return "lone " + Operand(e, e.operands_[0]) + "\n";
    case C::Form::kBinary:
      return "binary " + OperatorName(C::OpOf(e.binaryOp_)) + " " + Operand(e, e.operands_[0]) +
             " " + Operand(e, e.operands_[1]) + "\n";
    case C::Form::kLoneFunction:
      return "function " + std::string(Keyword(e.function_)) + " " + Operand(e, e.operands_[0]) +
             "\n";
    case C::Form::kLoneElement:
      return "element " + e.array_->name + "(" + Operand(e, e.operands_[0]) + ")\n";
    case C::Form::kElementBinary:
      return "element " + OperatorName(C::OpOf(e.binaryOp_)) + " " + e.array_->name + "(" +
             Operand(e, e.operands_[0]) + ") " + Operand(e, e.operands_[1]) + "\n";
    case C::Form::kSteps: break;
  }
  for (size_t i = 0; i < e.steps_.size(); ++i) {
    const C::Step& step = e.steps_[i];
    if (step.op == C::Op::kEnd) break;
    std::string line = std::to_string(i) + " " + OperatorName(step.op);
    const bool binary = C::IsBinary(step.op);
    if (step.op == C::Op::kConstant || (binary && step.operandFrom == C::kFoldedConstant))
      line += " " + Number(step.constant);
    else if (step.op == C::Op::kVariable || step.op == C::Op::kElement1 ||
             (binary && step.operandFrom == C::kFoldedVariable))
      line += " " + step.variable->name;
    else if (step.op == C::Op::kFunction)
      line += " " + std::string(Keyword(static_cast<TokenCode>(step.index)));
    else if (step.op == C::Op::kMeasure)
      line += " " + std::string(Keyword(static_cast<TokenCode>(step.index))) + " " +
              step.variable->name;
    else if (step.op == C::Op::kSubscript || step.op == C::Op::kElement)
      line += " " + step.variable->name + " " + std::to_string(step.index);
    else if (step.op == C::Op::kElement2)
      line += " " + step.variable->name + " " + Operand(e, step.operand) + " " +
              Operand(e, step.secondOperand);
    if ((step.op == C::Op::kSubscript || step.op == C::Op::kElement1) &&
        step.operandFrom != C::kFromStack)
      line += " " + Operand(e, step.operand);
    out += line + "\n";
  }
  return out;
}

}  // namespace basic
