// The whole block of each test of means, and its critical differences checked against R
// (qtukey, qt) on the etch-rate experiment of Montgomery's "Design and Analysis of
// Experiments" (four power settings, five wafers each, MSE 333.70 on 16 df).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "means_test_support.h"
#include "shell/format.h"
#include "shell/number_locale.h"
#include "shell/report.h"

namespace tolmex::anova {
namespace {

using testing::kRule;
using testing::Medias;

const std::string kHeader =
    "Tratamentos                             Médias      Resultados do teste \r\n";

std::string Pad30(const std::string& s) { return s + std::string(30 - s.size(), ' '); }

class MeansRun : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(shell::NumberLocale::Dot()); }

  MeansTestOutcome Run(std::int32_t code, std::vector<LevelMean> means, double r, ErrorLine e,
                       TitleStyle titles = TitleStyle::MainEffect, double fc = 0) {
    MeansTestInput in;
    in.code = code;
    in.name = "Trat";
    in.error = e;
    in.fc = fc;
    in.k_waller = 100;
    in.titles = titles;
    means_ = std::move(means);
    return RunMeansTest(in, means_, r, SignificanceRefs{op_alpha, alpha, t_waller}, out);
  }

  double op_alpha = 0.05;
  double alpha = -1;
  double t_waller = 0;
  shell::Report out;
  std::vector<LevelMean> means_;
};

// Means 15, 10, 11 of "L1", "L2", "L3" with r = 2 and no error degrees of freedom: DMS 0,
// every mean its own group.
const std::string kTableSemErro = "Média harmonica do número de repetições (r): 2\r\n"
                                  "Erro padrão: 0\r\n" +
                                  kRule + "\r\n\r\n\r\n" + kHeader + kRule + "\r\n" + Pad30("L2") +
                                  "        10.000000 a1       \r\n" + Pad30("L3") +
                                  "        11.000000    a2    \r\n" + Pad30("L1") +
                                  "        15.000000       a3 \r\n" + kRule + "\r\n\r\n\r\n";

TEST_F(MeansRun, BlocksOfTheCriticalDifferenceTests) {
  struct Case {
    std::int32_t code;
    TitleStyle titles;
    double op_alpha;
    std::string title, dms_lines;
    double op_alpha_after, alpha_after;
  };
  using enum TitleStyle;
  const Case cases[] = {
      {kTukey, MainEffect, 0.2, "   Teste Tukey para a FV Trat", "DMS: 0  NMS: 0.1\r\n", 0.1, 0.1},
      {kTukey, MainEffect, 0.001, "   Teste Tukey para a FV Trat", "DMS: 0  NMS: 0.01\r\n", 0.01, 0.01},
      {kTukey, Splitting, 0.7, "   Teste Tukey para a FV Trat", "DMS: 0  NMS: 0.05\r\n", 0.05, 0.05},
      {kBonferroni, MainEffect, 0.2, "   Teste t (Bonferroni) para a FV Trat",
       "DMS: 0  NMS: 0.2\r\n", 0.2, 0.2},
      {kLSD, MainEffect, 0.7, "   Teste t (LSD) para a FV Trat", "DMS: 0  NMS: 0.05\r\n", 0.7, 0.05},
      {kLSD, Splitting, 0.01, "   Teste t (LSD) para a FV Trat", "DMS: 0  NMS: 0.01\r\n", 0.01, 0.01},
      // No error degrees of freedom: the critical t keeps its previous value, here 0.
      {kWallerDuncan, MainEffect, 0.05, "   Teste Waller-Duncan para a FV Trat",
       "DMS: 0  K: 100\r\nt crítico: 0\r\n", 0.05, 0.05},
      {kWallerDuncan, Splitting, 0.05, "", "DMS: 0  K: 100\r\nt crítico: 0\r\n", 0.05, 0.05},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title + " " + std::to_string(c.op_alpha));
    out.ClearText();
    op_alpha = c.op_alpha;
    t_waller = 0;
    const auto res = Run(c.code, Medias({15, 10, 11}), 2, ErrorLine{0, 0}, c.titles);
    const std::string want = kRule + "\r\n" + c.title + "\r\n" + kRule + "\r\n\r\n\r\n" + c.dms_lines +
                             kRule + "\r\n\r\n\r\n" + kTableSemErro;
    EXPECT_EQ(out.Text(), want);
    EXPECT_EQ(op_alpha, c.op_alpha_after);
    EXPECT_EQ(alpha, c.alpha_after);
    EXPECT_EQ(res.dms, 0);
    EXPECT_EQ(res.groups, (std::vector<Group>{{1, 1}, {2, 2}, {3, 3}}));
  }
}

TEST_F(MeansRun, WallerDuncanKeepsThePreviousCriticalTWithoutErrorDf) {
  t_waller = 2.25;
  Run(kWallerDuncan, Medias({1, 2}), 3, ErrorLine{0, 5});
  EXPECT_EQ(t_waller, 2.25);
  EXPECT_NE(out.Text().find("\r\nDMS: 0  K: 100\r\nt crítico: 2.25\r\n"), std::string::npos);
}

const std::vector<double> kEtch = {707.0, 551.2, 625.4, 587.4};  // 220, 160, 200, 180 W
const ErrorLine kEtchErro{16, 333.7};
constexpr double kEtchFc = 66.79707;

TEST_F(MeansRun, CriticalDifferencesOfTheEtchRateExperiment) {
  // R: qtukey(1 - a, 4, 16) * sqrt(333.7 / 5), qt(1 - a / 2, 16) * sqrt(2 * 333.7 / 5),
  // qt(1 - a / 12, 16) * sqrt(2 * 333.7 / 5).
  struct Case {
    std::int32_t code;
    double op_alpha, dms;
    std::vector<Group> groups;
    double rel_tol = 2e-3;
  };
  const Case cases[] = {
      {kTukey, 0.05, 33.0543762288, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      // At 0.01 the studentized-range quantile search stops within 5e-4 of the probability,
      // which far in the tail is about 0.4% of the quantile.
      {kTukey, 0.01, 42.4149800662, {{1, 2}, {2, 3}, {4, 4}}, 5e-3},
      {kLSD, 0.05, 24.4920174097, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {kBonferroni, 0.05, 34.7563473981, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + " " + std::to_string(c.op_alpha));
    op_alpha = c.op_alpha;
    const auto res = Run(c.code, Medias(kEtch), 5, kEtchErro);
    EXPECT_NEAR(res.dms, c.dms, c.rel_tol * c.dms);
    EXPECT_EQ(res.groups, c.groups);
  }
}

TEST_F(MeansRun, WallerDuncanUsesTheTreatmentsDegreesOfFreedom) {
  // Critical t for k = 100, q = 3, f = 16, F = 66.797, from the Bayes rule integrated in R
  // (integrate over u in (1, inf), uniroot on N/D = k).
  const auto res = Run(kWallerDuncan, Medias(kEtch), 5, kEtchErro, TitleStyle::MainEffect, kEtchFc);
  EXPECT_NEAR(t_waller, 1.9192457395, 2e-3);
  EXPECT_NEAR(res.dms, t_waller * std::sqrt(2 * 333.7 / 5), 1e-9);
  EXPECT_NE(out.Text().find("\r\nt crítico: " + shell::FormatGeneral(t_waller) + "\r\n"),
            std::string::npos);
}

TEST_F(MeansRun, StudentNewmanKeulsBlock) {
  op_alpha = 0.3;  // clamped to 0.1 and written back
  const auto res = Run(kSNK, Medias(kEtch), 5, kEtchErro);
  EXPECT_EQ(op_alpha, 0.1);
  EXPECT_EQ(alpha, 0.1);
  ASSERT_EQ(res.dms_snk.size(), 3u);
  // R: qtukey(0.9, s, 16) * sqrt(333.7 / 5) for s = 4, 3, 2.
  const double want_dms[] = {28.7571071722, 25.5209905958, 20.1708120399};
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(res.dms_snk[i], want_dms[i], 2e-3 * want_dms[i]);
  auto g = [](double x) { return shell::FormatGeneral(x); };
  const std::string want =
      kRule + "\r\nTeste SNK para a FV Trat\r\nMédias                DMS \r\n  NMS: 0.1\r\n" + kRule +
      "\r\n4          " + g(res.dms_snk[0]) + "\r\n3          " + g(res.dms_snk[1]) +
      "\r\n2          " + g(res.dms_snk[2]) + "\r\n" + kRule +
      "\r\nMédia harmonica do número de repetições (r): 5\r\nErro padrão: " +
      g(std::sqrt(333.7 / 5)) + "\r\n" + kRule + "\r\n\r\n\r\n" + kHeader + kRule + "\r\n" +
      Pad30("L2") + "       551.200000 a1          \r\n" + Pad30("L4") +
      "       587.400000    a2       \r\n" + Pad30("L3") + "       625.400000       a3    \r\n" +
      Pad30("L1") + "       707.000000          a4 \r\n" + kRule + "\r\n\r\n\r\n";
  EXPECT_EQ(out.Text(), want);
}

TEST_F(MeansRun, StudentNewmanKeulsInTheSplittingHasNoTitleLine) {
  Run(kSNK, Medias({3, 1}), 2, ErrorLine{0, 0}, TitleStyle::Splitting);
  const std::string head = kRule + "\r\nMédias                DMS \r\n  NMS: 0.05\r\n" + kRule + "\r\n";
  EXPECT_EQ(out.Text().substr(0, head.size()), head);
  EXPECT_NE(out.Text().find("\r\n2          0\r\n" + kRule + "\r\nMédia harmonica"), std::string::npos);
}

TEST_F(MeansRun, ScottKnottBlock) {
  op_alpha = 0.7;  // used unchanged
  const auto res = Run(kScottKnott, Medias({20, 21, 10, 11}), 4, ErrorLine{12, 4});
  EXPECT_EQ(alpha, 0.7);
  EXPECT_EQ(op_alpha, 0.7);
  EXPECT_EQ(res.groups, (std::vector<Group>{{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
  op_alpha = 1.5;
  out.ClearText();
  Run(kScottKnott, Medias({20, 21, 10, 11}), 4, ErrorLine{12, 4});
  EXPECT_EQ(alpha, 0.05);
  const std::string want =
      kRule + "\r\nTeste Scott-Knott (1974) para a FV Trat\r\n" + kRule + "\r\n\r\n  NMS: 0.05\r\n" +
      kRule + "\r\n\r\n\r\nMédia harmonica do número de repetições (r): 4\r\nErro padrão: 1\r\n" +
      kRule + "\r\n\r\n\r\n" + kHeader + kRule + "\r\n" + Pad30("L3") + "        10.000000 a1 \r\n" +
      Pad30("L4") + "        11.000000 a1 \r\n" + Pad30("L1") + "        20.000000 a2 \r\n" +
      Pad30("L2") + "        21.000000 a2 \r\n" + kRule + "\r\n\r\n\r\n";
  EXPECT_EQ(out.Text(), want);
  out.ClearText();
  Run(kScottKnott, Medias({20, 21, 10, 11}), 4, ErrorLine{12, 4}, TitleStyle::Splitting);
  const std::string head = kRule + "\r\n" + kRule + "\r\n\r\n  NMS: 0.05\r\n";
  EXPECT_EQ(out.Text().substr(0, head.size()), head);
}

TEST_F(MeansRun, OneLevel) {
  // Tukey's studentized range has no quantile for one mean: DMS 0. Bonferroni has no pair:
  // DMS 0 and no diagnostic. SNK has no span. Each prints the single mean in group a1.
  for (std::int32_t code : {kTukey, kSNK, kBonferroni, kLSD, kScottKnott, kWallerDuncan}) {
    SCOPED_TRACE(code);
    out.ClearText();
    ::testing::internal::CaptureStderr();
    const auto res = Run(code, Medias({4.5}), 3, ErrorLine{10, 2}, TitleStyle::MainEffect, 1e-11);
    const std::string err = ::testing::internal::GetCapturedStderr();
    if (code != kLSD && code != kWallerDuncan) EXPECT_EQ(res.dms, 0);
    EXPECT_TRUE(std::isfinite(res.dms));
    EXPECT_EQ(res.groups, (std::vector<Group>{{1, 1}}));
    EXPECT_NE(out.Text().find(kRule + "\r\n" + Pad30("L1") + "         4.500000 a1 \r\n" + kRule),
              std::string::npos);
    if (code == kBonferroni) EXPECT_EQ(err, "");
  }
}

TEST_F(MeansRun, CodesOutsideTheTestsOfMeans) {
  // 0 only sorts; contrasts (6) and regression (7) keep the first-appearance order.
  Run(kNenhumTeste, Medias({3, 1, 2}), 1, ErrorLine{4, 1});
  EXPECT_EQ(means_[0].media, 1);
  EXPECT_EQ(out.Text(), "");
  for (std::int32_t code : {6, 7}) {
    const auto res = Run(code, Medias({3, 1, 2}), 1, ErrorLine{4, 1});
    EXPECT_EQ(means_[0].media, 3);
    EXPECT_TRUE(res.groups.empty());
    EXPECT_EQ(out.Text(), "");
  }
}

TEST(WallerDuncanT, TreatmentsDegreesOfFreedomAreLevelsLessOne) {
  // k-ratio 100. Five means: 4 treatment df. R integrates the Bayes rule (integrate, uniroot);
  // the last row is the large-F, large-df limit (normal theory: 1.7208; tables: 1.72).
  struct Case {
    std::int32_t k, f;
    double fc, want, tol;
  };
  const Case cases[] = {
      {5, 20, 10, 1.99162392597, 2e-3},
      {5, 20, 2, 2.50853196393, 2e-3},
      {4, 16, 66.79707, 1.9192457395, 2e-3},
      {5, 1000, 1000, 1.7208, 1e-2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    EXPECT_NEAR(TWallerMedias(100, c.k, ErrorLine{c.f, 1}, c.fc), c.want, c.tol);
  }
}

}  // namespace
}  // namespace tolmex::anova
