// The control stack of FOR, WHILE and GOSUB frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace basic {

struct ProgramLine;
struct Token;
struct varrec;

enum FrameKind : uint8_t { fkFor = 0, fkWhile = 1, fkGosub = 2 };

struct framerec {
  ProgramLine* line = nullptr;   // nullptr when pushed from an immediate line
  Token* resumeToken = nullptr;  // where execution resumes in `line`
  FrameKind kind = fkFor;
  varrec* loopVar = nullptr;     // FOR: the loop variable
  double* loopValue = nullptr;   // FOR: the scalar or element FOR assigned
  double limit = 0;
  double step = 0;
};

class ControlStack {
 public:
  bool empty() const { return frames_.empty(); }
  size_t size() const { return frames_.size(); }
  framerec& Top() { return frames_.back(); }
  // Raises "Out of memory" past kMaxFrames.
  framerec& Push(const framerec& frame);
  void Pop() { frames_.pop_back(); }
  void Clear() { frames_.clear(); }
  // Drops the frames pushed by an immediate line, whose tokens are released.
  void RemoveImmediateFrames();

 private:
  std::deque<framerec> frames_;  // no reallocation copies on deep recursion
};

}  // namespace basic
