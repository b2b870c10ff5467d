// The Shell command and the environment it hands to a child: the
// interpreter's copy of the process environment with the COMMON values
// written in, sorted by name.
#include "shell_basic.h"

#include <algorithm>
#include <utility>

#include "child_process_runner.h"
#include "platform.h"

namespace basic::shell {

namespace {

std::string_view EntryName(std::string_view entry) {
  const size_t equals = entry.find('=');
  return equals == std::string_view::npos ? std::string_view() : entry.substr(0, equals);
}

int32_t ShellEntry(void* instance, const ArgWord* args, size_t, Str*) {
  return static_cast<TShellBasic*>(instance)->ShellCommand(args[0].string->view());
}

}  // namespace

TShellBasic::TShellBasic(Console& console) : TBasic(console) {
  SetEnvironment(platform::ReadEnvironment());
  AddMethod("Shell", 2, ShellEntry, this, "A");
}

int32_t TShellBasic::ShellCommand(std::string_view commandLine) {
  TExecutor executor(this);
  return static_cast<int32_t>(executor.Run(commandLine));
}

void TExecutor::HandleOutput(char* bytes, size_t count) {
  if (basic_ == nullptr || count == 0) return;
  platform::ConvertChildOutput(bytes, count);
  // The child's output shows at once, as it would in a console of its own.
  Console& console = basic_->console();
  console.Write(std::string_view(bytes, count));
  console.Flush();
}

bool TExecutor::HandleInput(char&) { return false; }

uint32_t TExecutor::Run(std::string_view commandLine) {
  const CommandLineParts parts = SplitCommandLine(commandLine);
  const std::string block = BuildEnvironment();
  // What the program printed so far must come before the child's output.
  if (basic_ != nullptr) basic_->console().Flush();
  // No input hook: HandleInput never delivers a character, and without one
  // the child reads end of file instead of waiting for input that never comes.
  return RunProcess(
      parts.program, parts.parameters, block, InputHook(),
      [this](char* bytes, size_t count) { HandleOutput(bytes, count); },
      [this] { return basic_ != nullptr && basic_->TakeBreakRequest(); });
}

std::string TExecutor::BuildEnvironment() {
  std::vector<std::string> list;
  if (basic_ != nullptr) list = basic_->ChildEnvironment();
  if (list.size() > 1) SortByName(list, 0, static_cast<ptrdiff_t>(list.size()) - 1);
  std::string block;
  for (const std::string& entry : list) {
    block += entry;
    block += '\0';
  }
  return block;
}

CommandLineParts SplitCommandLine(std::string_view commandLine) {
  size_t start = commandLine.find_first_not_of(' ');
  if (start == std::string_view::npos) start = commandLine.size();
  char closing = ' ';
  if (start < commandLine.size() && commandLine[start] == '"') {
    closing = '"';
    ++start;
  }
  const size_t end = commandLine.find(closing, start);
  if (end == std::string_view::npos) return {std::string(commandLine.substr(start)), {}};
  return {std::string(commandLine.substr(start, end - start)),
          std::string(commandLine.substr(end + 1))};
}

void SortByName(std::vector<std::string>& list, ptrdiff_t lo, ptrdiff_t hi) {
  if (lo < 0 || hi >= static_cast<ptrdiff_t>(list.size()) || lo >= hi) return;
  // Stable: entries whose names differ only in case (or the "=C:" entries
  // of Windows, whose names are empty) keep the order they came in.
  std::stable_sort(list.begin() + lo, list.begin() + hi + 1,
                   [](const std::string& a, const std::string& b) {
                     return CompareNoCase(EntryName(a), EntryName(b)) < 0;
                   });
}

}  // namespace basic::shell
