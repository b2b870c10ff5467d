// What a development tool (a tracer, a profiler) sees of a run. The core
// only calls these; the tools live outside it, so that a bound program
// carries none of them.
#pragma once

#include <cstdint>

#include "tokens.h"

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

  // The statement that ran last (GOTO, GOSUB, RETURN, NEXT, WEND, ON, IF
  // THEN n, RUN) sent execution elsewhere than the statement after it. Line
  // numbers, 0 for an immediate line: the line jumped from may be gone
  // (RUN "file").
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
// a transfer from falling through.
struct ObservedStatement {
  bool seen = false;  // false: no statement yet in this command
  const ProgramLine* line = nullptr;
  int32_t lineNumber = 0;
  TokenCode code = tcEol;
  // Where execution goes when the statement does not transfer: the token
  // after its end, or the first one of the next line.
  const Token* successor = nullptr;
  const ProgramLine* successorLine = nullptr;
};

}  // namespace basic
