// Helpers shared by the unit tests: an interpreter wired to string streams.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "basic.h"
#include "basic_internals.h"
#include "console.h"
#include "errors.h"
#include "file_system.h"

namespace basic::test {

class StringSink : public ByteSink {
 public:
  void WriteBytes(const char* bytes, size_t count) override { text.append(bytes, count); }
  std::string text;
};

class StringSource : public ByteSource {
 public:
  explicit StringSource(std::string input = {}) : text(std::move(input)) {}
  size_t ReadBytes(char* buffer, size_t capacity) override {
    size_t n = std::min(capacity, text.size() - pos);
    text.copy(buffer, n, pos);
    pos += n;
    return n;
  }
  std::string text;
  size_t pos = 0;
};

// Files kept in memory by name, for SAVE, LOAD and MERGE without a disk.
class MemoryFiles : public FileSystem {
 public:
  std::string ReadFile(const std::string& name) override {
    auto it = files.find(name);
    if (it == files.end()) throw RuntimeFault(FileErrorMessage(2));
    return it->second;
  }
  void WriteFile(const std::string& name, std::string_view bytes) override {
    files[name] = std::string(bytes);
  }
  std::map<std::string, std::string> files;
};

// An interpreter with captured output and given input.
struct Machine {
  explicit Machine(std::string input = {}, ConsoleOptions options = {})
      : in(std::move(input)), console(out, in, options), basic(console), inside(basic) {}

  // Runs text through the command processor, as the stub does (without the
  // added RUN), and returns everything written.
  std::string Run(std::string_view text) {
    basic.ProcessText(text);
    console.Flush();
    return Take();
  }
  std::string Take() {
    console.Flush();
    std::string s = std::move(out.text);
    out.text.clear();
    return s;
  }

  StringSink out;
  StringSource in;
  Console console;
  TBasic basic;
  TBasicInternals inside;  // the parts of `basic`
};

}  // namespace basic::test
