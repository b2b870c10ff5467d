#include "test_support.h"
#include <gtest/gtest.h>
TEST(Smoke, Builds) { basic::test::Machine m; SUCCEED(); }
