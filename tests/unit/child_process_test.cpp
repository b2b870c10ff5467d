// Real children through the runner: exit codes, output relayed in order and
// in full, the environment block, the child's input, and the failures a user
// meets. POSIX children are sh, cat and env; under Wine, cmd and its builtins.
#include "child_process_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <thread>

#include "errors.h"
#include "image_builders.h"
#include "platform.h"

namespace basic::shell {
namespace {

#ifdef _WIN32
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

struct Ran {
  uint32_t code = 0;
  std::string output;
  size_t largestChunk = 0;
  double seconds = 0;
};

Ran RunChild(const std::string& program, const std::string& parameters,
             const std::string& environment = "", const InputHook& input = {}) {
  Ran ran;
  const auto start = std::chrono::steady_clock::now();
  ran.code = RunProcess(program, parameters, environment, input, [&](char* bytes, size_t n) {
    ran.output.append(bytes, n);
    ran.largestChunk = std::max(ran.largestChunk, n);
  });
  ran.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return ran;
}

std::string ErrorOf(const std::string& program) {
  try {
    RunChild(program, "");
  } catch (const RuntimeFault& e) { return e.what(); }
  return "(no error)";
}

std::string WriteFile(const test::TempDir& dir, const std::string& name, const std::string& bytes) {
  const std::string path = dir.File(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Delivers the text, then nothing more.
InputHook Typing(std::string text) {
  return [text, next = size_t{0}](char& c) mutable {
    if (next == text.size()) return false;
    c = text[next++];
    return true;
  };
}

TEST(ChildProcess, LargeOutputArrivesWholeInOrderAndInSmallChunks) {
  test::TempDir dir;
  std::string text;  // about 200 KB, numbered, so that a lost or moved chunk shows
  for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i) + " of the output" + kLineEnd;
  const std::string quoted = "\"" + WriteFile(dir, "big file.txt", text) + "\"";
#ifdef _WIN32
  Ran ran = RunChild("cmd", "/c type " + quoted);
#else
  Ran ran = RunChild("cat", quoted);
#endif
  EXPECT_EQ(ran.code, 0u);
  EXPECT_TRUE(ran.output == text) << ran.output.size() << " bytes of " << text.size();
  EXPECT_LE(ran.largestChunk, 257u);
}

TEST(ChildProcess, EnvironmentIsReadInFull) {
  const char* path = std::getenv("PATH");
  ASSERT_NE(path, nullptr);
  int found = 0;
  for (const std::string& entry : platform::ReadEnvironment()) {
    if (entry.size() >= 5 &&
        (entry.compare(0, 5, "PATH=") == 0 || entry.compare(0, 5, "Path=") == 0)) {
      EXPECT_EQ(entry.substr(5), path);
      ++found;
    }
  }
  EXPECT_EQ(found, 1);
}

// Ctrl-C once the child has written "ready": the runner must raise Break
// (code -20) and leave no child behind.
struct Broken {
  int code = 0;
  std::string output;
  double seconds = 0;  // from the Ctrl-C to the Break
};

Broken BreakWhenReady(const std::string& program, const std::string& parameters) {
  Broken broken;
  std::chrono::steady_clock::time_point pressed;
  bool requested = false;
  const InputHook silent = [](char&) { return false; };  // input stays open, empty
  try {
    RunProcess(
        program, parameters, "", silent,
        [&](char* bytes, size_t n) { broken.output.append(bytes, n); },
        [&] {
          if (requested || broken.output.find("ready") == std::string::npos) return false;
          requested = true;
          pressed = std::chrono::steady_clock::now();
          return true;
        });
  } catch (const EBasic& e) {
    broken.code = e.errorCode;
    EXPECT_STREQ(e.what(), msg::kBreak);
  }
  broken.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count();
  return broken;
}

TEST(ChildProcess, CtrlCEndsAWaitingChildWithBreak) {
#ifdef _WIN32
  Broken broken = BreakWhenReady("cmd", "/c \"echo ready& set /p X=\"");
#else
  Broken broken = BreakWhenReady("sh", "-c \"printf ready; read x\"");
#endif
  EXPECT_EQ(broken.code, kBreakCode) << broken.output;
  EXPECT_LT(broken.seconds, 1.5);
}

#ifndef _WIN32

TEST(ChildProcess, EnvironmentBlockReplacesOrInherits) {
  EXPECT_EQ(RunChild("env", "", std::string("ONE=1\0TWO=2 3\0", 14)).output, "ONE=1\nTWO=2 3\n");
  std::string inherited;
  for (const std::string& entry : platform::ReadEnvironment()) inherited += entry + "\n";
  EXPECT_EQ(RunChild("env", "").output, inherited);
}

TEST(ChildProcess, InputEndsAtOnceWithoutHookAndCarriesCrLfWithOne) {
  Ran ran = RunChild("cat", "");
  EXPECT_EQ(ran.output, "");
  EXPECT_LT(ran.seconds, 2.0);
  EXPECT_EQ(RunChild("sh", "-c \"read l; printf '[%s]' \"\"$l\"\"\"", "", Typing("ab\r")).output,
            "[ab\r]");
}

TEST(ChildProcess, InputForAChildThatClosedItsInputIsDropped) {
  // One character per poll, long after the child closed its input: the
  // writes fail, and must not end this process with SIGPIPE.
  int calls = 0;
  InputHook hook = [&](char& c) {
    c = 'x';
    return ++calls % 2 == 1;
  };
  EXPECT_EQ(RunChild("sh", "-c \"exec <&-; sleep 0.2; printf ok\"", "", hook).output, "ok");
  EXPECT_GT(calls, 20);
}

TEST(ChildProcess, ProcessItStartedKeepingTheOutputOpenDoesNotHoldTheRunner) {
  Ran ran = RunChild("sh", "-c \"sleep 3 & printf done; exit 4\"");
  EXPECT_EQ(ran.output, "done");
  EXPECT_EQ(ran.code, 4u);
  EXPECT_LT(ran.seconds, 2.0);
}

TEST(ChildProcess, FilesThatCannotStart) {
  test::TempDir dir;
  EXPECT_EQ(ErrorOf(WriteFile(dir, "text", "echo hi\n")), msg::kUnsupportedImage);
  // A script without the run bit: the system's refusal, with its code.
  EXPECT_EQ(ErrorOf(WriteFile(dir, "script", "#!/bin/sh\n")),
            "System Error.  Code: 13.\nPermission denied");
}

TEST(ChildProcessSlow, ChildThatClosesItsOutputButRunsOnIsWaitedForFiveSeconds) {
  // Quiet for a while first: neither wait may keep a processor busy.
  const std::clock_t cpuBefore = std::clock();
  Ran ran = RunChild("sh", "-c \"sleep 0.5; exec >&-; sleep 7\"");
  const double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
  EXPECT_EQ(ran.code, 259u);
  EXPECT_GT(ran.seconds, 5.0);
  EXPECT_LT(ran.seconds, 6.8);
  EXPECT_LT(cpuSeconds, 0.5);
}

// The state letter of a process (Z: a zombie), or '-' once it is gone.
char ProcessState(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return '-';
  const size_t close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() ? '?' : line[close + 2];
}

TEST(ChildProcessSlow, CtrlCReachesTheChildsGroupAndOneThatIgnoresItIsKilled) {
  // The child obeys (and what it started, in its group, goes with it): at once.
  Broken broken = BreakWhenReady("sh", "-c \"printf ready; exec sleep 30\"");
  EXPECT_EQ(broken.code, kBreakCode);
  EXPECT_LT(broken.seconds, 1.5);

  // It ignores Ctrl-C, as does its own child: both are killed after the
  // grace period, and ours is reaped.
  broken = BreakWhenReady(
      "sh", "-c \"trap '' INT; sleep 30 & printf '%s %s ' $$ $!; printf ready; wait\"");
  EXPECT_EQ(broken.code, kBreakCode);
  EXPECT_GT(broken.seconds, kInterruptGraceMs / 1000.0 - 0.1);
  EXPECT_LT(broken.seconds, kInterruptGraceMs / 1000.0 + 1.5);
  const size_t blank = broken.output.find(' ');
  ASSERT_NE(blank, std::string::npos) << broken.output;
  const std::string child = broken.output.substr(0, blank);
  const std::string grandchild =
      broken.output.substr(blank + 1, broken.output.find(' ', blank + 1) - blank - 1);
  EXPECT_EQ(ProcessState(child), '-') << "pid " << child;
  // Orphaned, it is init's to reap: gone or a zombie, never running.
  for (int i = 0; i < 100 && ProcessState(grandchild) != '-' && ProcessState(grandchild) != 'Z';
       ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const char state = ProcessState(grandchild);
  EXPECT_TRUE(state == '-' || state == 'Z') << "pid " << grandchild << " state " << state;
}

#else  // Windows, run under Wine

TEST(ChildProcess, ExitCodeAndOutputToTheLastByte) {
  Ran ran = RunChild("cmd.exe", "/c echo one& echo two& exit /b 7");
  EXPECT_EQ(ran.code, 7u);
  EXPECT_EQ(ran.output, "one\r\ntwo\r\n");
  test::TempDir dir;
  ran = RunChild(WriteFile(dir, "run.bat", "@echo batch %1\r\n@exit /b 3\r\n"), "arg");
  EXPECT_EQ(ran.output, "batch arg\r\n");
  EXPECT_EQ(ran.code, 3u);
}

TEST(ChildProcess, EnvironmentBlockReplacesOrInherits) {
  const std::string path = std::getenv("PATH");
  Ran ran = RunChild("cmd", "/c set", std::string("ONE=1\0TWO=2 3\0", 14));
  // cmd adds a few of its own (COMSPEC, PROMPT).
  EXPECT_NE(ran.output.find("ONE=1\r\n"), std::string::npos) << ran.output;
  EXPECT_NE(ran.output.find("TWO=2 3\r\n"), std::string::npos) << ran.output;
  EXPECT_EQ(ran.output.find(path), std::string::npos) << ran.output;
  EXPECT_EQ(RunChild("cmd", "/c echo %PATH%").output, path + "\r\n");
}

TEST(ChildProcess, InputEndsAtOnceWithoutHookAndCarriesCrLfWithOne) {
  Ran ran = RunChild("cmd", "/c set /p X=& echo done");
  EXPECT_EQ(ran.output, "done\r\n");
  EXPECT_LT(ran.seconds, 5.0);
  EXPECT_EQ(RunChild("cmd", "/v:on /c \"set /p X=&echo [!X!]\"", "", Typing("ab\r")).output,
            "[ab]\r\n");
}

TEST(ChildProcess, FilesThatCannotStart) {
  test::TempDir dir;
  EXPECT_EQ(ErrorOf(WriteFile(dir, "gui.exe", test::MakePeHeaders(0x0002, 2))),
            msg::kUnsupportedImage);
  // Batch files go unsearched to the system, which reports the missing one.
  const std::string error = ErrorOf(dir.File("missing.bat"));
  EXPECT_EQ(error.rfind("Win32 Error.  Code: 2.\n", 0), 0u) << error;
}

#endif

}  // namespace
}  // namespace basic::shell
