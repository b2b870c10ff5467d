// Inputs at and past the limits: every one ends in a clear report or a
// correct result within seconds, and nothing typed or stored is lost on the
// way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "appended_program.h"
#include "errors.h"
#include "image_builders.h"
#include "platform.h"
#include "program_runner.h"
#include "test_support.h"

namespace basic::test {
namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every byte value but the quote, CR and NUL (which ends a literal's text)
// can stand in a string literal; byte 26 only where no file is read, since
// it ends a program file.
std::string LiteralBytes(bool forFile) {
  std::string bytes;
  for (int c = 1; c < 256; ++c)
    if (c != '"' && c != '\r' && !(forFile && c == 26)) bytes += static_cast<char>(c);
  return bytes;
}

// A number the program below prints for the bytes of A$: their count and a
// sum weighted by position, so that a lost, changed or moved byte shows.
std::string Fingerprint(const std::string& bytes) {
  double sum = 0;
  for (size_t i = 0; i < bytes.size(); ++i)
    sum += static_cast<unsigned char>(bytes[i]) * static_cast<double>(i + 1);
  return std::to_string(bytes.size()) + " " + FormatNumber(sum) + " \r\n";
}
constexpr std::string_view kPrintFingerprint =
    "S = 0: FOR I = 1 TO LEN(A$): S = S + ASC(MID$(A$, I, 1)) * I: NEXT: PRINT LEN(A$); S";

// The fuzzer's guard: once the budget is spent the run stops, the text's
// remaining lines are dropped, and every later run stops at once.
TEST(Limits, StatementBudgetEndsAnEndlessRunAndAllThatFollows) {
  Machine m;
  m.basic.SetStatementBudget(1000);
  EXPECT_EQ(m.Run("10 I = I + 1: GOTO 10\r\nRUN\r\nPRINT \"after\""), "");
  const double loops = m.inside.variables.FindOrAdd("I")->numValue;
  EXPECT_GE(loops, 498);
  EXPECT_LE(loops, 500);
  EXPECT_EQ(m.Run("PRINT \"later\"\r\nPRINT \"more\""), "");
}

// Past 2^31 bytes at the latest; a 32-bit process may run out before that.
// The edge itself is tested against the shrunken limits; this is the real
// size, where 32-bit lengths would overflow.
TEST(LimitsSlow, StringDoubledPastTwoGigabytesIsOutOfMemoryAndKeepsItsValue) {
  Machine m;
  EXPECT_EQ(m.Run("10 A$ = \"X\"\r\n20 FOR I = 1 TO 40: A$ = A$ + A$: NEXT\r\nRUN\r\n"
                  "IF I > 20 AND I <= 31 AND LEN(A$) = 2 ^ (I - 1) THEN PRINT \"kept\""),
            "\aOut of memory in 20\r\nkept\r\n");
}

TEST(Limits, EveryByteValueSurvivesInAStringLiteral) {
  const std::string bytes = LiteralBytes(false);
  Machine m;
  EXPECT_EQ(m.Run("10 A$ = \"" + bytes + "\"\r\nRUN\r\n" + std::string(kPrintFingerprint)),
            Fingerprint(bytes));
}

TEST(Limits, BytesOutsideStringsAreReportedNotRun) {
  const char text[] = "10 PRINT 1\0 2\r\n20 PRINT \x80\xff\r\nRUN\r\nGOTO 20\r\nPRINT 3";
  Machine m;
  EXPECT_EQ(m.Run(std::string(text, sizeof text - 1)),
            "1 \a(42) Syntax error in 10\r\n\a(42) Syntax error in 20\r\n3 \r\n");
}

TEST(Limits, HundredMegabyteProgramLoadsAndRuns) {
  // 10,000 lines of 10 KB remarks, then one that prints: about 100 MB.
  const std::string remark(10'000, 'r');
  std::string text;
  text.reserve(size_t{101} << 20);
  for (int line = 1; line <= 10'000; ++line)
    text += std::to_string(line) + " REM " + remark + "\r\n";
  text += "10001 PRINT \"end\"\r\nRUN";
  ASSERT_GT(text.size(), size_t{100'000'000});
  Machine m;
  EXPECT_EQ(m.Run(text), "end\r\n");
}

// LOAD through the platform's files: whatever the file holds, the load ends
// with the lines it could take, or with a report that keeps the program.
class LoadOfOddFiles : public ::testing::Test {
 protected:
  LoadOfOddFiles() { m.basic.SetFileSystem(platform::ProgramFiles()); }
  std::string Load(const std::string& bytes) {
    const std::string path = dir.File("odd.bas");
    WriteBytes(path, bytes);
    return m.Run("LOAD \"" + path + "\"");
  }
  TempDir dir;
  Machine m;
};

TEST_F(LoadOfOddFiles, BinaryFileKeepsOnlyItsNumberedLines) {
  std::string binary;
  // Every byte but 26, which ends a program file where it stands.
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7 + i / 256) % 256);
  for (char& c : binary)
    if (c == 26) c = 27;
  binary += "\r\n10 PRINT \"ok\"\r\n";
  const std::string out = Load(binary);
  EXPECT_EQ(out.find('\a'), std::string::npos) << out;  // no error report
  EXPECT_EQ(m.Run("LIST 10"), "10 PRINT\"ok\"\r\n");
}

TEST_F(LoadOfOddFiles, MegabyteLineLoads) {
  const std::string text(size_t{1} << 20, 'y');
  EXPECT_EQ(Load("10 A$ = \"" + text + "\"\r\n20 PRINT LEN(A$)\r\n"), "");
  EXPECT_EQ(m.Run("RUN"), "1048576 \r\n");
}

TEST_F(LoadOfOddFiles, FileWithoutLineBreaksIsOneLine) {
  const std::string bytes = LiteralBytes(true);
  EXPECT_EQ(Load("10 A$ = \"" + bytes + "\""), "");
  EXPECT_EQ(m.Run("RUN\r\n" + std::string(kPrintFingerprint)), Fingerprint(bytes));
  // Lines ended by a lone LF, as editors on Linux write them, are one line.
  EXPECT_EQ(Load("10 PRINT 1\n20 PRINT 2\n"), "");
  EXPECT_EQ(m.Run("LIST"), "10 PRINT 1{\n}20 PRINT 2{\n}\r\n");
}

// Lines saved with every byte a literal may hold come back unchanged.
TEST_F(LoadOfOddFiles, SavedLiteralBytesLoadBackUnchanged) {
  const std::string bytes = LiteralBytes(true);
  const std::string path = dir.File("bytes.bas");
  EXPECT_EQ(m.Run("10 A$ = \"" + bytes + "\"\r\nSAVE \"" + path + "\"\r\nNEW\r\nLOAD \"" + path +
                  "\"\r\nRUN\r\n" + std::string(kPrintFingerprint)),
            Fingerprint(bytes));
}

// A real executable of this build, its headers damaged as a bad copy or a
// bad download would: the stub says so on standard error and exits with 1.
TEST(DamagedStub, HeadersPastTheEndOrCutShortAreStreamReadErrors) {
  std::string error;
  const auto own = platform::ReadWholeFile(platform::ExecutablePath(), error);
  ASSERT_TRUE(own) << error;
  const std::string& image = *own;
  std::vector<std::string> damaged;
  if (app::DetectImageFormat(image) == app::ImageFormat::kPe) {
    const uint32_t lfanew =
        static_cast<unsigned char>(image[60]) | static_cast<unsigned char>(image[61]) << 8;
    std::string lfanewPastEnd = image;
    PutLittle(lfanewPastEnd, 60, image.size() + 16, 4);
    damaged = {lfanewPastEnd, image.substr(0, lfanew + 248 + 20), image.substr(0, lfanew + 100)};
  } else {
    ASSERT_EQ(image[4], 2) << "a 64-bit ELF image";
    uint64_t shoff = 0;
    for (int i = 7; i >= 0; --i) shoff = shoff << 8 | static_cast<unsigned char>(image[40 + i]);
    ASSERT_GT(shoff, 0u);
    ASSERT_LT(shoff, image.size());
    std::string tablePastEnd = image;
    PutLittle(tablePastEnd, 40, image.size() + 16, 8);
    damaged = {tablePastEnd, image.substr(0, static_cast<size_t>(shoff) + 100),
               image.substr(0, 50)};
  }
  TempDir dir;
  for (size_t i = 0; i < damaged.size(); ++i) {
    const std::string path = dir.File("stub" + std::to_string(i));
    WriteBytes(path, damaged[i] + "10 PRINT \"ran\"\r\n");
    StringSink out;
    StringSource in;
    std::vector<std::string> errors;
    const int code = app::RunStub(path, {out, in, {}},
                                  [&](std::string_view line) { errors.emplace_back(line); });
    EXPECT_EQ(code, 1) << i;
    EXPECT_EQ(errors, std::vector<std::string>{"Stream read error"}) << i;
    EXPECT_EQ(out.text, "") << i;
  }
}

}  // namespace
}  // namespace basic::test
