#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace basic {
namespace {

using Lines = std::vector<std::string>;

// Hands out one chunk per read, as a terminal or pipe does, and notes what
// the console had written by the time of each read.
class ChunkSource : public ByteSource {
 public:
  ChunkSource(Lines chunks, const test::StringSink& sink)
      : chunks_(std::move(chunks)), sink_(sink) {}
  size_t ReadBytes(char* buffer, size_t capacity) override {
    outputAtRead.push_back(sink_.text);
    if (next_ == chunks_.size()) return 0;
    const size_t n = chunks_[next_].copy(buffer, capacity);
    chunks_[next_].erase(0, n);
    if (chunks_[next_].empty()) ++next_;
    return n;
  }
  Lines outputAtRead;

 private:
  Lines chunks_;
  size_t next_ = 0;
  const test::StringSink& sink_;
};

TEST(ConsoleInput, LineBreaksAndEndOfInput) {
  const struct {
    Lines chunks;
    bool lfEndsLine;
    Lines lines;
  } cases[] = {
      {{"a\rb\r\nc"}, false, {"a", "b", "c"}},
      {{"a\r\n\r\nb\r\n"}, false, {"a", "", "b"}},
      {{"a\nb\r\n"}, false, {"a\nb"}},
      {{"a\r\nb\n\n"}, true, {"a", "b", ""}},
      {{"a\x1a", "b\r\n"}, false, {"a"}},
      {{"a\r\n\x1a", "b\r\n"}, false, {"a"}},
      {{""}, false, {}},
      // A break split between reads: the LF still belongs to it.
      {{"a\r", "\nb\r", "\n"}, false, {"a", "b"}},
      {{"a\r", "\n", "\n"}, false, {"a", "\n"}},
      {{"lo", "ng\r\n"}, false, {"long"}},
  };
  for (const auto& c : cases) {
    test::StringSink sink;
    ChunkSource source(c.chunks, sink);
    Console console(sink, source,
                    ConsoleOptions{.flushEachItem = false, .lfEndsLine = c.lfEndsLine});
    Lines lines;
    std::string line;
    while (!console.AtEnd()) {
      ASSERT_TRUE(console.ReadLine(line)) << c.chunks[0];
      lines.push_back(line);
    }
    EXPECT_FALSE(console.ReadLine(line));
    EXPECT_EQ(lines, c.lines) << c.chunks[0];
  }
}

// A terminal ends its input once per Ctrl-D and reads on after it; byte 26
// ends it for good.
TEST(ConsoleInput, AnEndOfTheSourceIsMetOnce) {
  test::StringSink sink;
  ChunkSource source({"1\r\n", "", "2\r\n", "", "3\x1a", "4\r\n"}, sink);
  Console console(sink, source, {});
  std::string line;
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, "1");
  EXPECT_FALSE(console.ReadLine(line));
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, "2");
  EXPECT_TRUE(console.AtEnd());
  ASSERT_FALSE(console.AtEnd());
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, "3");
  EXPECT_TRUE(console.AtEnd());
  EXPECT_FALSE(console.ReadLine(line));
  EXPECT_TRUE(console.AtEnd());
}

TEST(ConsoleInput, WaitsForNoMoreThanTheLine) {
  test::StringSink sink;
  ChunkSource source({"first\r", "\nsecond\r\n"}, sink);
  Console console(sink, source, {});
  std::string line;
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, "first");
  EXPECT_EQ(source.outputAtRead.size(), 1u);  // did not wait for the LF
  ASSERT_TRUE(console.ReadLine(line));
  EXPECT_EQ(line, "second");
}

TEST(ConsoleOutput, BufferedUntilInputFlushOrBacklog) {
  test::StringSink sink;
  ChunkSource source({"x\r\n"}, sink);
  {
    Console console(sink, source, {});
    console.Write("? ");
    console.ItemDone();
    EXPECT_EQ(sink.text, "");
    std::string line;
    console.ReadLine(line);
    EXPECT_EQ(source.outputAtRead.at(0), "? ");  // the prompt came before the read
    console.WriteLine("READY");
    console.Write(std::string(100000, 'z'));  // a large backlog goes out unasked
    EXPECT_GT(sink.text.size(), 100000u);
    console.Write('!');
  }
  EXPECT_EQ(sink.text.substr(0, 9), "? READY\r\n");
  EXPECT_EQ(sink.text.substr(sink.text.size() - 2), "z!");  // flushed on destruction
}

}  // namespace
}  // namespace basic
