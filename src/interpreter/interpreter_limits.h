// Named limits of the interpreter. Each is a promise to the user: reaching it
// raises a clear error instead of exhausting the machine or the native stack.
#pragma once

#include <cstddef>
#include <cstdint>

namespace basic {

// Nesting of brackets, unary operators, "^" chains and VAL calls. Every level
// costs native stack; 10,000 "(" must end with "Stack overflow", not a crash.
// The costliest levels (subscripts, MID$) take about 0.7 KB each in the
// sanitizer build, so this many stay well inside a 1 MiB stack.
inline constexpr int kMaxEvalDepth = 500;

// BASIC_SMALL_LIMITS (test builds only) shrinks the limits that cost memory
// and time to reach, so that tests can run at their very edge in milliseconds.
#ifdef BASIC_SMALL_LIMITS
inline constexpr size_t kMaxStringLength = (size_t{1} << 20) - 1;
inline constexpr uint64_t kMaxArrayBytes = uint64_t{1} << 20;
inline constexpr size_t kMaxFrames = 10'000;
#else
// Longest string value: lengths are 32-bit signed quantities.
inline constexpr size_t kMaxStringLength = 0x7FFFFFFF;

// Largest array storage in bytes: above this DIM raises "Out of memory".
inline constexpr uint64_t kMaxArrayBytes = uint64_t{1} << 31;

// Control stack frames: a runaway GOSUB recursion ends with "Out of memory"
// long before it exhausts the machine.
inline constexpr size_t kMaxFrames = 10'000'000;
#endif

// Variable names keep this many characters.
inline constexpr size_t kMaxNameLength = 20;

// Arrays have at most this many dimensions.
inline constexpr int kMaxDimensions = 4;

}  // namespace basic
