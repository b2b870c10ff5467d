#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "control_stack.h"
#include "errors.h"
#include "test_support.h"

namespace basic {
namespace {

class ProgramStoreTest : public ::testing::Test {
 protected:
  int32_t Enter(std::string text) {  // as typed; returns enteredLineNumber
    in.inputLine = std::move(text);
    in.EnterLine(in.immediateTokens);
    return in.enteredLineNumber;
  }
  // Line number and the number after PRINT, for every stored line.
  std::map<int32_t, double> Listing() const {
    std::map<int32_t, double> lines;
    for (ProgramLine* l = in.program.First(); l != nullptr; l = l->Next) {
      EXPECT_TRUE(lines.empty() || lines.rbegin()->first < l->LineNo);
      lines[l->LineNo] = l->Tokens.begin()[1].number;
      EXPECT_EQ(in.program.Find(l->LineNo), l);
    }
    return lines;
  }
  test::Machine m;
  TBasic& b = m.basic;
  TBasicInternals& in = m.inside;
};

TEST_F(ProgramStoreTest, EveryNumberedLineResetsControlStackAndDataPointer) {
  ProgramLine dataLine;
  for (const char* text : {"10 PRINT 1", "25", "10", "PRINT 3"}) {
    in.controlStack.Push([] { return framerec{.kind = fkFor}; });
    in.dataReader.RestoreTo(dataLine);
    const bool numbered = Enter(text) != 0;
    EXPECT_EQ(in.controlStack.empty(), numbered) << text;
    EXPECT_EQ(in.dataReader.AtStart(), numbered) << text;
  }
  in.ResetDataPointer();
}

TEST_F(ProgramStoreTest, IndexAgreesWithTheListAfterRandomEdits) {
  std::mt19937 rng(12345);
  std::map<int32_t, double> model;
  for (int step = 0; step < 3000; ++step) {
    const int32_t number = static_cast<int32_t>(rng() % 400) + 1;
    const bool remove = rng() % 3 == 0;
    if (remove) {
      model.erase(number);
    } else {
      model[number] = step;
    }
    Enter(std::to_string(number) + (remove ? "" : " PRINT " + std::to_string(step)));
    if (step % 500 == 0) in.program.Renumbered();
    if (step % 7 == 0) in.program.Find(number);  // interleaved lookups keep the index in use
  }
  // The last line removed and a later one appended, then the first removed.
  in.program.Remove(in.program.Find(model.rbegin()->first));
  model.erase(model.rbegin()->first);
  Enter("1000 PRINT 1");
  in.program.Remove(in.program.First());
  model.erase(model.begin());
  model[1000] = 1;
  EXPECT_EQ(Listing(), model);
  for (int32_t n = 0; n <= 1001; ++n)
    EXPECT_EQ(in.program.Find(n) != nullptr, model.count(n) == 1) << n;
}

TEST_F(ProgramStoreTest, NewForgetsLinesAndVariablesAndEndsTheImmediateLine) {
  Enter("10 A$ = \"x\"");
  in.program.First()->Tokens.begin()->variable->strValue = Str("x");
  Enter("NEW : X = 1 : PRINT X");
  in.currentLine = nullptr;
  in.currentToken = in.immediateTokens.begin();
  in.Execute();
  EXPECT_EQ(m.Take(), "");  // nothing after NEW ran
  EXPECT_TRUE(in.program.empty());
  EXPECT_EQ(in.variables.size(), 0u);
  for (Token* t = in.immediateTokens.begin(); t != in.immediateTokens.end(); ++t)
    EXPECT_NE(t->code, tcVariable);  // none left pointing at a freed variable
  b.Tokenize("A$", in.immediateTokens);
  EXPECT_TRUE(in.immediateTokens.begin()->variable->strValue.empty());
}

#ifdef BASIC_ASSERTS
// The internal checks are live in this build: a broken invariant aborts.
TEST(InternalChecksDeathTest, PoppingAnEmptyControlStackAborts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        ControlStack stack;
        stack.Pop();
      },
      "internal check failed: size_ > 0");
}
#endif

}  // namespace
}  // namespace basic
