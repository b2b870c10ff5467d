// SIN, COS and LOG of a double, rounded once to a double, without the
// library's long-double routines in the common case.
//
// The result must be the double the long-double library function rounds
// to. A shorter route gives a value whose error is bounded well below the
// gap between a double and the midpoints beside it; when the bound cannot
// decide the rounding (a few in a hundred arguments), or the argument is
// outside the range the bound was worked out for, the caller falls back on
// the library.
#pragma once

#include <cmath>  // defines __GLIBC__ where the C library is glibc

namespace basic {

// The quick routes reproduce long-double library functions good to about
// one unit in their last place, as glibc's are. MinGW's long-double sine is
// much coarser: there the library decides every result, as it always has.
#if defined(__GLIBC__)
inline constexpr bool kQuickMath = true;
#else
inline constexpr bool kQuickMath = false;
#endif

// True with `out` set when the rounded sine (cosine) of x is decided.
bool TryRoundedSine(double x, double& out);
bool TryRoundedCosine(double x, double& out);
// The same for the natural logarithm of x > 0.
bool TryRoundedLog(double x, double& out);

namespace rounding {

// Our error plus the library's, relative, rounded up: each is a few units
// of 2^-64 at most.
inline constexpr long double kErrorBound = 0x1p-59L;

// The double every value within the error bound of `value` rounds to, if
// there is one.
inline bool Decided(long double value, double& out) {
  const long double margin = std::fabs(value) * kErrorBound;
  const double rounded = static_cast<double>(value);
  if (static_cast<double>(value - margin) != rounded) return false;
  if (static_cast<double>(value + margin) != rounded) return false;
  out = rounded;
  return true;
}

}  // namespace rounding

}  // namespace basic
