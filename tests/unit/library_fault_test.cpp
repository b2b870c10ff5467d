// A library function that faults raises "Access violation" and leaves the
// process able to go on; a fault outside a library call still ends it.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>

#include "errors.h"
#include "platform.h"

namespace basic {
namespace {

int32_t Twice(intptr_t x) { return static_cast<int32_t>(x * 2); }

// No code there: the call itself faults, before any instrumented code of
// ours could notice a bad pointer first.
void* const kNowhere = reinterpret_cast<void*>(intptr_t{16});

TEST(LibraryFault, FaultingCalleeRaisesAccessViolationAndLaterCallsWork) {
  ExternalCode& libraries = platform::NativeLibraries();
  const intptr_t words[1] = {21};
  for (int i = 0; i < 2; ++i) {
    try {
      libraries.Call(kNowhere, words, 1);
      ADD_FAILURE() << "the call returned";
    } catch (const LibraryFault& e) {
      EXPECT_EQ(e.errorCode, kErrorCode);
      EXPECT_STREQ(e.what(), "Access violation");
    }
  }
  EXPECT_EQ(libraries.Call(reinterpret_cast<void*>(&Twice), words, 1), 42);
}

// Signals: Linux only. On Windows a fault outside a call is not the
// handler's either, since it belongs to the call's own frame.
#ifndef _WIN32

// Under AddressSanitizer its own handler reports the fault and exits.
#ifdef __SANITIZE_ADDRESS__
#define EXPECT_FAULT_DEATH(statement, signal) EXPECT_DEATH(statement, "SEGV|BUS")
#else
#define EXPECT_FAULT_DEATH(statement, signal) \
  EXPECT_EXIT(statement, testing::KilledBySignal(signal), "")
#endif

TEST(LibraryFaultDeathTest, FaultOutsideALibraryCallStillEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_FAULT_DEATH(
      {
        const intptr_t words[1] = {1};
        platform::NativeLibraries().Call(reinterpret_cast<void*>(&Twice), words, 1);
        std::raise(SIGSEGV);
      },
      SIGSEGV);
  EXPECT_FAULT_DEATH(
      {
        const intptr_t words[1] = {1};
        try {
          platform::NativeLibraries().Call(kNowhere, words, 1);
        } catch (const LibraryFault&) {}
        std::raise(SIGBUS);
      },
      SIGBUS);
}

#endif

}  // namespace
}  // namespace basic
