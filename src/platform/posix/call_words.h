// Calling a library function with machine words in a convention where the
// caller removes the arguments: the System V AMD64 convention, and the C
// convention of 32-bit code.
#pragma once

#include <cstddef>
#include <cstdint>

#include "external_code.h"

namespace basic::platform {

// These conventions let the caller pass more arguments than the callee reads,
// and the caller removes them; so one signature serves every call, the unused
// words being zero. Only the first count words of `words` are read.
inline int32_t CallCallerCleansWords(void* entry, const intptr_t* words, size_t count) {
  using Entry = int32_t (*)(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t);
  static_assert(kMaxCallWords == 7);
  intptr_t w[kMaxCallWords] = {};
  for (size_t i = 0; i < count && i < kMaxCallWords; ++i) w[i] = words[i];
  const auto function = reinterpret_cast<Entry>(entry);
  return function(w[0], w[1], w[2], w[3], w[4], w[5], w[6]);
}

}  // namespace basic::platform
