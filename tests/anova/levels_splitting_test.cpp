// Splitting of interactions and nested sources: the split table against R (factorial in
// blocks, nested source, split plot with and without a complex variance), its layout and
// codification, every option code run within the combinations, and the edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "anova/levels/contrasts.h"
#include "anova/levels/desdobramento.h"
#include "anova/levels/regression_levels.h"
#include "anova/means/means_tests.h"
#include "anova/anova_run.h"
#include "anova/model_language.h"
#include "anova/procedures.h"
#include "data/data_table.h"
#include "scripted_prompter.h"
#include "shell/format.h"
#include "shell/number_locale.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::anova::levels {
namespace {

using testing::ScriptedPrompter;

struct Column {
  std::string name;
  std::vector<double> num;
  std::vector<std::string> text;  // a text column when not empty
};

// An analysis-of-variance state ready for the procedures that follow the table: the model,
// the scratch copy of the table and the error lines of the table (given, from R).
struct SplitRun {
  data::DataTable table;
  AnovaState st;
  shell::Report report;
  ScriptedPrompter prompter;
  ContrastPort* contrasts = nullptr;

  SplitRun(const std::vector<Column>& cols, const std::vector<std::string>& model) {
    shell::SetCurrentNumberLocale(shell::NumberLocale::Dot());
    for (const auto& c : cols) {
      const bool text = !c.text.empty();
      table.AddField({c.name, text ? data::FieldType::ftString : data::FieldType::ftFloat, text ? 20 : 0});
      st.ListBox_Variaveis.push_back(c.name);
    }
    table.Open();
    const std::size_t rows = cols[0].text.empty() ? cols[0].num.size() : cols[0].text.size();
    for (std::size_t r = 0; r < rows; ++r) {
      const int row = table.AppendRow();
      for (std::size_t c = 0; c < cols.size(); ++c) {
        if (!cols[c].text.empty())
          table.SetString(row, static_cast<int>(c), cols[c].text.at(r));
        else
          table.SetFloat(row, static_cast<int>(c), cols[c].num.at(r));
      }
    }
    st.LB_Anova = model;
    st.LB_Anova.push_back("Fim");
    st.nfv = static_cast<int>(st.LB_Anova.size());
    st.press_fim = true;
    st.num_erros = 0;
    for (int i = 1; i <= st.nfv; ++i) {
      st.identifica_FV[i] = i == st.nfv ? kErrorTerm : ClassifyLine(st.LB_Anova[i - 1]);
      if (st.identifica_FV[i] == kErrorTerm) ++st.num_erros;
    }
    st.responses = {"y"};
    st.nva = 1;
    st.var_atual = 1;
    st.transf_atual = 1;
    EXPECT_TRUE(st.aq_tab1.CopyFrom(table));
  }

  // Option `code` in slot `slot` of FV fv, splitting the factor at position `chosen`.
  void Slot(int fv, int slot, int code, int chosen, double alpha = 0.05) {
    st.Op_FV[fv][0] = static_cast<std::uint8_t>(std::max<int>(st.Op_FV[fv][0], slot));
    st.Op_FV[fv][slot] = static_cast<std::uint8_t>(code);
    st.Op_FVC[fv][slot] = static_cast<std::uint8_t>(chosen);
    st.Op_Alpha[fv][slot] = alpha;
  }

  void Split(int fv, int slot) {
    AnovaContext ctx{st, table, report, prompter, nullptr, contrasts, {}};
    Desdobramento(ctx, 1, 1, fv, slot);
  }
};

// A factorial in randomized blocks: 3 blocks, A (text, 2 levels), B (dose, 3 levels).
const std::vector<double> kY = {12.1, 15.3, 16.0, 11.2, 13.9, 18.4, 12.8, 16.1, 15.2,
                                10.9, 14.2, 19.1, 11.7, 15.0, 16.6, 11.5, 13.1, 18.0};
std::vector<Column> Factorial() {
  Column bloco{"Bloco", {}, {}}, a{"A", {}, {}}, b{"B", {}, {}}, y{"y", kY, {}};
  for (int bl = 1; bl <= 3; ++bl)
    for (const char* av : {"a1", "a2"})
      for (double bv : {0.0, 50.0, 100.0}) {
        bloco.num.push_back(bl);
        a.text.push_back(av);
        b.num.push_back(bv);
      }
  return {bloco, a, b, y};
}

// Means of B within level a of A (0 = a1, 1 = a2), summed in record order.
std::vector<double> CellMeans(int a) {
  std::vector<double> m;
  for (int b = 0; b < 3; ++b) {
    double sum = 0;
    for (int bl = 0; bl < 3; ++bl) sum += kY[static_cast<std::size_t>(bl * 6 + a * 3 + b)];
    m.push_back(sum / 3);
  }
  return m;
}
// Sum of squares of B within a combination of three records per level.
double SplitSS(const std::vector<double>& means) {
  double s = 0, t = 0;
  for (double m : means) {
    s += (m * 3) * (m * 3) / 3;
    t += m * 3;
  }
  return s - t * t / 9;
}

// One row of the split table: its numbers.
struct Row {
  int df;
  double sq, qm, fc, p;
};
std::vector<Row> SplitRows(const std::string& text, const std::string& factor) {
  std::vector<Row> rows;
  std::istringstream in(text);
  std::string line;
  const std::string prefix = factor + std::string(17 - factor.size(), ' ') + "/";
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::istringstream f(line.substr(prefix.size()));
    int c;
    Row r;
    f >> c >> r.df >> r.sq >> r.qm >> r.fc >> r.p;
    rows.push_back(r);
  }
  return rows;
}

void ExpectRows(const std::vector<Row>& got, const std::vector<Row>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(got[i].df, want[i].df);
    EXPECT_NEAR(got[i].sq, want[i].sq, 1e-6);
    EXPECT_NEAR(got[i].qm, want[i].qm, 1e-6);
    EXPECT_NEAR(got[i].fc, want[i].fc, 1e-3);
    EXPECT_NEAR(got[i].p, want[i].p, 1e-4);
  }
}

const std::string D(80, '-');

// ---- against R ----

TEST(Splitting, BWithinEachLevelOfAInAFactorialInBlocks) {
  SplitRun run(Factorial(), {"Bloco", "A", "B", "A*B"});
  run.st.Tabela_ANAVA[5] = {10, 3.215555555556, 0.321555555556, 0, 0};
  run.Slot(4, 1, kNenhumTeste, 2);
  run.Split(4, 1);
  // R: SS of B within a1 and a2 from the cell totals, F against the residual (10 df).
  ExpectRows(SplitRows(run.report.Text(), "B"), {{2, 24.8266666667, 12.4133333333, 38.6040082930, 0.0000198252},
                                                 {2, 82.4288888889, 41.2144444444, 128.1720801659, 0.0000000746}});
}

TEST(Splitting, NestedRowsAddUpToTheNestedSumOfSquares) {
  SplitRun run(Factorial(), {"Bloco", "A", "B(A)"});
  run.st.Tabela_ANAVA[4] = {10, 3.215555555556, 0.321555555556, 0, 0};
  run.Slot(3, 1, kNenhumTeste, 1);
  run.Split(3, 1);
  const auto rows = SplitRows(run.report.Text(), "B");
  ExpectRows(rows, {{2, 24.8266666667, 12.4133333333, 38.6040082930, 0.0000198252},
                    {2, 82.4288888889, 41.2144444444, 128.1720801659, 0.0000000746}});
  // R: aov(y ~ Bloco + A + A:B) gives 107.255556 with 4 df for B(A).
  EXPECT_NEAR(rows[0].sq + rows[1].sq, 107.255555556, 2e-6);
  EXPECT_EQ(rows[0].df + rows[1].df, 4);
}

TEST(Splitting, SplitPlotWithComplexVarianceAndSatterthwaiteDegreesOfFreedom) {
  SplitRun run(Factorial(), {"Bloco", "A", "erro=Bloco*A", "B", "A*B"});
  ASSERT_EQ(run.st.num_erros, 2);
  run.st.Tabela_ANAVA[3] = {2, 0.071111111111, 0.035555555556, 0, 0};
  run.st.Tabela_ANAVA[6] = {8, 3.144444444444, 0.393055555556, 0, 0};
  // A within each level of B: VC = (QMEa + 2 QMEb) / 3.
  run.Slot(5, 1, kNenhumTeste, 1);
  run.st.OP_VarComp[5][1] = {1, 2, 2, 3, 1};
  const Var_Q_Anava e = ErroDesdobramento(run.st, 5, 1);
  EXPECT_NEAR(e.qm, 0.273888888889, 1e-11);
  EXPECT_NEAR(e.f, 8.669102337303, 1e-9);
  EXPECT_EQ(e.gl, 9);
  EXPECT_NEAR(e.sq, 9 * 0.273888888889, 1e-10);
  run.Split(5, 1);
  ExpectRows(SplitRows(run.report.Text(), "A"), {{1, 1.5, 1.5, 5.4766734280, 0.0440037441},
                                                 {1, 4.5066666667, 4.5066666667, 16.4543610548, 0.0028573519},
                                                 {1, 9.8816666667, 9.8816666667, 36.0791075051, 0.0002008702}});
  EXPECT_NE(run.report.Text().find("\r\nErro                   9           2.465000          0.273889\r\n"),
            std::string::npos);

  // B within each level of A against the subplot error, no complex variance.
  run.report.ClearText();
  run.Slot(5, 2, kNenhumTeste, 2);
  run.Split(5, 2);
  ExpectRows(SplitRows(run.report.Text(), "B"), {{2, 24.8266666667, 12.4133333333, 31.5816254417, 0.0001597117},
                                                 {2, 82.4288888889, 41.2144444444, 104.8565371025, 0.0000018231}});
}

TEST(Splitting, ComplexVarianceWithAMissingErrorTermFails) {
  SplitRun run(Factorial(), {"Bloco", "A", "erro=Bloco*A", "B", "A*B"});
  run.Slot(5, 1, kNenhumTeste, 1);
  run.st.OP_VarComp[5][1] = {1, 3, 1, 2, 1};
  EXPECT_THROW(ErroDesdobramento(run.st, 5, 1), std::runtime_error);
}

TEST(Splitting, CombinationsOfSeveralFactorsInUnbalancedData) {
  // A = 2 has only B = 2: the combinations are (1,1), (1,2) and (2,2), never (1,2) and (2,2)
  // merged because their last factor is equal. R: SS of C within each combination.
  SplitRun run({{"A", {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2}, {}},
                {"B", {1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}, {}},
                {"C", {1, 1, 2, 2, 1, 1, 2, 2, 1, 1, 2, 2}, {}},
                {"y", {3, 4, 6, 7, 5, 5, 9, 8, 2, 3, 4, 6}, {}}},
               {"A", "B", "C", "A*B*C"});
  run.st.Tabela_ANAVA[5] = {6, 3.0, 0.5, 0, 0};
  run.Slot(4, 1, kNenhumTeste, 3);
  run.Split(4, 1);
  const auto rows = SplitRows(run.report.Text(), "C");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_NEAR(rows[0].sq, 9, 1e-9);
  EXPECT_NEAR(rows[1].sq, 12.25, 1e-9);
  EXPECT_NEAR(rows[2].sq, 6.25, 1e-9);
  EXPECT_NE(run.report.Text().find("cod. A B \r\n1  = 1 1 \r\n2  = 1 2 \r\n3  = 2 2 \r\n"),
            std::string::npos);
}

// The whole run: the table, then the splitting from the per-slot driver.
TEST(Splitting, WholeRunNestedRowsAddUpToTheTableLine) {
  SplitRun run(Factorial(), {"Bloco", "A", "B(A)"});
  run.Slot(3, 1, kTukey, 1);
  AnovaContext ctx{run.st, run.table, run.report, run.prompter, nullptr, nullptr, DefaultProcedures()};
  RunAnova(ctx);
  const Var_Q_Anava& nested = run.st.Tabela_ANAVA[3];
  // R: aov(y ~ Bloco + A + A:B): 107.255556 with 4 df, residual 3.215556 with 10 df.
  EXPECT_NEAR(nested.sq, 107.255555556, 1e-6);
  EXPECT_EQ(nested.gl, 4);
  const auto rows = SplitRows(run.report.Text(), "B");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NEAR(rows[0].sq + rows[1].sq, nested.sq, 2e-6);
  EXPECT_EQ(rows[0].df + rows[1].df, nested.gl);
  EXPECT_NE(run.report.Text().find("   Teste Tukey para a FV B\r\n"), std::string::npos);
  run.prompter.VerifyDone();
}

TEST(Splitting, WholeRunAFailingSplitEndsOnlyThatSource) {
  SplitRun run(Factorial(), {"Bloco", "A", "B", "A*B"});
  run.Slot(4, 1, kRegressao, 2);
  run.st.Op_Reg[4][1] = {0};
  run.Slot(4, 2, kTukey, 2);  // not reached: the source's options end with the failure
  run.Slot(3, 1, kTukey, 1);  // B's own test runs before
  run.prompter.ExpectMessage("Arquivo com prováveis campos em branco!");
  AnovaContext ctx{run.st, run.table, run.report, run.prompter, nullptr, nullptr, DefaultProcedures()};
  RunAnova(ctx);
  const std::string& text = run.report.Text();
  EXPECT_NE(text.find("   Teste Tukey para a FV B\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Análise de regressão para o"), std::string::npos);
  EXPECT_EQ(SplitRows(text, "B").size(), 1u);
  run.prompter.VerifyDone();
}

// ---- layout ----

TEST(Splitting, ReportLayoutWithoutTest) {
  SplitRun run(Factorial(), {"Bloco", "A", "B", "A*B"});
  run.st.Tabela_ANAVA[5] = {10, 3.215555555556, 0.321555555556, 0, 0};
  run.Slot(4, 1, kNenhumTeste, 1);
  run.Split(4, 1);
  std::string expected =
      D + "\nAnálise do desdobramento de A dentro de cada nível de:\n\nB \n" + D +
      "\n\n\n                     TABELA DE ANÁLISE DE VARIÂNCIA\n\n" + D +
      "\nFV                     GL                 SQ                QM       Fc  P(F>Fc)\n" + D +
      "\n"
      "A                /1    1           1.500000          1.500000      4.665 0.0561\n"
      "A                /2    1           4.506667          4.506667     14.015 0.0038\n"
      "A                /3    1           9.881667          9.881667     30.731 0.0002\n"
      "Erro                  10           3.215556          0.321556\n" +
      D + "\n\nCodificação usada no desdobramento\ncod. B \n1  = 0 \n2  = 50 \n3  = 100 \n\n";
  for (int c = 1; c <= 3; ++c)
    expected += "desdobramento de A dentro da codificação:\n " + std::to_string(c) +
                "\nObs. Identifique a codificação conforme valores apresentados anteriormente\n";
  EXPECT_EQ(testing::Visible(run.report.Text()), expected);
}

TEST(Splitting, LongListsWrapAt80Characters) {
  std::string text = "cod. ";
  AppendWrapped(text, {std::string(40, 'a'), std::string(33, 'b'), "c", "d"});
  // "cod. " + 41 + 34 = 80 characters; "c " would make 82.
  EXPECT_EQ(text, "cod. " + std::string(40, 'a') + " " + std::string(33, 'b') + " \r\nc d ");
  // Characters are counted, not bytes: 5 + 40 + 38 = 83 wraps, 5 + 40 + 35 = 80 does not.
  const std::string x = std::string(36, 'x') + "ção";
  std::string wrapped = "1  = ";
  AppendWrapped(wrapped, {x, "ção" + std::string(34, 'y')});
  EXPECT_EQ(wrapped, "1  = " + x + " \r\nção" + std::string(34, 'y') + " ");
  std::string kept = "1  = ";
  AppendWrapped(kept, {x, "ção" + std::string(31, 'y')});
  EXPECT_EQ(kept, "1  = " + x + " ção" + std::string(31, 'y') + " ");
}

// ---- every option within the combinations ----

struct CodeCase {
  int code;
  const char* title;  // title line of the option, before "desdobramento de "
};
const CodeCase kCodes[] = {
    {kTukey, "Teste de Tukey para o "},
    {kSNK, "Teste de Student-Newman-Keuls para o "},
    {kBonferroni, "Teste de t de Student (Bonferroni) para o "},
    {kLSD, "Teste de t de Student (LSD) para o "},
    {kScottKnott, "Teste de Scott-Knott (1974) para o "},
    {kWallerDuncan, "Teste de Waller-Duncan para o "},
    {kNenhumTeste, nullptr},  // no title and no test, only the codification lines
};

// The block the tests of means print for B within combination c.
std::string ExpectedMeansBlock(int code, const std::vector<double>& means, const Var_Q_Anava& e,
                               double fc, double alpha) {
  std::vector<LevelMean> lm;
  const char* labels[] = {"0", "50", "100"};
  for (std::size_t i = 0; i < means.size(); ++i)
    lm.push_back({3, means[i], static_cast<std::int32_t>(i + 1), 0, labels[i]});
  MeansTestInput in;
  in.code = code;
  in.name = "B";
  in.error = anova::ErrorLine{e.gl, e.qm};
  in.fc = fc;
  in.k_waller = 100;
  in.titles = TitleStyle::Splitting;
  double opAlpha = alpha, a = 0, tw = 0;
  shell::Report out;
  RunMeansTest(in, lm, 3, SignificanceRefs{opAlpha, a, tw}, out);
  return out.Text();
}

TEST(Splitting, EachTestOfMeansRunsWithinEachCombination) {
  // B within a1 and a2 (means from R), on an interaction and on a nested source, with the
  // residual or with a complex variance as the error.
  const std::vector<double> a1 = CellMeans(0), a2 = CellMeans(1);
  struct Source {
    std::vector<std::string> model;
    int fv, chosen;
    bool complex;
  };
  const Source sources[] = {
      {{"Bloco", "A", "erro=Bloco*A", "B", "A*B"}, 5, 2, false},
      {{"Bloco", "A", "erro=Bloco*A", "B", "A*B"}, 5, 2, true},
      {{"Bloco", "A", "erro=Bloco*A", "B(A)"}, 4, 1, false},
      {{"Bloco", "A", "erro=Bloco*A", "B(A)"}, 4, 1, true},
  };
  for (const auto& src : sources) {
    for (const auto& cc : kCodes) {
      SCOPED_TRACE(src.model.back() + (src.complex ? " complexa " : " ") + std::to_string(cc.code));
      SplitRun run(Factorial(), src.model);
      run.st.Tabela_ANAVA[3] = {2, 0.071111111111, 0.035555555556, 0, 0};
      run.st.Tabela_ANAVA[src.fv + 1] = {8, 3.144444444444, 0.393055555556, 0, 0};
      run.st.k_waller = 100;
      run.Slot(src.fv, 1, cc.code, src.chosen, 0.05);
      if (src.complex) run.st.OP_VarComp[src.fv][1] = {2, 1, 1, 2, 1};
      run.Split(src.fv, 1);
      const Var_Q_Anava e = ErroDesdobramento(run.st, src.fv, 1);
      if (src.complex) {
        EXPECT_NEAR(e.qm, (0.393055555556 + 0.035555555556) / 2, 1e-12);
      } else {
        EXPECT_EQ(e.gl, 8);
      }
      const auto rows = SplitRows(run.report.Text(), "B");
      ASSERT_EQ(rows.size(), 2u);
      std::string tests;
      int c = 1;
      for (const auto* means : {&a1, &a2}) {
        tests += (cc.title ? std::string(cc.title) + "\r\n" : std::string()) +
                 "desdobramento de B dentro da codificação:\r\n " +
                 std::to_string(c) +
                 "\r\nObs. Identifique a codificação conforme valores apresentados anteriormente\r\n";
        tests += ExpectedMeansBlock(cc.code, *means, e, SplitSS(*means) / 2 / e.qm, 0.05);
        ++c;
      }
      const std::string& text = run.report.Text();
      ASSERT_GE(text.size(), tests.size());
      EXPECT_EQ(testing::Visible(text.substr(text.size() - tests.size())), testing::Visible(tests));
    }
  }
}

TEST(Splitting, TitlesOfTheTestsNameTheSplitFactor) {
  SplitRun run(Factorial(), {"Bloco", "A", "B", "A*B"});
  run.st.Tabela_ANAVA[5] = {10, 3.215555555556, 0.321555555556, 0, 0};
  run.Slot(4, 1, kTukey, 2, 0.05);
  run.Slot(4, 2, kLSD, 2, 0.05);
  run.Split(4, 1);
  run.Split(4, 2);
  const std::string& text = run.report.Text();
  EXPECT_NE(text.find("   Teste Tukey para a FV B\r\n"), std::string::npos);
  EXPECT_NE(text.find("   Teste t (LSD) para a FV B\r\n"), std::string::npos);
  // Two slots of one source print two split tables.
  EXPECT_LT(text.find("Análise do desdobramento de B"), text.rfind("Análise do desdobramento de B"));
}

class ScriptedContrasts : public ContrastPort {
 public:
  std::vector<ContrastRequest> requests;
  std::optional<ContrastAnswer> AskContrast(const ContrastRequest& r) override {
    requests.push_back(r);
    return ContrastAnswer{{"1", "0", "-1"}, true, false};
  }
};

TEST(Splitting, ContrastsWithinEachCombination) {
  for (bool complex : {false, true}) {
    for (const char* source : {"A*B", "B(A)"}) {
      SCOPED_TRACE(std::string(source) + (complex ? " complexa" : ""));
      const bool nested = std::string(source) == "B(A)";
      SplitRun run(Factorial(), {"Bloco", "A", "erro=Bloco*A", source});
      run.st.Tabela_ANAVA[3] = {2, 0.071111111111, 0.035555555556, 0, 0};
      run.st.Tabela_ANAVA[5] = {8, 3.144444444444, 0.393055555556, 0, 0};
      ScriptedContrasts port;
      run.contrasts = &port;
      run.Slot(4, 1, kContrastes, nested ? 1 : 2, 0.5);
      if (complex) run.st.OP_VarComp[4][1] = {2, 1, 1, 2, 1};
      run.Split(4, 1);
      ASSERT_EQ(port.requests.size(), 2u);
      EXPECT_EQ(port.requests[0].context, "codificação 1");
      EXPECT_EQ(port.requests[1].context, "codificação 2");
      EXPECT_EQ(port.requests[0].fvName, source);
      EXPECT_EQ(port.requests[0].variable, "Variável y");
      EXPECT_EQ(port.requests[0].levels,
                (std::vector<std::string>{ContrastLevelLabel(0), ContrastLevelLabel(50), ContrastLevelLabel(100)}));
      const Var_Q_Anava e = ErroDesdobramento(run.st, 4, 1);
      ContrastContext cc;
      cc.fvColumnName = "B";
      cc.labels = port.requests[0].levels;
      cc.means = CellMeans(0);
      cc.r = 3;
      cc.erro = {e.gl, e.sq, e.qm};
      cc.alphaOption = 0.5;
      cc.copy = Copy::Splitting;
      const auto first = CalculaContraste(cc, 1, {1, 0, -1});
      // Y = 12.2 - 15.9333; the splitting copy turns a level of 0.5 into 0.05.
      EXPECT_NEAR(first.Y, 12.2 - 15.933333333333334, 1e-9);
      EXPECT_DOUBLE_EQ(first.alpha, 0.05);
      const std::string& text = run.report.Text();
      const std::string expected = "Contraste entre médias para o \r\ndesdobramento de B dentro da codificação:\r\n 1\r\n"
                                   "Obs. Identifique a codificação conforme valores apresentados anteriormente\r\n" +
                                   first.block + TabelaContrastes({first.tableLine}, cc.erro);
      EXPECT_NE(text.find(expected), std::string::npos);
      EXPECT_NE(text.find("NMS Scheffé      : 0.05\r\n"), std::string::npos);
      EXPECT_DOUBLE_EQ(run.st.alpha, 0.05);
    }
  }
}

TEST(Splitting, RegressionWithinEachCombination) {
  for (bool complex : {false, true}) {
    for (const char* source : {"A*B", "B(A)"}) {
      SCOPED_TRACE(std::string(source) + (complex ? " complexa" : ""));
      const bool nested = std::string(source) == "B(A)";
      SplitRun run(Factorial(), {"Bloco", "A", "erro=Bloco*A", source});
      run.st.Tabela_ANAVA[3] = {2, 0.071111111111, 0.035555555556, 0, 0};
      run.st.Tabela_ANAVA[5] = {8, 3.144444444444, 0.393055555556, 0, 0};
      run.Slot(4, 1, kRegressao, nested ? 1 : 2);
      run.st.Op_Reg[4][1] = {2, 1, 2};
      if (complex) run.st.OP_VarComp[4][1] = {2, 1, 1, 2, 1};
      run.Split(4, 1);
      const Var_Q_Anava e = ErroDesdobramento(run.st, 4, 1);
      RegressionLevelsInput in;
      in.fvColumnName = "B";
      in.x = {0, 50, 100};
      in.means = CellMeans(1);
      in.r = 3;
      in.erro = {e.gl, e.sq, e.qm};
      in.terms = {1, 2};
      in.copy = Copy::Splitting;
      const auto res = RegressaoNiveis(in);
      // Three levels and a quadratic: exact fit.
      EXPECT_NEAR(res.models[1].R2, 100, 1e-9);
      const std::string expected = "Análise de regressão para o \r\ndesdobramento de B dentro da codificação:\r\n 2\r\n"
                                   "Obs. Identifique a codificação conforme valores apresentados anteriormente\r\n" +
                                   res.text;
      const std::string& text = run.report.Text();
      ASSERT_GE(text.size(), expected.size());
      EXPECT_EQ(testing::Visible(text.substr(text.size() - expected.size())), testing::Visible(expected));
    }
  }
}

TEST(Splitting, RegressionOnATextFactorIsRefusedInEachCombination) {
  SplitRun run(Factorial(), {"Bloco", "A", "B", "A*B"});
  run.st.Tabela_ANAVA[5] = {10, 3.215555555556, 0.321555555556, 0, 0};
  run.Slot(4, 1, kRegressao, 1);
  run.st.Op_Reg[4][1] = {1, 1};
  for (int c = 0; c < 3; ++c)
    run.prompter.ExpectMessage("Tentativa de aplicar regressão a X qualitativo!\rNada foi feito!");
  run.Split(4, 1);
  EXPECT_EQ(SplitRows(run.report.Text(), "A").size(), 3u);
  EXPECT_EQ(run.report.Text().find("Regressão"), std::string::npos);
  run.prompter.VerifyDone();
}

// ---- failures and edge cases ----

TEST(Splitting, AFailedSlotLeavesNothingInTheNextSlotsTests) {
  SplitRun run(Factorial(), {"Bloco", "A", "B", "A*B"});
  run.st.Tabela_ANAVA[5] = {10, 3.215555555556, 0.321555555556, 0, 0};
  run.Slot(4, 1, kRegressao, 2);
  run.st.Op_Reg[4][1] = {0};  // no model: the regression fails in the first combination
  EXPECT_THROW(run.Split(4, 1), std::invalid_argument);
  // The failed slot printed the start of its table; its tests are dropped.
  EXPECT_EQ(SplitRows(run.report.Text(), "B").size(), 1u);
  run.report.ClearText();
  run.Slot(4, 2, kNenhumTeste, 2);
  run.Split(4, 2);
  EXPECT_EQ(run.report.Text().find("Análise de regressão"), std::string::npos);
  EXPECT_EQ(SplitRows(run.report.Text(), "B").size(), 2u);
}

TEST(Splitting, SingleLevelCombinationsAndALastCombinationOfOneRecord) {
  // A = x has B at two levels, y has one level, z is one record at the end.
  SplitRun run({{"A", {}, {"x", "x", "x", "x", "y", "y", "z"}},
           {"B", {1, 1, 2, 2, 1, 1, 3}, {}},
           {"y", {4, 5, 7, 8, 3, 3, 9}, {}}},
          {"A", "B", "A*B"});
  run.st.Tabela_ANAVA[4] = {2, 1.0, 0.5, 0, 0};
  run.Slot(3, 1, kTukey, 2);
  run.Split(3, 1);
  const auto rows = SplitRows(run.report.Text(), "B");
  ExpectRows(rows, {{1, 9, 9, 18, 1 - 0.94868}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}});
  EXPECT_NE(run.report.Text().find(
                "\r\nB                /2    0           0.000000          0.000000      0.000 0.0000\r\n"
                "B                /3    0           0.000000          0.000000      0.000 0.0000\r\n"),
            std::string::npos)
      << testing::Visible(run.report.Text());
  EXPECT_NE(run.report.Text().find("\r\n2  = y \r\n3  = z \r\n"), std::string::npos);
}

TEST(Splitting, ZeroErrorMeanSquarePrintsTheHugeF) {
  SplitRun run({{"A", {1, 1, 2, 2}, {}}, {"B", {1, 2, 1, 2}, {}}, {"y", {1, 2, 3, 5}, {}}},
          {"A", "B", "A*B"});
  run.st.Tabela_ANAVA[4] = {0, 0, 0, 0, 0};
  run.Slot(3, 1, kNenhumTeste, 2);
  run.Split(3, 1);
  EXPECT_NE(run.report.Text().find(" " + shell::FormatSci(1e99, 10) + " 0.0000\r\n"), std::string::npos)
      << testing::Visible(run.report.Text());
}

TEST(Splitting, AllEqualMeans) {
  SplitRun run({{"A", {1, 1, 1, 1, 2, 2, 2, 2}, {}},
           {"B", {1, 1, 2, 2, 1, 1, 2, 2}, {}},
           {"y", {5, 5, 5, 5, 5, 5, 5, 5}, {}}},
          {"A", "B", "A*B"});
  run.st.Tabela_ANAVA[4] = {4, 0, 0, 0, 0};
  for (int code : {kTukey, kSNK, kScottKnott, kRegressao}) {
    SCOPED_TRACE(code);
    run.report.ClearText();
    run.Slot(3, 1, code, 2);
    run.st.Op_Reg[3][1] = {1, 1};
    run.Split(3, 1);
    const auto rows = SplitRows(run.report.Text(), "B");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].sq, 0);
  }
}

}  // namespace
}  // namespace tolmex::anova::levels
