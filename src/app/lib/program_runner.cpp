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

}  // namespace

ConsoleStreams ProcessStreams() {
  return {platform::StandardOutput(), platform::StandardInput(), platform::DefaultConsoleOptions()};
}

int RunProgramText(std::string text, const ConsoleStreams& streams) {
  Console console(streams.out, streams.in, streams.options);
  shell::TShellBasic interpreter(console);
  interpreter.SetFileSystem(platform::ProgramFiles());
  interpreter.SetExternalCode(platform::NativeLibraries());
  FlushOnExit flush(console);
  std::optional<platform::InterruptCatcher> ctrlC;
  if (streams.ctrlCBreaks) ctrlC.emplace(interpreter.breakRequested);
  // Appended in place: a long program is held once, not copied again.
  text.reserve(text.size() + 5);
  text += "\r\nRUN";
  interpreter.ProcessText(text);
  return interpreter.errorReported ? 1 : 0;
}

void RunConsoleLoop(const ConsoleStreams& streams) {
  Console console(streams.out, streams.in, streams.options);
  shell::TShellBasic interpreter(console);
  interpreter.SetFileSystem(platform::ProgramFiles());
  interpreter.SetExternalCode(platform::NativeLibraries());
  FlushOnExit flush(console);
  std::optional<platform::InterruptCatcher> ctrlC;
  if (streams.ctrlCBreaks) ctrlC.emplace(interpreter.breakRequested);
  interpreter.RunConsole();
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
