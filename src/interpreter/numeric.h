// Numeric conversions and checked arithmetic shared by the evaluator, the
// built-in functions and the statements. Faults are detected by explicit
// tests, never by processor traps, and no infinity or NaN is ever returned.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace basic {

// The faults, raised out of line so that the checks below stay small enough
// to inline into the evaluator.
[[noreturn]] void RaiseInvalidOperation();
// x/0 raises "Floating point division by zero", 0/0 "Invalid floating point operation".
[[noreturn]] void RaiseDivisionByZero(double dividend);
// NaN: "Invalid floating point operation"; infinity: "Floating point overflow".
[[noreturn]] void RaiseNotFinite(double x);

// Doubles in [-2^63, 2^63) round and truncate into int64_t; nothing else does.
inline bool FitsInt64(double x) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  return x >= -kTwoTo63 && x < kTwoTo63;
}

// Nearest integer, ties to even; "Invalid floating point operation" outside
// the signed 64-bit range (NaN included).
inline int64_t RoundToInt64(double x) {
  if (!FitsInt64(x)) RaiseInvalidOperation();
  // Below 2^52 adding and taking away 2^52 rounds in the default mode (to
  // nearest, ties to even), as nearbyint would, without a library call.
  constexpr double kTwoTo52 = 4503599627370496.0;
  if (x >= 0 && x < kTwoTo52) return static_cast<int64_t>((x + kTwoTo52) - kTwoTo52);
  if (x < 0 && x > -kTwoTo52) return static_cast<int64_t>((x - kTwoTo52) + kTwoTo52);
  return static_cast<int64_t>(x);  // already a whole number
}
// Toward zero; the same range check.
inline int64_t TruncToInt64(double x) {
  if (!FitsInt64(x)) RaiseInvalidOperation();
  return static_cast<int64_t>(x);
}
// x toward zero when that fits in 32 bits; INT32_MIN for any other x, NaN
// included, as the processor's conversion gives (a plain cast would be
// undefined there).
inline int32_t TruncatedOrMinimum(double x) {
#if defined(__SSE2__)
  return _mm_cvttsd_si32(_mm_set_sd(x));
#else
  return x > -2147483649.0 && x < 2147483648.0 ? static_cast<int32_t>(x) : INT32_MIN;
#endif
}
// The low 32 bits of an integer as a signed 32-bit value.
inline int32_t Low32(int64_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n)); }
// The integer moved into the signed 32-bit range: the nearest end for one outside.
inline int32_t Clamp32(int64_t n) {
  return n < INT32_MIN ? INT32_MIN : n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
}
// A subscript checked against an extent: "Bad subscript" unless 0 <= n < extent.
// Compared whole, so a value past the 32-bit range is out, not wrapped into it.
[[noreturn]] void BadSubscript();
inline int32_t CheckedSubscript(int64_t n, int32_t extent) {
  if (n < 0 || n >= extent) BadSubscript();
  return static_cast<int32_t>(n);
}

// The result of an operation on finite operands: "Floating point overflow"
// when it left the double range.
inline double CheckFinite(double x) {
  if (!std::isfinite(x)) RaiseNotFinite(x);
  return x;
}
// An extended-precision result rounded to double, with the same checks
// ("Invalid floating point operation" for NaN).
double FromExtended(long double x);

inline double Add(double a, double b) { return CheckFinite(a + b); }
inline double Subtract(double a, double b) { return CheckFinite(a - b); }
inline double Multiply(double a, double b) { return CheckFinite(a * b); }
// x/0 and 0/0 raise their faults.
inline double Divide(double a, double b) {
  if (b == 0) RaiseDivisionByZero(a);
  return CheckFinite(a / b);
}
double Power(double x, double y);  // e^(y ln x), extended precision
double ModOf(double a, double b);  // "Division by zero" when b rounds to 0

// The double nearest a decimal text: digits with at most one point, then
// optionally E or e, a sign and digits (no sign in front), ties to even.
// Past the double range it is infinity, below the smallest subnormal 0, and
// a text without digits before the exponent is 0.
double NearestDouble(std::string_view text);

// The text of a number as PRINT and STR$ write it: 15 significant digits.
std::string FormatNumber(double x);
// The 23-character scientific form (sign or blank, d.dddddddddddddd, E,
// sign, four exponent digits), for any value.
std::string FormatScientific(double x);

// Program text (LIST, SAVE): FormatNumber's text where it reads back as x;
// otherwise the shortest decimal that does, in the same style (fixed
// notation where FormatNumber uses it, else the E form with a 4-digit
// exponent).
std::string FormatExactNumber(double x);
// FormatScientific where it reads back as x; otherwise the same layout with
// as many mantissa digits (16 or 17) as reading back needs.
std::string FormatExactScientific(double x);

}  // namespace basic
