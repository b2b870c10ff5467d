// `basic --profile`: where a run spent its time, line by line, reported on
// standard error when the run ends (or as a page, profile_page.h).
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

using ProfileClock = std::chrono::steady_clock;

struct ProfiledLine {
  int32_t number = 0;
  uint64_t runs = 0;        // times the line was entered
  uint64_t statements = 0;  // statements of it that ran
  ProfileClock::duration time{};
  std::string text;  // as LIST shows it
};

struct ProfileSummary {
  // In line number order.
  std::vector<ProfiledLine> lines;
  ProfileClock::duration total{};      // the lines' and the immediate lines'
  ProfileClock::duration immediate{};  // spent in immediate lines
  uint64_t statements = 0;
};

// One number through a printf format of one conversion ("%.1f%%").
std::string Fixed(const char* format, double value);

// "N statements in S s, R statements per second".
std::string TotalsText(uint64_t statements, ProfileClock::duration total);

// part as a percentage of total; 0 when no time was measured at all.
double PercentOf(ProfileClock::duration part, ProfileClock::duration total);

class LineProfiler : public StatementObserver {
 public:
  using Clock = ProfileClock;

  // keepListing: each command's end takes the text of every stored line,
  // so that Summary() holds the lines that never ran too.
  explicit LineProfiler(bool keepListing = false) : keepListing_(keepListing) {}

  void Attached(TBasic& basic) override { basic_ = &basic; }
  void OnStatement(const ProgramLine* line, bool entersLine) override;
  void OnJump(int32_t, int32_t) override {}
  void OnPause(Pause why) override;

  // The report: the lines that took the most time first, at most kTopLines
  // of them, then the totals. Each line ends in lineEnd.
  std::string Report(std::string_view lineEnd);
  static constexpr size_t kTopLines = 20;

  // Every line that ran and, with keepListing, every line stored when the
  // last command ended. A line that ran and was deleted since keeps the
  // text it had when it first ran.
  ProfileSummary Summary();

 private:
  static constexpr size_t kNoLine = SIZE_MAX;

  size_t IndexOf(const ProgramLine& line);
  // The time since the last statement began goes to that statement's line.
  void Charge(Clock::time_point now);
  void StopTiming();
  Clock::duration Total() const;
  void TakeListing();

  const TBasic* basic_ = nullptr;
  bool keepListing_;
  std::vector<ProfiledLine> lines_;
  std::unordered_map<int32_t, size_t> indexByNumber_;
  std::vector<ProfiledLine> listing_;  // numbers and texts only
  size_t current_ = kNoLine;           // in lines_; kNoLine in an immediate line
  bool timing_ = false;                // a statement is running: its time counts
  Clock::time_point started_{};
  Clock::duration immediateTime_{};
  uint64_t statements_ = 0;
};

}  // namespace basic::devtools
