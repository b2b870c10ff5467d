// Every binary operator and every built-in function of one number, each
// defined once: its token, how tightly it binds, its arithmetic with its
// checks, and what it does with two strings. The walking evaluator and the
// expression translator both take their operations from these lists, so a
// translated expression computes exactly what the walked one does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "numeric.h"
#include "str.h"
#include "tokens.h"

namespace basic {

// How tightly a binary operator binds. Equal levels group from the left,
// except "^", which groups from the right. Levels are compared and added
// (precedence climbing), so they stay plain numbers.
enum OperatorLevel : uint8_t { kNone, kOrXor, kAnd, kRelation, kSum, kTerm, kPower };

// What an operator does when both operands are strings; a string with a
// number is always "Type mismatch".
enum class StringForm : uint8_t { kNone, kConcatenates, kCompares };

// Both operands truncated to 64-bit integers, as the bitwise operators take them.
inline int64_t Bits(double x) { return TruncToInt64(x); }

// X(Name, token, level, the value of `a` op `b`, StringForm). A relation's
// expression is written once for numbers and for string views alike: strings
// compare by unsigned byte values, a prefix before the longer. Values are
// never NaN, so each numeric comparison is the plain one.
#define BASIC_BINARY_OPERATIONS(X)                                     \
  X(Add, tcPlus, kSum, Add(a, b), kConcatenates)                       \
  X(Subtract, tcMinus, kSum, Subtract(a, b), kNone)                    \
  X(Multiply, tcStar, kTerm, Multiply(a, b), kNone)                    \
  X(Divide, tcSlash, kTerm, Divide(a, b), kNone)                       \
  X(Equal, tcEqual, kRelation, a == b, kCompares)                      \
  X(Less, tcLess, kRelation, a < b, kCompares)                         \
  X(Greater, tcGreater, kRelation, a > b, kCompares)                   \
  X(LessEqual, tcLessEqual, kRelation, a <= b, kCompares)              \
  X(GreaterEqual, tcGreaterEqual, kRelation, a >= b, kCompares)        \
  X(NotEqual, tcNotEqual, kRelation, a != b, kCompares)                \
  X(Mod, tcMod, kTerm, ModOf(a, b), kNone)                             \
  X(And, tcAnd, kAnd, static_cast<double>(Bits(a) & Bits(b)), kNone)   \
  X(Or, tcOr, kOrXor, static_cast<double>(Bits(a) | Bits(b)), kNone)   \
  X(Xor, tcXor, kOrXor, static_cast<double>(Bits(a) ^ Bits(b)), kNone) \
  X(Power, tcCaret, kPower, Power(a, b), kNone)

enum class BinaryOp : uint8_t {
#define BASIC_ENUM_ENTRY(name, token, level, value, strings) k##name,
  BASIC_BINARY_OPERATIONS(BASIC_ENUM_ENTRY)
#undef BASIC_ENUM_ENTRY
};
// By token code: how tightly it binds (kNone for a token that is no binary
// operator), and which operation it is.
inline constexpr auto kOperatorLevels = [] {
  std::array<uint8_t, kTokenCodeCount + 1> levels{};
#define BASIC_LEVEL_ENTRY(name, token, level, value, strings) levels[token] = level;
  BASIC_BINARY_OPERATIONS(BASIC_LEVEL_ENTRY)
#undef BASIC_LEVEL_ENTRY
  return levels;
}();
inline constexpr auto kBinaryOpOfToken = [] {
  std::array<BinaryOp, kTokenCodeCount + 1> ops{};
#define BASIC_OP_ENTRY(name, token, level, value, strings) ops[token] = BinaryOp::k##name;
  BASIC_BINARY_OPERATIONS(BASIC_OP_ENTRY)
#undef BASIC_OP_ENTRY
  return ops;
}();
inline constexpr std::string_view kBinaryOpNames[] = {
#define BASIC_NAME_ENTRY(name, token, level, value, strings) #name,
    BASIC_BINARY_OPERATIONS(BASIC_NAME_ENTRY)
#undef BASIC_NAME_ENTRY
};
inline constexpr size_t kBinaryOpCount = std::size(kBinaryOpNames);
inline constexpr std::array<StringForm, kBinaryOpCount> kStringForms = {
#define BASIC_FORM_ENTRY(name, token, level, value, strings) StringForm::strings,
    BASIC_BINARY_OPERATIONS(BASIC_FORM_ENTRY)
#undef BASIC_FORM_ENTRY
};

inline int LevelOf(TokenCode code) { return kOperatorLevels[code]; }

// a op b for two numbers, with the operation's checks.
[[gnu::always_inline]] inline double Compute(BinaryOp op, double a, double b) {
  switch (op) {
#define BASIC_COMPUTE_ENTRY(name, token, level, value, strings) \
  case BinaryOp::k##name: return value;
    BASIC_BINARY_OPERATIONS(BASIC_COMPUTE_ENTRY)
#undef BASIC_COMPUTE_ENTRY
  }
  __builtin_unreachable();
}

// Whether relation `op` (one whose StringForm is kCompares) holds between two
// strings: only those rows expand here.
#define BASIC_ONLY_IF_kCompares(code) code
#define BASIC_ONLY_IF_kConcatenates(code)
#define BASIC_ONLY_IF_kNone(code)
inline bool Holds(BinaryOp op, std::string_view a, std::string_view b) {
  switch (op) {
#define BASIC_RELATION_ENTRY(name, token, level, value, strings) \
  BASIC_ONLY_IF_##strings(case BinaryOp::k##name : return value;)
    BASIC_BINARY_OPERATIONS(BASIC_RELATION_ENTRY)
#undef BASIC_RELATION_ENTRY
    default: return false;
  }
}
#undef BASIC_ONLY_IF_kCompares
#undef BASIC_ONLY_IF_kConcatenates
#undef BASIC_ONLY_IF_kNone

// X(token, the value of `x`): the built-in functions of one number, SQR to
// INT (not RND), in builtins.cpp. SQR squares; the root is SQRT.
#define BASIC_NUMERIC_FUNCTIONS(X)     \
  X(tcSqr, Multiply(x, x))             \
  X(tcSqrt, SquareRoot(x))             \
  X(tcSin, RoundedSine(x))             \
  X(tcCos, RoundedCosine(x))           \
  X(tcTan, Tangent(x))                 \
  X(tcArctan, ArcTangent(x))           \
  X(tcLog, Logarithm(x))               \
  X(tcExp, Exponential(x))             \
  X(tcAbs, std::fabs(x))               \
  X(tcSgn, x > 0 ? 1 : x < 0 ? -1 : 0) \
  X(tcInt, static_cast<double>(TruncToInt64(x)))

constexpr bool IsNumericFunction(TokenCode code) {
  switch (code) {
#define BASIC_FUNCTION_CASE(token, value) case token:
    BASIC_NUMERIC_FUNCTIONS(BASIC_FUNCTION_CASE)
#undef BASIC_FUNCTION_CASE
    return true;
    default: return false;
  }
}

// builtins.cpp: `function` (IsNumericFunction) of x.
double ApplyNumeric(TokenCode function, double x);

// X(token, the number it gives for the string `s`): the built-ins that
// measure a string. Neither can fail.
#define BASIC_STRING_MEASURES(X)          \
  X(tcLen, static_cast<double>(s.size())) \
  X(tcAsc, s.empty() ? 0.0 : static_cast<double>(s.byte(0)))

constexpr bool IsStringMeasure(TokenCode code) {
  switch (code) {
#define BASIC_MEASURE_CASE(token, value) case token:
    BASIC_STRING_MEASURES(BASIC_MEASURE_CASE)
#undef BASIC_MEASURE_CASE
    return true;
    default: return false;
  }
}

inline double MeasureString(TokenCode function, const Str& s) {
  switch (function) {
#define BASIC_MEASURE_CASE(token, value) \
  case token: return value;
    BASIC_STRING_MEASURES(BASIC_MEASURE_CASE)
#undef BASIC_MEASURE_CASE
    default: return 0;  // callers ask only for these
  }
}

}  // namespace basic
