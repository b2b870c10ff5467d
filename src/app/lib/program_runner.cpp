#include "program_runner.h"

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "appended_program.h"
#include "basic.h"
#include "errors.h"
#include "platform.h"
#include "program_store.h"
#include "shell_basic.h"

namespace basic::app {

namespace {

// Output still buffered must reach the sink on every way out.
class FlushOnExit {
 public:
  explicit FlushOnExit(Console& console) : console_(console) {}
  ~FlushOnExit() {
    try {
      console_.Flush();
    } catch (...) {  // a destructor must not throw; the output is lost anyway
    }
  }
  FlushOnExit(const FlushOnExit&) = delete;
  FlushOnExit& operator=(const FlushOnExit&) = delete;

 private:
  Console& console_;
};

// One interpreter wired to the process: files, libraries, and Ctrl-C when
// asked. Members are torn down in reverse: Ctrl-C is given back first, then
// the output is flushed while the interpreter still exists.
class Session {
 public:
  Session(const ConsoleStreams& streams, StatementObserver* observer)
      : console_(streams.out, streams.in, streams.options),
        interpreter_(console_),
        flush_(console_) {
    interpreter_.SetFileSystem(platform::ProgramFiles());
    interpreter_.SetExternalCode(platform::NativeLibraries());
    if (streams.ctrlCBreaks) ctrlC_.emplace(interpreter_.BreakFlag());
    if (observer != nullptr) interpreter_.SetStatementObserver(observer);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  shell::TShellBasic& interpreter() { return interpreter_; }

 private:
  Console console_;
  shell::TShellBasic interpreter_;
  FlushOnExit flush_;
  std::optional<platform::InterruptCatcher> ctrlC_;
};

}  // namespace

ConsoleStreams ProcessStreams() {
  return {platform::StandardOutput(), platform::StandardInput(), platform::DefaultConsoleOptions()};
}

int RunProgramText(std::string text, const ConsoleStreams& streams, StatementObserver* observer) {
  Session session(streams, observer);
  // Appended in place: a long program is held once, not copied again.
  text.reserve(text.size() + 5);
  text += "\r\nRUN";
  session.interpreter().ProcessText(text);
  return session.interpreter().ErrorReported() ? 1 : 0;
}

void RunConsoleLoop(const ConsoleStreams& streams, StatementObserver* observer) {
  Session session(streams, observer);
  session.interpreter().RunConsole();
}

int RunStub(const std::string& selfPath, const ConsoleStreams& streams,
            const ErrorLineWriter& reportError) {
  try {
    std::string text;
    {
      auto self = platform::ReadOnlyFile::Open(selfPath);
      text = ReadAppendedProgram(*self, kOwnImageFormat);
    }
    // --bind leaves the mark out; a program appended otherwise may carry it.
    text.erase(0, text.size() - WithoutByteOrderMark(text).size());
    return RunProgramText(std::move(text), streams);
  } catch (const OutputFailure& e) {
    reportError(std::string(kOutputFailurePrefix) + e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    reportError(msg::kOutOfMemory);
    return 1;
  } catch (const std::exception& e) {
    reportError(e.what());
    return 1;
  }
}

}  // namespace basic::app
