#include <gtest/gtest.h>

#include <string>

#include "anova/anova_run.h"
#include "anova_test_support.h"
#include "scripted_prompter.h"
#include "shell/report.h"

namespace tolmex::anova {
namespace {

using testdata::Col;
using testdata::MakeTable;

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
const std::string D(80, '-');
const std::string E = "\r\n";

// Runs the model on the table with one response and returns the report text.
std::string RunModel(const data::DataTable& table, const std::vector<std::string>& model,
                testing::ScriptedPrompter& prompter, AnovaState& st) {
  st.LB_Anova = model;
  st.nfv = static_cast<int>(model.size());
  st.num_erros = 1;
  for (const auto& l : model)
    if (l.find("erro=") != std::string::npos) ++st.num_erros;
  st.press_fim = true;
  for (int c = 0; c < table.FieldCount(); ++c) st.ListBox_Variaveis.push_back(table.FieldName(c));
  st.responses = {"y"};
  st.nva = 1;
  EXPECT_TRUE(st.aq_tab1.CopyFrom(table));
  shell::Report report;
  AnovaContext ctx{st, table, report, prompter};
  RunAnova(ctx);
  return report.Text();
}

TEST(AnovaTable, CompletelyRandomisedLayout) {
  const auto table = MakeTable({Col("T", {"a", "a", "b", "b"}), Col("y", {1.0, 3.0, 5.0, 7.0})});
  testing::ScriptedPrompter prompter;
  AnovaState st;
  const std::string got = RunModel(table, {"T", "Fim"}, prompter, st);
  // P(F > 8) with 1 and 2 df = 0.1055728 (R: pf(8, 1, 2, lower.tail = FALSE)).
  const std::string want =
      D + E + E + " Variável analisada: y" + E + E +
      " Opção de transformação: Variável sem transformação ( Y )" + E + E + D + E + E + E +
      Sp(21) + "TABELA DE ANÁLISE DE VARIÂNCIA" + E + E + E + D + E +
      "FV" + Sp(18) + " " + "  GL" + " " + Sp(16) + "SQ" + " " + Sp(15) + "QM" + " " + Sp(7) +
      "Fc " + "P(F>Fc)" + E + D + E +
      "T" + Sp(19) + "    1" + Sp(10) + "16.000000" + Sp(9) + "16.000000" + Sp(6) + "8.000" +
      " 0.1056" + E +
      "erro" + Sp(16) + "    2" + Sp(11) + "4.000000" + Sp(10) + "2.000000" + E + D + E +
      "Total corrigido     " + "    3" + Sp(10) + "20.000000" + E + D + E +
      "CV  (%) = " + Sp(13) + "35.36" + E +
      "Média geral: " + Sp(9) + "4.0000000" + "      Número de observações: " + Sp(11) + "4" + E +
      D + E + E + E + E + E;
  EXPECT_EQ(testing::Visible(got), testing::Visible(want));
  EXPECT_NEAR(st.CV, 35.355339059327378, 1e-12);
}

TEST(AnovaTable, SplitPlotLabelsErrorsAndCvLines) {
  std::vector<std::string> bloco, a, b;
  std::vector<double> y;
  Col cb("Bloco", {0.0}), ca("A", {"x"}), cB("B", {"x"}), cy("y", {0.0});
  cb.num.clear(), ca.text.clear(), cB.text.clear(), cy.num.clear();
  for (int bl = 1; bl <= 3; ++bl)
    for (const char* la : {"a1", "a2"})
      for (const char* lb : {"b1", "b2"}) {
        cb.num.push_back(bl);
        ca.text.push_back(la);
        cB.text.push_back(lb);
        cy.num.push_back(bl * 1.5 + (la[1] - '0') * 2.0 + (lb[1] - '0') +
                         ((bl * 3 + (la[1] - '0') * 5 + (lb[1] - '0') * 7) % 4) * 0.3);
      }
  const auto table = MakeTable({cb, ca, cB, cy});
  testing::ScriptedPrompter prompter;
  AnovaState st;
  const std::string got = RunModel(table, {"Bloco", "A", "erro=Bloco*A", "B", "A*B", "Fim"}, prompter, st);
  std::vector<std::string> starts;
  std::size_t p = got.find("P(F>Fc)");
  p = got.find(E, p) + 2;
  p = got.find(E, p) + 2;  // rule
  for (int i = 0; i < 6; ++i) {
    const std::size_t e = got.find(E, p);
    starts.push_back(got.substr(p, 20));
    p = e + 2;
  }
  const std::vector<std::string> want = {"Bloco" + Sp(15), "A" + Sp(19),      "erro 1" + Sp(14),
                                         "B" + Sp(19),     "A*B" + Sp(17),    "erro 2" + Sp(14)};
  EXPECT_EQ(starts, want);
  EXPECT_NE(got.find(E + "CV 1 (%) = "), std::string::npos);
  EXPECT_NE(got.find(E + "CV 2 (%) = "), std::string::npos);
  EXPECT_EQ(got.find("CV  (%)"), std::string::npos);
  // Bloco and A are tested against erro 1, B and A*B against erro 2.
  EXPECT_DOUBLE_EQ(st.Tabela_ANAVA[1].f, st.Tabela_ANAVA[1].qm / st.Tabela_ANAVA[3].qm);
  EXPECT_DOUBLE_EQ(st.Tabela_ANAVA[2].f, st.Tabela_ANAVA[2].qm / st.Tabela_ANAVA[3].qm);
  EXPECT_DOUBLE_EQ(st.Tabela_ANAVA[4].f, st.Tabela_ANAVA[4].qm / st.Tabela_ANAVA[6].qm);
  EXPECT_DOUBLE_EQ(st.Tabela_ANAVA[5].f, st.Tabela_ANAVA[5].qm / st.Tabela_ANAVA[6].qm);
  EXPECT_EQ(st.Tabela_ANAVA[3].gl, 2);
  EXPECT_EQ(st.Tabela_ANAVA[6].gl, 4);
}

TEST(AnovaTable, EdgeValuesOfTheColumns) {
  struct Case {
    std::string name;
    std::vector<Col> cols;
    std::vector<std::string> pieces;  // substrings of the report
    double f;                         // stored Fc of line 1
  };
  const std::vector<Case> cases = {
      // One level: gl 0, QM 0, Fc printed 0.000, stored 1e-11, P from the 1e-6 default.
      {"one level", {Col("T", {"a", "a", "a"}), Col("y", {1.0, 2.0, 3.0})},
       {"T" + Sp(19) + "    0" + " " + " 0.000000000E+0000" + " " + " 0.00000000E+0000" + " " +
        "     0.000" + " " + "0.0000" + E},
       1e-11},
      // An error mean square of 0: Fc 999999999, in the scientific form.
      {"zero error", {Col("T", {"a", "a", "b", "b"}), Col("y", {1.0, 1.0, 2.0, 2.0})},
       {" 1.0E+0009 ", "erro" + Sp(16) + "    2" + " " + " 0.000000000E+0000"}, 999999999.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ScriptedPrompter prompter;
    AnovaState st;
    const std::string got = RunModel(MakeTable(c.cols), {"T", "Fim"}, prompter, st);
    for (const auto& piece : c.pieces)
      EXPECT_NE(got.find(piece), std::string::npos) << testing::Visible(piece) << "\n" << testing::Visible(got);
    EXPECT_EQ(st.Tabela_ANAVA[1].f, c.f);
  }
}

TEST(AnovaTable, LongNamesAreCutAndListed) {
  const std::string longName = "Tratamento_de_sementes";  // 22 characters
  const auto table = MakeTable({Col(longName, {"a", "a", "b", "b"}), Col("y", {1.0, 3.0, 5.0, 8.0})});
  testing::ScriptedPrompter prompter;
  AnovaState st;
  const std::string got = RunModel(table, {longName, "Fim"}, prompter, st);
  EXPECT_NE(got.find(E + "Tratamento_de_sement" + "    1"), std::string::npos);
  const std::string foot = D + E + E + "Obs. Codificações usadas para as FV do quadro de ANAVA" + E + D + E +
                           "1: " + longName + E + "2: Fim" + E + D + E + E + E + E + E + E + E;
  ASSERT_GE(got.size(), foot.size());
  EXPECT_EQ(testing::Visible(got.substr(got.size() - foot.size())), testing::Visible(foot));
}

}  // namespace
}  // namespace tolmex::anova
