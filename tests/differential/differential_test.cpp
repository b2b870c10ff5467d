// Whole random programs run on an interpreter that walks every expression
// and on one that takes its fast paths: the output, error reports included,
// and every variable's final bits must be the same.
//
// BASIC_DIFF_SEEDS=FIRST:COUNT picks the programs (default 1:400) and
// BASIC_DIFF_SECONDS, when set, ends the run early after that many seconds;
// BASIC_DIFF_SHOW prints each program and what it wrote.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "errors.h"
#include "file_system.h"
#include "program_generator.h"
#include "test_support.h"

namespace basic::differential {
namespace {

// Enough for every bounded loop of a program several times over; a run that
// goes round for good stops here on both interpreters alike.
constexpr uint64_t kStatementBudget = 20000;

using test::MemoryFiles;

void AppendBits(double x, std::string& out) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  for (int shift = 60; shift >= 0; shift -= 4) out += "0123456789abcdef"[(bits >> shift) & 15];
}

// Every variable exactly: PRINT's 15 digits would hide a last-bit difference.
void AppendVariables(const VariableList& variables, std::string& out) {
  variables.ForEachFromHead([&](const varrec& v) {
    out += v.name;
    for (int i = 0; i < v.dimCount; ++i) out += (i ? "," : "(") + std::to_string(v.extents[i]);
    out += v.dimCount ? ")=" : "=";
    if (v.dimCount == 0) {
      if (v.isString)
        out.append(v.strValue.view());
      else
        AppendBits(v.numValue, out);
    }
    // Of an array, the elements that are not 0 or empty; an array that
    // exists fits in memory, so its count fits a size_t.
    const size_t count = v.dimCount ? static_cast<size_t>(v.ElementCount()) : 0;
    for (size_t i = 0; i < count; ++i) {
      const bool unset = v.isString ? v.strElements[i].empty()
                                    : v.numElements[i] == 0 && !std::signbit(v.numElements[i]);
      if (unset) continue;
      out += ' ' + std::to_string(i) + ':';
      if (v.isString)
        out.append(v.strElements[i].view());
      else
        AppendBits(v.numElements[i], out);
    }
    out += '\n';
  });
}

std::string RunOn(const GeneratedProgram& program, bool walk) {
  MemoryFiles files;
  test::Machine m(program.input);
  m.basic.SetFileSystem(files);
  if (walk) m.inside.WalkEverything();
  m.basic.SetStatementBudget(kStatementBudget);
  // As a program file runs: its lines, then RUN.
  std::string out = m.Run(program.text + "RUN");
  out += "--- variables\n";
  AppendVariables(m.inside.variables, out);
  return out;
}

bool Differs(const GeneratedProgram& program) {
  return RunOn(program, true) != RunOn(program, false);
}

// Drops lines while the difference stays; programs are short, so this is cheap.
GeneratedProgram Shrink(GeneratedProgram program) {
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = program.text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(program.text.substr(at, end - at + 2));
  for (bool dropped = true; dropped;) {
    dropped = false;
    for (size_t i = 0; i < lines.size();) {
      GeneratedProgram shorter = program;
      shorter.text.clear();
      for (size_t j = 0; j < lines.size(); ++j)
        if (j != i) shorter.text += lines[j];
      if (!Differs(shorter)) {
        ++i;
        continue;
      }
      lines.erase(lines.begin() + static_cast<ptrdiff_t>(i));
      program = shorter;
      dropped = true;
    }
  }
  return program;
}

std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\a')
      out += "<BEL>";
    else if (c != '\r')
      out += c;
  }
  return out;
}

uint64_t EnvironmentNumber(const char* text, uint64_t otherwise) {
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : otherwise;
}

TEST(DifferentialPrograms, WalkingAndFastPathsAgree) {
  const char* seeds = std::getenv("BASIC_DIFF_SEEDS");
  const uint64_t first = EnvironmentNumber(seeds, 1);
  const char* colon = seeds != nullptr ? std::strchr(seeds, ':') : nullptr;
  const uint64_t count = EnvironmentNumber(colon != nullptr ? colon + 1 : nullptr, 400);
  const uint64_t seconds = EnvironmentNumber(std::getenv("BASIC_DIFF_SECONDS"), 0);
  const bool show = std::getenv("BASIC_DIFF_SHOW") != nullptr;
  const auto start = std::chrono::steady_clock::now();

  uint64_t ran = 0, withErrors = 0, failures = 0;
  for (uint64_t seed = first; seed < first + count && failures < 3; ++seed) {
    if (seconds != 0 && std::chrono::steady_clock::now() - start > std::chrono::seconds(seconds))
      break;
    const GeneratedProgram program = GenerateProgram(seed);
    const std::string walked = RunOn(program, true), fast = RunOn(program, false);
    ++ran;
    if (show)
      std::printf("--- seed %llu\n%s--- output\n%s", static_cast<unsigned long long>(seed),
                  program.text.c_str(), Visible(walked).c_str());
    if (walked.find('\a') != std::string::npos) ++withErrors;
    if (walked == fast) continue;
    ++failures;
    const GeneratedProgram shrunk = Shrink(program);
    ADD_FAILURE() << "seed " << seed << ": the walking and the fast interpreter differ\n"
                  << "--- program (shrunk)\n"
                  << shrunk.text << "--- input\n"
                  << shrunk.input << "--- walking\n"
                  << Visible(RunOn(shrunk, true)) << "--- fast\n"
                  << Visible(RunOn(shrunk, false)) << "--- whole program\n"
                  << program.text;
  }
  std::printf("%llu programs from seed %llu, %llu of them with an error report\n",
              static_cast<unsigned long long>(ran), static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(withErrors));
}

}  // namespace
}  // namespace basic::differential
