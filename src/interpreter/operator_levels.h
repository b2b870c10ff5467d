// How tightly each binary operator binds, shared by the evaluator and the
// expression cache, which must read expressions alike. 0 for every token
// that is not a binary operator. Equal levels group from the left, except
// "^", which groups from the right.
#pragma once

#include <array>
#include <cstdint>

#include "tokens.h"

namespace basic {

enum OperatorLevel : uint8_t { kNone, kOrXor, kAnd, kRelation, kSum, kTerm, kPower };

inline constexpr auto kOperatorLevels = [] {
  std::array<uint8_t, kTokenCodeCount + 1> levels{};
  levels[tcOr] = levels[tcXor] = kOrXor;
  levels[tcAnd] = kAnd;
  for (int c = tcEqual; c <= tcNotEqual; ++c) levels[c] = kRelation;
  levels[tcPlus] = levels[tcMinus] = kSum;
  levels[tcStar] = levels[tcSlash] = levels[tcMod] = kTerm;
  levels[tcCaret] = kPower;
  return levels;
}();

inline int LevelOf(TokenCode code) { return kOperatorLevels[code]; }

}  // namespace basic
