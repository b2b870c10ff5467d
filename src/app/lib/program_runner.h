// Running BASIC text the way the bound executable does, shared by the stub
// and the developer front end.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "console.h"
#include "statement_observer.h"

namespace basic::app {

struct ConsoleStreams {
  ByteSink& out;
  ByteSource& in;
  ConsoleOptions options;
  // Ctrl-C stops the running program at its next statement with "Break"
  // and the process goes on (the front end). Otherwise Ctrl-C does what the
  // system does by default (a bound stub).
  bool ctrlCBreaks = false;
};

// Standard output and input of this process, with the platform's options.
ConsoleStreams ProcessStreams();

// Receives one message for standard error, without a line end.
using ErrorLineWriter = std::function<void(std::string_view)>;

// Before the system's reason when standard output failed (OutputFailure).
inline constexpr const char* kOutputFailurePrefix = "basic: cannot write output: ";

// Feeds text, then CR LF and RUN, to a fresh interpreter: numbered lines are
// stored, others run at once, and the final RUN starts the program. All
// output has reached streams.out when this returns, also when it throws.
// 0, or 1 when an error was reported on the way (any but the Break of STOP
// or Ctrl-C); a library function that faulted also ends the text there.
// An observer (--trace, --profile) sees every statement of the run.
int RunProgramText(std::string text, const ConsoleStreams& streams,
                   StatementObserver* observer = nullptr);

// The interactive loop: "READY", read a line, handle it, until the input
// ends or BYE.
void RunConsoleLoop(const ConsoleStreams& streams, StatementObserver* observer = nullptr);

// The stub's whole life: reads the program appended to the executable at
// selfPath and runs it. What RunProgramText returns; 1 after reporting why
// the program could not run.
int RunStub(const std::string& selfPath, const ConsoleStreams& streams,
            const ErrorLineWriter& reportError);

}  // namespace basic::app
