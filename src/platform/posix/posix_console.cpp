// Standard streams on POSIX: raw file descriptors, no stdio buffering in the
// way (the interpreter's Console does its own).
#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform.h"
#include "posix_console_input.h"

namespace basic::platform {

namespace {

// Longest output line a line editor takes over as its prompt.
constexpr size_t kMaxPromptLength = 200;

class FdSink : public ByteSink {
 public:
  // A sink that reportsFailure throws OutputFailure when a write fails, and
  // on every write after that; the other drops what it cannot write, having
  // nowhere left to report it.
  FdSink(int fd, bool reportsFailure) : fd_(fd), reportsFailure_(reportsFailure) {}
  void WriteBytes(const char* bytes, size_t count) override {
    if (failure_ != 0) Fail();
    RememberLineTail(bytes, count);
    while (count > 0) {
      ssize_t n = ::write(fd_, bytes, count);
      if (n < 0) {
        if (errno == EINTR) continue;
        // A closed pipe with SIGPIPE at its default never gets here: the
        // process ends by the signal, as Unix programs do.
        failure_ = errno;
        Fail();
        return;
      }
      bytes += n;
      count -= static_cast<size_t>(n);
    }
  }

  std::string LineTail() const { return tailUsable_ ? tail_ : std::string(); }

 private:
  void RememberLineTail(const char* bytes, size_t count) {
    const char* end = bytes + count;
    const char* lineStart = bytes;
    for (const char* p = end; p != bytes; --p) {
      if (p[-1] == '\n' || p[-1] == '\r') {
        lineStart = p;
        tail_.clear();
        tailUsable_ = true;
        break;
      }
    }
    if (!tailUsable_) return;
    const bool plain = std::all_of(
        lineStart, end, [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7f; });
    if (!plain || tail_.size() + static_cast<size_t>(end - lineStart) > kMaxPromptLength) {
      tailUsable_ = false;
      tail_.clear();
      return;
    }
    tail_.append(lineStart, end);
  }

  void Fail() const {
    if (reportsFailure_) throw OutputFailure(std::strerror(failure_));
  }

  int fd_;
  bool reportsFailure_;
  int failure_ = 0;
  std::string tail_;
  bool tailUsable_ = true;
};

class FdSource : public ByteSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  size_t ReadBytes(char* buffer, size_t capacity) override {
    // A Ctrl-C that came just before the wait counts as one during it.
    if (InterruptPending()) RaiseInterruptedRead("");
    for (;;) {
      ssize_t n = ::read(fd_, buffer, capacity);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) return 0;  // an unreadable input ends like an empty one
      if (InterruptPending()) RaiseInterruptedRead("");
    }
  }

 private:
  int fd_;
};

}  // namespace

void InitConsole() {}

namespace {
FdSink& StandardOutputSink() {
  static FdSink sink(STDOUT_FILENO, true);
  return sink;
}
}  // namespace

ByteSink& StandardOutput() { return StandardOutputSink(); }

std::string CurrentOutputLine() { return StandardOutputSink().LineTail(); }

ByteSource& StandardInput() {
  static FdSource source(STDIN_FILENO);
  return source;
}

ByteSink& StandardError() {
  static FdSink sink(STDERR_FILENO, false);
  return sink;
}

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

void WriteErrorLine(std::string_view message) {
  std::string line(message);
  line += '\n';
  StandardError().WriteBytes(line.data(), line.size());
}

ConsoleOptions DefaultConsoleOptions() {
  ConsoleOptions options;
  options.flushEachItem = StandardOutputIsTerminal();
  options.lfEndsLine = true;
  options.lineEnd = "\n";
  return options;
}

}  // namespace basic::platform
