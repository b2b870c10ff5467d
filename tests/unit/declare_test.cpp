// DECLARE and calls of library functions, through a loader that records what
// the interpreter asks of it and lets each test play the callee.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace basic {
namespace {

class FakeLibraries : public ExternalCode {
 public:
  // Any library loads except "missing"; any export is found except "absent".
  void* OpenLibrary(const std::string& name) override {
    loads.push_back(name);
    return name == "missing" ? nullptr : &loads;
  }
  void* FindExport(void*, const std::string& name) override {
    if (name == "absent") return nullptr;
    exports.push_back(name);
    return &exports.back();  // the entry tells the export's name
  }
  void CloseLibrary(void*) override {}
  int32_t Call(void* entry, const intptr_t* words, size_t count) override {
    called.push_back(*static_cast<std::string*>(entry));
    seen.assign(words, words + count);
    return callee ? callee(words) : 0;
  }

  std::vector<std::string> loads;
  std::deque<std::string> exports;  // stable addresses
  std::vector<std::string> called;
  std::vector<intptr_t> seen;  // the words of the latest call
  std::function<int32_t(const intptr_t*)> callee;
};

template <typename T>
T* At(intptr_t word) {
  return reinterpret_cast<T*>(word);
}

struct DeclareTest : ::testing::Test {
  DeclareTest() { m.basic.SetExternalCode(libs); }
  const TFuncDef& First(int index) { return m.basic.DefsAt(index)->First(); }

  FakeLibraries libs;  // outlives the interpreter
  test::Machine m;
};

TEST_F(DeclareTest, SignatureCodesLibraryAndExportNames) {
  EXPECT_EQ(
      m.Run("DECLARE FUNCTION Mixed LIB \"lib1\" ALIAS \"mixed_export\" (BYVAL a AS LONG, "
            "b AS STRING, BYREF c AS INTEGER, byval d as string, BYVAL e AS Integer) AS STRING\r\n"
            "declare sub Tail lib \"lib\" + \"2\" (BYVAL a AS LONG, s AS STRING\r\n"
            "DECLARE FUNCTION None LIB \"lib3\" AS LONG"),
      "");
  ASSERT_EQ(m.basic.NameCount(), 3u);
  EXPECT_EQ(First(0).signature, "\x21\x02\x81\x82\x03\x02");  // Mixed
  EXPECT_EQ(First(1).signature, std::string("\x22", 1));      // None
  EXPECT_EQ(First(2).signature, "\x20\x02\x81");              // Tail
  EXPECT_EQ(libs.loads, (std::vector<std::string>{"lib1", "lib2", "lib3"}));
  EXPECT_EQ(libs.exports, (std::deque<std::string>{"mixed_export", "Tail", "None"}));

  // Tokenized after the name was registered: the registered spelling is the
  // export name, and the same signature replaces the definition.
  EXPECT_EQ(m.Run("DECLARE SUB TAIL LIB \"lib2\" (BYVAL a AS LONG, s AS STRING)"), "");
  EXPECT_EQ(libs.exports.back(), "Tail");
  EXPECT_EQ(m.basic.NameCount(), 3u);
  EXPECT_EQ(m.basic.DefsAt(2)->size(), 1u);
}

// The messages are the golden programs' business; here: a declaration that
// fails leaves no trace.
TEST_F(DeclareTest, MalformedDeclarationsRegisterAndLoadNothing) {
  EXPECT_EQ(m.Run("DECLARE FUNCTION F LIB \"x\" (A AS LONG)\r\n"
                  "DECLARE SUB F LIB \"x\" (A AS LONG, B AS LONG, C AS LONG, D AS LONG, E AS LONG, "
                  "G AS LONG, H AS LONG)\r\n"
                  "DECLARE SUB F LIB \"x\" ALIAS 2"),
            "\a(42) Syntax error\r\n\a(42) Syntax error\r\n\a(42) Type mismatch error\r\n");
  EXPECT_EQ(m.basic.NameCount(), 0u);
  EXPECT_TRUE(libs.loads.empty());
}

TEST_F(DeclareTest, ArgumentWords) {
  m.Run(
      "DECLARE FUNCTION Pair LIB \"l\" (BYVAL a AS LONG, BYVAL b AS LONG) AS LONG\r\n"
      "DECLARE FUNCTION Text LIB \"l\" (s AS STRING, BYVAL t AS STRING) AS STRING");
  libs.callee = [](const intptr_t* w) { return static_cast<int32_t>(w[0] * 10 + w[1]); };
  EXPECT_EQ(m.Run("PRINT Pair(2.9, -2.9); Pair(1 + 2, 4294967297)"), "18 31 \r\n");
  // Without brackets each argument is one factor.
  EXPECT_EQ(m.Run("Pair -1, (1 + 2)"), "");
  EXPECT_EQ(libs.seen, (std::vector<intptr_t>{-1, 3}));  // sign-extended words
  EXPECT_EQ(m.Run("Pair 1 + 2, 3\r\nPAIR(1)\r\nPair 1\r\nPair(1, 2, 3)\r\nPair 1, 2, 3"),
            "\a(42) Syntax error\r\n\a(42) Syntax error\r\n\a(42) Syntax error\r\n"
            "\a(42) Syntax error\r\n\a(42) Extra information on line\r\n");
  // Only the last made its call: an unbracketed list ends once it is full.
  EXPECT_EQ(libs.called.size(), 4u);

  // A string function: the result slot first, then a reference's writable
  // copy, then a by-value copy (nil for the empty string).
  libs.callee = [](const intptr_t* w) {
    static char result[8];
    result[0] = At<char>(w[1])[0];
    result[1] = At<char>(w[2]) == nullptr ? '0' : At<char>(w[2])[0];
    *At<char*>(w[0]) = result;
    return 0;
  };
  EXPECT_EQ(m.Run("A$ = \"ab\": PRINT Text(A$, \"\"); Text(A$, \"xy\")"), "a0ax\r\n");
  EXPECT_EQ(libs.seen.size(), 3u);
}

// A callee that faults: the run ends with the report; a program text stops
// there, while the console goes on with a warning after each such run.
TEST_F(DeclareTest, FaultingCalleeEndsTheTextButNotTheConsole) {
  libs.callee = [](const intptr_t*) -> int32_t { throw LibraryFault(); };
  const std::string declare = "10 DECLARE SUB Crash LIB \"lib\"\r\n20 Crash\r\n";
  EXPECT_EQ(m.Run(declare + "RUN\r\nPRINT \"after\""), "\a(42) Access violation in 20\r\n");
  EXPECT_TRUE(m.inside.libraryFaulted);

  test::Machine console(declare + "RUN\r\nPRINT \"after\"\r\nRUN\r\n");
  console.basic.SetExternalCode(libs);
  console.basic.RunConsole();
  const std::string fault = "\a(42) Access violation in 20\r\n";
  const std::string warning = std::string(msg::kRestartAfterFault) + "\r\n";
  EXPECT_EQ(console.Take(), "READY\r\nREADY\r\nREADY\r\n" + fault + warning +
                                "READY\r\nafter\r\nREADY\r\n" + fault + warning + "READY\r\n");
}

}  // namespace
}  // namespace basic
