// Every call to the operating system goes through this interface; it is
// implemented once for POSIX (posix/) and once for Win32 (win32/). The
// interpreter core never includes a system header.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console.h"
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

// The path of the running executable, as the system reports it.
std::string ExecutablePath();

// A file opened read-only, sharing read access. Each failing operation throws
// ERuntime ("Cannot open file <path>" for Open, "Stream read error" for a
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

}  // namespace basic::platform
