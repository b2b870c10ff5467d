// Ctrl-C while `basic` runs: the request is recorded and the process lives;
// a second one that finds the first untaken ends the process as usual.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>

#include <csignal>
#include <cstdlib>

#include "platform.h"

namespace basic::platform {
namespace {

TEST(InterruptCatcher, RecordsCtrlCAndRestoresTheDefaultAfterwards) {
  struct sigaction before {};
  sigaction(SIGINT, nullptr, &before);
  volatile std::sig_atomic_t flag = 0;
  {
    InterruptCatcher catcher(flag);
    raise(SIGINT);
    EXPECT_EQ(flag, 1);
    flag = 0;  // taken, as the statement loop takes it
    raise(SIGINT);
    EXPECT_EQ(flag, 1);
  }
  struct sigaction after {};
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}

TEST(InterruptCatcherDeathTest, SecondCtrlCWhileTheFirstWaitsEndsTheProcess) {
  EXPECT_EXIT(
      {
        volatile std::sig_atomic_t flag = 0;
        InterruptCatcher catcher(flag);
        raise(SIGINT);
        raise(SIGINT);
        std::_Exit(0);
      },
      testing::KilledBySignal(SIGINT), "");
}

}  // namespace
}  // namespace basic::platform

#endif
