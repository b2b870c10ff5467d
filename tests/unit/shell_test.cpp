#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell_basic.h"
#include "test_support.h"

namespace basic::shell {
namespace {

using Names = std::vector<std::string>;

struct ShellMachine {
  explicit ShellMachine(Names environment) : console(out, in, {}), basic(console) {
    basic.SetEnvironment(std::move(environment));
  }
  std::string Run(std::string_view text) {
    basic.ProcessText(text);
    console.Flush();
    return std::exchange(out.text, {});
  }
  test::StringSink out;
  test::StringSource in;
  Console console;
  TShellBasic basic;
};

// The block as a list again, to compare.
Names Entries(const std::string& block) {
  Names entries;
  size_t start = 0;
  for (size_t end; (end = block.find('\0', start)) != std::string::npos; start = end + 1)
    entries.push_back(block.substr(start, end - start));
  EXPECT_EQ(start, block.size()) << "every entry ends in NUL";
  return entries;
}

TEST(SortByName, ComparesNamesWithoutCaseThenByByte) {
  Names list = {"path=/bin", "_X=1", "Zed=2", "a=3", "=C:=C:\\", "NOEQUALS", "A1=4", "~=5", "b=6"};
  SortByName(list, 0, static_cast<ptrdiff_t>(list.size()) - 1);
  // Entries without "=" have an empty name, like "=C:"; "_" and "~" sort
  // after the letters by their bytes once letters are upper case.
  EXPECT_EQ(list, (Names{"=C:=C:\\", "NOEQUALS", "a=3", "A1=4", "b=6", "path=/bin", "Zed=2", "_X=1",
                         "~=5"}));
}

TEST(SortByName, KeepsTheOrderOfEntriesWithEqualNames) {
  // Names repeat in every case mix; the value is the entry's place in the input.
  const char* names[] = {"path", "PATH", "Path", "home", "HOME", "", "tmp", "TMP"};
  Names list;
  for (int i = 0; i < 2000; ++i)
    list.push_back(std::string(names[(i * 7) % 8]) + "=" + std::to_string(i));
  SortByName(list, 0, static_cast<ptrdiff_t>(list.size()) - 1);
  auto name = [](const std::string& e) { return e.substr(0, e.find('=')); };
  auto place = [](const std::string& e) { return std::stoi(e.substr(e.find('=') + 1)); };
  for (size_t k = 1; k < list.size(); ++k) {
    const int order = CompareNoCase(name(list[k - 1]), name(list[k]));
    ASSERT_LE(order, 0) << list[k - 1] << " before " << list[k];
    if (order == 0) {
      ASSERT_LT(place(list[k - 1]), place(list[k])) << list[k - 1] << " before " << list[k];
    }
  }
}

TEST(BuildEnvironment, IsTheSortedEnvironmentWithCommonValues) {
  ShellMachine m({"PATH=/bin", "b=2", "S=inherited", "a=1"});
  TExecutor executor(&m.basic);
  EXPECT_EQ(Entries(executor.BuildEnvironment()),
            (Names{"a=1", "b=2", "PATH=/bin", "S=inherited"}));

  EXPECT_EQ(m.Run("COMMON N, S$: N = 3: S$ = \"\""), "");
  EXPECT_EQ(Entries(executor.BuildEnvironment()),
            (Names{"a=1", "b=2", "N=3.00000000000000E+0000", "PATH=/bin"}));
  // The interpreter's own copy is not changed by a call.
  EXPECT_EQ(TBasicInternals(m.basic).commonBlock.Environment(),
            (Names{"PATH=/bin", "b=2", "S=inherited", "a=1"}));

  TExecutor detached(nullptr);
  EXPECT_EQ(detached.BuildEnvironment(), "");
}

TEST(SplitCommandLine, ProgramThenParametersUnchanged) {
  const struct {
    const char* line;
    const char* program;
    const char* parameters;
  } cases[] = {
      {"prog.exe a b", "prog.exe", "a b"},
      {"   prog", "prog", ""},
      {"\"C:\\My Tools\\x.exe\" x", "C:\\My Tools\\x.exe", " x"},
      {"\"unterminated name", "unterminated name", ""},
      {"prog  two  blanks ", "prog", " two  blanks "},
      {"", "", ""},
      {"   ", "", ""},
  };
  for (const auto& c : cases) {
    const CommandLineParts parts = SplitCommandLine(c.line);
    EXPECT_EQ(parts.program, c.program) << c.line;
    EXPECT_EQ(parts.parameters, c.parameters) << c.line;
  }
}

}  // namespace
}  // namespace basic::shell
