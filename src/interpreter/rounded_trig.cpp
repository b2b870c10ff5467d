#include "rounded_math.h"

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

constexpr double kDirectLimit = 0.78;    // below pi/4: no reduction needed
constexpr double kReduceLimit = 0x1p30;  // n stays below 2^30
// The reduced argument is trusted to be relatively exact only when it is
// not tiny; arguments that close to a multiple of pi/2 take the library.
constexpr long double kSmallestReduced = 0x1p-20L;

constexpr long double Factorial(int n) { return n <= 1 ? 1.0L : n * Factorial(n - 1); }

// The Taylor term of r^power: +-1 / power!.
constexpr long double Term(int power) { return ((power / 2) % 2 == 0 ? 1 : -1) / Factorial(power); }

// The small end of each series, from r^Lowest in steps of r^2, in double:
// to r^21 for the sine and r^22 for the cosine. For |r| <= 0.8 that part
// is under 2^-18 of the result, so its rounding costs under 2^-70, and the
// terms left out under 2^-80.
template <int Lowest>
constexpr std::array<double, 8> TailTerms() {
  std::array<double, 8> terms{};
  for (int i = 0; i < 8; ++i) terms[i] = static_cast<double>(Term(Lowest + 2 * i));
  return terms;
}
constexpr auto kSinTail = TailTerms<7>();
constexpr auto kCosTail = TailTerms<8>();

// a0 + a1 z + ... + a7 z^7 in pairs, so that few operations wait on others.
[[gnu::always_inline]] inline double Estrin(double z, const std::array<double, 8>& a) {
  const double z2 = z * z;
  const double z4 = z2 * z2;
  return ((a[0] + a[1] * z) + z2 * (a[2] + a[3] * z)) +
         z4 * ((a[4] + a[5] * z) + z2 * (a[6] + a[7] * z));
}

// The leading terms in long double, the tail in double; z = r^2.
[[gnu::always_inline]] inline long double SinPolynomial(long double r) {
  const long double z = r * r;
  const double tail = Estrin(static_cast<double>(z), kSinTail);
  return r + r * z * (Term(3) + z * (Term(5) + z * tail));
}

[[gnu::always_inline]] inline long double CosPolynomial(long double r) {
  const long double z = r * r;
  const double tail = Estrin(static_cast<double>(z), kCosTail);
  return 1 + z * (Term(2) + z * (Term(4) + z * (Term(6) + z * tail)));
}

// x = quadrant * pi/2 + r with |r| <= pi/4 (and a little).
[[gnu::always_inline]] inline bool Reduce(double x, long double& r, int& quadrant) {
  if (!kQuickMath) return false;
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
  return rounding::Decided(value, out);
}

bool TryRoundedCosine(double x, double& out) {
  long double r;
  int quadrant;
  if (!Reduce(x, r, quadrant)) return false;
  long double value = (quadrant & 1) != 0 ? SinPolynomial(r) : CosPolynomial(r);
  if (((quadrant + 1) & 2) != 0) value = -value;
  return rounding::Decided(value, out);
}

}  // namespace basic
