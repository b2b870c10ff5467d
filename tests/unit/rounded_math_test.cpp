// The quicker routes to SIN, COS, LOG and squares must give exactly the double
// the long-double library route gives, wherever they claim a result.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "numeric.h"
#include "rounded_math.h"

namespace basic::test {
namespace {

double LibrarySine(double x) { return static_cast<double>(std::sin(static_cast<long double>(x))); }
double LibraryCosine(double x) {
  return static_cast<double>(std::cos(static_cast<long double>(x)));
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double LibraryLog(double x) { return static_cast<double>(std::log(static_cast<long double>(x))); }

// Runs quick routes against the library; counts the arguments checked, those
// the first route decided, and the results that differ.
struct Checker {
  long checked = 0;
  long decided = 0;
  long mismatches = 0;

  using Quick = bool (*)(double, double&);
  using Library = double (*)(double);
  // True when the quick route decided x.
  bool Compare(const char* name, Quick quick, Library library, double x) {
    double value;
    if (!quick(x, value)) return false;
    if (!SameDouble(value, library(x)) && ++mismatches <= 5)
      ADD_FAILURE() << name << " " << std::hexfloat << x;
    return true;
  }
};

// Checks SIN and COS at x; `decided` counts SIN.
struct TrigChecker : Checker {
  void Check(double x) {
    ++checked;
    if (Compare("SIN", TryRoundedSine, LibrarySine, x)) ++decided;
    Compare("COS", TryRoundedCosine, LibraryCosine, x);
  }
};

struct LogChecker : Checker {
  void Check(double x) {
    ++checked;
    if (Compare("LOG", TryRoundedLog, LibraryLog, x)) ++decided;
  }
};

TEST(RoundedTrig, AgreesWithTheLibraryOnWholeNumbers) {
  if (!kQuickMath) GTEST_SKIP() << "the library decides every result here";
  TrigChecker checker;
  for (int k = -1000; k <= 300000; ++k) checker.Check(k);
  EXPECT_EQ(checker.mismatches, 0);
  // The quick route must decide nearly every case or it buys nothing.
  EXPECT_GT(checker.decided, checker.checked * 9 / 10);
}

TEST(RoundedTrig, AgreesWithTheLibraryAcrossMagnitudes) {
  if (!kQuickMath) GTEST_SKIP() << "the library decides every result here";
  TrigChecker checker;
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> exponent(-40, 31);
  for (int i = 0; i < 200000; ++i) {
    double x = std::exp2(exponent(random)) * (random() % 2 != 0 ? -1 : 1);
    checker.Check(x);
  }
  EXPECT_EQ(checker.mismatches, 0);
  EXPECT_GT(checker.decided, checker.checked * 9 / 10);
}

TEST(RoundedTrig, AgreesNearMultiplesOfHalfPi) {
  // Where the reduced argument nearly cancels, the quick route must either
  // stay exact or hand over to the library.
  TrigChecker checker;
  const long double halfPi = 1.5707963267948966192313216916397514L;
  for (int n = 1; n < 2000000; n += 97) {
    double x = static_cast<double>(n * halfPi);
    for (int step = -3; step <= 3; ++step) {
      double y = x;
      for (int i = 0; i < std::abs(step); ++i) y = std::nextafter(y, step < 0 ? 0.0 : 1e300);
      checker.Check(y);
    }
  }
  EXPECT_EQ(checker.mismatches, 0);
}

TEST(RoundedTrig, KeepsTheSignOfZeroAndLeavesHugeArgumentsToTheLibrary) {
  double out = 1;
  ASSERT_TRUE(TryRoundedSine(-0.0, out));
  EXPECT_TRUE(std::signbit(out));
  EXPECT_FALSE(TryRoundedSine(0x1p40, out));
  EXPECT_EQ(TryRoundedCosine(1, out), kQuickMath);
  EXPECT_FALSE(TryRoundedCosine(-1e19, out));
}

TEST(RoundedLog, AgreesWithTheLibraryOnWholeNumbersAndAcrossMagnitudes) {
  if (!kQuickMath) GTEST_SKIP() << "the library decides every result here";
  LogChecker checker;
  for (int k = 1; k <= 300000; ++k) checker.Check(k);
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> exponent(-1020, 1020);
  for (int i = 0; i < 200000; ++i) checker.Check(std::exp2(exponent(random)));
  // Every mantissa interval of the table, at random and at its edges.
  for (uint64_t index = 0; index < 128; ++index) {
    const uint64_t base = (uint64_t{1023} << 52) | (index << 45);
    for (uint64_t offset : {uint64_t{0}, uint64_t{1}, (uint64_t{1} << 45) - 1})
      checker.Check(std::bit_cast<double>(base + offset));
    for (int i = 0; i < 500; ++i) checker.Check(std::bit_cast<double>(base + (random() >> 19)));
  }
  EXPECT_EQ(checker.mismatches, 0);
  EXPECT_GT(checker.decided, checker.checked * 9 / 10);
}

TEST(RoundedLog, StaysExactNextToOne) {
  // ln x is tiny there: a route that added table values would lose it.
  if (!kQuickMath) GTEST_SKIP() << "the library decides every result here";
  LogChecker checker;
  for (double direction : {0.0, 2.0}) {
    double x = 1;
    for (int i = 0; i < 20000; ++i) {
      x = std::nextafter(x, direction);
      checker.Check(x);
    }
  }
  for (int shift = 1; shift <= 52; ++shift) {
    checker.Check(1 + std::ldexp(1.0, -shift));
    checker.Check(1 - std::ldexp(1.0, -shift - 1));
  }
  double out = 1;
  ASSERT_TRUE(TryRoundedLog(1, out));
  EXPECT_FALSE(std::signbit(out));
  EXPECT_EQ(out, 0);
  EXPECT_EQ(checker.mismatches, 0);
  EXPECT_GT(checker.decided, checker.checked * 9 / 10);
}

TEST(RoundedLog, LeavesSubnormalsToTheLibrary) {
  double out;
  EXPECT_FALSE(TryRoundedLog(0x1p-1060, out));
  EXPECT_FALSE(TryRoundedLog(0, out));
  EXPECT_EQ(TryRoundedLog(0x1p-1022, out), kQuickMath);
}

TEST(SquarePower, MatchesTheLogarithmRouteBitForBit) {
  auto viaLogarithm = [](double x) {
    long double magnitude = std::exp(2 * std::log(std::fabs(static_cast<long double>(x))));
    return static_cast<double>(magnitude);
  };
  long mismatches = 0;
  auto check = [&](double x) {
    if (!SameDouble(Power(x, 2), viaLogarithm(x)) && ++mismatches <= 5) ADD_FAILURE() << x;
  };
  for (int k = -300000; k <= 300000; ++k)
    if (k != 0) check(k);
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    // 26 significant bits at every scale the quick route takes, and beyond.
    double mantissa = static_cast<double>((random() >> 38) | (uint64_t{1} << 25));
    check(std::ldexp(mantissa, static_cast<int>(random() % 120) - 90));
    check(std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 60)));
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace basic::test
