// How the runner starts a program, with a made-up file system: the search,
// the extension and image rules, and the argument splitting. Both targets'
// rules run on both targets.
#include "start_plan.h"

#include <gtest/gtest.h>

#include <map>

#include "errors.h"

namespace basic::shell {
namespace {

using Strings = std::vector<std::string>;

// A search that knows a few names; what the found files hold, by path.
struct FakeFiles {
  std::map<std::string, std::string> found;               // name -> path
  std::map<std::string, std::pair<ExeType, int>> images;  // path -> kind, subsystem
  std::map<std::string, std::string> starts;              // path -> first bytes
  Strings searched, read;

  std::string Win32(const std::string& program, const std::string& parameters = "") {
    return Win32CommandLine(program, parameters, Finder(),
                            [this](const std::string& path, int32_t& subsystem) {
                              read.push_back(path);
                              subsystem = images.at(path).second;
                              return images.at(path).first;
                            });
  }
  platform::ChildCommand Posix(const std::string& program, const std::string& parameters = "") {
    return PosixCommand(
        program, parameters, Finder(),
        [this](const std::string& path, size_t count) { return starts.at(path).substr(0, count); });
  }
  ProgramFinder Finder() {
    return [this](const std::string& name) -> std::optional<std::string> {
      searched.push_back(name);
      auto it = found.find(name);
      return it == found.end() ? std::nullopt : std::optional(it->second);
    };
  }
};

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeFault& e) { return e.what(); }
  return "(no error)";
}

TEST(Win32Start, BatchFilesGoByNameWithoutSearchOrCheck) {
  FakeFiles fake;
  EXPECT_EQ(fake.Win32("run.bat", "a b"), "\"run.bat\" a b");
  EXPECT_EQ(fake.Win32("C:\\x\\Run.Cmd"), "\"C:\\x\\Run.Cmd\" ");
  EXPECT_TRUE(fake.searched.empty());
}

TEST(Win32Start, ImageKindChoosesDirectStartCmdOrRefusal) {
  FakeFiles fake;
  fake.found = {{"tool", "C:\\my bin\\tool.EXE"},
                {"old.exe", "C:\\old.exe"},
                {"warp.exe", "C:\\warp.exe"},
                {"edit.com", "C:\\EDIT.COM"}};
  fake.images = {{"C:\\my bin\\tool.EXE", {etWin32, 3}},
                 {"C:\\old.exe", {etDos, 0}},
                 {"C:\\warp.exe", {etOS2, 0}}};
  EXPECT_EQ(fake.Win32("tool", "-x  \"y\""), "\"C:\\my bin\\tool.EXE\" -x  \"y\"");
  EXPECT_EQ(fake.Win32("old.exe", "a"), "cmd /c\"\"C:\\old.exe\" a\"");
  EXPECT_EQ(fake.Win32("warp.exe"), "cmd /c\"\"C:\\warp.exe\" \"");
  // A .COM file is taken for a DOS program without being read.
  EXPECT_EQ(fake.Win32("edit.com", "f"), "cmd /c\"\"C:\\EDIT.COM\" f\"");
  EXPECT_EQ(fake.read, (Strings{"C:\\my bin\\tool.EXE", "C:\\old.exe", "C:\\warp.exe"}));

  for (auto [kind, subsystem] :
       {std::pair{etWin32, 2}, {etDll, 0}, {etWin16, 0}, {etLE, 0}, {etNE, 0}}) {
    fake.found["x.exe"] = "x";
    fake.images["x"] = {kind, subsystem};
    EXPECT_EQ(ErrorOf([&] { fake.Win32("x.exe"); }), msg::kUnsupportedImage) << kind;
  }
}

TEST(Win32Start, ExtensionAndSearchErrorsNameTheProgramAsGiven) {
  FakeFiles fake;
  EXPECT_EQ(ErrorOf([&] { fake.Win32("notes.txt"); }), "notes.txt has invalid file extension");
  EXPECT_EQ(ErrorOf([&] { fake.Win32("a.b\\noext"); }), "Could not find file a.b\\noext");
  EXPECT_EQ(ErrorOf([&] { fake.Win32("gone.EXE"); }), "Could not find file gone.EXE");
  EXPECT_EQ(fake.searched, (Strings{"a.b\\noext", "gone.EXE"}));
}

TEST(PosixStart, ElfOrScriptStartsWithTheNameAsGivenFirst) {
  FakeFiles fake;
  fake.found = {{"tool", "/usr/bin/tool"},
                {"./run", "./run"},
                {"/t/text", "/t/text"},
                {"/t/empty", "/t/empty"}};
  fake.starts = {{"/usr/bin/tool", "\177ELF\2\1"},
                 {"./run", "#!/bin/sh\n"},
                 {"/t/text", "echo hi\n"},
                 {"/t/empty", ""}};
  platform::ChildCommand tool = fake.Posix("tool", " -v  \"a b\" ");
  EXPECT_EQ(tool.file, "/usr/bin/tool");
  EXPECT_EQ(tool.arguments, (Strings{"tool", "-v", "a b"}));
  EXPECT_EQ(fake.Posix("./run").arguments, (Strings{"./run"}));

  EXPECT_EQ(ErrorOf([&] { fake.Posix("/t/text"); }), msg::kUnsupportedImage);
  EXPECT_EQ(ErrorOf([&] { fake.Posix("/t/empty"); }), msg::kUnsupportedImage);
  EXPECT_EQ(ErrorOf([&] { fake.Posix("nothere"); }), "Could not find file nothere");
}

TEST(PosixStart, ParametersSplitWithoutAShell) {
  const std::pair<const char*, Strings> cases[] = {
      {"", {}},
      {"  a \t b  ", {"a", "b"}},
      {"x\"a b\"y z", {"xa by", "z"}},
      {"\"\" \"\"", {"", ""}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"a\"\"b", {"ab"}},  // outside quotes: an empty group
      {"\"open to the end", {"open to the end"}},
      {"$HOME * 'q' a\\ b", {"$HOME", "*", "'q'", "a\\", "b"}},
  };
  for (const auto& [parameters, arguments] : cases)
    EXPECT_EQ(SplitArguments(parameters), arguments) << parameters;
}

}  // namespace
}  // namespace basic::shell
