#include "statement_tracer.h"

#include "basic.h"

namespace basic::devtools {

namespace {

// Gathered items go out once this many bytes wait: a traced loop must not
// hold its whole trace.
constexpr size_t kPendingLimit = 4096;

void AppendNumber(std::string& out, int32_t number) {
  // Line 0 is an immediate line: it has no number to show.
  if (number != 0) out += std::to_string(number);
}

}  // namespace

StatementTracer::StatementTracer(ByteSink& out, std::string_view lineEnd, Mode mode,
                                 bool writeAtOnce)
    : out_(out), lineEnd_(lineEnd), mode_(mode), writeAtOnce_(writeAtOnce) {
  pending_.reserve(kPendingLimit + 64);
}

StatementTracer::~StatementTracer() {
  try {
    EndLine();
  } catch (...) {  // a destructor must not throw; the trace is lost anyway
  }
}

void StatementTracer::Attached(TBasic& basic) { programOutput_ = &basic.console(); }

void StatementTracer::OnStatement(const ProgramLine* line, bool entersLine) {
  if (mode_ != Mode::kLines || line == nullptr || !entersLine) return;
  Put("[" + std::to_string(line->LineNo) + "]");
}

void StatementTracer::OnJump(int32_t fromLine, int32_t toLine) {
  if (mode_ != Mode::kJumps) return;
  std::string item = "[";
  AppendNumber(item, fromLine);
  item += "->";
  AppendNumber(item, toLine);
  item += ']';
  Put(item);
}

void StatementTracer::OnPause(Pause why) {
  // An INPUT prompt may follow on the same terminal line, as with the
  // classic TRON; an error report and READY start lines of their own.
  if (why != Pause::kInput) {
    EndLine();
    return;
  }
  Flush();
}

void StatementTracer::Put(std::string_view item) {
  if (column_ > 0 && column_ + item.size() > kWidth) {
    pending_ += lineEnd_;
    column_ = 0;
  }
  pending_ += item;
  column_ += item.size();
  if (writeAtOnce_) {
    // What the program printed (a line end its console still holds) must
    // reach the terminal before the item that follows it.
    if (programOutput_ != nullptr) programOutput_->Flush();
    Flush();
  } else if (pending_.size() >= kPendingLimit) {
    Flush();
  }
}

void StatementTracer::EndLine() {
  if (column_ > 0) {
    pending_ += lineEnd_;
    column_ = 0;
  }
  Flush();
}

void StatementTracer::Flush() {
  if (pending_.empty()) return;
  out_.WriteBytes(pending_.data(), pending_.size());
  pending_.clear();
}

}  // namespace basic::devtools
