// Standard streams on Win32: the raw handles, written and read with
// WriteFile/ReadFile, so no CRT translates line ends (the interpreter writes
// CR LF itself).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <algorithm>

#include "platform.h"

namespace basic::platform {

namespace {

bool IsUsable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

class HandleSink : public ByteSink {
 public:
  explicit HandleSink(DWORD which) : which_(which) {}
  void WriteBytes(const char* bytes, size_t count) override {
    HANDLE h = GetStdHandle(which_);
    if (!IsUsable(h)) return;
    while (count > 0) {
      // Consoles refuse very large single writes.
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, 32768));
      DWORD written = 0;
      if (!WriteFile(h, bytes, chunk, &written, nullptr) || written == 0) return;
      bytes += written;
      count -= written;
    }
  }

 private:
  DWORD which_;
};

class HandleSource : public ByteSource {
 public:
  size_t ReadBytes(char* buffer, size_t capacity) override {
    HANDLE h = GetStdHandle(STD_INPUT_HANDLE);
    if (!IsUsable(h)) return 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(capacity, 65536));
    DWORD got = 0;
    // A closed pipe or any other failure ends the input like an empty one.
    if (!ReadFile(h, buffer, chunk, &got, nullptr)) return 0;
    return got;
  }
};

}  // namespace

void InitConsole() {
  // Anything that still goes through the CRT must not translate either.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
}

ByteSink& StandardOutput() {
  static HandleSink sink(STD_OUTPUT_HANDLE);
  return sink;
}

ByteSource& StandardInput() {
  static HandleSource source;
  return source;
}

ByteSink& StandardError() {
  static HandleSink sink(STD_ERROR_HANDLE);
  return sink;
}

bool StandardOutputIsTerminal() {
  DWORD mode = 0;
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  return IsUsable(h) && GetConsoleMode(h, &mode) != 0;
}

void WriteErrorLine(std::string_view message) {
  std::string line(message);
  line += "\r\n";
  StandardError().WriteBytes(line.data(), line.size());
}

ConsoleOptions DefaultConsoleOptions() {
  ConsoleOptions options;
  options.flushEachItem = StandardOutputIsTerminal();
  options.lfEndsLine = false;
  return options;
}

}  // namespace basic::platform
