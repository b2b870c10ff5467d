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

#include "errors.h"
#include "platform.h"
#include "win32_error_text.h"

namespace basic::platform {

namespace {

bool IsUsable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

// Set by the InterruptCatcher that lives; written by the control handler,
// which the system runs on a thread of its own.
volatile std::sig_atomic_t* catchingFlag = nullptr;

BOOL WINAPI OnControlEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  volatile std::sig_atomic_t* flag = catchingFlag;
  // Not caught, or the first request was never taken (the program is stuck
  // inside one statement): the default handler ends the process.
  if (flag == nullptr || *flag != 0) return FALSE;
  *flag = 1;
  return TRUE;
}

bool TakeInterrupt() {
  volatile std::sig_atomic_t* flag = catchingFlag;
  if (flag == nullptr || *flag == 0) return false;
  *flag = 0;
  return true;
}

[[noreturn]] void RaiseInterruptedRead() {
  TakeInterrupt();
  RaiseError(kBreakCode, msg::kBreak);
}

// Ctrl-C ends a console read with no bytes before the handler thread has
// run; an empty read is only an end of input if no Ctrl-C follows soon.
bool InterruptArrives() {
  if (catchingFlag == nullptr) return false;
  for (int waited = 0; waited < 500; waited += 10) {
    if (*catchingFlag != 0) return true;
    Sleep(10);
  }
  return *catchingFlag != 0;
}

std::string ErrorText(DWORD error) {
  std::string text = SystemErrorText(error);
  return text.empty() ? "error " + std::to_string(error) : text;
}

class HandleSink : public ByteSink {
 public:
  // A sink that reportsFailure throws OutputFailure when a write fails, and
  // on every write after that; the other drops what it cannot write. A
  // process started without the handle at all writes nowhere, as always.
  HandleSink(DWORD which, bool reportsFailure) : which_(which), reportsFailure_(reportsFailure) {}
  void WriteBytes(const char* bytes, size_t count) override {
    if (failure_ != 0) Fail();
    HANDLE h = GetStdHandle(which_);
    if (!IsUsable(h)) return;
    while (count > 0) {
      // Consoles refuse very large single writes.
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, 32768));
      DWORD written = 0;
      if (!WriteFile(h, bytes, chunk, &written, nullptr) || written == 0) {
        failure_ =
            written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : GetLastError();
        Fail();
        return;
      }
      bytes += written;
      count -= written;
    }
  }

 private:
  void Fail() const {
    if (reportsFailure_) throw OutputFailure(ErrorText(failure_));
  }

  DWORD which_;
  bool reportsFailure_;
  DWORD failure_ = 0;
};

class HandleSource : public ByteSource {
 public:
  size_t ReadBytes(char* buffer, size_t capacity) override {
    HANDLE h = GetStdHandle(STD_INPUT_HANDLE);
    if (!IsUsable(h)) return 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(capacity, 65536));
    DWORD got = 0;
    // A Ctrl-C that came just before the wait counts as one during it.
    if (TakeInterrupt()) RaiseInterruptedRead();
    // A closed pipe or any other failure ends the input like an empty one.
    const BOOL read = ReadFile(h, buffer, chunk, &got, nullptr);
    DWORD mode = 0;
    if ((!read || got == 0) && GetConsoleMode(h, &mode) != 0 && InterruptArrives())
      RaiseInterruptedRead();
    return read ? got : 0;
  }
};

}  // namespace

void InitConsole() {
  // Anything that still goes through the CRT must not translate either.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
}

ByteSink& StandardOutput() {
  static HandleSink sink(STD_OUTPUT_HANDLE, true);
  return sink;
}

ByteSource& StandardInput() {
  static HandleSource source;
  return source;
}

ByteSink& StandardError() {
  static HandleSink sink(STD_ERROR_HANDLE, false);
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

// The Windows console edits lines and keeps their history itself.
ByteSource& InteractiveInput() { return StandardInput(); }

InterruptCatcher::InterruptCatcher(volatile std::sig_atomic_t& flag) {
  catchingFlag = &flag;
  SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

InterruptCatcher::~InterruptCatcher() {
  SetConsoleCtrlHandler(OnControlEvent, FALSE);
  catchingFlag = nullptr;
}

ConsoleOptions DefaultConsoleOptions() {
  ConsoleOptions options;
  options.flushEachItem = StandardOutputIsTerminal();
  options.lfEndsLine = false;
  options.lineEnd = "\r\n";
  return options;
}

}  // namespace basic::platform
