#include "shell/random.h"

#include <gtest/gtest.h>

using tolmex::shell::Random;

TEST(Random, SameSeedSameSequenceAndRanges) {
  Random a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const auto x = a.NextU64();
    EXPECT_EQ(x, b.NextU64());
    differs |= x != c.NextU64();
  }
  EXPECT_TRUE(differs);
  int counts[7] = {};
  for (int i = 0; i < 70000; ++i) {
    const int v = a.Next(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
    ++counts[v];
    const double u = a.NextDouble();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
  for (int n : counts) EXPECT_NEAR(n, 10000, 500);
  EXPECT_EQ(a.Next(0), 0);
}
