// The precedence levels of the evaluator, operand kinds, arithmetic faults,
// and nesting far deeper than the native stack could take.
#include <gtest/gtest.h>

#include <string>

#include "expression_harness.h"
#include "interpreter_limits.h"

namespace basic::test {
namespace {

TEST_P(ExpressionOutcome, Matches) {
  ExpressionHarness h;
  EXPECT_EQ(h.Outcome(GetParam().text), GetParam().outcome) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, ExpressionOutcome,
    ::testing::Values(
        OutcomeCase{"2+3*4", "14"}, OutcomeCase{"(2+3)*4", "20"}, OutcomeCase{"[2+3]*2", "10"},
        OutcomeCase{"10-2-3", "5"}, OutcomeCase{"100/10/5", "2"}, OutcomeCase{"2*3 MOD 4", "2"},
        OutcomeCase{"2^3^2", "512"}, OutcomeCase{"2^3*2", "16"}, OutcomeCase{"-2^2", "4"},
        OutcomeCase{"2^-1", "0.5"}, OutcomeCase{"2*-3", "-6"}, OutcomeCase{"+-+2", "-2"},
        OutcomeCase{"1+1=2 AND 2<3", "1"}, OutcomeCase{"1 OR 2 AND 0", "1"},
        OutcomeCase{"NOT 0 = -1", "1"}, OutcomeCase{"NOT (1 = 1)", "-2"},
        OutcomeCase{"3 XOR 5 XOR 6", "0"}, OutcomeCase{"1<2<3", "1"}, OutcomeCase{"3>2>1", "0"}));

INSTANTIATE_TEST_SUITE_P(
    Operators, ExpressionOutcome,
    ::testing::Values(
        OutcomeCase{"1<>2", "1"}, OutcomeCase{"2<=2", "1"}, OutcomeCase{"2>=3", "0"},
        OutcomeCase{"5 AND 3", "1"}, OutcomeCase{"5 OR 3", "7"}, OutcomeCase{"5 XOR 3", "6"},
        OutcomeCase{"-1 AND 255", "255"}, OutcomeCase{"2.9 AND 3", "2"},
        OutcomeCase{"-2.9 OR 0", "-2"}, OutcomeCase{"4294967296 OR 1", "4294967297"},
        OutcomeCase{"7.5 MOD 2", "0"}, OutcomeCase{"6.5 MOD 4", "2"}, OutcomeCase{"-7 MOD 3", "-1"},
        OutcomeCase{"7 MOD -3", "1"},
        // The one remainder whose quotient does not fit in 64 bits.
        OutcomeCase{"(-2)^63 MOD -1", "0"}, OutcomeCase{"(-2)^3", "-8"},
        OutcomeCase{"(-2)^-1", "-0.5"},
        // Powers in extended precision: plain doubles give ...01E+0015 and 9.99...E-0003.
        OutcomeCase{"10^15", " 1.00000000000000E+0015"}, OutcomeCase{"10^-2", "0.01"},
        OutcomeCase{"3^40", " 1.21576654590569E+0019"}, OutcomeCase{"-0", "-0"},
        OutcomeCase{"\"A\" + \"B\"", "AB"}, OutcomeCase{"\"A\" < \"B\"", "1"},
        OutcomeCase{"\"a\" < \"B\"", "0"}, OutcomeCase{"\"AB\" > \"A\"", "1"},
        OutcomeCase{"\"\" < \"A\"", "1"}, OutcomeCase{"CHR$(200) > \"z\"", "1"}));

INSTANTIATE_TEST_SUITE_P(
    Faults, ExpressionOutcome,
    ::testing::Values(
        OutcomeCase{"1/0", msg::kFpDivisionByZero}, OutcomeCase{"0/0", msg::kFpInvalid},
        OutcomeCase{"0^0", msg::kFpDivisionByZero}, OutcomeCase{"0^2", msg::kFpDivisionByZero},
        OutcomeCase{"10^400", msg::kFpOverflow}, OutcomeCase{"(-8)^0.5", msg::kFpInvalid},
        OutcomeCase{"(-2)^1E30", msg::kFpInvalid}, OutcomeCase{"5 MOD 0.4", msg::kDivisionByZero},
        OutcomeCase{"1E308*10", msg::kFpOverflow}, OutcomeCase{"-1E308-1E308", msg::kFpOverflow},
        OutcomeCase{"1E300 AND 1", msg::kFpInvalid}, OutcomeCase{"1E19 MOD 2", msg::kFpInvalid},
        // Kinds are examined after the right operand...
        OutcomeCase{"\"A\" - 1/0", msg::kFpDivisionByZero},
        OutcomeCase{"\"A\" < 1/0", msg::kFpDivisionByZero},
        // ...except that a string base fails before its exponent is looked at.
        OutcomeCase{"\"A\" ^ (1/0)", kTypeMismatch}));

INSTANTIATE_TEST_SUITE_P(KindErrors, ExpressionOutcome,
                         ::testing::Values(OutcomeCase{"\"A\" - \"B\"", kTypeMismatch},
                                           OutcomeCase{"\"A\" * 2", kTypeMismatch},
                                           OutcomeCase{"2 / \"A\"", kTypeMismatch},
                                           OutcomeCase{"\"A\" MOD 2", kTypeMismatch},
                                           OutcomeCase{"\"A\" = 1", kTypeMismatch},
                                           OutcomeCase{"1 + \"A\"", kTypeMismatch},
                                           OutcomeCase{"\"A\" AND 1", kTypeMismatch},
                                           OutcomeCase{"1 OR \"A\"", kTypeMismatch},
                                           OutcomeCase{"1 XOR \"A\"", kTypeMismatch},
                                           OutcomeCase{"1 < 2 < \"A\"", kTypeMismatch},
                                           OutcomeCase{"2 ^ \"A\"", kTypeMismatch}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, ExpressionOutcome,
    ::testing::Values(OutcomeCase{"", kSyntaxError}, OutcomeCase{"2+", kSyntaxError},
                      OutcomeCase{"(1", kSyntaxError}, OutcomeCase{"(1,2)", kSyntaxError},
                      OutcomeCase{"*2", kSyntaxError}, OutcomeCase{"1 AND", kSyntaxError},
                      OutcomeCase{"1 < >", kSyntaxError}, OutcomeCase{"THEN", kSyntaxError}));

TEST(Evaluator, StopsAtTheFirstTokenItCannotUse) {
  ExpressionHarness h;
  struct {
    const char* text;
    TokenCode stop;
  } cases[] = {{"1, 2", tcComma},  {"(1) : 2", tcColon}, {"X THEN 10", tcThen}, {"1 TO 5", tcTo},
               {"2 ELSE", tcElse}, {"1 2", tcNumber},    {"3)", tcClose}};
  for (const auto& c : cases) {
    h.Eval(c.text);
    EXPECT_EQ(h.StoppedAt(), c.stop) << c.text;
  }
}

std::string Repeat(std::string_view unit, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += unit;
  return s;
}

// Each unit costs one level of depth; the innermost factor one more.
std::string Nested(std::string_view open, std::string_view inner, std::string_view close,
                   int levels) {
  return Repeat(open, levels) + std::string(inner) + Repeat(close, levels);
}

int32_t Identity(void*, const ArgWord* args, size_t, Str*) { return args[0].integer; }

TEST(EvaluatorNesting, TenThousandLevelsEndInStackOverflow) {
  ExpressionHarness h;
  h.Var("A$").strValue = Str(std::string_view("VAL A$"));  // evaluates itself
  for (const std::string& text :
       {Nested("(", "1", ")", 10000), Nested("-", "1", "", 10000), Nested("NOT ", "1", "", 10000),
        Nested("2^", "2", "", 10000), Nested("SIN ", "1", "", 10000), Nested("A(", "1", ")", 10000),
        std::string("VAL A$")})
    EXPECT_EQ(h.Error(text), msg::kStackOverflow) << text.substr(0, 12);
  EXPECT_EQ(h.Number("1+1"), 2);
}

// The deepest nesting the limit allows, on every recursive path, runs in a
// 1 MiB stack, the smallest a Windows thread gets by default.
TEST(EvaluatorNesting, DeepestAllowedNestingFitsInOneMebibyte) {
  const int levels = kMaxEvalDepth - 1;
  ExpressionHarness h;
  h.basic().AddMethod("F", 2, &Identity, nullptr, std::string("\x02", 1));
  h.Var("V$").strValue = Str(std::string_view("VAL V$"));
  const std::string deepest[] = {
      Nested("(", "1", ")", levels),   Nested("-", "1", "", levels),
      Nested("1^", "1", "", levels),   Nested("ABS ", "1", "", levels),
      Nested("1<(", "1", ")", levels), Nested("MID$(", "\"x\"", ",1)", levels),
      Nested("A(", "0", ")", levels),  Nested("F(", "1", ")", levels)};
  RunOnStack(size_t{1} << 20, [&] {
    for (const std::string& text : deepest)
      EXPECT_EQ(h.Error(text), "no error") << text.substr(0, 12);
    EXPECT_EQ(h.Error("VAL V$"), msg::kStackOverflow);
  });
  EXPECT_EQ(h.Error(Nested("(", "1", ")", kMaxEvalDepth)), msg::kStackOverflow);
}

}  // namespace
}  // namespace basic::test
