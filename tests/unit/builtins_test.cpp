// Calls of registered names inside expressions, and the cursor after VAL.
// The built-in functions' values and errors are pinned by the golden
// programs functions and expression_errors.
#include <gtest/gtest.h>

#include <string>

#include "expression_harness.h"

namespace basic::test {
namespace {

// An error inside VAL's text must not leave the cursor in that text, which
// is gone once VAL returns.
TEST(Builtins, ValGivesTheCursorBackAfterAnError) {
  ExpressionHarness h;
  EXPECT_EQ(h.Error("1 + VAL(\"1/0\") + 1"), msg::kFpDivisionByZero);
  EXPECT_TRUE(h.CursorInLine());
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
