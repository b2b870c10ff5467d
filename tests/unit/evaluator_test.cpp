// Where the evaluator stops, and nesting far deeper than the native stack
// could take: what a program cannot see. The values and errors of
// expressions are pinned by the golden programs operators, functions and
// expression_errors, which run them through whole statements.
#include <gtest/gtest.h>

#include <string>

#include "expression_harness.h"
#include "interpreter_limits.h"

namespace basic::test {
namespace {

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
