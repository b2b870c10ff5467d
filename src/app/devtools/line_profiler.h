// `basic --profile`: where a run spent its time, line by line, reported on
// standard error when the run ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "console.h"
#include "statement_observer.h"

namespace basic::devtools {

class LineProfiler : public StatementObserver {
 public:
  using Clock = std::chrono::steady_clock;

  void Attached(TBasic& basic) override { basic_ = &basic; }
  void OnStatement(const ProgramLine* line, bool entersLine) override;
  void OnJump(int32_t, int32_t) override {}
  void OnPause(Pause why) override;

  // The report: the lines that took the most time first, at most kTopLines
  // of them, then the totals. Each line ends in lineEnd.
  std::string Report(std::string_view lineEnd);
  static constexpr size_t kTopLines = 20;

 private:
  struct LineStats {
    int32_t number = 0;
    uint64_t runs = 0;        // times the line was entered
    uint64_t statements = 0;  // statements of it that ran
    Clock::duration time{};
    std::string text;  // as LIST shows it, taken when the line first ran
  };
  static constexpr size_t kNoLine = SIZE_MAX;

  size_t IndexOf(const ProgramLine& line);
  // The time since the last statement began goes to that statement's line.
  void Charge(Clock::time_point now);

  const TBasic* basic_ = nullptr;
  std::vector<LineStats> lines_;
  std::unordered_map<int32_t, size_t> indexByNumber_;
  const ProgramLine* currentLine_ = nullptr;
  size_t current_ = kNoLine;  // in lines_; kNoLine in an immediate line
  bool timing_ = false;       // a statement is running: its time counts
  Clock::time_point started_{};
  Clock::duration immediateTime_{};
  uint64_t statements_ = 0;
};

}  // namespace basic::devtools
