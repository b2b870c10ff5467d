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
    currentLine_ = nullptr;
    return;
  }
  // A line record may be replaced by another of a different number at the
  // same address (MERGE, RUN "file"): the number is compared too.
  if (line != currentLine_ || current_ == kNoLine || lines_[current_].number != line->LineNo) {
    current_ = IndexOf(*line);
    currentLine_ = line;
  }
  LineStats& stats = lines_[current_];
  ++stats.statements;
  if (entersLine) ++stats.runs;
}

void LineProfiler::OnPause(Pause why) {
  // Time at READY, waiting for the next command, belongs to no line.
  if (why != Pause::kCommandDone) return;
  Charge(Clock::now());
  timing_ = false;
}

size_t LineProfiler::IndexOf(const ProgramLine& line) {
  const auto [found, added] = indexByNumber_.try_emplace(line.LineNo, lines_.size());
  if (added) {
    LineStats stats;
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

std::string Fixed(const char* format, double value) {
  char buffer[64];
  const int size = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, size < 0 ? 0 : std::min(static_cast<size_t>(size), sizeof buffer - 1));
}

}  // namespace

std::string LineProfiler::Report(std::string_view lineEnd) {
  Charge(Clock::now());
  timing_ = false;
  Clock::duration total = immediateTime_;
  for (const LineStats& stats : lines_) total += stats.time;
  const double seconds = std::chrono::duration<double>(total).count();

  std::vector<const LineStats*> order;
  order.reserve(lines_.size());
  for (const LineStats& stats : lines_) order.push_back(&stats);
  // Equal times (a clock too coarse for short lines) fall back on the
  // counts, then on the line order, so that a report is reproducible.
  std::sort(order.begin(), order.end(), [](const LineStats* a, const LineStats* b) {
    if (a->time != b->time) return a->time > b->time;
    if (a->statements != b->statements) return a->statements > b->statements;
    return a->number < b->number;
  });

  std::string report = "Profile: lines by time" + std::string(lineEnd);
  report += Padded("line", 10) + "  " + Padded("runs", 10) + "  " + Padded("statements", 10) +
            "  " + Padded("time", 6) + "  text" + std::string(lineEnd);
  const size_t shown = std::min(order.size(), kTopLines);
  for (size_t i = 0; i < shown; ++i) {
    const LineStats& stats = *order[i];
    const double share = total.count() > 0 ? 100.0 * static_cast<double>(stats.time.count()) /
                                                 static_cast<double>(total.count())
                                           : 0.0;
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
  const double rate = seconds > 0 ? static_cast<double>(statements_) / seconds : 0.0;
  report += std::to_string(statements_) + " statements in " + Fixed("%.6f", seconds) + " s, " +
            Fixed("%.0f", rate) + " statements per second";
  report += lineEnd;
  return report;
}

}  // namespace basic::devtools
