// Ctrl-C's request to stop: taken at the start of the next statement, with
// the report and code of STOP; one left over at READY stops nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>

#include "test_support.h"

namespace basic {
namespace {

// Input whose reading raises the stop request, as a Ctrl-C typed while the
// program waits would.
class RequestingSource : public ByteSource {
 public:
  RequestingSource(std::string text, volatile std::sig_atomic_t*& flag)
      : text_(text), flag_(flag) {}
  size_t ReadBytes(char* buffer, size_t capacity) override {
    if (flag_ != nullptr) *flag_ = 1;
    const size_t n = std::min(capacity, text_.size() - pos_);
    text_.copy(buffer, n, pos_);
    pos_ += n;
    return n;
  }

 private:
  std::string text_;
  size_t pos_ = 0;
  volatile std::sig_atomic_t*& flag_;
};

TEST(BreakRequest, StopsTheRunAtTheNextStatementLikeStop) {
  volatile std::sig_atomic_t* flag = nullptr;
  test::StringSink out;
  RequestingSource in("ANSWER\r\n", flag);
  Console console(out, in, {});
  TBasic basic(console);
  flag = &basic.BreakFlag();
  basic.ProcessText("10 INPUT A$: PRINT \"SAME LINE\"\r\n20 PRINT \"NEVER\"\r\nRUN");
  console.Flush();
  EXPECT_EQ(out.text, "? \a(-20) Break in 10\r\n");
  EXPECT_EQ(basic.BreakFlag(), 0);

  // Nothing of the request is left: the program runs in full again.
  flag = nullptr;
  out.text.clear();
  basic.ProcessText("NEW\r\n10 PRINT \"ONE\"\r\nRUN");
  console.Flush();
  EXPECT_EQ(out.text, "ONE\r\n");
}

TEST(BreakRequest, ImmediateLineReportsWithoutALineNumber) {
  test::Machine m;
  m.basic.BreakFlag() = 1;
  EXPECT_EQ(m.Run("PRINT 1"), "\a(-20) Break\r\n");
  EXPECT_EQ(m.Run("PRINT 2"), "2 \r\n");
}

TEST(BreakRequest, OneArrivingAtReadyStopsNothing) {
  test::Machine m("PRINT 7\r\n");
  m.basic.BreakFlag() = 1;  // came after the last statement had run
  EXPECT_EQ(m.Run(""), "READY\r\n7 \r\nREADY\r\n");
}

}  // namespace
}  // namespace basic
