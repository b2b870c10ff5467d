// The console as the interpreter sees it: buffered output and line input.
// The platform supplies the raw byte streams; the rules for where a line ends
// and when output must reach the screen live here, the same on every target.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace basic {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Standard output's sink throws OutputFailure when the bytes cannot go.
  virtual void WriteBytes(const char* bytes, size_t count) = 0;
};

// Standard output takes no more bytes (a full disk, a closed descriptor).
// Nothing the program prints can be seen any more, so the run stops and the
// process ends reporting it: the interpreter's error handlers let it pass.
class OutputFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `capacity` bytes; 0 at end of input.
  virtual size_t ReadBytes(char* buffer, size_t capacity) = 0;
};

struct ConsoleOptions {
  // Output reaches the sink after every PRINT item (standard output is a
  // terminal); otherwise only when it must: before input, errors and exit.
  bool flushEachItem = false;
  // A lone LF ends a line too, in console input and in program text (LOAD,
  // MERGE, RUN "file", the text a stub runs): Linux's convention.
  bool lfEndsLine = false;
  // Ends each line the interpreter writes: CR LF on Windows, LF on Linux.
  // Bytes a program prints itself go out unchanged.
  std::string_view lineEnd = "\r\n";
};

class Console {
 public:
  Console(ByteSink& out, ByteSource& in, ConsoleOptions options);
  ~Console();

  void Write(std::string_view bytes);
  void Write(char c);
  void WriteLine(std::string_view bytes);  // bytes, then the line end
  void NewLine() { Write(options_.lineEnd); }
  bool LfEndsLine() const { return options_.lfEndsLine; }
  void Flush();
  // After each PRINT item and prompt: flushes when output is interactive.
  void ItemDone() {
    if (options_.flushEachItem) Flush();
  }

  // One line without its line break. A line ends at CR (an LF right after
  // it belongs to the break), at a lone LF when lfEndsLine is set, and byte
  // 26 ends the input for good. False at the end of the input (nothing
  // read); an end that the source reported is met once, and the next call
  // asks the source again (a terminal goes on after Ctrl-D).
  bool ReadLine(std::string& line);
  // True when the input is at its end: no further line can be read now.
  bool AtEnd();

 private:
  bool Fill();     // more input; false at end
  int PeekByte();  // -1 at end of input
  ByteSink& out_;
  ByteSource& in_;
  ConsoleOptions options_;
  std::string pending_;  // output not yet written
  std::string inBuf_;
  size_t inPos_ = 0;
  bool endMarkSeen_ = false;  // byte 26: nothing after it is read
};

}  // namespace basic
