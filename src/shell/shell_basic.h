// TShellBasic: the application's interpreter. It adds the "Shell" command,
// which runs another program as a child process, and connects COMMON to the
// process environment (read at start, handed to every child).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "basic.h"

namespace basic::shell {

class TShellBasic : public TBasic {
 public:
  explicit TShellBasic(Console& console);
  // Runs the command line as a child process; its exit code.
  int32_t ShellCommand(std::string_view commandLine);
};

// The work of one Shell call.
class TExecutor {
 public:
  explicit TExecutor(TShellBasic* basic) : basic_(basic) {}
  virtual ~TExecutor() = default;
  TExecutor(const TExecutor&) = delete;
  TExecutor& operator=(const TExecutor&) = delete;

  virtual void HandleOutput(char* bytes, size_t count);
  virtual bool HandleInput(char& c);
  uint32_t Run(std::string_view commandLine);
  // The interpreter's environment with the COMMON values written in, sorted
  // by name, each entry followed by one NUL.
  std::string BuildEnvironment();

 private:
  TShellBasic* basic_;  // not owned; nullptr: output dropped, no environment
};

// A Shell command line: the program name (up to the first blank, or quoted)
// and everything after the blank or closing quote, unchanged.
struct CommandLineParts {
  std::string program;
  std::string parameters;
};
CommandLineParts SplitCommandLine(std::string_view commandLine);

// Sorts entries lo..hi by their names (the text before the first "="),
// without regard to ASCII letter case.
void SortByName(std::vector<std::string>& list, ptrdiff_t lo, ptrdiff_t hi);

}  // namespace basic::shell
