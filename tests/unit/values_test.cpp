// Variables and arrays: the variable list, clearing, array storage limits,
// references with implicit dimensioning, word matching and string storage.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "expression_harness.h"
#include "str.h"

namespace basic::test {
namespace {

TEST(VariableList, NamesAreExactAndKindsComeFromTheCutName) {
  VariableList list;
  varrec* a = list.FindOrAdd("A");
  EXPECT_EQ(list.FindOrAdd("A"), a);
  EXPECT_NE(list.FindOrAdd("a"), a);
  EXPECT_EQ(a->valuePtr, &a->numValue);
  varrec* s = list.FindOrAdd("A$");
  EXPECT_TRUE(s->isString);
  EXPECT_EQ(s->valuePtr, nullptr);
  // "$" inside the name does not make a string, nor one beyond the 20th character.
  EXPECT_FALSE(list.FindOrAdd("A$B")->isString);
  varrec* cut = list.FindOrAdd("abcdefghijklmnopqrst$");
  EXPECT_FALSE(cut->isString);
  EXPECT_EQ(list.FindOrAdd("abcdefghijklmnopqrstUVWXY"), cut);
}

TEST(VariableList, RecordsStayPutAsTheListGrows) {
  VariableList list;
  std::vector<varrec*> first;
  for (int i = 0; i < 2000; ++i) first.push_back(list.FindOrAdd("V" + std::to_string(i)));
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(list.FindOrAdd("V" + std::to_string(i)), first[i]);
  const varrec* head = nullptr;
  list.ForEachFromHead([&](const varrec& v) { head = head ? head : &v; });
  EXPECT_EQ(head, first.back());  // newest first
}

TEST(VariableList, ClearingMakesArraysScalarsAgain) {
  ExpressionHarness h;
  h.Eval("N(3) + LEN(S$(2))");
  h.Var("X").numValue = 5;
  h.inside().variables.ClearVariables();
  for (const char* name : {"N", "S$", "X"}) {
    varrec& v = h.Var(name);
    EXPECT_EQ(v.dimCount, 0) << name;
    EXPECT_FALSE(v.numElements || v.strElements) << name;
    EXPECT_EQ(v.valuePtr, v.isString ? nullptr : &v.numValue) << name;
  }
  EXPECT_EQ(h.Number("X + N"), 0);
  EXPECT_EQ(h.Number("N(10)"), 0);  // and they can be dimensioned anew
}

TEST(DimensionArray, TooLargeIsOutOfMemoryAndChangesNothing) {
  ExpressionHarness h;
  varrec& v = h.Var("BIG");
  const int32_t kMax = INT32_MAX;
  const std::vector<int32_t> cases[] = {
      {kMax, kMax, kMax, kMax},  // the product would wrap 64 bits
      {kMax},
      {(1 << 28) + 1},  // one element past 2^31 bytes
      {1 << 16, 1 << 16},
  };
  for (const auto& extents : cases) {
    EXPECT_EQ(h.Catch([&] { DimensionArray(v, extents.data(), static_cast<int>(extents.size())); }),
              msg::kOutOfMemory);
    EXPECT_EQ(v.dimCount, 0);
  }
  const int32_t fine[] = {2, 3, 4, 5};
  DimensionArray(v, fine, 4);
  EXPECT_EQ(v.ElementCount(), 120u);
  EXPECT_EQ(v.numElements[119], 0);
}

TEST(GetVariable, FirstSubscriptedUseDimensionsElevenPerSubscript) {
  ExpressionHarness h;
  struct {
    const char* text;
    std::string outcome;
    int dims;  // of the variable named first, afterwards
  } cases[] = {
      {"X = LEN(X$)", "no error", 0},
      {"A(3) + A(10)", "no error", 1},
      {"A(11)", kBadSubscript, 1},
      {"A", kBadSubscript, 1},
      {"B(1,2,3,4)", "no error", 4},
      {"F(1,2,3,4,5)", kBadSubscript, 0},  // refused before dimensioning
      // Commas in nested brackets are not subscripts; nothing is evaluated.
      {"D(LEN(MID$(S$, 1, 2)))", "no error", 1},
      // An empty list counts one subscript: dimensioned, then the subscript fails.
      {"E()", kSyntaxError, 1},
      {"G(1, (2", kSyntaxError, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(h.Error(c.text), c.outcome) << c.text;
    EXPECT_EQ(h.Var(std::string(1, c.text[0])).dimCount, c.dims) << c.text;
  }
  EXPECT_EQ(h.Var("B").ElementCount(), 14641u);
  EXPECT_EQ(h.Var("A").extents[0], 11);
}

TEST(GetVariable, SubscriptsAreRoundedAndChecked) {
  ExpressionHarness h;
  varrec& c = h.Var("C");
  const int32_t extents[] = {3, 4};
  DimensionArray(c, extents, 2);
  for (int i = 0; i < 12; ++i) c.numElements[i] = i;
  struct {
    const char* text;
    std::string outcome;
  } cases[] = {{"C(1, 2)", "6"},
               {"C(1.5, 0)", "8"},
               {"C(2.5, 3)", "11"},
               {"C(-0.4, 0)", "0"},
               {"C(-1, 0)", kBadSubscript},
               {"C(3, 0)", kBadSubscript},
               {"C(0, 4)", kBadSubscript},
               {"C(1)", kSyntaxError},
               {"C(1, 2, 3)", kSyntaxError},
               {"C", kBadSubscript},
               {"C(\"1\", 2)", kTypeMismatch}};
  for (const auto& k : cases) EXPECT_EQ(h.Outcome(k.text), k.outcome) << k.text;
}

TEST(GetVariable, ReturnsTheElementAndRepointsValuePtr) {
  ExpressionHarness h;
  h.Start("S$(2)");
  VarLocation at = h.basic().GetVariable();
  ASSERT_NE(at.str, nullptr);
  *at.str = Str(std::string_view("x"));
  EXPECT_EQ(at.var->valuePtr, at.str);
  EXPECT_EQ(h.String("S$(2) + S$(3) + S$(2)"), "xx");
  h.Start("1");
  EXPECT_EQ(h.Catch([&] { h.basic().GetVariable(); }), kSyntaxError);
}

TEST(AcceptWord, MatchesNamesInAnyCaseAndWholeKeywordEntries) {
  ExpressionHarness h;
  TBasic& b = h.basic();
  h.Start("lib Lib ALIAS and QUIT");
  EXPECT_FALSE(b.AcceptWord("ALIAS"));  // the cursor stays
  EXPECT_TRUE(b.AcceptWord("LIB"));
  EXPECT_TRUE(b.AcceptWord("LIB"));
  EXPECT_FALSE(b.AcceptWord("ALIA"));
  b.ExpectWord("ALIAS");
  EXPECT_TRUE(b.AcceptWord("AND"));
  // QUIT's entry is "BYE", 0x01, "QUIT": neither form alone is the entry.
  EXPECT_EQ(h.Catch([&] { b.ExpectWord("QUIT"); }), kSyntaxError);
  b.Advance();
  EXPECT_FALSE(b.AcceptWord("LIB"));  // at the end
}

// Blocks of short strings are recycled by size: every length must get a
// block big enough for it, whatever was freed before (ASan checks the
// bounds), and a recycled block must not still be in use.
TEST(Str, RecycledBlocksFitEveryLengthAndKeepTheirBytes) {
  std::vector<Str> kept;
  Str grown;
  for (int round = 0; round < 3; ++round) {
    for (int length = 0; length < 300; ++length) {
      grown = Str::Concat(grown, Str::OfByte(static_cast<unsigned char>('a' + length % 26)));
      if (length % 7 == round) kept.push_back(grown);  // shared, then outlived
    }
    for (size_t i = 0; i < kept.size(); i += 2) kept[i] = Str();  // free every other one
    grown = Str();
  }
  for (const Str& s : kept) {
    if (s.empty()) continue;
    ASSERT_EQ(s.data()[s.size()], '\0');
    for (size_t i = 0; i < s.size(); ++i) ASSERT_EQ(s.byte(i), 'a' + i % 26) << s.size();
  }
}

// Appending works in place only on a string nobody else holds: every copy
// taken along the way keeps the bytes and the NUL it had.
TEST(Str, AppendLeavesSharedCopiesAlone) {
  Str built;
  std::string expected;
  std::vector<std::pair<Str, std::string>> copies;
  for (int i = 0; i < 1000; ++i) {
    const char c = static_cast<char>('a' + i % 26);
    built.Append(i % 3 == 0 ? Str::OfByte(static_cast<unsigned char>(c)) : Str(std::string(1, c)));
    expected += c;
    if (i % 37 == 0) copies.emplace_back(built, expected);
  }
  EXPECT_EQ(built.view(), expected);
  EXPECT_EQ(built.data()[built.size()], '\0');
  for (const auto& [copy, text] : copies) {
    EXPECT_EQ(copy.view(), text);
    EXPECT_EQ(copy.data()[copy.size()], '\0');
  }
  Str empty;
  empty.Append(Str());
  EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace basic::test
