// Checks of what the code relies on but nothing else tests: the order of the
// program index, the depth of a translation's value stack, the kinds of the
// control stack's frames, string reference counts. Live in the debug and
// sanitizer builds (BASIC_ASSERTS), compiled out of Release, so that the hot
// paths pay nothing for them. A failed check is a fault of ours, never of the
// user's program: it aborts loudly, for tests and fuzzers to see.
#pragma once

// The static analyzer sees them too: they state what it cannot work out.
#if defined(BASIC_ASSERTS) || defined(__clang_analyzer__)
#include <cstdio>
#include <cstdlib>

namespace basic {
[[noreturn]] inline void AssertionFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "basic: internal check failed: %s (%s:%d)\n", condition, file, line);
  std::abort();
}
}  // namespace basic

#define BASIC_ASSERT(condition) \
  ((condition) ? void(0) : ::basic::AssertionFailed(#condition, __FILE__, __LINE__))
#else
// Not evaluated, but still compiled: a check cannot rot unseen.
#define BASIC_ASSERT(condition) static_cast<void>(sizeof(static_cast<bool>(condition)))
#endif
