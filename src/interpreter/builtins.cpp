// The factor level of the evaluator: literals, variables, brackets, unary
// operators, calls of registered names and the eighteen built-in functions.
//
// Built-in functions compute in extended precision and round once, when the
// result becomes a double; a single-argument function takes one factor, so
// SIN X + 1 adds 1 to the sine.
#include <cmath>
#include <cstdint>

#include "basic.h"
#include "errors.h"
#include "invariant.h"
#include "numeric.h"
#include "operations.h"
#include "rounded_math.h"

namespace basic {

namespace {

// The x87 gives up on arguments this large and so do we: SIN and COS are 0.
constexpr long double kTrigLimit = 0x1p63L;

long double Sine(double x) {
  long double e = x;
  return std::fabs(e) >= kTrigLimit ? 0.0L : std::sin(e);
}

long double Cosine(double x) {
  long double e = x;
  return std::fabs(e) >= kTrigLimit ? 0.0L : std::cos(e);
}

double RoundedSine(double x) {
  double result;
  return TryRoundedSine(x, result) ? result : FromExtended(Sine(x));
}

double RoundedCosine(double x) {
  double result;
  return TryRoundedCosine(x, result) ? result : FromExtended(Cosine(x));
}

double Tangent(double x) {
  long double s = Sine(x), c = Cosine(x);
  if (c == 0) RaiseRuntime(s == 0 ? msg::kFpInvalid : msg::kFpDivisionByZero);
  return FromExtended(s / c);
}

double Logarithm(double x) {
  if (x == 0) RaiseRuntime(msg::kFpDivisionByZero);
  if (x < 0) RaiseRuntime(msg::kFpInvalid);
  double result;
  return TryRoundedLog(x, result) ? result : FromExtended(std::log(static_cast<long double>(x)));
}

double SquareRoot(double x) {
  if (x < 0) RaiseRuntime(msg::kFpInvalid);
  return std::sqrt(x);
}

double ArcTangent(double x) { return FromExtended(std::atan(static_cast<long double>(x))); }
double Exponential(double x) { return FromExtended(std::exp(static_cast<long double>(x))); }

// VAL: the string read as an expression of either kind; tokens after the
// expression are ignored and an empty text is 0.
[[gnu::noinline]] void EvalVal(TBasic& basic, valrec& result) {
  Str text = basic.FactorString();
  TokenList tokens;
  SavedCursor restore(basic);
  basic.Tokenize(text.view(), tokens);
  if (tokens.empty()) {
    result.SetNumber(0);
    return;
  }
  basic.ReadFrom(tokens.begin());
  CallsForbidden noCalls(basic);
  basic.EvalExpression(result);
}

// MID$(s, start [, count]): start below 1 counts as 1, count defaults to 255.
[[gnu::noinline]] void EvalMid(TBasic& basic, valrec& result) {
  basic.ExpectToken(tcOpen);
  Str s = basic.EvalString();
  basic.ExpectToken(tcComma);
  // Clamped, not wrapped: a position or count past the 32-bit range means
  // past the end.
  int64_t start = Clamp32(basic.EvalInteger());
  if (start < 1) start = 1;
  int64_t count = 255;
  if (basic.PeekCode() == tcComma) {
    basic.Advance();
    count = Clamp32(basic.EvalInteger());
  }
  basic.ExpectToken(tcClose);

  const int64_t length = static_cast<int64_t>(s.size());
  if (count > length - start + 1) count = length - start + 1;
  if (start > length || count <= 0) {
    result.SetString(Str());
  } else if (start == 1 && count == length) {
    result.SetString(std::move(s));
  } else if (count == 1) {
    result.SetString(Str::OfByte(s.byte(static_cast<size_t>(start - 1))));  // cached, no allocation
  } else {
    result.SetString(Str(s.data() + (start - 1), static_cast<size_t>(count)));
  }
}

// A 32-bit linear congruential generator, one state for the process.
double NextRandom(uint32_t& state) {
  state = state * 134775813u + 1u;
  uint64_t thousandths = (uint64_t{state} * 1000u) >> 32;
  return static_cast<double>(thousandths) / 1000;
}

// The cases below that hold strings or locations do it in frames of their
// own, so EvalFactor, which every nesting level passes through, stays small
// (every temporary there would cost each level its slot, and under the
// address sanitizer a red zone as well).

[[gnu::noinline]] void ReadVariable(TBasic& basic, valrec& result) {
  VarLocation at = basic.GetVariable();
  if (at.str != nullptr)
    result.SetString(*at.str);
  else
    result.SetNumber(*at.num);
}

[[gnu::noinline]] void CallForValue(TBasic& basic, TFuncDefs* defs, valrec& result) {
  result.SetNumber(0);
  basic.CallFunction(defs, true, result);
}

[[gnu::noinline]] void ReadLiteral(const Token& token, valrec& result) {
  result.SetString(token.Text());
}

[[gnu::noinline]] void StringOfNumber(TBasic& basic, valrec& result) {
  double x = basic.FactorNumber();
  result.SetString(Str(FormatNumber(x)));
}

[[gnu::noinline]] void CharacterOf(TBasic& basic, valrec& result) {
  result.SetString(Str::OfByte(static_cast<unsigned char>(basic.FactorInteger())));
}

// LEN, ASC.
[[gnu::noinline]] void Measure(TBasic& basic, TokenCode function, valrec& result) {
  const Str s = basic.FactorString();
  result.SetNumber(MeasureString(function, s));
}

}  // namespace

// Out of line: the extended-precision temporaries would otherwise widen
// EvalFactor's frame.
[[gnu::noinline]] double ApplyNumeric(TokenCode function, double x) {
  switch (function) {
#define BASIC_APPLY_CASE(token, value) \
  case token: return value;
    BASIC_NUMERIC_FUNCTIONS(BASIC_APPLY_CASE)
#undef BASIC_APPLY_CASE
    default: break;
  }
  BASIC_ASSERT(IsNumericFunction(function));  // callers ask only for these
  return 0;
}

void TBasic::EvalOtherFactor(valrec& result) {
  DepthGuard guard(*this);
  if (AtEol(nextToken)) SyntaxError();
  const Token& token = *nextToken;
  Advance();

  double number;
  switch (token.code) {
    // A literal too large for a double never becomes a value.
    case tcNumber: number = CheckFinite(token.number); break;
    case tcPlus: number = FactorNumber(); break;
    case tcMinus: number = -FactorNumber(); break;
    case tcNot: number = ~Low32(FactorInteger()); break;
    case tcRnd:
      SkipParenthesised();  // the argument is not even evaluated
      number = NextRandom(rndState);
      break;

    case tcVariable:
      --nextToken;  // GetVariable takes the name and its subscripts
      ReadVariable(*this, result);
      return;
    case tcString: ReadLiteral(token, result); return;
    case tcFunction: CallForValue(*this, token.funcDefs, result); return;
    case tcOpen:
      EvalExpression(result);
      ExpectToken(tcClose);
      return;
    case tcStrFn: StringOfNumber(*this, result); return;
    case tcVal: EvalVal(*this, result); return;
    case tcChr: CharacterOf(*this, result); return;
    case tcAsc:
    case tcLen: Measure(*this, token.code, result); return;
    case tcMid: EvalMid(*this, result); return;

    default:
      if (!IsNumericFunction(token.code)) SyntaxError();
      number = ApplyNumeric(token.code, FactorNumber());
      break;
  }
  result.SetNumber(number);
}

}  // namespace basic
