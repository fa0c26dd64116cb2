#include "shell/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tolmex::shell;

TEST(Convert, RejectsValuesWithoutAnInteger) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {std::nan(""), inf, -inf, 2147483648.0, -2147483649.0, 1e300}) {
    EXPECT_FALSE(TryTruncToInt(x).has_value()) << x;
    EXPECT_FALSE(TryRoundToInt(x).has_value()) << x;
  }
  EXPECT_EQ(TruncToInt(std::nan("")), 0);
  EXPECT_EQ(TruncToInt(inf), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt(-1e300), std::numeric_limits<std::int32_t>::min());
  EXPECT_FALSE(TryTruncToInt64(9.3e18).has_value());
}

TEST(Convert, TruncatesAndRoundsHalvesToEven) {
  struct Case { double x; int trunc, round; };
  for (auto c : {Case{2.5, 2, 2}, Case{3.5, 3, 4}, Case{-2.5, -2, -2}, Case{-0.7, 0, -1},
                 Case{2147483647.4, 2147483647, 2147483647}, Case{-2147483648.0, -2147483648, -2147483648},
                 Case{0.5, 0, 0}, Case{1.5, 1, 2}}) {
    EXPECT_EQ(TryTruncToInt(c.x).value(), c.trunc) << c.x;
    EXPECT_EQ(TryRoundToInt(c.x).value(), c.round) << c.x;
  }
}
