// A stored line compiled for running: one record per statement, made the
// first time the line runs, each naming the routine that runs it and the
// statement that follows it. Keywords, separators, jump targets and
// variables are worked out once; values still come from the expression
// translations (expression_cache.h), so they are computed by the same
// checked operations.
//
// The commonest statements have routines of their own: numeric
// assignments to scalars and elements, IF, ELSE, GOTO n, GOSUB n, ON, RETURN,
// FOR, NEXT, WHILE and WEND, each when its parts are in the forms that
// matter (translated expressions, literal line numbers). Every other
// statement runs through its handler, exactly as the statement loop runs
// it, and the statement after it is looked up where the handler left the
// cursor. A line's code is used only while its stamp equals the current one
// (TBasic::CodeStamp), which grows whenever lines, tokens or the shape of a
// variable may have changed.
#pragma once

#include <cstdint>
#include <deque>

namespace basic {

class TBasic;
struct ProgramLine;
struct Token;
struct varrec;
struct CompiledStatement;

// Runs one statement; returns the next one to run, or nullptr when the
// compiled run ends (TBasic::RunCompiled says why).
using StatementRunner = const CompiledStatement* (*)(TBasic&, const CompiledStatement&);

// A line's first record as found last time: a jump or a line's end costs
// no lookup. A record is reached only while its line's code is current
// (every way in checks a stamp: LineStart, a frame's codeStamp), and its
// links are set no earlier than it was made, so a link that is set is as
// current as the record that holds it.
struct LineLink {
  const CompiledStatement* first = nullptr;
};

// The fields are in the order of use: the first cache line holds what the
// commonest routines read (assignments, jumps, IF, NEXT), the second what
// a statement that ends its line and the rarer routines read.
struct alignas(64) CompiledStatement {
  StatementRunner run = nullptr;
  // The statement after the colon or ELSE that ends this one; nullptr when
  // the line ends there. IF's THEN branch. For a statement run by its
  // handler, which decides what follows, the one that followed it last time.
  mutable const CompiledStatement* next = nullptr;
  double* value = nullptr;  // an assignment's or FOR's variable
  // A value or condition of one binary operation, run in place; FOR's lone
  // first value and limit, read in place.
  const double* left = nullptr;
  const double* right = nullptr;
  varrec* variable = nullptr;     // the array assigned to; NEXT's, FOR's variable
  ProgramLine* target = nullptr;  // a jump's line; IF's THEN n
  mutable LineLink jump;          // target's first record

  ProgramLine* line = nullptr;
  mutable LineLink lineAfter;                    // the next line's first record
  const CompiledStatement* otherwise = nullptr;  // IF's ELSE branch; ON's entries
  ProgramLine* otherTarget = nullptr;            // IF's ELSE n
  Token* start = nullptr;                        // the statement's first token
  // FOR, WHILE, READ: the token after the statement; ON: its first line number
  Token* end = nullptr;
  // Translations (ExpressionCache::At), 0 for none: the value or condition,
  // an element assignment's target, FOR's limit and step.
  uint16_t expression = 0;
  uint16_t reference = 0;
  uint16_t limit = 0;
  uint16_t step = 0;
  uint16_t entries = 0;  // ON's line numbers, from `end` on
};
static_assert(sizeof(CompiledStatement) == 128, "two cache lines");

struct LineCode {
  uint64_t stamp = 0;
  // The line's first statement first, then the others in the order they
  // were first reached. A deque: statements added later never move the
  // ones that point at each other.
  std::deque<CompiledStatement> statements;
};

}  // namespace basic
