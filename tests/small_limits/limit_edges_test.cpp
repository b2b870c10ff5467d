// The interpreter's limits at their very edge: the last byte, frame or
// element that fits is kept, and one more is "Out of memory" that loses
// nothing. Built against a core with shrunken limits, so each edge is a few
// megabytes away instead of gigabytes.
#include <gtest/gtest.h>

#include <string>

#include "interpreter_limits.h"
#include "str.h"
#include "test_support.h"

#ifndef BASIC_SMALL_LIMITS
#error "these tests need the core built with BASIC_SMALL_LIMITS"
#endif

namespace basic::test {
namespace {

std::string Number(uint64_t n) { return std::to_string(n) + " "; }

TEST(LimitEdges, StringGrowsToTheLastByteAndNoFurther) {
  size_t doubled = 1;
  int doublings = 0;
  while (doubled * 2 <= kMaxStringLength) doubled *= 2, ++doublings;
  Machine m;
  // Doubling stops at the first string that would not fit, and keeps A$;
  // then A$ is filled up to the limit exactly, and one byte more is refused.
  EXPECT_EQ(m.Run("10 A$ = \"X\": FOR I = 1 TO 64: A$ = A$ + A$: NEXT\r\nRUN\r\n"
                  "PRINT LEN(A$); I\r\n"
                  "A$ = A$ + MID$(A$, 1, " +
                  std::to_string(kMaxStringLength - doubled) +
                  "): PRINT LEN(A$)\r\nA$ = A$ + \"Y\"\r\nPRINT LEN(A$); MID$(A$, LEN(A$), 1)"),
            "\aOut of memory in 10\r\n" + Number(doubled) + Number(doublings + 1) + "\r\n" +
                Number(kMaxStringLength) + "\r\n\aOut of memory\r\n" + Number(kMaxStringLength) +
                "X\r\n");
}

TEST(LimitEdges, LongestLiteralAndAsLongAnExpressionAreStoredAndRun) {
  std::string sum = "10 A = 0";
  while (sum.size() < kMaxStringLength) sum += "+1";
  const size_t terms = (sum.size() - 8) / 2;
  const std::string text(kMaxStringLength, 'x');
  Machine m;
  EXPECT_EQ(m.Run(sum + "\r\n20 A$ = \"" + text + "\"\r\nRUN\r\nPRINT A; LEN(A$)"),
            Number(terms) + Number(kMaxStringLength) + "\r\n");
}

TEST(LimitEdges, RunawayGosubStopsAfterTheLastFrame) {
  Machine m;
  // D counts the GOSUBs tried: all but the last one found a frame.
  EXPECT_EQ(m.Run("10 D = D + 1: GOSUB 10\r\nRUN\r\nPRINT D - 1"),
            "\aOut of memory in 10\r\n" + Number(kMaxFrames) + "\r\n");
}

TEST(LimitEdges, ArrayOfTheLargestSizeIsMadeAndOneElementMoreIsNot) {
  const uint64_t numbers = kMaxArrayBytes / sizeof(double);
  const uint64_t strings = kMaxArrayBytes / sizeof(Str);
  Machine m;
  // DIM gives the highest subscript: one element more than the number.
  EXPECT_EQ(m.Run("DIM A(" + std::to_string(numbers - 1) + "): A(" + std::to_string(numbers - 1) +
                  ") = 7: PRINT A(" + std::to_string(numbers - 1) +
                  ")\r\n"
                  "DIM B(" +
                  std::to_string(numbers) +
                  ")\r\n"
                  "DIM C$(" +
                  std::to_string(strings / 2 - 1) +
                  ", 1)\r\n"
                  "DIM D$(" +
                  std::to_string(strings / 2) +
                  ", 1)\r\n"
                  "B(1) = 2: D$(1, 1) = \"d\": PRINT B(1); D$(1, 1)"),
            "7 \r\n\aOut of memory\r\n\aOut of memory\r\n2 d\r\n");
}

}  // namespace
}  // namespace basic::test
