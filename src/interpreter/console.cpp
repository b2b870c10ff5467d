// Buffered console output and line input over the platform's byte streams.
#include "console.h"

#include <algorithm>

namespace basic {

namespace {

constexpr size_t kReadChunk = size_t{64} * 1024;
// Output waiting past this size goes out even without a flush request.
constexpr size_t kPendingLimit = size_t{64} * 1024;
constexpr char kEndOfInput = 26;

}  // namespace

Console::Console(ByteSink& out, ByteSource& in, ConsoleOptions options)
    : out_(out), in_(in), options_(options) {}

Console::~Console() {
  try {
    Flush();
  } catch (...) {
    // Nowhere left to report a failing sink.
  }
}

void Console::Write(std::string_view bytes) {
  pending_.append(bytes);
  if (pending_.size() >= kPendingLimit) Flush();
}

void Console::Write(char c) {
  pending_.push_back(c);
  if (pending_.size() >= kPendingLimit) Flush();
}

void Console::WriteLine(std::string_view bytes) {
  Write(bytes);
  NewLine();
}

void Console::Flush() {
  if (pending_.empty()) return;
  // Dropped even when the sink throws, so a broken sink is not fed the same
  // bytes again on every later flush.
  struct ClearOnExit {
    std::string& text;
    ~ClearOnExit() { text.clear(); }
  } clear{pending_};
  out_.WriteBytes(pending_.data(), pending_.size());
}

// Called only when the buffer is used up. Asks the source once for whatever
// it has, so an interactive reader waits for no more than the next line.
bool Console::Fill() {
  while (!endMarkSeen_) {
    // A CR that ended the previous chunk may have its LF at the start of
    // this one; that LF is part of the line break already returned.
    const bool afterCr = !inBuf_.empty() && inBuf_.back() == '\r';
    inBuf_.resize(kReadChunk);
    inPos_ = 0;
    size_t count = 0;
    try {
      count = std::min(in_.ReadBytes(inBuf_.data(), kReadChunk), kReadChunk);
    } catch (...) {
      inBuf_.clear();
      throw;
    }
    inBuf_.resize(count);
    // Not remembered: a terminal ends its input once per Ctrl-D and reads on
    // after it, and a pipe or file just says so again.
    if (count == 0) return false;
    if (afterCr && inBuf_[0] == '\n') inPos_ = 1;
    if (inPos_ < inBuf_.size()) return true;
  }
  return false;
}

int Console::PeekByte() {
  if (inPos_ == inBuf_.size() && !Fill()) return -1;
  return static_cast<unsigned char>(inBuf_[inPos_]);
}

bool Console::ReadLine(std::string& line) {
  Flush();
  line.clear();
  if (PeekByte() < 0) return false;
  for (;;) {
    if (inPos_ == inBuf_.size() && !Fill()) return true;  // last line, no break
    const char* data = inBuf_.data();
    const size_t size = inBuf_.size();
    size_t stop = inPos_;
    while (stop < size) {
      const char c = data[stop];
      if (c == '\r' || c == kEndOfInput || (c == '\n' && options_.lfEndsLine)) break;
      ++stop;
    }
    line.append(data + inPos_, stop - inPos_);
    inPos_ = stop;
    if (stop == size) continue;

    const char end = data[stop];
    if (end == kEndOfInput) {
      // Nothing behind it is ever read.
      endMarkSeen_ = true;
      inPos_ = size;
      return !line.empty();
    }
    ++inPos_;
    if (end == '\r' && inPos_ < size && data[inPos_] == '\n') ++inPos_;
    return true;
  }
}

bool Console::AtEnd() {
  Flush();
  const int next = PeekByte();
  if (next == kEndOfInput) {
    endMarkSeen_ = true;
    inPos_ = inBuf_.size();
    return true;
  }
  return next < 0;
}

}  // namespace basic
