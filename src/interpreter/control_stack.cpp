#include "control_stack.h"

#include "errors.h"
#include "interpreter_limits.h"

namespace basic {

bool StepLoopByAdding(framerec& frame) {
  frame.counts = false;  // the body assigned the variable: stepsLeft no longer holds
  // Read before the store, which the compiler cannot tell apart from them.
  const double limit = frame.limit;
  const double value = Add(*frame.loopValue, frame.step);
  *frame.loopValue = value;
  return !LoopFinished(value, limit, frame.direction);
}

void ControlStack::ReserveChunk() {
  if (size_ >= kMaxFrames) RaiseRuntime(msg::kOutOfMemory);
  if (size_ < capacity_) return;
  chunks_.push_back(std::make_unique<framerec[]>(kChunkMask + 1));
  capacity_ += kChunkMask + 1;
}

void ControlStack::Clear() {
  chunks_.clear();  // the memory of a deep recursion goes back at once
  size_ = 0;
  capacity_ = 0;
  top_ = nullptr;
}

void ControlStack::RemoveImmediateFrames() {
  size_t kept = 0;
  for (size_t i = 0; i < size_; ++i)
    if (At(i).line != nullptr) At(kept++) = At(i);
  size_ = kept;
  top_ = size_ == 0 ? nullptr : &At(size_ - 1);
}

}  // namespace basic
