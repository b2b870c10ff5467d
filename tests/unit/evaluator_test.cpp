// The precedence levels of the evaluator, operand kinds, arithmetic faults,
// and nesting far deeper than the native stack could take.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "expression_harness.h"
#include "interpreter_limits.h"
#include "numeric.h"

namespace basic {
namespace {

using test::ExpressionHarness;

const std::string kTypeMismatch = "(42) Type mismatch error";
const std::string kSyntaxError = "(42) Syntax error";

struct NumberCase {
  const char* text;
  double value;
};

class NumericExpression : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumericExpression, Evaluates) {
  ExpressionHarness h;
  EXPECT_EQ(h.Number(GetParam().text), GetParam().value) << GetParam().text;
  EXPECT_EQ(h.StoppedAt(), tcEol) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    PrecedenceAndAssociativity, NumericExpression,
    ::testing::Values(NumberCase{"2+3*4", 14}, NumberCase{"(2+3)*4", 20}, NumberCase{"[2+3]*2", 10},
                      NumberCase{"10-2-3", 5}, NumberCase{"100/10/5", 2}, NumberCase{"2*3 MOD 4", 2},
                      NumberCase{"2^3^2", 512}, NumberCase{"2^3*2", 16}, NumberCase{"-2^2", 4},
                      NumberCase{"2^-1", 0.5}, NumberCase{"2*-3", -6}, NumberCase{"- - 3", 3},
                      NumberCase{"+-+2", -2}, NumberCase{"2^2^-1", std::sqrt(2.0)},
                      NumberCase{"1+1=2 AND 2<3", 1}, NumberCase{"1 OR 2 AND 0", 1},
                      NumberCase{"NOT 0 = -1", 1}, NumberCase{"NOT (1 = 1)", -2},
                      NumberCase{"3 XOR 5 XOR 6", 0}, NumberCase{"(1<2)+(2<1)", 1}));

INSTANTIATE_TEST_SUITE_P(
    ComparisonsAndBits, NumericExpression,
    ::testing::Values(NumberCase{"1=1", 1}, NumberCase{"1=2", 0}, NumberCase{"1<>2", 1},
                      NumberCase{"2<=2", 1}, NumberCase{"2>=3", 0}, NumberCase{"3>2", 1},
                      // Chains compare the previous 0/1 result.
                      NumberCase{"1<2<3", 1}, NumberCase{"3>2>1", 0},
                      NumberCase{"5 AND 3", 1}, NumberCase{"5 OR 3", 7}, NumberCase{"5 XOR 3", 6},
                      NumberCase{"-1 AND 255", 255}, NumberCase{"2.9 AND 3", 2},
                      NumberCase{"-2.9 OR 0", -2}, NumberCase{"4294967296 OR 1", 4294967297.0},
                      NumberCase{"7.5 MOD 2", 0}, NumberCase{"6.5 MOD 4", 2},
                      NumberCase{"-7 MOD 3", -1}, NumberCase{"7 MOD -3", 1},
                      NumberCase{"(-2)^63 MOD -1", 0}));

TEST(Evaluator, StringOperators) {
  ExpressionHarness h;
  EXPECT_EQ(h.String(R"("A" + "B")"), "AB");
  EXPECT_EQ(h.String(R"("" + "x" + "")"), "x");
  struct {
    const char* text;
    double value;
  } comparisons[] = {{R"("A" < "B")", 1},  {R"("a" < "B")", 0},   {R"("AB" > "A")", 1},
                     {R"("" < "A")", 1},   {R"("A" = "A")", 1},   {R"("A" <> "a")", 1},
                     // Bytes compare unsigned: 200 sorts after "z".
                     {R"(CHR$(200) > "z")", 1}, {R"("A" + "B" = "AB")", 1}};
  for (const auto& c : comparisons) EXPECT_EQ(h.Number(c.text), c.value) << c.text;
}

TEST(Evaluator, KindErrors) {
  ExpressionHarness h;
  for (const char* text : {R"("A" - "B")", R"("A" * 2)", R"(2 / "A")", R"("A" MOD 2)", R"("A" = 1)",
                           R"(1 + "A")", R"("A" AND 1)", R"(1 OR "A")", R"(1 XOR "A")",
                           R"(1 < 2 < "A")", R"("A" ^ 2)", R"(2 ^ "A")"})
    EXPECT_EQ(h.Error(text), kTypeMismatch) << text;
}

TEST(Evaluator, KindsAreExaminedAfterTheRightOperand) {
  ExpressionHarness h;
  EXPECT_EQ(h.Error(R"("A" - 1/0)"), msg::kFpDivisionByZero);
  EXPECT_EQ(h.Error(R"("A" AND 1/0)"), msg::kFpDivisionByZero);
  EXPECT_EQ(h.Error(R"("A" < 1/0)"), msg::kFpDivisionByZero);
  // Except for "^": a string base fails before its exponent is looked at.
  EXPECT_EQ(h.Error(R"("A" ^ (1/0))"), kTypeMismatch);
}

TEST(Evaluator, ArithmeticFaults) {
  ExpressionHarness h;
  struct {
    const char* text;
    const char* error;
  } cases[] = {{"1/0", msg::kFpDivisionByZero},  {"0/0", msg::kFpInvalid},
               {"0^0", msg::kFpDivisionByZero},  {"0^2", msg::kFpDivisionByZero},
               {"10^400", msg::kFpOverflow},     {"(-8)^0.5", msg::kFpInvalid},
               {"(-8)^(1/3)", msg::kFpInvalid},  {"5 MOD 0.4", msg::kDivisionByZero},
               {"1E308*10", msg::kFpOverflow},   {"-1E308-1E308", msg::kFpOverflow},
               {"1E300 AND 1", msg::kFpInvalid}, {"1E19 MOD 2", msg::kFpInvalid}};
  for (const auto& c : cases) EXPECT_EQ(h.Error(c.text), c.error) << c.text;
}

TEST(Evaluator, PowersInExtendedPrecision) {
  ExpressionHarness h;
  EXPECT_EQ(FormatNumber(h.Number("10^15")), " 1.00000000000000E+0015");
  EXPECT_EQ(FormatNumber(h.Number("10^-2")), "0.01");
  EXPECT_EQ(FormatNumber(h.Number("3^40")), " 1.21576654590569E+0019");
  EXPECT_EQ(h.Number("(-2)^3"), -8);
  EXPECT_EQ(h.Number("(-2)^-1"), -0.5);
}

TEST(Evaluator, StopsAtTheFirstTokenItCannotUse) {
  ExpressionHarness h;
  struct {
    const char* text;
    TokenCode stop;
  } cases[] = {{"1, 2", tcComma}, {"1; 2", tcSemicolon}, {"(1) : 2", tcColon},
               {"X THEN 10", tcThen}, {"1 TO 5", tcTo}, {"2 ELSE", tcElse},
               {"1 2", tcNumber}, {"3)", tcClose}};
  for (const auto& c : cases) {
    h.Eval(c.text);
    EXPECT_EQ(h.StoppedAt(), c.stop) << c.text;
  }
}

TEST(Evaluator, MalformedExpressions) {
  ExpressionHarness h;
  for (const char* text : {"", "2+", "(1", "(1,2)", "*2", ")", "1 AND", "NOT", "-", "THEN", "1 < >"})
    EXPECT_EQ(h.Error(text), kSyntaxError) << '"' << text << '"';
}

// --- Nesting ----------------------------------------------------------------

std::string Repeat(std::string_view unit, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += unit;
  return s;
}

std::string Brackets(int depth) { return Repeat("(", depth) + "1" + Repeat(")", depth); }

TEST(EvaluatorNesting, TenThousandLevelsEndInStackOverflow) {
  ExpressionHarness h;
  h.Var("A$").strValue = Str(std::string_view("VAL A$"));
  const std::string deep[] = {
      Brackets(10000),
      Repeat("-", 10000) + "1",
      Repeat("NOT ", 10000) + "1",
      Repeat("2^", 10000) + "2",
      Repeat("SIN ", 10000) + "1",
      Repeat("A(", 10000) + "1" + Repeat(")", 10000),
      "VAL A$",  // a string that evaluates itself
  };
  for (const std::string& text : deep)
    EXPECT_EQ(h.Error(text), msg::kStackOverflow) << text.substr(0, 12);
  // Nothing is left behind: a plain expression still works.
  EXPECT_EQ(h.Number("1+1"), 2);
}

// The deepest nesting the limit allows, of every recursive path, runs in a
// 1 MiB stack (the smallest a Windows thread gets by default).
int32_t Identity(void*, const ArgWord* args, size_t, Str*) { return args[0].integer; }

TEST(EvaluatorNesting, DeepestAllowedNestingFitsInOneMebibyte) {
  // Each level below costs one unit of depth, the innermost factor one more.
  const int levels = kMaxEvalDepth - 1;
  ExpressionHarness h;
  h.Var("V$").strValue = Str(std::string_view("VAL V$"));
  h.basic().AddMethod("F", 2, &Identity, nullptr, std::string("\x02", 1));
  const std::string deepest[] = {
      Repeat("F(", levels) + "1" + Repeat(")", levels),
      Repeat("1<(", levels) + "1" + Repeat(")", levels),
      Brackets(levels),
      Repeat("-", levels) + "1",
      Repeat("1^", levels) + "1",
      Repeat("ABS ", levels) + "1",
      Repeat("MID$(", levels) + "\"x\"" + Repeat(",1)", levels),
      Repeat("A(", levels) + "0" + Repeat(")", levels),
  };
  test::RunOnStack(size_t{1} << 20, [&] {
    for (const std::string& text : deepest) EXPECT_EQ(h.Error(text), "no error") << text.substr(0, 12);
    // VAL that evaluates itself goes to the limit and fails there.
    EXPECT_EQ(h.Error("VAL V$"), msg::kStackOverflow);
  });
  EXPECT_EQ(h.Error(Brackets(kMaxEvalDepth)), msg::kStackOverflow);
}

}  // namespace
}  // namespace basic
