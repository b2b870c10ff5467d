// `basic --trace`: the classic TRON listing of a run on standard error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console.h"
#include "statement_observer.h"

namespace basic::devtools {

class StatementTracer : public StatementObserver {
 public:
  enum class Mode {
    kLines,  // [N] for each stored line that starts running
    kJumps,  // [FROM->TO] for each transfer of control
  };
  // writeAtOnce: each item goes out as it is made, so that it keeps its
  // place among the program's own output on a terminal. Otherwise items are
  // gathered and written at every pause (and when many are waiting).
  StatementTracer(ByteSink& out, std::string_view lineEnd, Mode mode, bool writeAtOnce);
  ~StatementTracer() override;
  StatementTracer(const StatementTracer&) = delete;
  StatementTracer& operator=(const StatementTracer&) = delete;

  void Attached(TBasic& basic) override;
  void OnStatement(const ProgramLine* line, bool entersLine) override;
  void OnJump(int32_t fromLine, int32_t toLine) override;
  void OnPause(Pause why) override;

  // Items are wrapped so that no trace line passes this column.
  static constexpr size_t kWidth = 79;

 private:
  void Put(std::string_view item);
  void EndLine();
  void Flush();

  ByteSink& out_;
  Console* programOutput_ = nullptr;  // the watched interpreter's
  std::string lineEnd_;
  Mode mode_;
  bool writeAtOnce_;
  std::string pending_;
  size_t column_ = 0;
};

}  // namespace basic::devtools
