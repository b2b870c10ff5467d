#include "line_profiler.h"

#include <algorithm>
#include <cstdio>

#include "basic.h"

namespace basic::devtools {

void LineProfiler::Charge(Clock::time_point now) {
  if (!timing_) return;
  const Clock::duration spent = now - started_;
  if (current_ == kNoLine)
    immediateTime_ += spent;
  else
    lines_[current_].time += spent;
}

void LineProfiler::OnStatement(const ProgramLine* line, bool entersLine) {
  const Clock::time_point now = Clock::now();
  Charge(now);
  timing_ = true;
  started_ = now;
  ++statements_;
  if (line == nullptr) {
    current_ = kNoLine;
    return;
  }
  // By number: the line record may be gone (DEL, MERGE, RUN "file") and
  // another one in its place.
  if (current_ == kNoLine || lines_[current_].number != line->LineNo) current_ = IndexOf(*line);
  ProfiledLine& stats = lines_[current_];
  ++stats.statements;
  if (entersLine) ++stats.runs;
}

void LineProfiler::OnPause(Pause why) {
  // Time at READY, waiting for the next command, belongs to no line.
  if (why != Pause::kCommandDone) return;
  StopTiming();
  if (keepListing_) TakeListing();
}

void LineProfiler::StopTiming() {
  Charge(Clock::now());
  timing_ = false;
}

// The interpreter, and its program with it, is gone by the time the page
// is written.
void LineProfiler::TakeListing() {
  listing_.clear();
  if (basic_ == nullptr) return;
  for (const ProgramLine* line = basic_->FirstLine(); line != nullptr; line = line->Next) {
    ProfiledLine& entry = listing_.emplace_back();
    entry.number = line->LineNo;
    basic_->ListTokens(line->Tokens.begin(), entry.text);
  }
}

LineProfiler::Clock::duration LineProfiler::Total() const {
  Clock::duration total = immediateTime_;
  for (const ProfiledLine& stats : lines_) total += stats.time;
  return total;
}

ProfileSummary LineProfiler::Summary() {
  StopTiming();
  ProfileSummary summary;
  summary.total = Total();
  summary.immediate = immediateTime_;
  summary.statements = statements_;
  summary.lines = lines_;
  for (const ProfiledLine& listed : listing_) {
    const auto ran = indexByNumber_.find(listed.number);
    if (ran == indexByNumber_.end())
      summary.lines.push_back(listed);
    else
      summary.lines[ran->second].text = listed.text;  // as it stands now
  }
  std::sort(summary.lines.begin(), summary.lines.end(),
            [](const ProfiledLine& a, const ProfiledLine& b) { return a.number < b.number; });
  return summary;
}

double PercentOf(ProfileClock::duration part, ProfileClock::duration total) {
  if (total.count() <= 0) return 0.0;
  return 100.0 * static_cast<double>(part.count()) / static_cast<double>(total.count());
}

size_t LineProfiler::IndexOf(const ProgramLine& line) {
  const auto [found, added] = indexByNumber_.try_emplace(line.LineNo, lines_.size());
  if (added) {
    ProfiledLine stats;
    stats.number = line.LineNo;
    if (basic_ != nullptr) basic_->ListTokens(line.Tokens.begin(), stats.text);
    lines_.push_back(std::move(stats));
  }
  return found->second;
}

namespace {

// Right-aligned in a column of `width`.
std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

}  // namespace

std::string Fixed(const char* format, double value) {
  char buffer[64];
  const int size = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, size < 0 ? 0 : std::min(static_cast<size_t>(size), sizeof buffer - 1));
}

std::string TotalsText(uint64_t statements, ProfileClock::duration total) {
  const double seconds = std::chrono::duration<double>(total).count();
  const double rate = seconds > 0 ? static_cast<double>(statements) / seconds : 0.0;
  return std::to_string(statements) + " statements in " + Fixed("%.6f", seconds) + " s, " +
         Fixed("%.0f", rate) + " statements per second";
}

std::string LineProfiler::Report(std::string_view lineEnd) {
  StopTiming();
  const Clock::duration total = Total();

  std::vector<const ProfiledLine*> order;
  order.reserve(lines_.size());
  for (const ProfiledLine& stats : lines_) order.push_back(&stats);
  // Equal times (a clock too coarse for short lines) fall back on the
  // counts, then on the line order, so that a report is reproducible.
  std::sort(order.begin(), order.end(), [](const ProfiledLine* a, const ProfiledLine* b) {
    if (a->time != b->time) return a->time > b->time;
    if (a->statements != b->statements) return a->statements > b->statements;
    return a->number < b->number;
  });

  std::string report = "Profile: lines by time" + std::string(lineEnd);
  report += Padded("line", 10) + "  " + Padded("runs", 10) + "  " + Padded("statements", 10) +
            "  " + Padded("time", 6) + "  text" + std::string(lineEnd);
  const size_t shown = std::min(order.size(), kTopLines);
  for (size_t i = 0; i < shown; ++i) {
    const ProfiledLine& stats = *order[i];
    const double share = PercentOf(stats.time, total);
    report += Padded(std::to_string(stats.number), 10) + "  ";
    report += Padded(std::to_string(stats.runs), 10) + "  ";
    report += Padded(std::to_string(stats.statements), 10) + "  ";
    report += Padded(Fixed("%.1f%%", share), 6) + "  ";
    report += stats.text;
    report += lineEnd;
  }
  if (order.size() > shown)
    report +=
        "(" + std::to_string(order.size() - shown) + " more lines ran)" + std::string(lineEnd);
  report += TotalsText(statements_, total);
  report += lineEnd;
  return report;
}

}  // namespace basic::devtools
