// Keyboard input with line editing and history, through libedit's
// readline interface. Linked into `basic` only: a bound stub reads its
// input plainly and needs no library beyond the C++ runtime.
#include <unistd.h>

#include "platform.h"

#if BASIC_HAVE_LIBEDIT

#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>

#include <editline/readline.h>
#include <errno.h>

#include <algorithm>
#include <memory>
#include <string>

#include "../posix_console_input.h"

namespace basic::platform {

namespace {

// The library's own key reader retries a read that a signal cut short; this
// one gives up on Ctrl-C, so readline returns and the interrupt is seen.
extern "C" int ReadKey(FILE*) {
  for (;;) {
    unsigned char c = 0;
    const ssize_t n = ::read(STDIN_FILENO, &c, 1);
    if (n == 1) return c;
    if (n < 0 && errno == EINTR) {
      if (InterruptPending()) return EOF;
      continue;
    }
    return EOF;
  }
}

class EditingInput : public ByteSource {
 public:
  EditingInput() {
    rl_readline_name = "basic";  // the section of ~/.editrc that applies
    // The library's own signal handling stays on: it puts the terminal back
    // for Ctrl-Z and window changes, and passes SIGINT on to ours.
    rl_catch_signals = 1;
    rl_getc_function = ReadKey;
    using_history();
  }

  size_t ReadBytes(char* buffer, size_t capacity) override {
    if (pos_ == line_.size() && !ReadEditedLine()) return 0;
    const size_t n = std::min(capacity, line_.size() - pos_);
    line_.copy(buffer, n, pos_);
    pos_ += n;
    return n;
  }

 private:
  bool ReadEditedLine() {
    if (InterruptPending()) RaiseInterruptedRead("");
    // Text already on the line (an INPUT prompt, say) becomes the editor's
    // prompt, so redrawing the line keeps it and the cursor math is right.
    // A line the terminal has wrapped cannot be redrawn from its start.
    std::string prompt = CurrentOutputLine();
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 &&
        prompt.size() >= size.ws_col)
      prompt.clear();
    if (!prompt.empty()) StandardOutput().WriteBytes("\r", 1);
    std::unique_ptr<char, decltype(&free)> typed(readline(prompt.c_str()), &free);
    if (!typed) {
      if (InterruptPending()) RaiseInterruptedRead("^C");
      StandardOutput().WriteBytes("\n", 1);  // the shell's prompt on its own line
      return false;
    }
    line_ = typed.get();
    if (!line_.empty() && line_ != lastEntry_) {
      add_history(typed.get());
      lastEntry_ = line_;
    }
    line_ += '\n';
    pos_ = 0;
    return true;
  }

  std::string line_;
  size_t pos_ = 0;
  std::string lastEntry_;
};

}  // namespace

ByteSource& InteractiveInput() {
  if (::isatty(STDIN_FILENO) != 1 || ::isatty(STDOUT_FILENO) != 1) return StandardInput();
  static EditingInput input;
  return input;
}

}  // namespace basic::platform

#else  // built without a line-editing library

namespace basic::platform {

ByteSource& InteractiveInput() { return StandardInput(); }

}  // namespace basic::platform

#endif
