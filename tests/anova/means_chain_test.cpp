// The whole computation of a run with tests of means on a main effect: after the table of
// each analysis, the chosen test prints its block. Layout compared character for character;
// the critical values in it checked against R (qtukey, qt, and the Waller-Duncan Bayes rule
// integrated numerically) on Montgomery's etch-rate experiment.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "anova/anova_run.h"
#include "anova/model_language.h"
#include "anova/procedures.h"
#include "data/data_table.h"
#include "scripted_prompter.h"
#include "shell/format.h"
#include "shell/number_locale.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::anova {
namespace {

const std::string R(80, '-');
const std::string E = "\r\n";

const double kPower[] = {160, 180, 200, 220, 160, 180, 200, 220, 160, 180,
                         200, 220, 160, 180, 200, 220, 160, 180, 200, 220};
const double kRate[] = {575, 565, 600, 725, 542, 593, 651, 700, 530, 590,
                        610, 715, 539, 579, 637, 685, 570, 610, 629, 710};

class MeansChain : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
    table.AddField({"Trat", data::FieldType::ftFloat, 0});
    table.AddField({"y", data::FieldType::ftFloat, 0});
    table.Open();
    for (int i = 0; i < 20; ++i) {
      const int r = table.AppendRow();
      table.SetFloat(r, 0, kPower[i]);
      table.SetFloat(r, 1, kRate[i]);
    }
  }

  // Runs the model "Trat", "Fim" with the given option slots on FV 1.
  std::string Run(const std::vector<std::uint8_t>& codes, const std::vector<double>& alphas,
                  int transformation = 0) {
    AnovaState st;
    st.LB_Anova = {"Trat", "Fim"};
    st.nfv = 2;
    st.num_erros = 1;
    st.press_fim = true;
    st.identifica_FV[1] = ClassifyLine("Trat");
    st.identifica_FV[2] = kErrorTerm;
    st.ListBox_Variaveis = {"Trat", "y"};
    st.responses = {"y"};
    st.nva = 1;
    if (transformation) {
      st.Op_VarToAna[1][0] = 1;
      st.Op_VarToAna[1][1] = static_cast<std::uint8_t>(transformation);
    }
    st.Op_FV[1][0] = static_cast<std::uint8_t>(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
      st.Op_FV[1][i + 1] = codes[i];
      st.Op_Alpha[1][i + 1] = alphas[i];
    }
    EXPECT_TRUE(st.aq_tab1.CopyFrom(table));
    shell::Report report;
    AnovaContext ctx{st, table, report, prompter};
    ctx.testesMediasFV = DefaultProcedures();
    RunAnova(ctx);
    last_alpha = st.Op_Alpha[1][1];
    t_waller = st.t_waller;
    return report.Text();
  }

  // The text the tests added after the analysis-of-variance table.
  std::string Block(const std::vector<std::uint8_t>& codes, const std::vector<double>& alphas) {
    const std::string table_only = Run({}, {});
    const std::string all = Run(codes, alphas);
    EXPECT_EQ(all.substr(0, table_only.size()), table_only);
    return all.substr(table_only.size());
  }

  data::DataTable table;
  tolmex::testing::ScriptedPrompter prompter;
  double last_alpha = 0;
  double t_waller = 0;
};

// The number written after `prefix` at the start of a line of `text` (up to the next blank or
// line end); NaN when there is no such line.
double NumberAfter(const std::string& text, const std::string& prefix, std::string* as_text) {
  const std::size_t at = text.find(E + prefix);
  if (at == std::string::npos) return std::nan("");
  const std::size_t from = at + E.size() + prefix.size();
  std::size_t to = from;
  while (to < text.size() && text[to] != ' ' && text[to] != '\r') ++to;
  *as_text = text.substr(from, to - from);
  double x = std::nan("");
  std::from_chars(as_text->data(), as_text->data() + as_text->size(), x);
  return x;
}

std::string MeansTable(const std::string& se, const std::vector<std::string>& groups) {
  const char* levels[] = {"160", "180", "200", "220"};
  const char* means[] = {"      551.200000 ", "      587.400000 ", "      625.400000 ",
                         "      707.000000 "};
  std::string t = "Média harmonica do número de repetições (r): 5" + E + "Erro padrão: " + se + E + R +
                  E + E + E + "Tratamentos                             Médias      Resultados do teste " +
                  E + R + E;
  for (int i = 0; i < 4; ++i) t += shell::PadRight(levels[i], 30) + " " + means[i] + groups[i] + E;
  return t + R + E + E + E;
}

const std::vector<std::string> kSeparate = {"a1          ", "   a2       ", "      a3    ",
                                            "         a4 "};

TEST_F(MeansChain, CriticalDifferenceTests) {
  struct Case {
    std::uint8_t code;
    double op_alpha;
    const char* title;
    double dms;  // R
    double used_alpha;
    std::vector<std::string> groups;
  };
  const Case cases[] = {
      {kTukey, 0.05, "   Teste Tukey para a FV Trat", 33.0543762288, 0.05, kSeparate},
      // Tukey clamps 0.2 to 0.1: R qtukey(0.9, 4, 16) * sqrt(333.7 / 5).
      {kTukey, 0.2, "   Teste Tukey para a FV Trat", 28.7571071722, 0.1, kSeparate},
      {kBonferroni, 0.05, "   Teste t (Bonferroni) para a FV Trat", 34.7563473981, 0.05, kSeparate},
      {kLSD, 0.05, "   Teste t (LSD) para a FV Trat", 24.4920174097, 0.05, kSeparate},
      // LSD replaces 0.7 by 0.05.
      {kLSD, 0.7, "   Teste t (LSD) para a FV Trat", 24.4920174097, 0.05, kSeparate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " " + std::to_string(c.op_alpha));
    const std::string got = Block({c.code}, {c.op_alpha});
    std::string dms_text, se_text;
    EXPECT_NEAR(NumberAfter(got, "DMS: ", &dms_text), c.dms, 2e-3 * c.dms);
    EXPECT_NEAR(NumberAfter(got, "Erro padrão: ", &se_text), std::sqrt(333.7 / 5), 1e-9);
    const std::string want = R + E + c.title + E + R + E + E + E + "DMS: " + dms_text + "  NMS: " +
                             shell::FormatGeneral(c.used_alpha) + E + R + E + E + E +
                             MeansTable(se_text, c.groups);
    EXPECT_EQ(got, want);
    if (c.code == kTukey) EXPECT_EQ(last_alpha, c.used_alpha);
    if (c.code != kTukey) EXPECT_EQ(last_alpha, c.op_alpha);
  }
  prompter.VerifyDone();
}

TEST_F(MeansChain, StudentNewmanKeuls) {
  const std::string got = Block({kSNK}, {0.05});
  // R: qtukey(0.95, s, 16) * sqrt(333.7 / 5) for s = 4, 3, 2.
  const double want_dms[] = {33.0543762288, 29.8114770285, 24.4920167834};
  std::string dms_text[3], se_text;
  for (int s = 4; s >= 2; --s) {
    const double x = NumberAfter(got, std::to_string(s) + "          ", &dms_text[4 - s]);
    EXPECT_NEAR(x, want_dms[4 - s], 2e-3 * want_dms[4 - s]);
  }
  NumberAfter(got, "Erro padrão: ", &se_text);
  const std::string want = R + E + "Teste SNK para a FV Trat" + E + "Médias                DMS " + E +
                           "  NMS: 0.05" + E + R + E + "4          " + dms_text[0] + E +
                           "3          " + dms_text[1] + E + "2          " + dms_text[2] + E + R +
                           E + MeansTable(se_text, kSeparate);
  EXPECT_EQ(got, want);
}

TEST_F(MeansChain, ScottKnott) {
  const std::string got = Block({kScottKnott}, {0.05});
  std::string se_text;
  NumberAfter(got, "Erro padrão: ", &se_text);
  // Groups from an independent implementation in R: every mean alone.
  const std::string want = R + E + "Teste Scott-Knott (1974) para a FV Trat" + E + R + E + E +
                           "  NMS: 0.05" + E + R + E + E + E +
                           MeansTable(se_text, {"a1 ", "a2 ", "a3 ", "a4 "});
  EXPECT_EQ(got, want);
}

TEST_F(MeansChain, WallerDuncan) {
  const std::string got = Block({kWallerDuncan}, {0.05});
  std::string dms_text, t_text, se_text;
  const double dms = NumberAfter(got, "DMS: ", &dms_text);
  const double t = NumberAfter(got, "t crítico: ", &t_text);
  NumberAfter(got, "Erro padrão: ", &se_text);
  // k = 100 with 3 treatment df, 16 error df and F = 66.797 (R, the Bayes rule integrated).
  EXPECT_NEAR(t, 1.9192457395, 2e-3);
  EXPECT_NEAR(t, t_waller, 1e-12);
  EXPECT_NEAR(dms, t * std::sqrt(2 * 333.7 / 5), 1e-9 * dms);
  const std::string want = R + E + "   Teste Waller-Duncan para a FV Trat" + E + R + E + E + E +
                           "DMS: " + dms_text + "  K: 100" + E + "t crítico: " + t_text + E + R + E +
                           E + E + MeansTable(se_text, kSeparate);
  EXPECT_EQ(got, want);
}

TEST_F(MeansChain, EveryAnalysisGetsItsTests) {
  // Untransformed, then the square root: two tables, each followed by its Tukey block.
  const std::string got = Run({kTukey}, {0.05}, 1);
  const std::string title = E + "   Teste Tukey para a FV Trat" + E;
  const std::size_t first = got.find(title);
  ASSERT_NE(first, std::string::npos);
  const std::size_t second = got.find(title, first + 1);
  ASSERT_NE(second, std::string::npos);
  const std::size_t table2 = got.find("Raiz quadrada - SQRT ( Y )");
  ASSERT_NE(table2, std::string::npos);
  EXPECT_LT(first, table2);
  EXPECT_LT(table2, second);
  const double sqrt_mean_160 =
      (std::sqrt(575.0) + std::sqrt(542.0) + std::sqrt(530.0) + std::sqrt(539.0) + std::sqrt(570.0)) / 5;
  EXPECT_NE(got.find(shell::PadRight("160", 30) + " " + shell::FormatFixed(sqrt_mean_160, 16, 6) + " a1",
                     second),
            std::string::npos);
}

TEST_F(MeansChain, AllSixTestsInOneSource) {
  const std::string got = Block({kTukey, kSNK, kBonferroni, kLSD, kScottKnott, kWallerDuncan},
                                {0.05, 0.05, 0.05, 0.05, 0.05, 0.05});
  const char* titles[] = {"   Teste Tukey para a FV Trat", "Teste SNK para a FV Trat",
                          "   Teste t (Bonferroni) para a FV Trat", "   Teste t (LSD) para a FV Trat",
                          "Teste Scott-Knott (1974) para a FV Trat",
                          "   Teste Waller-Duncan para a FV Trat"};
  std::size_t at = 0;
  for (const char* title : titles) {
    SCOPED_TRACE(title);
    const std::size_t next = got.find(R + E + title + E, at);
    ASSERT_NE(next, std::string::npos);
    at = next + 1;
  }
}

}  // namespace
}  // namespace tolmex::anova
