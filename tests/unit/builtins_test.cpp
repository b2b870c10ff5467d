// The factor level: the built-in functions, unary operators, VAL, MID$, RND
// and calls of registered names inside expressions.
#include <gtest/gtest.h>

#include <string>

#include "expression_harness.h"

namespace basic::test {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Functions, ExpressionOutcome,
    ::testing::Values(
        OutcomeCase{"SQR(3)", "9"}, OutcomeCase{"SQR 2^3", "64"},  // the argument is one factor
        OutcomeCase{"SQRT(9)", "3"}, OutcomeCase{"SIN 0 + 1", "1"}, OutcomeCase{"COS(0)", "1"},
        OutcomeCase{"TAN(ARCTAN(1))", "1"}, OutcomeCase{"ARCTAN(1) * 4", "3.1415926536"},
        OutcomeCase{"LOG(EXP(2))", "2"}, OutcomeCase{"EXP(-1000)", "0"}, OutcomeCase{"ABS -0", "0"},
        OutcomeCase{"SGN(-0.5)", "-1"}, OutcomeCase{"SGN(0)", "0"}, OutcomeCase{"INT(-2.5)", "-2"},
        OutcomeCase{"INT(2.9)", "2"}, OutcomeCase{"SIN(9.3E18)", "0"},
        OutcomeCase{"COS(-1E19)", "0"}, OutcomeCase{"NOT 2.5", "-3"},
        OutcomeCase{"NOT 4294967296", "-1"},  // low 32 bits
        OutcomeCase{"LEN(STR$(5))", "1"}, OutcomeCase{"LEN(STR$(0.001))", "23"},
        OutcomeCase{"LEN(\"ab\" + \"c\")", "3"}, OutcomeCase{"ASC(\"\")", "0"},
        OutcomeCase{"ASC(CHR$(200))", "200"}, OutcomeCase{"ASC(CHR$(0)) + LEN(CHR$(0))", "1"},
        OutcomeCase{"STR$(-2.5)", "-2.5"}, OutcomeCase{"STR$(1E12)", " 1.00000000000000E+0012"},
        OutcomeCase{"CHR$(321)", "A"}, OutcomeCase{"CHR$(-191)", "A"},
        OutcomeCase{"CHR$(65.5)", "B"}));

INSTANTIATE_TEST_SUITE_P(
    FunctionErrors, ExpressionOutcome,
    ::testing::Values(
        OutcomeCase{"SQRT(-1)", msg::kFpInvalid}, OutcomeCase{"LOG(0)", msg::kFpDivisionByZero},
        OutcomeCase{"LOG(-1)", msg::kFpInvalid}, OutcomeCase{"EXP(710)", msg::kFpOverflow},
        OutcomeCase{"INT(2^63)", msg::kFpInvalid},
        OutcomeCase{"INT((-2)^63)", "-9.22337203685478E+0018"},
        OutcomeCase{"SQR(1E200)", msg::kFpOverflow}, OutcomeCase{"CHR$(1E19)", msg::kFpInvalid},
        OutcomeCase{"SIN(\"A\")", kTypeMismatch}, OutcomeCase{"LEN(5)", kTypeMismatch},
        OutcomeCase{"-\"A\"", kTypeMismatch}, OutcomeCase{"NOT \"A\"", kTypeMismatch},
        OutcomeCase{"STR$(\"1\")", kTypeMismatch}, OutcomeCase{"VAL(1)", kTypeMismatch},
        OutcomeCase{"MID$(5, 1)", kTypeMismatch}, OutcomeCase{"SIN", kSyntaxError},
        OutcomeCase{"MID$(\"A\")", kSyntaxError}, OutcomeCase{"MID$(\"A\", 1", kSyntaxError},
        OutcomeCase{"MID$(\"A\", 1, 2, 3)", kSyntaxError}, OutcomeCase{"RND((1)", kSyntaxError},
        OutcomeCase{"RND(1 : 2)", kSyntaxError}, OutcomeCase{"REM", kSyntaxError},
        OutcomeCase{"#", kSyntaxError}));

INSTANTIATE_TEST_SUITE_P(
    MidAndVal, ExpressionOutcome,
    ::testing::Values(
        OutcomeCase{"MID$(\"HELLO\", 2, 3)", "ELL"}, OutcomeCase{"MID$(\"HELLO\", 0, 2)", "HE"},
        OutcomeCase{"MID$(\"HELLO\", 3)", "LLO"}, OutcomeCase{"MID$(\"HELLO\", 6)", ""},
        OutcomeCase{"MID$(\"HELLO\", 2, -1)", ""}, OutcomeCase{"MID$(\"HELLO\", 4, 100)", "LO"},
        OutcomeCase{"MID$(\"HELLO\", 2.5, 1.5)", "EL"}, OutcomeCase{"VAL(\"\")", "0"},
        OutcomeCase{"VAL(\"  \")", "0"}, OutcomeCase{"VAL(\"2+3\")", "5"},
        OutcomeCase{"VAL(\"12 34\")", "12"}, OutcomeCase{R"(VAL("""hi"""))", "hi"},
        OutcomeCase{R"(VAL("VAL(""3"") * 2") + 1)", "7"},
        OutcomeCase{"VAL(\"1 +\")", kSyntaxError}));

TEST(Builtins, MidGivesAtMost255CharactersWithoutACount) {
  ExpressionHarness h;
  h.Var("S$").strValue = Str(std::string(300, 'x'));
  EXPECT_EQ(h.String("MID$(S$, 1)").size(), 255u);
  EXPECT_EQ(h.String("MID$(S$, 50)").size(), 251u);
  EXPECT_EQ(h.String("MID$(S$, 1, 300)").size(), 300u);
}

TEST(Builtins, ValSeesVariablesAndGivesTheCursorBack) {
  ExpressionHarness h;
  h.Var("X").numValue = 7;
  EXPECT_EQ(h.Number("VAL(\"X\") * 2"), 14);
  EXPECT_EQ(h.StoppedAt(), tcEol);
  EXPECT_EQ(h.Error("1 + VAL(\"1/0\") + 1"), msg::kFpDivisionByZero);
  EXPECT_TRUE(h.CursorInLine());
}

TEST(Builtins, RndFollowsItsSequenceAndNeverEvaluatesItsArgument) {
  const std::string expected[] = {"0", "0.031", "0.861", "0.202", "0.272", "0.671"};
  const char* forms[] = {"RND", "RND(5)", "RND(1/0)", "RND((1), \"x\")", "RND[2]", "RND"};
  ExpressionHarness h;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(h.Outcome(forms[i]), expected[i]) << forms[i];
    EXPECT_EQ(h.StoppedAt(), tcEol) << forms[i];
  }
}

int32_t Twice(void*, const ArgWord* args, size_t, Str*) { return 2 * args[0].integer; }
int32_t Greet(void*, const ArgWord*, size_t, Str* result) {
  *result = Str(std::string_view("hi"));
  return 0;
}

TEST(Builtins, RegisteredNamesYieldValuesOfEitherKind) {
  ExpressionHarness h;
  h.basic().AddMethod("Twice", 2, &Twice, nullptr, std::string("\x02", 1));
  h.basic().AddMethod("Greet", 1, &Greet, nullptr, "");
  EXPECT_EQ(h.Number("twice(TWICE(2)) + 1"), 9);
  EXPECT_EQ(h.String("GREET + \"!\""), "hi!");
}

}  // namespace
}  // namespace basic::test
