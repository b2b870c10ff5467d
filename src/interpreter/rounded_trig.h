// SIN and COS of a double, rounded once to a double, without the library's
// long-double argument reduction in the common case.
//
// The result must be the double the long-double library sine or cosine
// rounds to. A shorter reduction and polynomial give a value whose error is
// bounded well below the gap between a double and the midpoints beside it;
// when the bound cannot decide the rounding (a few in a hundred arguments),
// or the argument is outside the range the bound was worked out for, the
// caller falls back on the library.
#pragma once

#include <cmath>  // defines __GLIBC__ where the C library is glibc

namespace basic {

// The quick route reproduces a long-double library sine that is good to
// about one unit in its last place, as glibc's is. MinGW's long-double sine
// is much coarser: there the library decides every result, as it always has.
#if defined(__GLIBC__)
inline constexpr bool kQuickTrig = true;
#else
inline constexpr bool kQuickTrig = false;
#endif

// True with `out` set when the rounded sine (cosine) of x is decided.
bool TryRoundedSine(double x, double& out);
bool TryRoundedCosine(double x, double& out);

}  // namespace basic
