#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace basic {
namespace {

using Names = std::vector<std::string>;

TEST(CommonTest, ImportsNumbersAndStringsFromTheEnvironment) {
  test::Machine m;
  m.basic.SetEnvironment({"=C:=C:\\", "a=5", "B=hello", "C=12abc", "D=-1.5e2", "E=+.5", "F=5.",
                          "G=1e", "H= 7", "I=1e999", "J=inf", "K=.", "a=6", "S=x=y"});
  EXPECT_EQ(m.Run("A = 9: COMMON A, B$, C, D, E, F, G, H, I, J, K, S$, Q, Q$"), "");
  std::string values;
  m.inside.variables.ForEachFromHead([&](const varrec& v) {
    values = v.name + "=" +
             (v.isString ? std::string(v.strValue.view()) : std::to_string(v.numValue)) + " " +
             values;
  });
  EXPECT_EQ(values,
            "A=5.000000 B$=hello C=0.000000 D=-150.000000 E=0.500000 F=5.000000 G=0.000000 "
            "H=0.000000 I=0.000000 J=0.000000 K=0.000000 S$=x=y Q=0.000000 Q$= ");
}

TEST(CommonTest, NamesAreHeldOnceInUpperCaseAndSorted) {
  test::Machine m;
  EXPECT_EQ(m.Run("COMMON a, zed$: COMMON A, b, Zed$, a,"), "");
  m.Run("NEW");
  EXPECT_EQ(m.inside.commonBlock.Names(), (Names{"A", "B", "ZED$"}));
  for (const char* bad : {"COMMON", "COMMON 5", "COMMON A(1)", "COMMON A; B"})
    EXPECT_EQ(m.Run(bad), "\a(42) Syntax error\r\n") << bad;
}

TEST(CommonTest, ExportReplacesAppendsAndRemoves) {
  test::Machine m;
  m.Run("COMMON W: NEW");  // W's variable is gone, its name stays
  m.Run("COMMON N, S$, T$, U, V, n: N = 1.5: n = 4: T$ = \"x\": U = -2");
  Names target = {"PATH=/bin", "n=old", "S=inherited", "Other=1", "w=2", "N=duplicate"};
  m.inside.commonBlock.ExportCommon(m.inside.variables, target);
  // n, made after N, is nearer the head of the variables: its value goes.
  EXPECT_EQ(target, (Names{"PATH=/bin", "N=4.00000000000000E+0000", "Other=1",
                           "V=0.00000000000000E+0000", "U=-2.00000000000000E+0000", "T=x"}));

  // What one interpreter exports, another imports.
  test::Machine child;
  child.basic.SetEnvironment(target);
  child.Run("COMMON N, T$");
  EXPECT_EQ(child.inside.variables.FindOrAdd("N")->numValue, 4);
  EXPECT_EQ(child.inside.variables.FindOrAdd("T$")->strValue.view(), "x");
}

// The 23-character form stays where it reads back; other values take the
// digits they need, so a child gets exactly the parent's double.
TEST(CommonTest, NumbersArriveExactly) {
  test::Machine parent;
  parent.Run("COMMON A, B, C");
  parent.Run("A = 3: B = 1 / 3: C = -1E-300");
  Names target;
  parent.inside.commonBlock.ExportCommon(parent.inside.variables, target);
  EXPECT_EQ(target, (Names{"C=-1.00000000000000E-0300", "B=3.333333333333333E-0001",
                           "A=3.00000000000000E+0000"}));

  std::mt19937_64 random(16);
  for (int i = 0; i < 5000; ++i) {
    const uint64_t bits = random();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    parent.inside.variables.FindOrAdd("A")->numValue = x;
    parent.inside.commonBlock.ExportCommon(parent.inside.variables, target);
    test::Machine child;
    child.basic.SetEnvironment(target);
    child.Run("COMMON A");
    ASSERT_EQ(child.inside.variables.FindOrAdd("A")->numValue, x) << target.back();
  }
}

}  // namespace
}  // namespace basic
