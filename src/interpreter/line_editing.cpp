// DEL and RENUM: the two statements that edit the stored program as a whole.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "basic.h"
#include "errors.h"
#include "numeric.h"

namespace basic {

namespace {

constexpr int64_t kHighestLine = std::numeric_limits<int32_t>::max();

// Keywords whose following numbers (and the numbers of a list after a ",")
// are line references.
bool TakesLineNumbers(TokenCode code) {
  switch (code) {
    case tcGoto:
    case tcGosub:
    case tcRestore:
    case tcList:
    case tcRun:
    case tcDel:
    case tcThen:
    case tcElse: return true;
    default: return false;
  }
}

// The line a reference number names, looked up as GOTO looks it up, or
// nullptr; `shown` is the number as an "Undefined line" notice gives it.
ProgramLine* ReferencedLine(const Program& program, double value, std::string& shown) {
  // Beyond the 64-bit range nothing can match, and rounding would raise.
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(value >= -kTwoTo63 && value < kTwoTo63)) {
    shown = FormatNumber(value);
    if (!shown.empty() && shown.front() == ' ') shown.erase(0, 1);
    return nullptr;
  }
  const int64_t k = RoundToInt64(value);
  shown = std::to_string(k);
  return program.Find(Low32(k));
}

}  // namespace

void TBasic::ExecDel(StatementContext&) {
  if (AtStatementEnd()) SyntaxError();
  for (;;) {
    if (PeekCode() != tcNumber && PeekCode() != tcMinus) SyntaxError();
    const auto [low, high] = ReadLineRange();

    // Collected first, so nothing is freed while the list is walked and no
    // failure can leave the range half deleted.
    std::vector<ProgramLine*> doomed;
    for (ProgramLine& line : program.Lines(low, high)) doomed.push_back(&line);
    if (!doomed.empty()) {
      // Frames and the DATA pointer may point into any of these lines.
      for (ProgramLine* line : doomed) {
        if (line == currentLine) StopExecution();  // nextToken is in this line
      }
      ClearControlStack();
      ResetDataPointer();
      // From the end: the store's index then shrinks at its tail.
      for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) program.Remove(*it);
    }

    if (AtStatementEnd()) return;
    ExpectToken(tcComma);
    if (AtStatementEnd()) return;
  }
}

void TBasic::ExecRenum(StatementContext&) {
  int64_t start = 10;
  int64_t step = 10;
  if (!AtStatementEnd()) {
    start = EvalInteger();
    if (!AtStatementEnd()) {
      ExpectToken(tcComma);
      step = EvalInteger();
    }
  }
  // Numbers that would leave the line range or break the ascending order
  // are refused before anything changes.
  if (start < 1 || step < 1 || start > kHighestLine) SyntaxError();
  int64_t count = 0;
  for ([[maybe_unused]] const ProgramLine& line : program) ++count;
  if (count == 0) return;
  if (count > 1 && step > (kHighestLine - start) / (count - 1)) SyntaxError();

  int64_t number = start;
  for (ProgramLine& line : program) {
    line.NewLineNo = static_cast<int32_t>(number);
    number += step;
  }

  // Every rewrite and notice is worked out while the old numbers still hold;
  // applying them then cannot fail half way.
  struct Rewrite {
    Token* token;
    int32_t newNumber;
  };
  std::vector<Rewrite> rewrites;
  std::vector<std::string> notices;
  for (ProgramLine& line : program) {
    for (Token* t = line.Tokens.begin(); !AtEol(t); ++t) {
      if (!TakesLineNumbers(t->code)) continue;
      while (t[1].code == tcNumber) {
        Token* n = t + 1;
        std::string shown;
        if (ProgramLine* target = ReferencedLine(program, n->number, shown)) {
          rewrites.push_back({n, target->NewLineNo});
        } else {
          notices.push_back("Undefined line " + shown + " in line " +
                            std::to_string(line.NewLineNo));
        }
        t = n[1].code == tcComma ? n + 1 : n;
      }
    }
  }

  for (const Rewrite& r : rewrites) r.token->number = r.newNumber;
  expressions_.TokensRewritten();
  for (ProgramLine& line : program) line.LineNo = line.NewLineNo;
  program.Renumbered();
  for (const std::string& notice : notices) {
    console().Write(notice);
    console().NewLine();
  }
}

}  // namespace basic
