// Standard streams on POSIX: raw file descriptors, no stdio buffering in the
// way (the interpreter's Console does its own).
#include <errno.h>
#include <unistd.h>

#include "platform.h"

namespace basic::platform {

namespace {

class FdSink : public ByteSink {
 public:
  explicit FdSink(int fd) : fd_(fd) {}
  void WriteBytes(const char* bytes, size_t count) override {
    while (count > 0) {
      ssize_t n = ::write(fd_, bytes, count);
      if (n < 0) {
        if (errno == EINTR) continue;
        return;  // nowhere left to report it; the reader has gone
      }
      bytes += n;
      count -= static_cast<size_t>(n);
    }
  }

 private:
  int fd_;
};

class FdSource : public ByteSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  size_t ReadBytes(char* buffer, size_t capacity) override {
    for (;;) {
      ssize_t n = ::read(fd_, buffer, capacity);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) return 0;  // an unreadable input ends like an empty one
    }
  }

 private:
  int fd_;
};

}  // namespace

void InitConsole() {}

ByteSink& StandardOutput() {
  static FdSink sink(STDOUT_FILENO);
  return sink;
}

ByteSource& StandardInput() {
  static FdSource source(STDIN_FILENO);
  return source;
}

ByteSink& StandardError() {
  static FdSink sink(STDERR_FILENO);
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
  return options;
}

}  // namespace basic::platform
