// The text form of numbers: fixed notation below 10^12 and from 0.01 up,
// the 23-character scientific form otherwise, digits from the 18-digit
// decimal expansion rounded half up.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "numeric.h"

namespace basic {
namespace {

struct FormatCase {
  double value;
  const char* text;
};
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.text; }

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesTheExpectedText) {
  EXPECT_EQ(FormatNumber(GetParam().value), GetParam().text) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    FixedForm, FormatNumberTest,
    ::testing::Values(FormatCase{5, "5"}, FormatCase{123.45, "123.45"}, FormatCase{-2.5, "-2.5"},
                      FormatCase{100, "100"}, FormatCase{0, "0"}, FormatCase{-0.0, "-0"},
                      FormatCase{1.0 / 3, "0.3333333333"}, FormatCase{-2.0 / 3, "-0.6666666667"},
                      FormatCase{0.1 + 0.2, "0.3"}, FormatCase{0.01, "0.01"},
                      FormatCase{-0.01, "-0.01"}, FormatCase{999999999999, "999999999999"},
                      // Ten decimals, rounded up into the integer part.
                      FormatCase{9.99999999996, "10"},
                      // The typed text ends in 5 but the double lies just below it.
                      FormatCase{0.99999999995, "0.9999999999"},
                      // Below the half, but the 18-digit expansion reads ...9050: rounds up.
                      FormatCase{123456.12345678905, "123456.1234567891"},
                      // Digits beyond the 18th are zeros, not the exact expansion.
                      FormatCase{std::nextafter(1e12, 0), "999999999999.999878"}));

INSTANTIATE_TEST_SUITE_P(
    ScientificForm, FormatNumberTest,
    ::testing::Values(
        FormatCase{1e12, " 1.00000000000000E+0012"}, FormatCase{-1e12, "-1.00000000000000E+0012"},
        FormatCase{0.005, " 5.00000000000000E-0003"}, FormatCase{0.001, " 1.00000000000000E-0003"},
        FormatCase{-2e15, "-2.00000000000000E+0015"},
        // Just below 0.01: scientific, and the 15 digits carry into the exponent.
        FormatCase{std::nextafter(0.01, 0), " 1.00000000000000E-0002"},
        FormatCase{999999999999999.9, " 1.00000000000000E+0015"},
        // Half up where half to even would keep the 6.
        FormatCase{1234567890123465.0, " 1.23456789012347E+0015"},
        FormatCase{-1234567890123465.0, "-1.23456789012347E+0015"},
        FormatCase{DBL_MAX, " 1.79769313486232E+0308"},
        FormatCase{std::numeric_limits<double>::denorm_min(), " 4.94065645841247E-0324"}));

TEST(FormatScientificTest, KeepsTheSignOfZero) {
  EXPECT_EQ(FormatScientific(0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatScientific(-0.0), "-0.00000000000000E+0000");
}

}  // namespace
}  // namespace basic
