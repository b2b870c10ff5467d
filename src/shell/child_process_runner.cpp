// The child process runner: chooses how to start the program, then relays
// the child's output until it ends or closes its output.
#include "child_process_runner.h"

#include <chrono>

#include "errors.h"
#include "platform.h"
#include "start_plan.h"

namespace basic::shell {

namespace {

constexpr size_t kRelayChunk = 257;
// How long a child that closed its output may still run before we give up
// waiting; the result is then the system's "still active" code.
constexpr uint32_t kFinishWaitMs = 5000;
// How often the wait for a child's end looks for Ctrl-C.
constexpr uint32_t kWaitSliceMs = 10;

platform::ChildCommand PlanStart(const std::string& program, const std::string& parameters) {
  // The system ends a name or command line at its first NUL: what would run
  // is not what was asked for.
  if (program.find('\0') != std::string::npos || parameters.find('\0') != std::string::npos)
    throw RuntimeFault(msg::kCouldNotFind + program);
#ifdef _WIN32
  platform::ChildCommand command;
  command.commandLine = Win32CommandLine(
      program, parameters, platform::FindProgram,
      [](const std::string& path, int32_t& subsystem) { return GetExeType(path, subsystem); });
  return command;
#else
  return PosixCommand(program, parameters, platform::FindProgram, ReadFileStart);
#endif
}

// Every character the hook has, before anything else; a CR is followed by
// the LF that line-reading programs expect.
void FeedInput(const InputHook& input, platform::ChildProcess& child) {
  char c;
  while (input(c)) {
    child.WriteInput(c);
    if (c == '\r') child.WriteInput('\n');
  }
}

// Ctrl-C while the child runs: the child gets it too, and what it writes
// while it winds down is still shown; one that ignores it is ended, so the
// console is never held by a child that will not stop.
[[noreturn]] void StopChild(platform::ChildProcess& child, char* buffer, size_t capacity,
                            const OutputHook& output, const BreakCheck& breakRequested) {
  if (child.SendInterrupt()) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kInterruptGraceMs);
    while (!child.Exited() && std::chrono::steady_clock::now() < deadline) {
      const int count = child.ReadOutput(buffer, capacity);
      if (count > 0 && output) output(buffer, static_cast<size_t>(count));
      if (count < 0) child.WaitExitCode(kWaitSliceMs);
    }
  }
  if (!child.Exited()) child.Kill();
  breakRequested();  // a second Ctrl-C meanwhile asked for the same
  RaiseError(kBreakCode, msg::kBreak);
}

}  // namespace

uint32_t RunProcess(const std::string& program, const std::string& parameters,
                    const std::string& environmentBlock, const InputHook& input,
                    const OutputHook& output, const BreakCheck& breakRequested) {
  platform::ChildCommand command = PlanStart(program, parameters);
  command.environmentBlock = environmentBlock;
  std::unique_ptr<platform::ChildProcess> child = platform::ChildProcess::Start(command);
  // Without a hook nothing will ever come: a reading child must see the end
  // at once instead of waiting for ever.
  if (!input) child->CloseInput();

  char buffer[kRelayChunk];
  auto relay = [&](int count) {
    if (output) output(buffer, static_cast<size_t>(count));
  };
  auto checkBreak = [&] {
    if (breakRequested && breakRequested())
      StopChild(*child, buffer, sizeof buffer, output, breakRequested);
  };
  for (;;) {
    checkBreak();
    if (input) FeedInput(input, *child);
    const int count = child->ReadOutput(buffer, sizeof buffer);
    if (count < 0) break;  // output closed and empty
    if (count > 0) {
      relay(count);
    } else if (child->Exited()) {
      // What it wrote just before the end is still in the pipe, which a
      // process it started may keep open: take what is there, then stop.
      int rest;
      while ((rest = child->ReadOutput(buffer, sizeof buffer)) > 0) relay(rest);
      break;
    }
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFinishWaitMs);
  while (!child->Exited() && std::chrono::steady_clock::now() < deadline) {
    checkBreak();
    child->WaitExitCode(kWaitSliceMs);
  }
  return child->WaitExitCode(0);
}

}  // namespace basic::shell
