// The developer front end and the stub's entry: arguments, line ends,
// binding, and what reaches standard output and standard error.
#include "front_end.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

#include "appended_program.h"
#include "errors.h"
#include "image_builders.h"
#include "platform.h"
#include "stub_marker.h"
#include "test_support.h"

namespace basic::app {
namespace {

using Kind = FrontEndCommand::Kind;

// --- Arguments ---------------------------------------------------------------

struct ArgsCase {
  std::vector<std::string> args;
  Kind kind;
  std::string program, output, stub;
};

TEST(FrontEndArguments, Accepted) {
  const ArgsCase cases[] = {
      {{}, Kind::kConsole, "", "", ""},
      {{"prog.bas"}, Kind::kRunFile, "prog.bas", "", ""},
      {{"--help"}, Kind::kHelp, "", "", ""},
      {{"prog.bas", "-h"}, Kind::kHelp, "", "", ""},
      {{"--bind", "p.bas", "-o", "p"}, Kind::kBind, "p.bas", "p", ""},
      {{"-o", "p", "--stub", "s.exe", "--bind", "p.bas"}, Kind::kBind, "p.bas", "p", "s.exe"},
      {{"-"}, Kind::kRunFile, "-", "", ""},  // standard input
      {{"--", "-x.bas"}, Kind::kRunFile, "-x.bas", "", ""},
      {{"--bind=p.bas", "--output=p", "--stub=s"}, Kind::kBind, "p.bas", "p", "s"},
      {{"--bind", "-", "-o", "p"}, Kind::kBind, "-", "p", ""},
      {{"--bind", "-o", "p", "--", "-p.bas"}, Kind::kBind, "-p.bas", "p", ""},
      {{"--bind", "-o", "p", "p.bas"}, Kind::kBind, "p.bas", "p", ""},
      {{"--version"}, Kind::kVersion, "", "", ""},
      {{"prog.bas", "--version"}, Kind::kVersion, "", "", ""},
  };
  for (const ArgsCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    FrontEndCommand command = ParseArguments(c.args);
    EXPECT_EQ(command.kind, c.kind) << command.error;
    EXPECT_EQ(command.programPath, c.program);
    EXPECT_EQ(command.outputPath, c.output);
    EXPECT_EQ(command.stubPath, c.stub);
  }
}

TEST(FrontEndArguments, RejectedWithOneLineSayingWhy) {
  const std::vector<std::vector<std::string>> cases = {
      {"--bind"},
      {"--bind", "p.bas"},
      {"--bind", "p.bas", "-o"},
      {"--bind", "-o", "p"},
      {"--bind=", "-o", "p"},
      {"--bind=a.bas", "--bind", "b.bas", "-o", "p"},
      {"--output=", "--bind", "p.bas"},
      {"--", "a.bas", "b.bas"},
      {"--bind", "p.bas", "-o", "a", "-o", "b"},
      {"--bind", "p.bas", "extra.bas", "-o", "p"},
      {"-o", "p"},
      {"--stub", "s", "p.bas"},
      {"a.bas", "b.bas"},
      {"--frobnicate"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    FrontEndCommand command = ParseArguments(args);
    EXPECT_EQ(command.kind, Kind::kUsageError);
    EXPECT_NE(command.error.find("basic: "), std::string::npos);
    EXPECT_EQ(command.error.find('\n'), std::string::npos);
  }
}

// --- Line ends and stub location ---------------------------------------------

TEST(FrontEndText, LoneLineFeedsGetCarriageReturns) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"10 PRINT 1\n20 END\n", "10 PRINT 1\r\n20 END\r\n"},
      {"10 PRINT 1\r\n20 END", "10 PRINT 1\r\n20 END"},  // already CR LF: untouched
      {"\n\nX\n", "\r\n\r\nX\r\n"},
      {"A\r\nB\nC\r\n", "A\r\nB\r\nC\r\n"},  // mixed
      {"A\rB", "A\rB"},                      // a lone CR stays
      {"A\r\r\nB", "A\r\r\nB"},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(ToCrLfLineEnds(in), out) << testing::PrintToString(in);
}

TEST(FrontEndText, ScriptLineIsDropped) {
  const std::pair<std::string, std::string> cases[] = {
      {"#!/usr/bin/env basic\n10 PRINT 1\n", "10 PRINT 1\n"},
      {"#!/usr/bin/env basic\r\n10 PRINT 1\r\n", "10 PRINT 1\r\n"},
      {"#!basic", ""},                             // nothing but the script line
      {"10 PRINT 1\n#!x\n", "10 PRINT 1\n#!x\n"},  // only a first line counts
      {" #!x\n10 END", " #!x\n10 END"},
      {"#x\n10 END", "#x\n10 END"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(WithoutScriptLine(in), out) << in;
}

TEST(FrontEndText, StubIsFoundBesideTheFrontEnd) {
#ifdef _WIN32
  EXPECT_EQ(StubPathBeside("C:\\tools\\basic.exe"), "C:\\tools\\basstub.exe");
  EXPECT_EQ(StubPathBeside("Z:/work/build/basic.exe"), "Z:/work/build/basstub.exe");
  EXPECT_EQ(StubPathBeside("basic.exe"), "basstub.exe");
#else
  EXPECT_EQ(StubPathBeside("/opt/basic/bin/basic"), "/opt/basic/bin/basstub");
  EXPECT_EQ(StubPathBeside("basic"), "basstub");
#endif
}

// --- Binding -----------------------------------------------------------------

std::vector<std::pair<ImageFormat, std::string>> Stubs() {
  return {
      {ImageFormat::kPe, test::MakePe({{0x200, 0x400}, {0x600, 0x200}})},
      {ImageFormat::kElf,
       test::MakeElf({.phoff = 64, .phnum = 2, .shoff = 0x400, .sections = {{1, 0x200, 0x100}}})}};
}

TEST(Binding, RefusesWhatIsNoStub) {
  EXPECT_THROW(BindProgram("10 PRINT 1\r\n", "20 END"), RuntimeFault);
  EXPECT_THROW(BindProgram("", "20 END"), RuntimeFault);
  EXPECT_THROW(BindProgram(test::MakePe({{0, 0x200}}), "20 END"), RuntimeFault);  // no file data
  EXPECT_THROW(BindProgram(test::MakePe({{0x200, 0x200}}).substr(0, 100), "20 END"), RuntimeFault);
}

// Only the stub's own image counts: a program appended to some other
// executable may quote the marker, and half of it is no marker.
TEST(Binding, StubMarkerIsLookedForInTheImageOnly) {
  const std::string marker = BASIC_STUB_MARKER_HEAD BASIC_STUB_MARKER_TAIL;
  const std::string head = BASIC_STUB_MARKER_HEAD;
  for (const auto& [format, image] : Stubs()) {
    EXPECT_TRUE(CarriesStubMarker(test::WithStubMarker(image, marker)));
    EXPECT_TRUE(CarriesStubMarker(test::WithStubMarker(image, marker) + "10 END\r\n"));
    EXPECT_FALSE(CarriesStubMarker(image));
    EXPECT_FALSE(CarriesStubMarker(image + "10 REM " + marker + "\r\n"));
    EXPECT_FALSE(CarriesStubMarker(test::WithStubMarker(image, head + head + "x")));
  }
  EXPECT_FALSE(CarriesStubMarker(marker));
  EXPECT_FALSE(CarriesStubMarker("MZ" + marker));  // headers that cannot be read
}

// --- Whole runs --------------------------------------------------------------

const std::string kStubMarker = BASIC_STUB_MARKER_HEAD BASIC_STUB_MARKER_TAIL;

std::string OwnFormatImage() {
  return test::WithStubMarker(kOwnImageFormat == ImageFormat::kPe
                                  ? test::MakePe({{0x200, 0x200}})
                                  : test::MakeElf({.shoff = 0x100, .sections = {}}),
                              kStubMarker);
}

struct FrontEndRun {
  int Run(const std::vector<std::string>& args, const std::string& selfPath = "basic") {
    ConsoleStreams streams{out, in, {}};
    return RunFrontEnd(args, selfPath, streams,
                       [this](std::string_view line) { errors.emplace_back(line); });
  }
  test::StringSink out;
  test::StringSource in;
  std::vector<std::string> errors;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::string error;
  ASSERT_TRUE(platform::WriteWholeFile(path, bytes, false, error)) << error;
}

std::string ReadFile(const std::string& path) {
  std::string error;
  auto bytes = platform::ReadWholeFile(path, error);
  EXPECT_TRUE(bytes.has_value()) << error;
  return bytes.value_or("");
}

TEST(FrontEndRun, BindWritesAnExecutableStubCopy) {
  test::TempDir dir;
  std::string stub = test::WithStubMarker(test::MakePe({{0x200, 0x200}}), kStubMarker);
  WriteFile(dir.File("stub.exe"), stub + "old program\r\n");
  WriteFile(dir.File("p.bas"), "10 PRINT 1\n");
  FrontEndRun run;
  EXPECT_EQ(run.Run({"--bind", dir.File("p.bas"), "-o", dir.File("p.exe"), "--stub",
                     dir.File("stub.exe")}),
            kExitOk);
  EXPECT_TRUE(run.errors.empty());
  EXPECT_EQ(ReadFile(dir.File("p.exe")), stub + "10 PRINT 1\r\n");
#ifndef _WIN32
  auto perms = std::filesystem::status(dir.File("p.exe")).permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
#endif
}

TEST(FrontEndRun, BindUsesTheStubBesideTheFrontEnd) {
  test::TempDir dir;
  std::string stub = test::WithStubMarker(
      test::MakeElf({.shoff = 0x100, .sections = {{1, 0x40, 0x20}}}), kStubMarker);
#ifdef _WIN32
  stub = test::WithStubMarker(test::MakePe({{0x200, 0x200}}), kStubMarker);
  const std::string self = dir.File("basic.exe"), stubName = "basstub.exe";
#else
  const std::string self = dir.File("basic"), stubName = "basstub";
#endif
  WriteFile(dir.File(stubName), stub);
  WriteFile(dir.File("p.bas"), "10 END");
  FrontEndRun run;
  EXPECT_EQ(run.Run({"--bind", dir.File("p.bas"), "-o", dir.File("out")}, self), kExitOk);
  EXPECT_EQ(ReadFile(dir.File("out")), stub + "10 END");
}

// An installation keeps the stub out of the command directory; a stub beside
// the front end (a build tree) still comes first.
TEST(FrontEndRun, BindFindsTheInstalledStub) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.File("bin"));
  const std::string self = dir.File("bin/basic");
  const std::vector<std::string> paths = StubSearchPaths(self);
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front(), StubPathBeside(self));
  if (paths.size() < 2) GTEST_SKIP() << "this target installs the stub beside basic";
  const std::string installed = paths.back();
  std::filesystem::create_directories(std::filesystem::path(installed).parent_path());
  const std::string stub = OwnFormatImage();
  WriteFile(installed, stub);
  WriteFile(dir.File("p.bas"), "10 END");

  FrontEndRun run;
  EXPECT_EQ(run.Run({"--bind", dir.File("p.bas"), "-o", dir.File("out")}, self), kExitOk);
  EXPECT_TRUE(run.errors.empty());
  EXPECT_EQ(ReadFile(dir.File("out")), stub + "10 END");

  WriteFile(paths.front(), stub + "REM BESIDE\r\n");
  FrontEndRun besideFirst;
  EXPECT_EQ(besideFirst.Run({"--bind", dir.File("p.bas"), "-o", dir.File("out")}, self), kExitOk);
  EXPECT_EQ(ReadFile(dir.File("out")), stub + "10 END");  // the beside one's old program replaced
  std::filesystem::remove(paths.front());
  std::filesystem::remove(installed);

  FrontEndRun none;
  EXPECT_EQ(none.Run({"--bind", dir.File("p.bas"), "-o", dir.File("out2")}, self), kExitUsage);
  EXPECT_EQ(none.errors,
            std::vector<std::string>{"basic: no run-time stub found: looked for " + paths.front() +
                                     " or " + installed + "; name one with --stub STUB"});
}

TEST(FrontEndRun, FailuresGiveOneLineAndExitCodeTwo) {
  test::TempDir dir;
  WriteFile(dir.File("p.bas"), "10 END\n");
  WriteFile(dir.File("notastub"), "just text");
  const std::string missing = dir.File("missing.bas");
  const std::vector<std::vector<std::string>> cases = {
      {missing},
      {"--bind", missing, "-o", dir.File("o"), "--stub", dir.File("notastub")},
      {"--bind", dir.File("p.bas"), "-o", dir.File("o"), "--stub", dir.File("nostub")},
      {"--bind", dir.File("p.bas"), "-o", dir.File("o"), "--stub", dir.File("notastub")},
      {"--bind", dir.File("p.bas"), "-o", dir.File("no/such/dir/o"), "--stub",
       dir.File("notastub")},
      {"--no-such-option"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    FrontEndRun run;
    EXPECT_EQ(run.Run(args), kExitUsage);
    ASSERT_EQ(run.errors.size(), 1u);
    EXPECT_EQ(run.out.text, "");
  }
  FrontEndRun run;
  run.Run({missing});
  EXPECT_TRUE(run.errors.at(0).starts_with("basic: cannot open " + missing + ": "))
      << run.errors.at(0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("o")));
}

// Binding over the program would lose it: refused however the output is
// spelled, whichever of its names is given.
TEST(FrontEndRun, BindRefusesToReplaceItsOwnProgram) {
  test::TempDir dir;
  WriteFile(dir.File("p.bas"), "10 END\n");
  WriteFile(dir.File("stub.exe"), OwnFormatImage());
  std::vector<std::string> outputs{dir.File("p.bas"), dir.File("./p.bas"),
                                   dir.File("sub/../p.bas")};
  std::filesystem::create_directory(dir.File("sub"));
  std::error_code error;
  std::filesystem::create_hard_link(dir.File("p.bas"), dir.File("hard.bas"), error);
  if (!error) outputs.push_back(dir.File("hard.bas"));
  std::filesystem::create_symlink("p.bas", dir.File("soft.bas"), error);
  if (!error) outputs.push_back(dir.File("soft.bas"));
  for (const std::string& output : outputs) {
    SCOPED_TRACE(output);
    FrontEndRun run;
    EXPECT_EQ(run.Run({"--bind", dir.File("p.bas"), "-o", output, "--stub", dir.File("stub.exe")}),
              kExitUsage);
    EXPECT_EQ(run.errors,
              std::vector<std::string>{"basic: -o " + output +
                                       " is the program file itself (see basic --help)"});
    EXPECT_EQ(ReadFile(dir.File("p.bas")), "10 END\n");
  }
  FrontEndRun other;
  EXPECT_EQ(
      other.Run({"--bind", dir.File("p.bas"), "-o", dir.File("p"), "--stub", dir.File("stub.exe")}),
      kExitOk);
}

#ifndef _WIN32
// The output goes where SAVE's would: through a link, into a device.
TEST(FrontEndRun, BindWritesThroughLinksAndIntoDevices) {
  test::TempDir dir;
  WriteFile(dir.File("p.bas"), "10 END\n");
  const std::string stub = OwnFormatImage();
  WriteFile(dir.File("stub"), stub);
  WriteFile(dir.File("old"), "old");
  std::filesystem::create_symlink("old", dir.File("link"));
  FrontEndRun run;
  EXPECT_EQ(
      run.Run({"--bind", dir.File("p.bas"), "-o", dir.File("link"), "--stub", dir.File("stub")}),
      kExitOk);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link")));
  EXPECT_EQ(ReadFile(dir.File("old")), stub + "10 END\r\n");
  auto perms = std::filesystem::status(dir.File("old")).permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);

  // A node of our own first: if it were replaced, /dev/full is left alone.
  const std::string full = dir.File("full");
  if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
    FrontEndRun mine;
    EXPECT_EQ(mine.Run({"--bind", dir.File("p.bas"), "-o", full, "--stub", dir.File("stub")}),
              kExitUsage);
    ASSERT_TRUE(std::filesystem::is_character_file(full));
  }
  FrontEndRun system;
  EXPECT_EQ(
      system.Run({"--bind", dir.File("p.bas"), "-o", "/dev/full", "--stub", dir.File("stub")}),
      kExitUsage);
  EXPECT_EQ(system.errors, std::vector<std::string>{
                               "basic: Cannot write file /dev/full: No space left on device"});
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}
#endif

TEST(FrontEndRun, VersionGoesToStandardOutput) {
  FrontEndRun run;
  EXPECT_EQ(run.Run({"--version"}), kExitOk);
  EXPECT_TRUE(run.out.text.starts_with("basic ")) << run.out.text;
  EXPECT_NE(run.out.text.find_first_of("0123456789"), std::string::npos);
  EXPECT_TRUE(run.errors.empty());
}

// --- The stub's entry --------------------------------------------------------

struct StubRun {
  int Run(const std::string& selfPath) {
    ConsoleStreams streams{out, in, {}};
    return RunStub(selfPath, streams, [this](std::string_view line) { errors.emplace_back(line); });
  }
  test::StringSink out;
  test::StringSource in;
  std::vector<std::string> errors;
};

TEST(StubEntry, UnreadableOwnFileIsReportedWithExitCodeOne) {
  test::TempDir dir;
  WriteFile(dir.File("truncated"), OwnFormatImage().substr(0, 20));
  const std::pair<std::string, std::string> cases[] = {
      {dir.File("missing"), "Cannot open file " + dir.File("missing")},
      {dir.File("truncated"), "Stream read error"},
  };
  for (const auto& [path, message] : cases) {
    StubRun run;
    EXPECT_EQ(run.Run(path), 1);
    EXPECT_EQ(run.errors, std::vector<std::string>{message});
    EXPECT_EQ(run.out.text, "");
  }
}

}  // namespace
}  // namespace basic::app
