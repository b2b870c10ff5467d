#include "rounded_trig.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace basic {

namespace {

// pi/2 in three parts: P1 has 31 significant bits and P2 32, so n * P1 and
// n * P2 are exact for n < 2^30; P3 carries the next 64 bits. What is left
// out is below 2^-135.
constexpr long double kHalfPi1 = 0x1.921fb54400000000p0L;
constexpr long double kHalfPi2 = 0x1.0b4611a600000000p-34L;
constexpr long double kHalfPi3 = 0x1.3198a2e03707344ap-69L;
constexpr long double kTwoOverPi = 0x1.45f306dc9c882a54p-1L;
// Adding and removing this rounds a long double to a whole number.
constexpr long double kRoundingShift = 0x1.8p63L;

constexpr double kDirectLimit = 0.78;   // below pi/4: no reduction needed
constexpr double kReduceLimit = 0x1p30;  // n stays below 2^30
// The reduced argument is trusted to be relatively exact only when it is
// not tiny; arguments that close to a multiple of pi/2 take the library.
constexpr long double kSmallestReduced = 0x1p-20L;
// The error of the value below is under 2^-61 relative; the library's is
// under 2^-62. The sum is rounded up.
constexpr long double kErrorBound = 0x1p-59L;

constexpr long double Factorial(int n) { return n <= 1 ? 1.0L : n * Factorial(n - 1); }

// Taylor terms (-1)^k / (2k+1)! and (-1)^k / (2k)!, highest first, to r^23
// and r^24: for |r| <= 0.8 the terms left out add less than 2^-90.
template <int First>
constexpr std::array<long double, 11> TaylorTerms() {
  std::array<long double, 11> terms{};
  for (int i = 0; i < 11; ++i) {
    const int power = First - 2 * i;
    terms[i] = ((power / 2) % 2 == 0 ? 1 : -1) / Factorial(power);
  }
  return terms;
}
constexpr auto kSinTerms = TaylorTerms<23>();  // r^23 ... r^3
constexpr auto kCosTerms = TaylorTerms<24>();  // r^24 ... r^4

// sin r = r + r z (-1/6 + z (...)) and cos r = 1 + z (-1/2 + z (...)), z = r^2.
long double SinPolynomial(long double r) {
  const long double z = r * r;
  long double p = 0;
  for (long double term : kSinTerms) p = p * z + term;
  return r + r * z * p;
}

long double CosPolynomial(long double r) {
  const long double z = r * r;
  long double p = 0;
  for (long double term : kCosTerms) p = p * z + term;
  return 1 + z * (p * z - 0.5L);
}

// x = quadrant * pi/2 + r with |r| <= pi/4 (and a little).
bool Reduce(double x, long double& r, int& quadrant) {
  if (!kQuickTrig) return false;
  const double magnitude = std::fabs(x);
  if (magnitude < kDirectLimit) {
    r = x;
    quadrant = 0;
    return true;
  }
  if (magnitude >= kReduceLimit) return false;
  const long double e = x;
  const long double n = (e * kTwoOverPi + kRoundingShift) - kRoundingShift;
  r = ((e - n * kHalfPi1) - n * kHalfPi2) - n * kHalfPi3;
  if (std::fabs(r) < kSmallestReduced) return false;
  quadrant = static_cast<int>(static_cast<int64_t>(n) & 3);
  return true;
}

// The double every value within the error bound of `value` rounds to, if
// there is one.
bool RoundDecided(long double value, double& out) {
  const long double margin = std::fabs(value) * kErrorBound;
  const double rounded = static_cast<double>(value);
  if (static_cast<double>(value - margin) != rounded) return false;
  if (static_cast<double>(value + margin) != rounded) return false;
  out = rounded;
  return true;
}

}  // namespace

bool TryRoundedSine(double x, double& out) {
  if (x == 0) {  // keeps the sign of zero
    out = x;
    return true;
  }
  long double r;
  int quadrant;
  if (!Reduce(x, r, quadrant)) return false;
  long double value = (quadrant & 1) != 0 ? CosPolynomial(r) : SinPolynomial(r);
  if ((quadrant & 2) != 0) value = -value;
  return RoundDecided(value, out);
}

bool TryRoundedCosine(double x, double& out) {
  long double r;
  int quadrant;
  if (!Reduce(x, r, quadrant)) return false;
  long double value = (quadrant & 1) != 0 ? SinPolynomial(r) : CosPolynomial(r);
  if (((quadrant + 1) & 2) != 0) value = -value;
  return RoundDecided(value, out);
}

}  // namespace basic
