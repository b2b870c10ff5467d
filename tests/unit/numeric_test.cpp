// Integer conversions and checked arithmetic: every fault is an error with
// its message and no infinity or NaN comes out.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "errors.h"
#include "numeric.h"

namespace basic {
namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;

void ExpectRuntime(const std::function<void()>& action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "expected \"" << message << "\"";
  } catch (const ERuntime& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(IntegerConversion, RoundsHalfToEven) {
  struct Case {
    double in;
    int64_t out;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {-0.4, 0}, {1.4999999, 1},
               {-kTwoTo63, std::numeric_limits<int64_t>::min()},
               {std::nextafter(kTwoTo63, 0), 9223372036854774784}};
  for (const Case& c : cases) EXPECT_EQ(RoundToInt64(c.in), c.out) << c.in;
}

TEST(IntegerConversion, TruncatesTowardZero) {
  struct Case {
    double in;
    int64_t out;
  } cases[] = {{2.9, 2}, {-2.9, -2}, {-0.9, 0}, {-kTwoTo63, std::numeric_limits<int64_t>::min()}};
  for (const Case& c : cases) EXPECT_EQ(TruncToInt64(c.in), c.out) << c.in;
}

TEST(IntegerConversion, OutsideTheRangeIsInvalid) {
  for (double x : {kTwoTo63, -std::nextafter(kTwoTo63, DBL_MAX), 1e300, -1e300}) {
    ExpectRuntime([x] { RoundToInt64(x); }, msg::kFpInvalid);
    ExpectRuntime([x] { TruncToInt64(x); }, msg::kFpInvalid);
  }
}

TEST(IntegerConversion, Low32KeepsTheLowWord) {
  EXPECT_EQ(Low32(int64_t{0x100000005}), 5);
  EXPECT_EQ(Low32(int64_t{0xFFFFFFFF}), -1);
  EXPECT_EQ(Low32(int64_t{-1}), -1);
}

TEST(Arithmetic, FaultsRaiseTheirMessages) {
  ExpectRuntime([] { Add(DBL_MAX, DBL_MAX); }, msg::kFpOverflow);
  ExpectRuntime([] { Subtract(-DBL_MAX, DBL_MAX); }, msg::kFpOverflow);
  ExpectRuntime([] { Multiply(1e200, 1e200); }, msg::kFpOverflow);
  ExpectRuntime([] { Divide(1, 0); }, msg::kFpDivisionByZero);
  ExpectRuntime([] { Divide(-1, -0.0); }, msg::kFpDivisionByZero);
  ExpectRuntime([] { Divide(0, 0); }, msg::kFpInvalid);
  ExpectRuntime([] { Divide(1e300, 1e-300); }, msg::kFpOverflow);
  ExpectRuntime([] { CheckFinite(std::nan("")); }, msg::kFpInvalid);
  // Underflow is silent.
  EXPECT_EQ(Multiply(1e-200, 1e-200), 0);
}

TEST(Arithmetic, ExtendedResultsRoundToDoubleOrOverflow) {
  EXPECT_EQ(FromExtended(static_cast<long double>(DBL_MAX)), DBL_MAX);
  // Just under DBL_MAX + half an ulp still rounds down to DBL_MAX.
  EXPECT_EQ(FromExtended(0x1p1024L - 0x1p970L - 0x1p960L), DBL_MAX);
  ExpectRuntime([] { FromExtended(0x1p1024L - 0x1p970L); }, msg::kFpOverflow);
  ExpectRuntime([] { FromExtended(-0x1p1030L); }, msg::kFpOverflow);
}

TEST(Power, ResultsAndFaults) {
  struct Case {
    double x, y, result;
  } cases[] = {{2, 3, 8}, {-2, 3, -8}, {-2, 2, 4}, {-2, -1, -0.5}, {2, -1, 0.5},
               {1, 1e308, 1}, {0.5, 1e308, 0}, {4, 0.5, 2}, {7, 0, 1}};
  for (const Case& c : cases) EXPECT_EQ(Power(c.x, c.y), c.result) << c.x << "^" << c.y;

  ExpectRuntime([] { Power(0, 2); }, msg::kFpDivisionByZero);
  ExpectRuntime([] { Power(0, 0); }, msg::kFpDivisionByZero);
  ExpectRuntime([] { Power(-8, 1.0 / 3); }, msg::kFpInvalid);
  ExpectRuntime([] { Power(-2, 1e30); }, msg::kFpInvalid);
  ExpectRuntime([] { Power(10, 400); }, msg::kFpOverflow);
  ExpectRuntime([] { Power(-10, 401); }, msg::kFpOverflow);
}

TEST(Mod, RoundsOperandsAndKeepsTheLeftSign) {
  struct Case {
    double a, b, result;
  } cases[] = {{7, 3, 1}, {-7, 3, -1}, {7, -3, 1}, {7.5, 2, 0}, {6.5, 4, 2}, {2.5, 1.5, 0},
               // The one quotient that does not fit in 64 bits.
               {-kTwoTo63, -1, 0}};
  for (const Case& c : cases) EXPECT_EQ(ModOf(c.a, c.b), c.result) << c.a << " MOD " << c.b;

  ExpectRuntime([] { ModOf(5, 0.4); }, msg::kDivisionByZero);
  ExpectRuntime([] { ModOf(1e300, 3); }, msg::kFpInvalid);
}

}  // namespace
}  // namespace basic
