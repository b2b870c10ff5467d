// Random but meaningful BASIC programs, the same for the same seed on every
// target: numbered lines that mix every statement and operator, with loops
// bounded by counters, then a few immediate lines that run parts of it again.
#pragma once

#include <cstdint>
#include <string>

namespace basic::differential {

struct GeneratedProgram {
  std::string text;   // lines joined by CR LF, as a program file holds them
  std::string input;  // what INPUT reads
};

GeneratedProgram GenerateProgram(uint64_t seed);

}  // namespace basic::differential
