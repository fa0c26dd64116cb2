// The per-slot driver of the tests of means on a main effect: level means from the scratch
// table, the slot loop, the error line, the write-back of the level and the per-slot error
// message.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "anova/anova_state.h"
#include "anova/means/testes_medias.h"
#include "anova/procedures.h"
#include "data/data_table.h"
#include "means_test_support.h"
#include "scripted_prompter.h"
#include "shell/format.h"
#include "shell/number_locale.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::anova {
namespace {

using data::DataTable;
using data::FieldType;
using testing::kRule;

std::string Pad30(const std::string& s) { return shell::PadRight(s, 30); }

// Montgomery's etch-rate experiment, rows in a shuffled order: power (numeric) and rate.
const double kPower[] = {200, 160, 220, 180, 160, 200, 220, 180, 160, 220,
                         200, 180, 160, 220, 180, 200, 160, 180, 220, 200};
const double kRate[] = {600, 575, 725, 565, 542, 651, 700, 593, 530, 715,
                        610, 590, 539, 685, 579, 637, 570, 610, 710, 629};

class MeansDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
    table.AddField({"Trat", FieldType::ftFloat, 0});
    table.AddField({"Nome", FieldType::ftString, 40});
    table.AddField({"Y", FieldType::ftFloat, 0});
    table.Open();
    for (int i = 0; i < 20; ++i) {
      const int r = table.AppendRow();
      table.SetFloat(r, 0, kPower[i]);
      table.SetString(r, 1, "Potência de " + shell::FormatGeneral(kPower[i]) + " watts no reator");
      table.SetFloat(r, 2, kRate[i]);
    }
    st.LB_Anova = {"Trat", "Nome", "Fim"};
    st.nfv = 3;
    st.identifica_FV[1] = kMainEffect;
    st.identifica_FV[2] = kMainEffect;
    st.identifica_FV[3] = kErrorTerm;
    st.ListBox_Variaveis = {"Trat", "Nome", "Y"};
    st.responses = {"Y"};
    st.nva = 1;
    st.var_atual = 1;
    st.transf_atual = 1;
    // The table R's anova() gives for these data.
    st.Tabela_ANAVA[1] = {3, 66870.55, 22290.18333, 66.79707, 2.88e-9};
    st.Tabela_ANAVA[2] = {3, 66870.55, 22290.18333, 66.79707, 2.88e-9};
    st.Tabela_ANAVA[3] = {16, 5339.2, 333.7, 0, 0};
    ASSERT_TRUE(st.aq_tab1.CopyFrom(table));
  }

  void Slots(int fv, std::vector<std::uint8_t> codes, std::vector<double> alphas) {
    st.Op_FV[static_cast<std::size_t>(fv)][0] = static_cast<std::uint8_t>(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
      st.Op_FV[static_cast<std::size_t>(fv)][i + 1] = codes[i];
      st.Op_Alpha[static_cast<std::size_t>(fv)][i + 1] = alphas[i];
    }
  }

  DataTable table;
  AnovaState st;
  shell::Report report;
  tolmex::testing::ScriptedPrompter prompter;
  AnovaContext ctx{st, table, report, prompter};
};

TEST_F(MeansDriver, LevelMeansFromTheScratchTable) {
  Slots(1, {kTukey}, {0.05});
  const SlotMeans m = MediasDoSlot(ctx, 1, 1, 1, 1);
  ASSERT_EQ(m.levels.means.size(), 4u);
  const char* labels[] = {"160", "180", "200", "220"};
  const double means[] = {551.2, 587.4, 625.4, 707.0};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(m.levels.means[i].label, labels[i]);
    EXPECT_NEAR(m.levels.means[i].media, means[i], 1e-9);
    EXPECT_EQ(m.levels.means[i].n, 5);
    EXPECT_EQ(m.levels.means[i].nivel, static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(m.levels.means[i].ultimo, static_cast<std::int32_t>(5 * (i + 1)));
  }
  EXPECT_DOUBLE_EQ(m.levels.r, 5);
  EXPECT_EQ(m.erro.gl, 16);
  EXPECT_EQ(m.erro.qm, 333.7);
  EXPECT_EQ(m.name, "Trat");
}

TEST_F(MeansDriver, TwoSlotsOnANumericFactor) {
  Slots(1, {kTukey, kScottKnott}, {0.3, 0.05});
  TestesMediasFV(ctx, 1, 1, 1);
  // Tukey ran with 0.1 and kept it in the slot.
  EXPECT_EQ(st.Op_Alpha[1][1], 0.1);
  EXPECT_EQ(st.alpha, 0.05);  // the Scott-Knott slot ran last
  const std::string& text = report.Text();
  const std::size_t sk = text.find(kRule + "\r\nTeste Scott-Knott (1974) para a FV Trat\r\n");
  ASSERT_NE(sk, std::string::npos);
  EXPECT_EQ(text.rfind(kRule + "\r\n   Teste Tukey para a FV Trat\r\n", sk), 0u);
  EXPECT_NE(text.find("  NMS: 0.1\r\n"), std::string::npos);
  const std::string se = shell::FormatGeneral(std::sqrt(333.7 / 5));
  const std::string want_sk =
      kRule + "\r\nTeste Scott-Knott (1974) para a FV Trat\r\n" + kRule + "\r\n\r\n  NMS: 0.05\r\n" +
      kRule + "\r\n\r\n\r\nMédia harmonica do número de repetições (r): 5\r\nErro padrão: " + se +
      "\r\n" + kRule + "\r\n\r\n\r\n" +
      "Tratamentos                             Médias      Resultados do teste \r\n" + kRule +
      "\r\n" + Pad30("160") + "       551.200000 a1 \r\n" + Pad30("180") +
      "       587.400000 a2 \r\n" + Pad30("200") + "       625.400000 a3 \r\n" + Pad30("220") +
      "       707.000000 a4 \r\n" + kRule + "\r\n\r\n\r\n";
  EXPECT_EQ(text.substr(sk), want_sk);
  prompter.VerifyDone();
}

TEST_F(MeansDriver, TextLevelsAreCutToThirtyCharacters) {
  Slots(2, {kLSD}, {0.05});
  TestesMediasFV(ctx, 1, 1, 2);
  const std::string& text = report.Text();
  EXPECT_NE(text.find("   Teste t (LSD) para a FV Nome\r\n"), std::string::npos);
  // "Potência de 160 watts no reato" is 30 characters (31 bytes).
  EXPECT_NE(text.find("\r\nPotência de 160 watts no reato       551.200000 a1          \r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\nPotência de 220 watts no reato       707.000000          a4 \r\n"),
            std::string::npos);
}

TEST_F(MeansDriver, NoSlotsNoOutput) {
  TestesMediasFV(ctx, 1, 1, 1);
  EXPECT_EQ(report.Text(), "");
}

TEST_F(MeansDriver, AFailingSlotShowsTheMessageAndTheNextSlotRuns) {
  // The first slot of FV 1 fails (its column is not in the column list any more); the
  // second, on the same FV, fails too; then FV 2 runs normally.
  st.ListBox_Variaveis = {"Outro", "Nome", "Y"};
  Slots(1, {kTukey, kLSD}, {0.05, 0.05});
  prompter.ExpectMessage(kMensagemErroSlot).ExpectMessage(kMensagemErroSlot);
  TestesMediasFV(ctx, 1, 1, 1);
  prompter.VerifyDone();
  EXPECT_EQ(std::string(kMensagemErroSlot),
            "Algum problema foi detectado com os seus dados!\rIsso pode causar erros (somas de "
            "quadrados negativas), na ANAVA!");
  Slots(2, {kBonferroni}, {0.05});
  TestesMediasFV(ctx, 1, 1, 2);
  EXPECT_NE(report.Text().find("   Teste t (Bonferroni) para a FV Nome\r\n"), std::string::npos);
}

TEST_F(MeansDriver, WithoutAnErrorLineTheDifferenceIsZero) {
  st.identifica_FV[3] = kMainEffect;  // no error term below FV 1
  Slots(1, {kWallerDuncan}, {0.05});
  st.t_waller = 0;
  TestesMediasFV(ctx, 1, 1, 1);
  EXPECT_NE(report.Text().find("\r\nDMS: 0  K: 100\r\nt crítico: 0\r\n"), std::string::npos);
  EXPECT_NE(report.Text().find("\r\nErro padrão: 0\r\n"), std::string::npos);
}

TEST_F(MeansDriver, WallerDuncanReadsTheFOfTheSource) {
  Slots(1, {kWallerDuncan}, {0.05});
  TestesMediasFV(ctx, 1, 1, 1);
  // R (Bayes rule integrated numerically): k = 100, q = 3, f = 16, F = 66.797.
  EXPECT_NEAR(st.t_waller, 1.9192457395, 2e-3);
  st.Tabela_ANAVA[1].f = 2;
  TestesMediasFV(ctx, 1, 1, 1);
  EXPECT_GT(st.t_waller, 1.9192457395 + 0.1);  // a smaller F gives a larger critical t
}

class OneContrast : public ContrastPort {
 public:
  std::optional<ContrastAnswer> AskContrast(const ContrastRequest& request) override {
    requests.push_back(request);
    ContrastAnswer a;
    a.coefficients = {"1", "-1", "0", "0"};
    a.finalizou = true;
    return a;
  }
  std::vector<ContrastRequest> requests;
};

TEST_F(MeansDriver, ContrastsGetTheLevelsInTheirOrder) {
  OneContrast port;
  ctx.contrasts = &port;
  Slots(1, {6}, {0.05});
  TestesMediasFV(ctx, 1, 1, 1);
  ASSERT_EQ(port.requests.size(), 1u);
  EXPECT_EQ(port.requests[0].fvName, "Trat");
  EXPECT_EQ(port.requests[0].variable, "Variável Y");
  EXPECT_EQ(port.requests[0].levels,
            (std::vector<std::string>{"             160", "             180", "             200",
                                      "             220"}));
  EXPECT_EQ(port.requests[0].fv, 1);
  EXPECT_EQ(port.requests[0].slot, 1);
  // The estimate of mean(160) - mean(180) is printed somewhere in the contrast's block.
  EXPECT_NE(report.Text().find("-36.2"), std::string::npos);
  prompter.VerifyDone();
}

TEST_F(MeansDriver, RegressionOnATextFactorIsRefused) {
  Slots(2, {7}, {0.05});
  st.Op_Reg[2][1][0] = 1;
  st.Op_Reg[2][1][1] = 1;
  prompter.ExpectMessage(kMensagemRegressaoQualitativa);
  TestesMediasFV(ctx, 1, 1, 2);
  prompter.VerifyDone();
  EXPECT_EQ(report.Text(), "");
  EXPECT_EQ(std::string(kMensagemRegressaoQualitativa),
            "Tentativa de aplicar regressão a X qualitativo!\rNada foi feito!");
}

TEST_F(MeansDriver, RegressionOnANumericFactor) {
  Slots(1, {7}, {0.05});
  st.Op_Reg[1][1][0] = 1;
  st.Op_Reg[1][1][1] = 1;
  TestesMediasFV(ctx, 1, 1, 1);
  prompter.VerifyDone();
  EXPECT_NE(report.Text().find("Regressão para a FV Trat"), std::string::npos);
}

TEST_F(MeansDriver, RegressionWithoutTermsFailsInItsSlot) {
  Slots(1, {7, kTukey}, {0.05, 0.05});
  prompter.ExpectMessage(kMensagemErroSlot);
  TestesMediasFV(ctx, 1, 1, 1);
  prompter.VerifyDone();
  EXPECT_NE(report.Text().find("   Teste Tukey para a FV Trat\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tolmex::anova
