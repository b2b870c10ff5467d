// Numeric conversions and checked arithmetic shared by the evaluator, the
// built-in functions and the statements. Faults are detected by explicit
// tests, never by processor traps, and no infinity or NaN is ever returned.
#pragma once

#include <cstdint>
#include <string>

namespace basic {

// Nearest integer, ties to even; "Invalid floating point operation" outside
// the signed 64-bit range (NaN included).
int64_t RoundToInt64(double x);
// Toward zero; the same range check.
int64_t TruncToInt64(double x);
// The low 32 bits of an integer as a signed 32-bit value.
inline int32_t Low32(int64_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n)); }

// The result of an operation on finite operands: "Floating point overflow"
// when it left the double range.
double CheckFinite(double x);
// An extended-precision result rounded to double, with the same checks
// ("Invalid floating point operation" for NaN).
double FromExtended(long double x);

double Add(double a, double b);
double Subtract(double a, double b);
double Multiply(double a, double b);
double Divide(double a, double b);  // x/0 and 0/0 raise their faults
double Power(double x, double y);   // e^(y ln x), extended precision
double ModOf(double a, double b);   // "Division by zero" when b rounds to 0

// The text of a number as PRINT, STR$ and the lister write it.
std::string FormatNumber(double x);
// The 23-character scientific form (sign or blank, d.dddddddddddddd, E,
// sign, four exponent digits), for any value.
std::string FormatScientific(double x);

}  // namespace basic
