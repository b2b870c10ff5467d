#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "errors.h"
#include "test_support.h"

namespace basic {
namespace {

class TokenizerTest : public ::testing::Test {
 protected:
  std::vector<int> Codes(std::string_view text) {
    b.Tokenize(text, list);
    std::vector<int> codes;
    for (Token* t = list.begin(); t != list.end(); ++t) codes.push_back(t->code);
    return codes;
  }
  test::Machine m;
  TBasic& b = m.basic;
  TBasicInternals& in = m.inside;
  TokenList list;
};

using Texts = std::vector<std::string>;
constexpr int V = tcVariable, N = tcNumber, C = tcChar, F = tcFunction;

TEST_F(TokenizerTest, Codes) {
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"?A;B", {tcPrint, V, tcSemicolon, V}},
      {"A<>B< >C=<D>=E><F",
       {V, tcNotEqual, V, tcLess, tcGreater, V, tcEqual, tcLess, V, tcGreaterEqual, V, tcGreater,
        tcLess, V}},
      {"[)-5", {tcOpen, tcClose, tcMinus, N}},
      {"FOR I=1TO10", {tcFor, V, tcEqual, N, V}},
      {"FORI GOTO10 PRINTX andy", {V, V, V, V}},
      {"print Print quit str$ AND", {tcPrint, tcPrint, tcBye, tcStrFn, tcAnd}},
      {"3ELSE 1.2.3", {N, V, N, N}},
      {"A$B\t@\x80", {V, C}},
      {"   ", {}},
      {"REMARK:rem:PRINT 1", {V, tcColon, tcRem}},
  };
  for (const auto& [text, codes] : cases) EXPECT_EQ(Codes(text), codes) << text;
}

// A literal is the double nearest the decimal written. The first group
// came out differently while literals were read by repeated multiplication:
// 1E-2 was 0.1 * 0.1, and long digit strings were rounded digit by digit.
TEST_F(TokenizerTest, Numbers) {
  const std::pair<std::string, double> cases[] = {
      {"1E-2", 0.01},
      {"1E-100", 1e-100},
      {"1E-300", 1e-300},
      {"1.5E-7", 1.5e-7},
      {"4.9406564584124654E-324", 4.9406564584124654e-324},
      {"2.5E-320", 2.5e-320},
      {"0.1000000000000000055511151231257827", 0.1},
      {"1" + std::string(400, '0') + "E-400", 1},
      {"0." + std::string(305, '0') + "12345", 1.2345e-306},
      {"1.7976931348623157E308", 1.7976931348623157e308},
      {"9007199254740993", 9007199254740992.0},  // a tie: to even
      {"9007199254740995", 9007199254740996.0},
      // Unchanged: the scanner's own rules.
      {".5", 0.5},
      {".", 0},
      {"5.", 5},
      {"1E3", 1000},
      {"1e+2", 100},
      {"2E", 2},
      {"2E+", 2},
      {"3.14159", 3.14159},
      {"1E-400", 0},
      {"1E-99999999999", 0},
      {"0E99999999999", 0},
      {"0." + std::string(400, '0'), 0},
      {"24177763170669074", 24177763170669074.0},
  };
  for (const auto& [text, value] : cases) {
    ASSERT_EQ(Codes(text), std::vector<int>{N}) << text;
    EXPECT_EQ(list.begin()->number, value) << text;
  }
  EXPECT_EQ(Codes("1E+-5"), (std::vector<int>{N, tcMinus, N}));
  EXPECT_EQ(list.begin()->number, 1);

  // Out of range: refused, and the string token made before must not leak.
  for (const std::string& number :
       Texts{"1E400", "1E99999999999", std::string(400, '9'), "1.7976931348623159E308"}) {
    try {
      b.Tokenize("\"held\" " + number, list);
      ADD_FAILURE() << number;
    } catch (const RuntimeFault& e) { EXPECT_STREQ(e.what(), msg::kFpOverflow); }
    EXPECT_TRUE(list.empty());
  }
}

// The reading literals had before they were rounded correctly: digits
// gathered in extended precision, then one division by the power of ten.
double PreviousReading(const std::string& text) {
  double value = 0, divisor = 1, factor = 1;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      value = static_cast<double>(static_cast<long double>(value) * 10 + (c - '0'));
      divisor *= factor;
    } else {
      factor = 10;
    }
  }
  return value / divisor;
}

// Whole numbers up to 2^53 and decimals of up to 15 significant digits read
// as they always did: only long digit strings and exponents changed.
TEST_F(TokenizerTest, EverydayLiteralsReadAsBefore) {
  std::mt19937_64 random(20261209);
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    if (i % 2 == 0) {
      text = std::to_string(random() % ((uint64_t{1} << 53) + 1));
    } else {
      const int digits = 1 + static_cast<int>(random() % 15);
      const int point = static_cast<int>(random() % (digits + 1));
      std::string all = std::to_string(random() % 1000000000000000);
      all = std::string(15 - all.size(), '0') + all;
      text = all.substr(0, point) + "." + all.substr(point, digits - point);
    }
    ASSERT_EQ(Codes(text), std::vector<int>{N}) << text;
    ASSERT_EQ(list.begin()->number, PreviousReading(text)) << text;
  }
}

TEST_F(TokenizerTest, StringAndRemarkTexts) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"Hi\"\"there\"", "Hi\"there"},
      {"\"abc", "abc"},
      {"\"\"", ""},
      {"\"a\"\"\"", "a\""},
      {std::string("\"a\0b\"", 5), "a"},
      {"REM  two blanks", "  two blanks"},
      {"rem:PRINT 1", ":PRINT 1"},
      {std::string("REM x\0y", 7), " x"},
  };
  for (const auto& [text, payload] : cases) {
    b.Tokenize(text, list);
    ASSERT_EQ(list.size(), 1u) << text;
    EXPECT_EQ(list.begin()->Text().view(), payload) << text;
  }
}

// Characters that mean nothing to BASIC: a run of them, blanks between
// dropped, is one token, and "{c}" (how the lister writes c) reads as c, so
// that the listing of any line reads back as the same tokens.
TEST_F(TokenizerTest, StrayCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"#", "#"},
      {"# @  ~", "#@~"},
      {"{#}", "#"},
      {"{{}{}}", "{}"},
      {"{{}", "{"},
      {"{}}", "}"},
      {"{}", "{}"},
      {"{ }", "{}"},
      {"{#}{", "#{"},
      {"{\x80}\xff{\x01}", "\x80\xff\x01"},
      {"#\t@", "#@"},
      {"{{#}}", "{#}"},
      {std::string("{\0}", 3), std::string(1, '\0')},
  };
  for (const auto& [text, bytes] : cases) {
    ASSERT_EQ(Codes(text), std::vector<int>{C}) << text;
    EXPECT_EQ(list.begin()->Text().view(), bytes) << text;
  }
  // Braces around anything else are characters of their own.
  EXPECT_EQ(Codes("{A}"), (std::vector<int>{C, V, C}));
  EXPECT_EQ(Codes("{1}{\"}\""), (std::vector<int>{C, N, C, tcString}));
  EXPECT_EQ(Codes("# + #"), (std::vector<int>{C, tcPlus, C}));
  // A long run costs its bytes, not a token per byte.
  const std::string run(1 << 20, '#');
  ASSERT_EQ(Codes(run + " {#}"), std::vector<int>{C});
  EXPECT_EQ(list.begin()->Text().size(), run.size() + 1);

  // Every byte on its own, in a run and braced: the same token each way.
  for (int i = 0; i < 256; ++i) {
    const std::string c(1, static_cast<char>(i));
    if (c == " " || c == "\t") continue;  // blanks, dropped inside a run
    if (Codes(c) != std::vector<int>{C}) {
      EXPECT_NE(Codes("@" + c + "@"), std::vector<int>{C}) << i;  // ends the run
      continue;
    }
    for (const std::string& text : {"@" + c + "@", "{@}{" + c + "}{@}", "@ {" + c + "} @"}) {
      ASSERT_EQ(Codes(text), std::vector<int>{C}) << i;
      EXPECT_EQ(list.begin()->Text().view(), "@" + c + "@") << i;
      std::string listed;
      b.ListTokens(list.begin(), listed);
      EXPECT_EQ(listed, "{@}{" + c + "}{@}") << i;
    }
  }
}

TEST_F(TokenizerTest, RegisteredNamesComeFirst) {
  for (const char* name : {"Shell", "ABC.D", "PRINT", "GetEnvironmentVariab"})
    b.AddMethod(name, 2, nullptr, nullptr, "");
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"shell SHELLX", {F, V}},
      {"x=abc.d+1", {V, tcEqual, F, tcPlus, N}},
      {"ABC .D", {V, N, V}},
      {"print", {F}},
      {"GetEnvironmentVariableA(1)", {F, tcOpen, N, tcClose}},  // a DECLAREd name is cut too
  };
  for (const auto& [text, codes] : cases) EXPECT_EQ(Codes(text), codes) << text;
  Codes("abc.d");
  EXPECT_EQ(list.begin()->funcDefs->Name(), "ABC.D");
}

}  // namespace
}  // namespace basic
