#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "test_support.h"

namespace basic {
namespace {

const char kSyntaxError[] = "\a(42) Syntax error\r\n";

class LineEditingTest : public ::testing::Test {
 protected:
  // "number(number tokens...)" for every line, e.g. "10(50) 20()".
  std::string Dump() const {
    std::ostringstream out;
    out.precision(17);
    for (ProgramLine* l = in.program.First(); l != nullptr; l = l->Next) {
      EXPECT_EQ(in.program.Find(l->LineNo), l);
      out << (l == in.program.First() ? "" : " ") << l->LineNo << "(";
      const char* separator = "";
      for (Token* t = l->Tokens.begin(); !AtEol(t); ++t)
        if (t->code == tcNumber) out << std::exchange(separator, ",") << t->number;
      out << ")";
    }
    return out.str();
  }
  test::Machine m;
  TBasic& b = m.basic;
  TBasicInternals& in = m.inside;
};

TEST_F(LineEditingTest, DelRanges) {
  const struct {
    const char* command;
    const char* left;
    const char* output;
  } cases[] = {
      {"DEL 20", "10 30 40 50", ""},
      {"DEL 30-", "10 20", ""},
      {"DEL -20", "30 40 50", ""},
      {"DEL 20-40", "10 50", ""},
      {"DEL 40-20", "10 20 30 40 50", ""},
      {"DEL -", "", ""},
      {"DEL 25-29, 10, 30.9-40,", "20 50", ""},  // truncated, not rounded
      {"DEL 4294967306", "10 20 30 40 50", ""},  // not line 10 by its low bits
      {"DEL", "10 20 30 40 50", kSyntaxError},
      {"DEL X", "10 20 30 40 50", kSyntaxError},
      {"DEL 10 30", "20 30 40 50", kSyntaxError},  // ranges before the fault are gone
  };
  for (const auto& c : cases) {
    in.NewProgram();
    m.Run("10 PRINT\r\n20 PRINT\r\n30 PRINT\r\n40 PRINT\r\n50 PRINT\r\n");
    EXPECT_EQ(m.Run(c.command), c.output) << c.command;
    std::string left = Dump();
    std::erase(left, '(');
    std::erase(left, ')');
    EXPECT_EQ(left, c.left) << c.command;
  }
}

// Nothing may go on in, resume in or read from a deleted line.
TEST_F(LineEditingTest, DelEndsOrResetsWhatPointsIntoDeletedLines) {
  const struct {
    const char* program;
    const char* output;
  } cases[] = {
      {"10 PRINT 1\r\n20 DEL 10-20, 30: PRINT 2\r\n30 PRINT 3\r\n", "1 \r\n"},
      {"10 FOR I = 1 TO 2\r\n20 DEL 10\r\n30 NEXT I\r\n", "\a(42) NEXT without FOR in 30\r\n"},
      {"10 DATA 7\r\n20 READ A: DEL 10\r\n30 READ B\r\n", "\a(42) Out of Data in 30\r\n"},
      {"10 GOSUB 20\r\n20 DEL 10: RETURN\r\n", "\a(42) RETURN without GOSUB in 20\r\n"},
  };
  for (const auto& c : cases) {
    in.NewProgram();
    m.Run(c.program);
    EXPECT_EQ(m.Run("RUN"), c.output) << c.program;
  }
  EXPECT_EQ(Dump(), "20(10)");
}

TEST_F(LineEditingTest, RenumRewritesLineReferencesOnly) {
  m.Run(
      "5 GOTO 100\r\n"
      "7 ON X GOSUB 100, 7,5: IF A THEN 5 ELSE 7\r\n"
      "9 GOTO 100+5: PRINT \"GOTO 5\": REM GOTO 7\r\n"
      "11 DATA 5, 7: RESTORE 11: GOTO 7.4: GOSUB 100.5\r\n"
      "100 LIST 5-7: DEL 9, 11: RUN 100\r\n");
  EXPECT_EQ(m.Run("RENUM"), "");
  EXPECT_EQ(Dump(), "10(50) 20(50,20,10,10,20) 30(50,5) 40(5,7,40,20,50) 50(10,7,30,40,50)");
  const Token* line30 = in.program.Find(30)->Tokens.begin();
  EXPECT_EQ(line30[6].Text().view(), "GOTO 5");
  EXPECT_EQ(line30[8].Text().view(), " GOTO 7");
}

TEST_F(LineEditingTest, RenumStartStepAndRefusedOperands) {
  const std::pair<const char*, const char*> cases[] = {
      {"RENUM 100", "100(110) 110(120) 120(100)"},
      {"RENUM 1000, 5", "1000(1005) 1005(1010) 1010(1000)"},
      {"RENUM 2.5, 1.5", "2(4) 4(6) 6(2)"},  // halves to even
      {"RENUM 1, 1073741823", "1(1073741824) 1073741824(2147483647) 2147483647(1)"},
      {"RENUM 0", nullptr},
      {"RENUM 10, 0", nullptr},
      {"RENUM 10, -10", nullptr},
      {"RENUM 2147483646, 1", nullptr},
      {"RENUM 1, 9.2e18", nullptr},
      {"RENUM 10 20", nullptr},
  };
  for (const auto& [command, after] : cases) {
    in.NewProgram();
    m.Run("5 GOTO 7\r\n7 GOTO 9\r\n9 GOTO 5\r\n");
    EXPECT_EQ(m.Run(command), after ? "" : kSyntaxError) << command;
    EXPECT_EQ(Dump(), after ? after : "5(7) 7(9) 9(5)") << command;
  }
}

TEST_F(LineEditingTest, RenumReportsUndefinedLinesAndGoesOn) {
  m.Run("5 GOTO 999\r\n6 PRINT\r\n7 ON X GOTO 5, 21.5, 1E19: GOSUB 6\r\n");
  EXPECT_EQ(m.Run("RENUM 40"),
            "Undefined line 999 in line 40\r\n"
            "Undefined line 22 in line 60\r\n"
            "Undefined line 1.00000000000000E+0019 in line 60\r\n");
  EXPECT_EQ(Dump(), "40(999) 50() 60(40,21.5,1e+19,50)");
}

}  // namespace
}  // namespace basic
