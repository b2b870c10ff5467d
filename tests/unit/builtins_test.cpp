// The factor level: the eighteen built-in functions, unary operators, VAL,
// MID$, RND and calls of registered names inside expressions.
#include <gtest/gtest.h>

#include <string>

#include "expression_harness.h"
#include "numeric.h"

namespace basic {
namespace {

using test::ExpressionHarness;

const std::string kTypeMismatch = "(42) Type mismatch error";
const std::string kSyntaxError = "(42) Syntax error";

// The number as PRINT would show it, the string itself, or the error.
std::string Outcome(ExpressionHarness& h, const std::string& text) {
  std::string error = h.Error(text);
  if (error != "no error") return error;
  valrec v = h.Eval(text);
  return v.isString ? std::string(v.strValue.view()) : FormatNumber(v.numValue);
}

struct Case {
  const char* text;
  std::string outcome;
};

class Builtin : public ::testing::TestWithParam<Case> {};

TEST_P(Builtin, Evaluates) {
  ExpressionHarness h;
  EXPECT_EQ(Outcome(h, GetParam().text), GetParam().outcome) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    NumericFunctions, Builtin,
    ::testing::Values(
        Case{"SQR(3)", "9"}, Case{"SQR 2^3", "64"},  // the argument is one factor
        Case{"SQRT(9)", "3"}, Case{"SQRT(2)", "1.4142135624"}, Case{"SIN(0)", "0"},
        Case{"SIN 0 + 1", "1"}, Case{"COS(0)", "1"}, Case{"TAN(ARCTAN(1))", "1"},
        Case{"ARCTAN(1) * 4", "3.1415926536"}, Case{"LOG(EXP(2))", "2"}, Case{"EXP(1)", "2.7182818285"},
        Case{"EXP(-1000)", "0"}, Case{"ABS(-2.5)", "2.5"}, Case{"ABS -0", "0"}, Case{"SGN(-0.5)", "-1"},
        Case{"SGN(0)", "0"}, Case{"SGN 7", "1"}, Case{"INT(2.9)", "2"}, Case{"INT(-2.9)", "-2"},
        Case{"INT(-2.5)", "-2"},
        // Past 2^63 the sine and cosine are 0.
        Case{"SIN(9.3E18)", "0"}, Case{"COS(-1E19)", "0"}, Case{"COS(9.2E18) <> 0", "1"},
        Case{"NOT 2.5", "-3"}, Case{"NOT -1", "0"}, Case{"NOT 4294967296", "-1"}, Case{"-(3)", "-3"},
        Case{"LEN(STR$(5))", "1"}, Case{"LEN(STR$(0.001))", "23"}, Case{"LEN(\"abc\" + \"d\")", "4"},
        Case{"LEN \"abc\" + 1", "4"}, Case{"ASC(\"\")", "0"}, Case{"ASC(\"AB\")", "65"},
        Case{"ASC(CHR$(200))", "200"}, Case{"LEN(CHR$(0))", "1"}, Case{"ASC(CHR$(0))", "0"}));

INSTANTIATE_TEST_SUITE_P(
    StringFunctions, Builtin,
    ::testing::Values(Case{"STR$(-2.5)", "-2.5"}, Case{"STR$(1E12)", " 1.00000000000000E+0012"},
                      Case{"CHR$(65)", "A"}, Case{"CHR$(321)", "A"}, Case{"CHR$(-191)", "A"},
                      Case{"CHR$(65.5)", "B"}));

INSTANTIATE_TEST_SUITE_P(
    Faults, Builtin,
    ::testing::Values(Case{"SQRT(-1)", msg::kFpInvalid}, Case{"LOG(0)", msg::kFpDivisionByZero},
                      Case{"LOG(-1)", msg::kFpInvalid}, Case{"EXP(710)", msg::kFpOverflow},
                      Case{"INT(1E19)", msg::kFpInvalid}, Case{"SQR(1E200)", msg::kFpOverflow},
                      Case{"NOT 1E19", msg::kFpInvalid}, Case{"CHR$(1E19)", msg::kFpInvalid}));

INSTANTIATE_TEST_SUITE_P(
    KindErrors, Builtin,
    ::testing::Values(Case{"SIN(\"A\")", kTypeMismatch}, Case{"LEN(5)", kTypeMismatch},
                      Case{"-\"A\"", kTypeMismatch}, Case{"+\"A\"", kTypeMismatch},
                      Case{"NOT \"A\"", kTypeMismatch}, Case{"CHR$(\"A\")", kTypeMismatch},
                      Case{"ASC(1)", kTypeMismatch}, Case{"STR$(\"1\")", kTypeMismatch},
                      Case{"VAL(1)", kTypeMismatch}, Case{"MID$(5, 1)", kTypeMismatch},
                      Case{"MID$(\"A\", \"1\")", kTypeMismatch}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, Builtin,
    ::testing::Values(Case{"SIN", kSyntaxError}, Case{"LEN", kSyntaxError}, Case{"MID$", kSyntaxError},
                      Case{"MID$(\"A\")", kSyntaxError}, Case{"MID$(\"A\" 1)", kSyntaxError},
                      Case{"MID$(\"A\", 1", kSyntaxError}, Case{"MID$(\"A\", 1, 2, 3)", kSyntaxError},
                      Case{"RND(1", kSyntaxError}, Case{"RND((1)", kSyntaxError},
                      Case{": 1", kSyntaxError}, Case{"REM", kSyntaxError}, Case{"TO", kSyntaxError},
                      Case{"#", kSyntaxError}));

INSTANTIATE_TEST_SUITE_P(
    Mid, Builtin,
    ::testing::Values(Case{"MID$(\"HELLO\", 2, 3)", "ELL"}, Case{"MID$(\"HELLO\", 0, 2)", "HE"},
                      Case{"MID$(\"HELLO\", -5, 2)", "HE"}, Case{"MID$(\"HELLO\", 3)", "LLO"},
                      Case{"MID$(\"HELLO\", 5)", "O"}, Case{"MID$(\"HELLO\", 6)", ""},
                      Case{"MID$(\"HELLO\", 2, 0)", ""}, Case{"MID$(\"HELLO\", 2, -1)", ""},
                      Case{"MID$(\"HELLO\", 4, 100)", "LO"}, Case{"MID$(\"HELLO\", 2.5, 1.5)", "EL"},
                      Case{"MID$(\"\", 1)", ""}, Case{"MID$(\"HE\" + \"LLO\", 1)", "HELLO"}));

INSTANTIATE_TEST_SUITE_P(
    Val, Builtin,
    ::testing::Values(Case{"VAL(\"\")", "0"}, Case{"VAL(\"   \")", "0"}, Case{"VAL(\"2+3\")", "5"},
                      Case{"VAL(\"12 34\")", "12"}, Case{R"(VAL("""hi"""))", "hi"},
                      Case{R"(VAL("VAL(""3"") * 2"))", "6"}, Case{"VAL(\"2\") + 1", "3"},
                      Case{"VAL(\"1/0\")", msg::kFpDivisionByZero}, Case{"VAL(\"+\")", kSyntaxError},
                      Case{"VAL(\"1 +\") + 1", kSyntaxError}));

TEST(BuiltinMid, LongStringsGiveAtMost255Characters) {
  ExpressionHarness h;
  h.Var("S$").strValue = Str(std::string(300, 'x'));
  EXPECT_EQ(h.String("MID$(S$, 1)").size(), 255u);
  EXPECT_EQ(h.String("MID$(S$, 50)").size(), 251u);
  EXPECT_EQ(h.String("MID$(S$, 1, 300)").size(), 300u);
}

TEST(BuiltinVal, NamesAreVariablesAndTheCursorComesBack) {
  ExpressionHarness h;
  h.Var("X").numValue = 7;
  EXPECT_EQ(h.Number("VAL(\"X\") * 2"), 14);
  EXPECT_EQ(h.StoppedAt(), tcEol);
  EXPECT_EQ(h.Number("VAL(\"NEWNAME\")"), 0);
  EXPECT_EQ(h.Var("NEWNAME").numValue, 0);
  // After a failure inside VAL the cursor is back in the caller's tokens.
  EXPECT_EQ(h.Error("1 + VAL(\"1/0\") + 1"), msg::kFpDivisionByZero);
  EXPECT_TRUE(h.CursorInLine());
}

TEST(BuiltinRnd, FixedSequenceArgumentNeverEvaluated) {
  const std::string expected[] = {"0", "0.031", "0.861", "0.202", "0.272", "0.671"};
  ExpressionHarness plain;
  for (const std::string& value : expected) EXPECT_EQ(FormatNumber(plain.Number("RND")), value);
  ExpressionHarness withArguments;
  const char* forms[] = {"RND(5)", "RND", "RND(1/0)", "RND((1), \"x\")", "RND[2]", "RND"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(FormatNumber(withArguments.Number(forms[i])), expected[i]) << forms[i];
    EXPECT_EQ(withArguments.StoppedAt(), tcEol) << forms[i];
  }
  EXPECT_EQ(withArguments.basic().rndState, plain.basic().rndState);
}

int32_t Twice(void*, const ArgWord* args, size_t, Str*) { return 2 * args[0].integer; }
int32_t Greet(void*, const ArgWord*, size_t, Str* result) {
  *result = Str(std::string_view("hi"));
  return 0;
}

TEST(BuiltinCalls, RegisteredNamesYieldValuesOfEitherKind) {
  ExpressionHarness h;
  h.basic().AddMethod("Twice", 2, &Twice, nullptr, std::string("\x02", 1));
  h.basic().AddMethod("Greet", 1, &Greet, nullptr, "");
  EXPECT_EQ(h.Number("TWICE(3) + 1"), 7);
  EXPECT_EQ(h.Number("twice(twice(2))"), 8);
  EXPECT_EQ(h.String("GREET + \"!\""), "hi!");
}

}  // namespace
}  // namespace basic
