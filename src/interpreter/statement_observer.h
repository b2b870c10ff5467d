// What a development tool (a tracer, a profiler) sees of a run. The core
// only calls these; the tools live outside it, so that a bound program
// carries none of them.
#pragma once

#include <cstdint>

namespace basic {

class TBasic;
struct ProgramLine;

class StatementObserver {
 public:
  virtual ~StatementObserver() = default;

  // Once, when the observer is installed: the interpreter it watches, for
  // the text of its lines (TBasic::ListTokens) and its console.
  virtual void Attached(TBasic& basic) = 0;

  // A statement is about to run. line: its stored line, null in an
  // immediate line. entersLine: it starts the line, or the statement before
  // it was on another line.
  virtual void OnStatement(const ProgramLine* line, bool entersLine) = 0;

  // The statement that ran last sent execution elsewhere than the statement
  // after it: a jump (GOTO, GOSUB, RETURN, ON, IF THEN n, ELSE n, NEXT or
  // WEND looping back, RUN), or FOR or WHILE passing over their body.
  // toLine is the line of the statement that runs next. Line numbers, 0 for
  // an immediate line: the line jumped from may be gone (RUN "file").
  virtual void OnJump(int32_t fromLine, int32_t toLine) = 0;

  enum class Pause {
    kInput,        // INPUT is about to wait for a line
    kError,        // an error report is about to be written
    kCommandDone,  // the command line (and any run it started) has ended
  };
  // Whatever the tool holds back must be seen now.
  virtual void OnPause(Pause why) = 0;
};

// Where the statement loop was last, so that the next statement can tell
// whether it enters a line and where a transfer came from. Only numbers: a
// statement may replace or delete the very lines it ran from.
struct ObservedStatement {
  bool seen = false;  // false: no statement yet in this command
  // Set by the handler of the statement that ran last when it sent
  // execution elsewhere; the next statement reports the transfer.
  bool transferred = false;
  int32_t lineNumber = 0;  // 0: an immediate line
};

}  // namespace basic
