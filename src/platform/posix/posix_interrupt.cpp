// Ctrl-C as a request to stop the running BASIC program rather than the
// process: SIGINT sets the interpreter's flag, and the statement loop acts
// on it at the start of the next statement.
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "errors.h"
#include "platform.h"
#include "posix_console_input.h"

namespace basic::platform {

namespace {

volatile std::sig_atomic_t* catchingFlag = nullptr;
struct sigaction previousAction;

extern "C" void OnInterrupt(int) {
  volatile std::sig_atomic_t* flag = catchingFlag;
  if (flag == nullptr) return;
  if (*flag != 0) {
    // The first request was never taken: the program is stuck inside one
    // statement (a library call, say). Let this one end the process.
    signal(SIGINT, SIG_DFL);
    raise(SIGINT);
    return;
  }
  *flag = 1;
}

}  // namespace

InterruptCatcher::InterruptCatcher(volatile std::sig_atomic_t& flag) {
  catchingFlag = &flag;
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read waiting for the keyboard must come back so that
  // Ctrl-C can end it.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, &previousAction);
}

InterruptCatcher::~InterruptCatcher() {
  sigaction(SIGINT, &previousAction, nullptr);
  catchingFlag = nullptr;
}

bool InterruptPending() { return catchingFlag != nullptr && *catchingFlag != 0; }

bool TakeInterrupt() {
  if (!InterruptPending()) return false;
  *catchingFlag = 0;
  return true;
}

void RaiseInterruptedRead(const char* echo) {
  TakeInterrupt();
  if (::isatty(STDOUT_FILENO) == 1) {
    std::string text = echo;
    text += '\n';
    StandardOutput().WriteBytes(text.data(), text.size());
  }
  RaiseError(kBreakCode, msg::kBreak);
}

void BreakIfInterrupted() {
  if (InterruptPending()) RaiseInterruptedRead("");
}

}  // namespace basic::platform
