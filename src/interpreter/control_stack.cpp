#include "control_stack.h"

#include <algorithm>

#include "errors.h"
#include "interpreter_limits.h"

namespace basic {

framerec& ControlStack::Push(const framerec& frame) {
  if (frames_.size() >= kMaxFrames) RaiseRuntime(msg::kOutOfMemory);
  frames_.push_back(frame);
  return frames_.back();
}

void ControlStack::RemoveImmediateFrames() {
  std::erase_if(frames_, [](const framerec& f) { return f.line == nullptr; });
}

}  // namespace basic
