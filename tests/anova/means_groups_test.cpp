// Level means, the sort of the means, the significance levels and the groups of the
// critical-difference tests and of Student-Newman-Keuls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "means_test_support.h"

namespace tolmex::anova {
namespace {

using testing::Medias;

std::vector<std::string> Labels(const std::vector<LevelMean>& v) {
  std::vector<std::string> out;
  for (const auto& m : v) out.push_back(m.label);
  return out;
}

TEST(MediasNiveis, RunsOfEqualLevelsFromAnyFirstRecord) {
  // Records 5 ... 10 of a scratch table already ordered by the factor.
  const std::vector<std::string> key = {"x", "x", "y", "z", "z", "z"};
  const std::vector<double> y = {1, 3, 5, 2, 4, 6};
  auto at = [](std::int32_t rec) { return static_cast<std::size_t>(rec - 5); };
  const LevelMeans lm = MediasNiveis(
      5, 10, [&](std::int32_t a, std::int32_t b) { return key[at(a)] == key[at(b)]; },
      [&](std::int32_t rec) { return y[at(rec)]; },
      [&](std::int32_t rec) { return key[at(rec)] + "@" + std::to_string(rec); });
  ASSERT_EQ(lm.means.size(), 3u);
  struct Want {
    double n, media;
    std::int32_t nivel, ultimo;
    const char* label;
  };
  const Want want[] = {{2, 2, 1, 6, "x@6"}, {1, 5, 2, 7, "y@7"}, {3, 4, 3, 10, "z@10"}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lm.means[i].n, want[i].n);
    EXPECT_DOUBLE_EQ(lm.means[i].media, want[i].media);
    EXPECT_EQ(lm.means[i].nivel, want[i].nivel);
    EXPECT_EQ(lm.means[i].ultimo, want[i].ultimo);
    EXPECT_EQ(lm.means[i].label, want[i].label);
  }
  EXPECT_DOUBLE_EQ(lm.r, 3.0 / (1.0 / 2 + 1.0 + 1.0 / 3));
}

TEST(MediasNiveis, SingleRecordAndEmptyRange) {
  auto same = [](std::int32_t, std::int32_t) { return true; };
  auto val = [](std::int32_t) { return 7.5; };
  auto lab = [](std::int32_t) { return std::string("n"); };
  const LevelMeans one = MediasNiveis(1, 1, same, val, lab);
  ASSERT_EQ(one.means.size(), 1u);
  EXPECT_EQ(one.means[0].ultimo, 1);
  EXPECT_DOUBLE_EQ(one.r, 1);
  EXPECT_TRUE(MediasNiveis(1, 0, same, val, lab).means.empty());
}

TEST(OrdenaMedias, TiesEndAsTheQuicksortLeavesThem) {
  // Traced by hand: pivot 3 swaps A and D, then the upper pair is swapped once more.
  std::vector<LevelMean> v = Medias({5, 3, 5, 3});
  v[0].label = "A";
  v[1].label = "B";
  v[2].label = "C";
  v[3].label = "D";
  OrdenaMedias(v);
  EXPECT_THAT(Labels(v), ::testing::ElementsAre("D", "B", "A", "C"));
}

TEST(OrdenaMedias, SortsAscendingAndKeepsEveryRecord) {
  const std::vector<std::vector<double>> cases = {
      {}, {1}, {2, 1}, {3, 1, 2}, {9, 8, 7, 6, 5, 4, 3, 2, 1}, {1, 1, 1, 1},
      {4.5, -2, 7, 0, 4.5, 3, -2, 10, 1e9, -1e-9, 6, 6, 2}};
  for (const auto& c : cases) {
    std::vector<LevelMean> v = Medias(c);
    OrdenaMedias(v);
    ASSERT_EQ(v.size(), c.size());
    std::vector<double> want = c;
    std::sort(want.begin(), want.end());
    std::vector<int> seen(c.size(), 0);
    for (std::size_t i = 0; i < v.size(); ++i) {
      EXPECT_EQ(v[i].media, want[i]);
      EXPECT_EQ(c[static_cast<std::size_t>(v[i].nivel - 1)], v[i].media);
      ++seen[static_cast<std::size_t>(v[i].nivel - 1)];
    }
    for (int s : seen) EXPECT_EQ(s, 1);
  }
}

TEST(OrdenaMedias, NotANumberDoesNotRunOutOfTheArray) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<LevelMean> v = Medias({3, nan, 1, nan, 2});
  OrdenaMedias(v);
  EXPECT_EQ(v.size(), 5u);
}

TEST(SignificanceLevels, ReplacementsAndClamps) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double op, agrupa, tukey, snk, sk;
  };
  const Case cases[] = {
      {0.05, 0.05, 0.05, 0.05, 0.05}, {0.2, 0.2, 0.1, 0.1, 0.2},
      {0.005, 0.005, 0.01, 0.01, 0.005}, {0.7, 0.05, 0.05, 0.1, 0.7},
      {0.5, 0.05, 0.05, 0.1, 0.5},     {0, 0.05, 0.05, 0.01, 0.05},
      {-1, 0.05, 0.05, 0.01, 0.05},    {1, 0.05, 0.05, 0.1, 0.05},
      {1.5, 0.05, 0.05, 0.1, 0.05},    {0.03, 0.03, 0.03, 0.03, 0.03},
      {nan, 0.05, 0.05, 0.05, 0.05},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.op);
    EXPECT_EQ(NivelAgrupa(c.op), c.agrupa);
    EXPECT_EQ(NivelTukey(c.op), c.tukey);
    EXPECT_EQ(NivelSNK(c.op), c.snk);
    EXPECT_EQ(NivelScottKnott(c.op), c.sk);
  }
}

TEST(AgrupaMedias, LongestRunsWithinTheDifference) {
  struct Case {
    std::vector<double> means;
    double dms;
    std::vector<Group> want;
  };
  const Case cases[] = {
      {{10, 11, 15, 16}, 2, {{1, 2}, {3, 4}}},
      {{1, 2, 3}, 1.5, {{1, 2}, {2, 3}}},
      {{1, 2, 3}, 5, {{1, 3}}},
      {{1, 1, 2}, 0, {{1, 2}, {3, 3}}},
      {{1, 2, 3, 4}, 0, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {{1, 2, 2.5, 4, 4.2}, 1.5, {{1, 3}, {3, 4}, {4, 5}}},
      {{7}, 0, {{1, 1}}},
      {{}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.means));
    EXPECT_EQ(AgrupaMedias(Medias(c.means), c.dms), c.want);
  }
}

TEST(GruposSNK, RangesBySpanThenSingletons) {
  struct Case {
    std::vector<double> means;
    std::vector<double> dms;  // DMS_s for s = k down to 2
    std::vector<Group> want;
  };
  const Case cases[] = {
      {{10, 11, 15, 16}, {3, 2.5, 2}, {{1, 2}, {3, 4}}},
      {{1, 2, 3, 10}, {1, 2.5, 0.5}, {{1, 3}, {4, 4}}},
      {{1, 2, 3}, {2.5, 1.5}, {{1, 3}}},
      {{1, 2, 3, 4}, {0, 2, 1}, {{1, 3}, {2, 4}}},
      {{1, 5, 9, 20}, {0, 0, 4.5}, {{1, 2}, {2, 3}, {4, 4}}},
      {{1, 2, 3}, {0, 0}, {{1, 1}, {2, 2}, {3, 3}}},
      {{4}, {}, {{1, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.means));
    std::vector<std::int32_t> spans;
    const auto k = static_cast<std::int32_t>(c.means.size());
    const auto groups = GruposSNK(Medias(c.means), [&](std::int32_t s) {
      spans.push_back(s);
      return c.dms[static_cast<std::size_t>(k - s)];
    });
    EXPECT_EQ(groups, c.want);
    std::vector<std::int32_t> want_spans;
    for (std::int32_t s = k; s >= 2; --s) want_spans.push_back(s);
    EXPECT_EQ(spans, want_spans);
  }
}

}  // namespace
}  // namespace tolmex::anova
