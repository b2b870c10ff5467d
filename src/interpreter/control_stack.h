// The control stack of FOR, WHILE and GOSUB frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "interpreter_limits.h"
#include "invariant.h"
#include "numeric.h"

namespace basic {

struct ProgramLine;
struct Token;
struct varrec;
struct CompiledStatement;

enum FrameKind : uint8_t { fkFor = 0, fkWhile = 1, fkGosub = 2 };

struct framerec {
  static constexpr uint64_t kNoCode = UINT64_MAX;
  ProgramLine* line = nullptr;   // nullptr when pushed from an immediate line
  Token* resumeToken = nullptr;  // where execution resumes in `line`
  FrameKind kind = fkFor;
  // FOR: resumeToken is the first token of `line`, the one after FOR's own
  // line, rather than the end of FOR's line.
  bool atLineStart = false;
  varrec* loopVar = nullptr;    // FOR: the loop variable
  double* loopValue = nullptr;  // FOR: the scalar or element FOR assigned
  double limit = 0;
  double step = 0;
  int8_t direction = 0;  // FOR: the step's sign, so that NEXT compares once
  // FOR with a whole start, step and limit of at most 2^52 counts: while
  // the variable still holds `count`, NEXT steps `count` in integers, which
  // gives exactly what the floating-point sum gives with a shorter chain
  // from one step to the next, and counts down `stepsLeft` (the steps that
  // stay within the limit) instead of comparing with the limit. A body that
  // assigns the variable turns counting off for the rest of the loop.
  bool counts = false;
  int64_t count = 0;
  int64_t countStep = 0;
  uint64_t stepsLeft = 0;
  // Pushed from a compiled line, and good while the code stamp is still
  // `codeStamp`: GOSUB's (or ON's) own record, after which RETURN goes on;
  // FOR's body's first record, where NEXT goes back to.
  const CompiledStatement* compiled = nullptr;
  uint64_t codeStamp = kNoCode;  // no code stamp is ever this
};

// The sign of a FOR loop's step, which says which way the value runs.
inline int8_t StepDirection(double step) { return step > 0 ? 1 : step < 0 ? -1 : 0; }

// A FOR loop is left when the value has passed the limit in the direction
// of the step; a zero step runs only while the value equals the limit.
// Values are always finite, so "not equal" is "passed either way".
inline bool LoopFinished(double value, double limit, int8_t direction) {
  return direction > 0 ? value > limit : direction < 0 ? value < limit : value != limit;
}

// How many times NEXT adds the step and stays within the limit, for whole
// values of at most 2^52 and a first value that has not passed the limit.
inline uint64_t StepsWithin(double first, double limit, double step) {
  const int64_t distance = static_cast<int64_t>(limit) - static_cast<int64_t>(first);
  // Most steps are 1: no division, which costs more than the rest of FOR.
  if (step == 1) return static_cast<uint64_t>(distance);
  return static_cast<uint64_t>(distance / static_cast<int64_t>(step));
}

// NEXT's step when the loop does not count (or no longer can).
bool StepLoopByAdding(framerec& frame);

enum class CountedStep : uint8_t { kGoesOn, kFinished, kNotCounting };

// NEXT's step of a loop that counts, its variable as FOR or NEXT left it;
// kNotCounting, with nothing changed, for any other.
[[gnu::always_inline]] inline CountedStep StepCounted(framerec& frame) {
  if (!frame.counts || *frame.loopValue != static_cast<double>(frame.count)) [[unlikely]]
    return CountedStep::kNotCounting;
  // |count| <= 2^52 while the loop runs, so the sum is below 2^53: exact.
  const int64_t next = frame.count + frame.countStep;
  frame.count = next;
  *frame.loopValue = static_cast<double>(next);
  // The frame is popped when the count runs out, so it may wrap.
  if (frame.stepsLeft-- == 0) [[unlikely]]
    return CountedStep::kFinished;
  return CountedStep::kGoesOn;
}

// NEXT's step: adds the step to the loop's value; true when the loop goes on.
inline bool StepLoop(framerec& frame) {
  const CountedStep counted = StepCounted(frame);
  if (counted == CountedStep::kNotCounting) [[unlikely]]
    return StepLoopByAdding(frame);
  return counted == CountedStep::kGoesOn;
}

// Frames live in fixed chunks that are kept once allocated: deep recursion
// never moves a frame or copies the stack, and a loop that pushes and pops
// allocates nothing.
class ControlStack {
 public:
  ControlStack() = default;
  ControlStack(const ControlStack&) = delete;
  ControlStack& operator=(const ControlStack&) = delete;

  bool empty() const { return size_ == 0; }
  size_t size() const { return size_; }
  framerec* TopOrNull() { return top_; }
  framerec& Top() {
    BASIC_ASSERT(size_ > 0 && top_ == &At(size_ - 1));
    return *top_;
  }
  // A new frame on top: the one `make` returns, built where it lives, each
  // field written once (assigning a whole frame makes a block copy or fill
  // that costs more than the rest of a FOR). Raises "Out of memory" past
  // kMaxFrames.
  template <typename Make>
  framerec& Push(Make make) {
    if (size_ == capacity_ || size_ >= kMaxFrames) [[unlikely]] { ReserveChunk(); }
    top_ = ::new (static_cast<void*>(&At(size_))) framerec(make());
    BASIC_ASSERT(top_->kind == fkFor || top_->kind == fkWhile || top_->kind == fkGosub);
    ++size_;
    return *top_;
  }
  void Pop() {
    BASIC_ASSERT(size_ > 0);
    --size_;
    top_ = size_ == 0 ? nullptr : (size_ & kChunkMask) != 0 ? top_ - 1 : &At(size_ - 1);
  }
  void Clear();
  // Drops the frames pushed by an immediate line, whose tokens are released.
  void RemoveImmediateFrames();

 private:
  static constexpr size_t kChunkShift = 10;
  static constexpr size_t kChunkMask = (size_t{1} << kChunkShift) - 1;
  framerec& At(size_t i) { return chunks_[i >> kChunkShift][i & kChunkMask]; }
  void ReserveChunk();  // the chunk for frame size_; checks the limit

  std::vector<std::unique_ptr<framerec[]>> chunks_;
  size_t size_ = 0;
  size_t capacity_ = 0;  // frames the chunks hold
  framerec* top_ = nullptr;
};

}  // namespace basic
