// Every call to the operating system goes through this interface; it is
// implemented once for POSIX (posix/) and once for Win32 (win32/). The
// interpreter core never includes a system header.
#pragma once

#include <csignal>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console.h"
#include "external_code.h"
#include "file_system.h"

namespace basic::platform {

// Standard output in binary mode (no newline translation) and standard input
// as raw bytes. Call once at start.
void InitConsole();
ByteSink& StandardOutput();
ByteSource& StandardInput();
ByteSink& StandardError();
bool StandardOutputIsTerminal();
// A message and the platform's own line end on standard error, at once.
void WriteErrorLine(std::string_view message);
// Options for the interpreter's Console on this platform.
ConsoleOptions DefaultConsoleOptions();

// Standard input for a person at the keyboard: when standard input and
// output are both terminals and the build has a line-editing library, lines
// are read with editing and an in-memory history; otherwise this is
// StandardInput(). Each read returns one whole line with its LF.
ByteSource& InteractiveInput();

// While one of these lives, Ctrl-C (SIGINT; on Windows the console's Ctrl-C
// and Ctrl-Break) sets `flag` to 1 instead of ending the process. A second
// Ctrl-C while the first is still untaken ends the process as usual, so a
// program stuck inside one statement can still be stopped. A read from
// standard input that Ctrl-C interrupts takes the flag and raises the
// error "Break" (code -20). One at a time.
class InterruptCatcher {
 public:
  explicit InterruptCatcher(volatile std::sig_atomic_t& flag);
  ~InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
};

// The path of the running executable, as the system reports it.
std::string ExecutablePath();

// A file opened read-only, sharing read access. Each failing operation throws
// RuntimeFault ("Cannot open file <path>" for Open, "Stream read error" for a
// short read or a failed seek).
class ReadOnlyFile {
 public:
  static std::unique_ptr<ReadOnlyFile> Open(const std::string& path);
  virtual ~ReadOnlyFile() = default;
  virtual uint64_t Size() = 0;
  virtual void Seek(uint64_t offset) = 0;
  virtual uint64_t Position() = 0;
  // Reads exactly count bytes or throws "Stream read error".
  virtual void ReadExact(void* buffer, size_t count) = 0;
};

// Program files for LOAD, MERGE, SAVE and RUN "file", by name relative to the
// working directory. One instance for the process.
FileSystem& ProgramFiles();

// Whole-file helpers for the front end. ReadWholeFile returns nullopt and
// sets errorText when the file cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& errorText);
// Writes bytes to path (created or replaced); executable sets the run bit
// where the platform has one. False and errorText on failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes, bool executable,
                    std::string& errorText);
// True when both names reach one existing file, however spelled or linked.
bool IsSameFile(const std::string& a, const std::string& b);

// --- Library functions (DECLARE) -------------------------------------------
// The system's library loader and its calling convention for library
// functions. One instance for the process.
ExternalCode& NativeLibraries();

// --- Child processes (the Shell command) -----------------------------------
// The process environment as name=value entries, in the system's order.
std::vector<std::string> ReadEnvironment();

// Finds a program file as the system's search rules do: Win32 SearchPathA
// with the default extension ".EXE"; POSIX: the PATH directories, unless the
// name contains "/". nullopt when nothing is found.
std::optional<std::string> FindProgram(const std::string& name);

// What the child process runner starts.
struct ChildCommand {
  std::string commandLine;             // Win32: the whole command line
  std::string file;                    // POSIX: the file to execute
  std::vector<std::string> arguments;  // POSIX: argv, the program name first
  // name=value entries, each followed by one NUL; empty: the child inherits
  // this process's environment.
  std::string environmentBlock;
};

// A started child with its standard output and input on pipes and its
// standard error discarded. Destroying it closes this side's handles; a child
// that still runs is left running until this process ends, which ends it too
// (Linux: the child's death signal; Windows: a job object that kills on close).
class ChildProcess {
 public:
  // Raises RuntimeFault with the system's message when the child cannot start.
  static std::unique_ptr<ChildProcess> Start(const ChildCommand& command);
  virtual ~ChildProcess() = default;
  // The child's input reaches its end: it reads end of file.
  virtual void CloseInput() = 0;
  // A character the child no longer reads (its input closed, or it ended)
  // is dropped, as are all after it.
  virtual void WriteInput(char c) = 0;
  // Bytes the child wrote: > 0 read into buffer; 0 when none arrived within
  // about a millisecond; -1 when its output is closed and empty.
  virtual int ReadOutput(char* buffer, size_t capacity) = 0;
  virtual bool Exited() = 0;
  // Passes Ctrl-C on to the child: POSIX: SIGINT to its process group;
  // Windows: a console Ctrl-Break, which only a child with a console gets.
  // False when it could not be delivered.
  virtual bool SendInterrupt() = 0;
  // Ends the child at once (POSIX: its whole process group) and reaps it.
  virtual void Kill() = 0;
  // Waits at most timeoutMs for the end: the exit code (POSIX: 128 + the
  // signal for a child killed by one), or 259 (still active).
  virtual uint32_t WaitExitCode(uint32_t timeoutMs) = 0;
};

// Win32: a child's output from the OEM to the ANSI code page, in place.
// Elsewhere bytes pass unchanged.
void ConvertChildOutput(char* bytes, size_t count);

}  // namespace basic::platform
