// An interpreter for the fuzz targets: output discarded, input from bytes,
// program files in memory, no library loader and no Shell. Nothing a fuzzed
// program does can reach the machine's files or start anything.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "basic.h"
#include "console.h"
#include "errors.h"
#include "file_system.h"

namespace basic::fuzz {

class DiscardSink : public ByteSink {
 public:
  void WriteBytes(const char*, size_t count) override { written += count; }
  uint64_t written = 0;
};

class BytesSource : public ByteSource {
 public:
  explicit BytesSource(std::string_view bytes) : bytes_(bytes) {}
  size_t ReadBytes(char* buffer, size_t capacity) override {
    const size_t n = std::min(capacity, bytes_.size());
    std::copy_n(bytes_.data(), n, buffer);
    bytes_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view bytes_;
};

// Files by exact name, in memory, with a cap on what they may hold in all:
// a program that SAVEs in a loop runs out of "disk", not of memory. The cap
// is small because a line with characters the tokenizer does not know grows
// threefold with each SAVE and LOAD ("{" and "}" around each), and a fuzzed
// text can hold many of those.
class MemoryFileSystem : public FileSystem {
 public:
  static constexpr size_t kCapacity = size_t{64} << 10;

  std::string ReadFile(const std::string& name) override {
    auto it = files_.find(name);
    if (it == files_.end()) throw RuntimeFault(FileErrorMessage(2));
    return it->second;
  }
  void WriteFile(const std::string& name, std::string_view bytes) override {
    if (name.empty()) throw RuntimeFault(FileErrorMessage(3));
    auto it = files_.find(name);
    const size_t replaced = it == files_.end() ? 0 : it->second.size();
    if (used_ - replaced + bytes.size() > kCapacity) throw RuntimeFault(FileErrorMessage(101));
    used_ = used_ - replaced + bytes.size();
    files_[name] = std::string(bytes);
  }

 private:
  std::map<std::string, std::string> files_;
  size_t used_ = 0;
};

// Statements a fuzzed run may take: enough for real loops, few enough that
// an endless one ends in well under a second.
inline constexpr uint64_t kStatementBudget = 20'000;

// One interpreter with its console and files. Only the interpreter's own
// statements exist: no DECLAREd library loads (the default loader refuses
// all) and Shell is never registered.
struct FuzzMachine {
  explicit FuzzMachine(std::string_view input, ConsoleOptions options = {})
      : in(input), console(out, in, options), basic(console) {
    basic.SetFileSystem(files);
    basic.SetStatementBudget(kStatementBudget);
  }

  DiscardSink out;
  BytesSource in;
  MemoryFileSystem files;
  Console console;
  TBasic basic;
};

}  // namespace basic::fuzz
