// Scott-Knott (1974): the best split, the recursive division and the groups.
#include <gtest/gtest.h>

#include <vector>

#include "means_test_support.h"

namespace tolmex::anova {
namespace {

using testing::Medias;

TEST(ParticaoSK, BestSplitAndSums) {
  const auto v = Medias({10, 11, 20, 21});
  const ParticaoResult p = ParticaoSK(v, 1, 4);
  EXPECT_EQ(p.s, 2);
  EXPECT_DOUBLE_EQ(p.b0, 100);
  EXPECT_DOUBLE_EQ(p.ssm, 101);
  // A sub-range: positions 3 ... 4.
  const ParticaoResult q = ParticaoSK(v, 3, 4);
  EXPECT_EQ(q.s, 3);
  EXPECT_DOUBLE_EQ(q.b0, 0.5);
  EXPECT_DOUBLE_EQ(q.ssm, 0.5);
}

TEST(ParticaoSK, TiesKeepTheFirstSplit) {
  // After positions 2 and 3 the between-groups sum of squares is 1.875 exactly.
  const ParticaoResult p = ParticaoSK(Medias({10, 10.5, 11, 11.5, 12}), 1, 5);
  EXPECT_EQ(p.s, 2);
  EXPECT_DOUBLE_EQ(p.b0, 1.875);
}

TEST(ScottKnott, GroupsAgainstAnIndependentImplementation) {
  // Expected groups from a separate implementation in R (pchisq with n / (pi - 2) df).
  struct Case {
    std::vector<double> means;
    ErrorLine e;
    double r, alpha;
    std::vector<Group> want;
  };
  const std::vector<double> eight = {20.1, 21.3, 22.0, 24.6, 28.5, 29.1, 35.2, 36.0};
  const std::vector<double> etch = {551.2, 587.4, 625.4, 707.0};
  const Case cases[] = {
      {{10, 11, 20, 21}, {12, 4}, 4, 0.05, {{1, 2}, {3, 4}}},
      {eight, {20, 4}, 4, 0.05, {{1, 3}, {4, 4}, {5, 6}, {7, 8}}},
      {eight, {20, 4}, 4, 0.01, {{1, 4}, {5, 6}, {7, 8}}},
      {etch, {16, 333.7}, 5, 0.05, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      // The first split of {10, 11, 20, 21} has P = 0.000380877.
      {{10, 11, 20, 21}, {12, 4}, 4, 0.00039, {{1, 2}, {3, 4}}},
      {{10, 11, 20, 21}, {12, 4}, 4, 0.00037, {{1, 4}}},
      // At 0.7 the halves split as well (P = 0.6177).
      {{10, 11, 20, 21}, {12, 4}, 4, 0.7, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {{5, 5, 5}, {10, 2}, 3, 0.05, {{1, 3}}},
      {{5, 5, 5}, {0, 0}, 3, 0.05, {{1, 3}}},
      {{42}, {10, 2}, 3, 0.05, {{1, 1}}},
      {{}, {10, 2}, 3, 0.05, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.means) + " alpha " + std::to_string(c.alpha));
    EXPECT_EQ(GruposScottKnott(Medias(c.means), c.alpha, c.e, c.r), c.want);
  }
}

TEST(ScottKnott, BlocksOfCloseMeansAreGroupsLeftToRight) {
  std::vector<double> m;
  for (int i = 0; i < 60; ++i) m.push_back((i / 7) * 10 + (i % 7) * 0.1);
  const auto groups = GruposScottKnott(Medias(m), 0.05, {30, 1}, 3);
  // Blocks of seven means ten apart: each block is one group (the last has four means).
  std::vector<Group> want;
  for (std::int32_t b = 0; b < 9; ++b) want.push_back({7 * b + 1, b == 8 ? 60 : 7 * b + 7});
  EXPECT_EQ(groups, want);
}

}  // namespace
}  // namespace tolmex::anova
