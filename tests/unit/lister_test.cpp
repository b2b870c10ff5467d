// The lister's spacing rules, token by token.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace basic {
namespace {

int32_t Nothing(void*, const ArgWord*, size_t, Str*) { return 0; }

class ListerTest : public ::testing::Test {
 protected:
  ListerTest() { b.AddMethod("MsgBox", 2, Nothing, nullptr, std::string(1, '\x02')); }
  std::string Listed(std::string_view typed) {
    b.Tokenize(typed, list);
    std::string out;
    b.ListTokens(list.begin(), out);
    return out;
  }
  test::Machine m;
  TBasic& b = m.basic;
  TBasicInternals& in = m.inside;
  TokenList list;
};

TEST_F(ListerTest, SpacingOfEveryKindOfToken) {
  const std::pair<const char*, const char*> cases[] = {
      // the examples of the language reference
      {"IF A=1 THEN PRINT \"X\":GOTO 20", "IF A = 1 THEN PRINT\"X\" : GOTO 20"},
      {"FOR I=1 TO 9 STEP 2", "FOR I = 1 TO 9 STEP 2"},
      {"PRINT -A", "PRINT-A"},
      {"X=NOT Y", "X = NOT Y"},
      {"PRINT A;B, SIN(X)", "PRINT A;B,SIN(X)"},
      {"?#1", "PRINT{#}1"},
      // words in a row get one blank; operators 5-13 none; 14-24 one each side
      {"a b 1 2 ", "a b 1 2"},
      {"A+B-C*D/E^F", "A+B-C*D/E^F"},
      {"[A](B),C;D", "(A)(B),C;D"},
      {"A:B=C<D>E<=F>=G<>H", "A : B = C < D > E <= F >= G <> H"},
      {"1and 2or 3xor 4mod 5", "1 AND 2 OR 3 XOR 4 MOD 5"},
      {"A=<B", "A = < B"},  // two spaced pieces share one blank
      {"A<>-B", "A <> -B"},
      // NOT: a blank of its own after, and none added before the next word
      {"NOT NOT A", "NOT NOT A"},
      {"A=NOT(B)", "A = NOT (B)"},
      {"IF NOT A THEN", "IF NOT A THEN "},
      // functions and statements in their first form
      {"y=sqr(4)+len(a$)*rnd", "y = SQR(4)+LEN(a$)*RND"},
      {"quit:let a=1:dim b(2)", "BYE : LET a = 1 : DIM b(2)"},
      {"ON X GOSUB 10,20 ELSE END", "ON X GOSUB 10,20 ELSE END"},
      {"IF A THEN 10 ELSE 20", "IF A THEN 10 ELSE 20"},
      {"FOR I=1TO 9STEP-1", "FOR I = 1 TO 9 STEP -1"},
      // REM keeps its text as stored
      {"A=1:REM  two  \"blanks\"", "A = 1 : REM  two  \"blanks\""},
      {"REMx", "REMx"},
      // strings with doubled quotes, characters in braces
      {"PRINT \"say \"\"hi\"\"\";\"\"", "PRINT\"say \"\"hi\"\"\";\"\""},
      {"A@B", "A{@}B"},
      // numbers re-formatted; the exponent form's blank yields to one before it
      {"PRINT .50;007", "PRINT 0.5;7"},
      {"X=1E12", "X = 1.00000000000000E+0012"},
      {"PRINT 1E12", "PRINT 1.00000000000000E+0012"},
      {"PRINT(1E12)", "PRINT( 1.00000000000000E+0012)"},
      {"X=-1E-5", "X = - 1.00000000000000E-0005"},
      // a registered name in the registry's case
      {"print msgbox(1)", "PRINT MsgBox(1)"},
      {"", ""},
  };
  for (const auto& [typed, listed] : cases) EXPECT_EQ(Listed(typed), listed) << typed;
}

}  // namespace
}  // namespace basic
