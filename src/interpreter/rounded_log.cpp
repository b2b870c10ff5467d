// LOG without the library: x = 2^e * m, and with a table entry for m's
// first seven bits, ln x = e ln 2 + ln(1 / inverse) + ln(1 + r) where
// r = m * inverse - 1 is exact and below 2^-7, so a short series does.
#include <bit>
#include <cmath>
#include <cstdint>

#include "rounded_log_table.h"
#include "rounded_math.h"

namespace basic {

namespace {

constexpr int kExponentBias = 1023;
constexpr int kMantissaBits = 52;
constexpr uint64_t kMantissaMask = (uint64_t{1} << kMantissaBits) - 1;
constexpr int kIndexBits = 7;
constexpr uint64_t kOne = uint64_t{kExponentBias} << kMantissaBits;

// ln(1 + r) for |r| < 2^-7: r - r^2/2 in long double, and the rest, under
// r^2/3 of r, in double. The first term left out, r^10/10, is under 2^-66 of r.
long double Log1p(long double r) {
  const double d = static_cast<double>(r);
  const double d2 = d * d;
  // Paired terms keep the chain of dependent operations short.
  // Multiplying by rounded coefficients rather than dividing costs less than
  // the 2^-66 of r already allowed for.
  constexpr double c3 = 1.0 / 3, c4 = -1.0 / 4, c5 = 1.0 / 5, c6 = -1.0 / 6;
  constexpr double c7 = 1.0 / 7, c8 = -1.0 / 8, c9 = 1.0 / 9;
  // Paired terms keep the chain of dependent operations short.
  const double rest =
      d * d2 * ((c3 + d * c4) + d2 * ((c5 + d * c6) + d2 * ((c7 + d * c8) + d2 * c9)));
  return (r - r * r * 0.5L) + rest;
}

}  // namespace

bool TryRoundedLog(double x, double& out) {
  if (!kQuickMath || !(x > 0)) return false;
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  int exponent = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
  if (exponent == -kExponentBias || exponent > kExponentBias) return false;  // subnormal, inf
  const auto index = static_cast<unsigned>((bits >> (kMantissaBits - kIndexBits)) & 127);
  const log_table::Entry& entry = log_table::kEntries[index];
  if (index >= 64) ++exponent;  // the entry takes m as m/2
  const double mantissa = std::bit_cast<double>((bits & kMantissaMask) | kOne);
  const long double r = static_cast<long double>(mantissa) * entry.inverse - 1;
  const long double e = exponent;
  const long double head = e * log_table::kLn2Head + entry.logHead;
  const long double tail = e * log_table::kLn2Tail + entry.logTail;
  return rounding::Decided(head + (tail + Log1p(r)), out);
}

}  // namespace basic
