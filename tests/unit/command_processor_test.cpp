// The command processor, the statement loop's reports, and calls of names
// registered by the system.
#include <gtest/gtest.h>

#include <string>

#include "errors.h"
#include "test_support.h"

namespace basic {
namespace {

using test::Machine;

TEST(CommandProcessor, EmptyTextRunsTheConsoleUntilInputEnds) {
  Machine m("PRINT 1\r\n10 PRINT 2\r\nRUN\r\n");
  EXPECT_EQ(m.Run(""), "READY\r\n1 \r\nREADY\r\nREADY\r\n2 \r\nREADY\r\n");
  Machine onlyBreaks("PRINT 3\r\n");
  EXPECT_EQ(onlyBreaks.Run("\r\n\r\n"), "READY\r\n3 \r\nREADY\r\n");
}

TEST(CommandProcessor, TextWithLinesNeverPromptsOrReadsTheConsole) {
  Machine m("PRINT 99\r\n");
  EXPECT_EQ(m.Run("10 PRINT 1\r\n\r\nRUN\r\n"), "1 \r\n");
  EXPECT_EQ(m.in.pos, 0u);
}

// A method registered by the system: records its arguments and returns a
// value derived from them.
struct Recorder {
  std::string seen;
  static int32_t Call(void* instance, const ArgWord* args, size_t count, Str* result) {
    auto* self = static_cast<Recorder*>(instance);
    self->seen.clear();
    for (size_t i = 0; i < count; ++i)
      self->seen += "[" + std::string(args[i].string->view()) + "]";
    *result = Str(self->seen);
    return static_cast<int32_t>(count);
  }
  static int32_t Sum(void*, const ArgWord* args, size_t count, Str*) {
    int32_t total = 0;
    for (size_t i = 0; i < count; ++i) total += args[i].integer;
    return total;
  }
  static int32_t Length(void*, const ArgWord* args, size_t, Str*) {
    return args[0].cstring == nullptr ? -1
                                      : static_cast<int32_t>(std::string(args[0].cstring).size());
  }
};

TEST(Calls, StatementAndExpressionCalls) {
  Machine m;
  Recorder rec;
  m.basic.AddMethod("Echo", 1, &Recorder::Call, &rec, "AA");
  m.basic.AddMethod("Sum", 2, &Recorder::Sum, nullptr, std::string("\x02\x12", 2));
  EXPECT_EQ(m.Run("PRINT echo(\"a\" + \"b\", \"c\")"), "[ab][c]\r\n");
  EXPECT_EQ(m.Run("ECHO \"x\", \"y\""), "");
  EXPECT_EQ(rec.seen, "[x][y]");
  // Without brackets each argument is one factor: 1 + 2 passes 1 only.
  EXPECT_EQ(m.Run("PRINT SUM(1.9, -2.9); SUM(5); SUM 1"), "-1 5 1 \r\n");
  EXPECT_EQ(m.Run("PRINT SUM()"), "\a(42) Syntax error\r\n");
  EXPECT_EQ(m.Run("PRINT SUM(1, 2, 3)"), "\a(42) Syntax error\r\n");
  EXPECT_EQ(m.Run("PRINT SUM(\"x\")"), "\a(42) Type mismatch error\r\n");
  EXPECT_EQ(m.Run("PRINT ECHO(\"x\""), "\a(42) Syntax error\r\n");
  EXPECT_EQ(m.Run("PRINT ECHO(\"x\")"), "\a(42) Syntax error\r\n");  // second not optional
}

TEST(Calls, CStringArgumentIsNilWhenEmpty) {
  Machine m;
  m.basic.AddMethod("CLen", 2, &Recorder::Length, nullptr, "C");
  EXPECT_EQ(m.Run("PRINT CLEN(\"\"); CLEN(\"abc\")"), "-1 3 \r\n");
}

TEST(Calls, SubCannotStandInAnExpression) {
  Machine m;
  Recorder rec;
  m.basic.AddMethod("Note", 0, &Recorder::Call, &rec, "A");
  EXPECT_EQ(m.Run("NOTE \"hi\"\r\nX = NOTE(\"hi\")"), "\a(42) Type mismatch error\r\n");
  EXPECT_EQ(rec.seen, "[hi]");
}

TEST(Calls, NamesRegisteredLaterRebindStoredLines) {
  Machine m;
  Recorder rec;
  m.Run("10 PRINT twice(\"q\", \"r\")");
  m.basic.AddMethod("TWICE", 1, &Recorder::Call, &rec, "AA");
  EXPECT_EQ(m.Run("RUN"), "[q][r]\r\n");
}

}  // namespace
}  // namespace basic
