// Variables and arrays: the variable list, clearing, array storage limits,
// references with implicit dimensioning, and the cursor helpers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "expression_harness.h"
#include "numeric.h"

namespace basic {
namespace {

using test::ExpressionHarness;

const std::string kSyntaxError = "(42) Syntax error";
const std::string kBadSubscript = "(42) Bad subscript";

// --- The variable list --------------------------------------------------------

TEST(VariableList, NamesAreExactAndKindsComeFromTheCutName) {
  VariableList list;
  varrec* a = list.FindOrAdd("A");
  EXPECT_EQ(list.FindOrAdd("A"), a);
  EXPECT_NE(list.FindOrAdd("a"), a);
  EXPECT_NE(list.FindOrAdd("A$"), a);
  EXPECT_FALSE(a->isString);
  EXPECT_EQ(a->valuePtr, &a->numValue);

  varrec* s = list.FindOrAdd("A$");
  EXPECT_TRUE(s->isString);
  EXPECT_EQ(s->valuePtr, nullptr);
  EXPECT_TRUE(s->strValue.empty());
  // "$" inside the name does not make a string; beyond the 20th character it is cut.
  EXPECT_FALSE(list.FindOrAdd("A$B")->isString);
  varrec* long1 = list.FindOrAdd("abcdefghijklmnopqrst$");
  EXPECT_FALSE(long1->isString);
  EXPECT_EQ(long1->name, "abcdefghijklmnopqrst");
  EXPECT_EQ(list.FindOrAdd("abcdefghijklmnopqrstUVWXY"), long1);
  EXPECT_EQ(list.size(), 5u);
}

TEST(VariableList, RecordsStayPutAsTheListGrowsAndNewestComeFirst) {
  VariableList list;
  std::vector<varrec*> first;
  for (int i = 0; i < 2000; ++i) first.push_back(list.FindOrAdd("V" + std::to_string(i)));
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(list.FindOrAdd("V" + std::to_string(i)), first[i]);
  std::vector<const varrec*> order;
  list.ForEachFromHead([&](const varrec& v) { order.push_back(&v); });
  ASSERT_EQ(order.size(), 2000u);
  EXPECT_EQ(order.front(), first.back());
  EXPECT_EQ(order.back(), first.front());
  list.RemoveAll();
  EXPECT_EQ(list.size(), 0u);
  EXPECT_EQ(list.FindOrAdd("V0")->numValue, 0);
}

TEST(VariableList, ClearingMakesScalarsAgain) {
  VariableList list;
  varrec& n = *list.FindOrAdd("N");
  varrec& s = *list.FindOrAdd("S$");
  varrec& arr = *list.FindOrAdd("ARR");
  varrec& sarr = *list.FindOrAdd("SARR$");
  n.numValue = 5;
  s.strValue = Str(std::string_view("x"));
  const int32_t extents[] = {3, 2};
  DimensionArray(arr, extents, 2);
  DimensionArray(sarr, extents, 1);
  EXPECT_EQ(arr.ElementCount(), 6u);
  arr.numElements[5] = 9;
  sarr.strElements[2] = Str(std::string_view("y"));

  list.ClearAll();
  EXPECT_EQ(n.numValue, 0);
  EXPECT_TRUE(s.strValue.empty());
  for (varrec* v : {&arr, &sarr}) {
    EXPECT_EQ(v->dimCount, 0);
    EXPECT_EQ(v->ElementCount(), 0u);
    EXPECT_FALSE(v->numElements);
    EXPECT_FALSE(v->strElements);
  }
  EXPECT_EQ(arr.valuePtr, &arr.numValue);
  EXPECT_EQ(sarr.valuePtr, nullptr);
  // And they can be dimensioned anew.
  DimensionArray(arr, extents, 1);
  EXPECT_EQ(arr.numElements[2], 0);
}

// --- Array storage ----------------------------------------------------------------

TEST(DimensionArray, StartsZeroedOrEmpty) {
  VariableList list;
  varrec& n = *list.FindOrAdd("N");
  varrec& s = *list.FindOrAdd("S$");
  const int32_t extents[] = {2, 3, 4, 5};
  DimensionArray(n, extents, 4);
  DimensionArray(s, extents, 4);
  ASSERT_EQ(n.ElementCount(), 120u);
  for (size_t i = 0; i < 120; ++i) {
    EXPECT_EQ(n.numElements[i], 0);
    EXPECT_TRUE(s.strElements[i].empty());
  }
  EXPECT_EQ(n.dimCount, 4);
  EXPECT_EQ(n.extents[3], 5);
}

TEST(DimensionArray, TooLargeIsOutOfMemoryAndChangesNothing) {
  ExpressionHarness h;
  varrec& v = h.Var("BIG");
  const int32_t kMax = INT32_MAX;
  struct {
    std::vector<int32_t> extents;
  } cases[] = {
      {{kMax, kMax, kMax, kMax}},     // the product would wrap 64 bits
      {{kMax}},                        // 16 GiB of doubles
      {{(1 << 28) + 1}},               // one element past 2^31 bytes
      {{1 << 16, 1 << 16}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(h.Catch([&] { DimensionArray(v, c.extents.data(), static_cast<int>(c.extents.size())); }),
              msg::kOutOfMemory);
    EXPECT_EQ(v.dimCount, 0);
    EXPECT_EQ(v.valuePtr, &v.numValue);
  }
  const int32_t bad[] = {0};
  EXPECT_EQ(h.Catch([&] { DimensionArray(v, bad, 1); }), kBadSubscript);
}

// --- References -------------------------------------------------------------------

TEST(GetVariable, UnassignedScalarsReadAsZeroAndEmpty) {
  ExpressionHarness h;
  EXPECT_EQ(h.Number("X"), 0);
  EXPECT_EQ(h.String("X$"), "");
  h.Var("Y").numValue = 2.5;
  EXPECT_EQ(h.Number("Y"), 2.5);
}

TEST(GetVariable, FirstSubscriptedUseDimensionsElevenPerSubscript) {
  ExpressionHarness h;
  EXPECT_EQ(h.Number("A(3)"), 0);
  varrec& a = h.Var("A");
  EXPECT_EQ(a.dimCount, 1);
  EXPECT_EQ(a.extents[0], 11);
  EXPECT_EQ(h.Number("A(10)"), 0);
  EXPECT_EQ(h.Error("A(11)"), kBadSubscript);
  EXPECT_EQ(h.Error("A"), kBadSubscript);

  EXPECT_EQ(h.Number("B(1,2,3,4)"), 0);
  EXPECT_EQ(h.Var("B").ElementCount(), 14641u);
  // Five subscripts fail before anything is dimensioned.
  EXPECT_EQ(h.Error("F(1,2,3,4,5)"), kBadSubscript);
  EXPECT_EQ(h.Var("F").dimCount, 0);
  // Commas inside nested brackets are not subscripts, and nothing is evaluated
  // while counting.
  EXPECT_EQ(h.Number("D(LEN(MID$(S$, 1, 2)))"), 0);
  EXPECT_EQ(h.Var("D").dimCount, 1);
  // An empty subscript list counts one, dimensions, then fails; E stays an array.
  EXPECT_EQ(h.Error("E()"), kSyntaxError);
  EXPECT_EQ(h.Var("E").dimCount, 1);
  // A list that never closes.
  EXPECT_EQ(h.Error("G(1, (2"), kSyntaxError);
  EXPECT_EQ(h.Var("G").dimCount, 0);
}

TEST(GetVariable, SubscriptsAreRoundedAndChecked) {
  ExpressionHarness h;
  varrec& c = h.Var("C");
  const int32_t extents[] = {3, 4};
  DimensionArray(c, extents, 2);
  for (int i = 0; i < 12; ++i) c.numElements[i] = i;
  struct {
    const char* text;
    std::string result;
  } cases[] = {{"C(1, 2)", "6"},         {"C(1.5, 0)", "8"},  // 1.5 rounds to 2
               {"C(2.5, 3)", "11"},      {"C(-0.4, 0)", "0"},
               {"C(-1, 0)", kBadSubscript}, {"C(3, 0)", kBadSubscript},
               {"C(0, 4)", kBadSubscript},  {"C(1)", kSyntaxError},
               {"C(1, 2, 3)", kSyntaxError}, {"C", kBadSubscript},
               {"C(1 2)", kSyntaxError},    {"C(\"1\", 2)", "(42) Type mismatch error"}};
  for (const auto& k : cases) {
    std::string got = h.Error(k.text);
    if (got == "no error") got = FormatNumber(h.Number(k.text));
    EXPECT_EQ(got, k.result) << k.text;
  }
}

TEST(GetVariable, LocationFollowsTheLatestReference) {
  ExpressionHarness h;
  h.Start("S$(2)");
  VarLocation at = h.basic().GetVariable();
  ASSERT_NE(at.str, nullptr);
  EXPECT_EQ(at.num, nullptr);
  *at.str = Str(std::string_view("x"));
  EXPECT_EQ(at.var->valuePtr, at.str);
  EXPECT_EQ(h.String("S$(2)"), "x");
  EXPECT_EQ(h.String("S$(3)"), "");
  EXPECT_EQ(h.String("S$(2) + S$(3) + S$(2)"), "xx");

  h.Start("N(4)");
  at = h.basic().GetVariable();
  *at.num = 7;
  EXPECT_EQ(h.Number("N(4) * 2"), 14);
  h.Start("N");
  EXPECT_EQ(h.Catch([&] { h.basic().GetVariable(); }), kBadSubscript);
  h.Start("1");
  EXPECT_EQ(h.Catch([&] { h.basic().GetVariable(); }), kSyntaxError);
}

// --- Cursor helpers ------------------------------------------------------------------

TEST(CursorHelpers, ExpectToken) {
  ExpressionHarness h;
  h.Start("( ]");
  h.basic().ExpectToken(tcOpen);
  EXPECT_EQ(h.Catch([&] { h.basic().ExpectToken(tcComma); }), kSyntaxError);
  h.basic().ExpectToken(tcClose);  // "]" is a closing bracket too
  EXPECT_EQ(h.Catch([&] { h.basic().ExpectToken(tcClose); }), kSyntaxError);
}

TEST(CursorHelpers, AcceptWordMatchesNamesAnyCaseAndWholeKeywordEntries) {
  ExpressionHarness h;
  h.Start("lib Lib ALIAS and QUIT");
  TBasic& b = h.basic();
  EXPECT_FALSE(b.AcceptWord("ALIAS"));  // the cursor stays
  EXPECT_TRUE(b.AcceptWord("LIB"));
  EXPECT_TRUE(b.AcceptWord("LIB"));
  EXPECT_FALSE(b.AcceptWord("ALIA"));
  b.ExpectWord("ALIAS");
  EXPECT_TRUE(b.AcceptWord("AND"));
  // QUIT's entry is "BYE", 0x01, "QUIT": neither form alone is the entry.
  EXPECT_FALSE(b.AcceptWord("QUIT"));
  EXPECT_EQ(h.Catch([&] { b.ExpectWord("BYE"); }), kSyntaxError);
  b.Advance();
  EXPECT_FALSE(b.AcceptWord("LIB"));  // at the end
  EXPECT_EQ(h.Catch([&] { b.ExpectWord("LIB"); }), kSyntaxError);
}

TEST(CursorHelpers, SkipSubscriptStopsAtTopLevelCommaOrBracket) {
  ExpressionHarness h;
  TBasic& b = h.basic();
  h.Start("A(1, (2, 3)), 4");
  b.SkipSubscript();
  EXPECT_EQ(h.StoppedAt(), tcComma);
  EXPECT_EQ(b.nextToken, h.tokens.begin() + 10);
  h.Start("1 + 2)");
  b.SkipSubscript();
  EXPECT_EQ(h.StoppedAt(), tcClose);
  h.Start("(1, 2");
  EXPECT_EQ(h.Catch([&] { b.SkipSubscript(); }), kSyntaxError);
}

TEST(CursorHelpers, SkipParenthesisedStepsOverOneGroup) {
  ExpressionHarness h;
  TBasic& b = h.basic();
  h.Start("((1), 2) + 3");
  b.SkipParenthesised();
  EXPECT_EQ(h.StoppedAt(), tcPlus);
  h.Start("5");
  b.SkipParenthesised();
  EXPECT_EQ(h.StoppedAt(), tcNumber);
  for (const char* open : {"(1", "(1 : 2)", "(1 ELSE 2)"}) {
    h.Start(open);
    EXPECT_EQ(h.Catch([&] { b.SkipParenthesised(); }), kSyntaxError) << open;
  }
}

TEST(KindedEvaluation, IntegersRoundHalfToEvenAndKindsAreEnforced) {
  ExpressionHarness h;
  TBasic& b = h.basic();
  struct {
    const char* text;
    int64_t value;
  } integers[] = {{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"1E15 + 0.5", 1000000000000000}};
  for (const auto& c : integers) {
    h.Start(c.text);
    EXPECT_EQ(b.EvalInteger(), c.value) << c.text;
  }
  h.Start("1E19");
  EXPECT_EQ(h.Catch([&] { b.EvalInteger(); }), msg::kFpInvalid);
  h.Start("\"x\"");
  EXPECT_EQ(h.Catch([&] { b.EvalNumber(); }), "(42) Type mismatch error");
  h.Start("1");
  EXPECT_EQ(h.Catch([&] { b.EvalString(); }), "(42) Type mismatch error");
  // The factor forms take one factor only.
  h.Start("2 + 3");
  EXPECT_EQ(b.FactorNumber(), 2);
  EXPECT_EQ(h.StoppedAt(), tcPlus);
  h.Start("\"a\" + \"b\"");
  EXPECT_EQ(b.FactorString().view(), "a");
  h.Start("-3.5");
  EXPECT_EQ(b.FactorInteger(), -4);
}

}  // namespace
}  // namespace basic
