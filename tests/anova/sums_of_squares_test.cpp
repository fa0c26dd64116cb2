#include "anova/anova_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "anova/model_language.h"
#include "anova_test_support.h"
#include "scripted_prompter.h"
#include "shell/report.h"

namespace tolmex::anova {
namespace {

using testdata::Col;
using testdata::MakeTable;

// Fills the state as the model window and the set-up dialogs would.
void PrepareRun(AnovaState& st, const data::DataTable& table, const std::vector<std::string>& model,
                const std::vector<std::string>& responses) {
  st.LB_Anova = model;
  st.nfv = static_cast<int>(model.size());
  st.num_erros = 1 + static_cast<int>(std::count_if(model.begin(), model.end(), [](const std::string& l) {
                   return l.find("erro=") != std::string::npos;
                 }));
  st.press_fim = true;
  st.ListBox_Variaveis.clear();
  for (int c = 0; c < table.FieldCount(); ++c) st.ListBox_Variaveis.push_back(table.FieldName(c));
  st.responses = responses;
  st.nva = static_cast<int>(responses.size());
  for (int v = 1; v <= st.nva; ++v) st.Op_VarToAna[v][0] = 0;
  ASSERT_TRUE(st.aq_tab1.CopyFrom(table));
}

struct Line {
  int gl;
  double sq, qm, f, p;  // f, p = -1 for error lines
};

struct Case {
  std::string name;
  std::vector<Col> cols;
  std::vector<std::string> model;
  std::string response;
  std::vector<Line> lines;
  int totalGl;
  double totalSq, mean;
};

// Reference values: R 4.2 (aov / anova, pf), for the unbalanced table R's tapply sums of the
// cell-subtotal method. Balanced textbook data: PlantGrowth (Dobson 1983), npk (Yates 1935,
// N:P:K confounded with blocks left out of the model), ToothGrowth (Crampton 1947).
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
    {"PlantGrowth",
     {{"group", {"ctrl", "ctrl", "ctrl", "ctrl", "ctrl", "ctrl", "ctrl", "ctrl", "ctrl", "ctrl", "trt1", "trt1", "trt1", "trt1", "trt1", "trt1", "trt1", "trt1", "trt1", "trt1", "trt2", "trt2", "trt2", "trt2", "trt2", "trt2", "trt2", "trt2", "trt2", "trt2"}},
      {"weight", {4.1699999999999999, 5.5800000000000001, 5.1799999999999997, 6.1100000000000003, 4.5000000000000000, 4.6100000000000003, 5.1699999999999999, 4.5300000000000002, 5.3300000000000001, 5.1399999999999997, 4.8099999999999996, 4.1699999999999999, 4.4100000000000001, 3.5899999999999999, 5.8700000000000001, 3.8300000000000001, 6.0300000000000002, 4.8899999999999997, 4.3200000000000003, 4.6900000000000004, 6.3099999999999996, 5.1200000000000001, 5.5400000000000000, 5.5000000000000000, 5.3700000000000001, 5.2900000000000000, 4.9199999999999999, 6.1500000000000004, 5.7999999999999998, 5.2599999999999998}},
      },
     {"group", "Fim"},
     "weight",
     {
         {2, 3.7663399999999987, 1.8831699999999993, 4.8460878623801351, 0.015909958325622937},
         {27, 10.492089999999997, 0.38859592592592584, -1, -1}, 
     },
     29, 14.258430000000001, 5.0730000000000004},
    {"npk",
     {{"Bloco", {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6}},
      {"N", {0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 1, 0, 1, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0}},
      {"P", {1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0}},
      {"K", {1, 0, 0, 1, 0, 1, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0}},
      {"yield", {49.500000000000000, 62.799999999999997, 46.799999999999997, 57.000000000000000, 59.799999999999997, 58.500000000000000, 55.500000000000000, 56.000000000000000, 62.799999999999997, 55.799999999999997, 69.500000000000000, 55.000000000000000, 62.000000000000000, 48.799999999999997, 45.500000000000000, 44.200000000000003, 52.000000000000000, 51.500000000000000, 49.799999999999997, 48.799999999999997, 57.200000000000003, 59.000000000000000, 53.200000000000003, 56.000000000000000}},
      },
     {"Bloco", "N", "P", "K", "N*P", "N*K", "P*K", "Fim"},
     "yield",
     {
         {5, 343.29500000000013, 68.65900000000002, 4.4466664267981111, 0.015938790208193932},
         {1, 189.2816666666665, 189.2816666666665, 12.258734213650897, 0.0043718118257993861},
         {1, 8.4016666666666069, 8.4016666666666069, 0.54412981686035611, 0.47490409267443645},
         {1, 95.201666666666512, 95.201666666666512, 6.1656892023171137, 0.028795053500232769},
         {1, 21.281666666666734, 21.281666666666734, 1.3782966934120131, 0.26316528287716734},
         {1, 33.135000000000083, 33.135000000000083, 2.1459720073399811, 0.16864787850049232},
         {1, 0.48166666666666469, 0.48166666666666469, 0.031194905191954649, 0.86275208568540784},
         {12, 185.28666666666686, 15.440555555555571, -1, -1}, 
     },
     23, 876.36500000000001, 54.875},
    {"ToothGrowth",
     {{"supp", {"VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "VC", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ", "OJ"}},
      {"dose", {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0, 2.0}},
      {"len", { 4.2000000000000002, 11.5000000000000000,  7.2999999999999998,  5.7999999999999998,  6.4000000000000004, 10.0000000000000000, 11.1999999999999993, 11.1999999999999993,  5.2000000000000002,  7.0000000000000000, 16.5000000000000000, 16.5000000000000000, 15.1999999999999993, 17.3000000000000007, 22.5000000000000000, 17.3000000000000007, 13.5999999999999996, 14.5000000000000000, 18.8000000000000007, 15.5000000000000000, 23.6000000000000014, 18.5000000000000000, 33.8999999999999986, 25.5000000000000000, 26.3999999999999986, 32.5000000000000000, 26.6999999999999993, 21.5000000000000000, 23.3000000000000007, 29.5000000000000000, 15.1999999999999993, 21.5000000000000000, 17.6000000000000014,  9.6999999999999993, 14.5000000000000000, 10.0000000000000000,  8.1999999999999993,  9.4000000000000004, 16.5000000000000000,  9.6999999999999993, 19.6999999999999993, 23.3000000000000007, 23.6000000000000014, 26.3999999999999986, 20.0000000000000000, 25.1999999999999993, 25.8000000000000007, 21.1999999999999993, 14.5000000000000000, 27.3000000000000007, 25.5000000000000000, 26.3999999999999986, 22.3999999999999986, 24.5000000000000000, 24.8000000000000007, 30.8999999999999986, 26.3999999999999986, 27.3000000000000007, 29.3999999999999986, 23.0000000000000000}},
      },
     {"supp", "dose", "supp*dose", "Fim"},
     "len",
     {
         {1, 205.35000000000056, 205.35000000000056, 15.571979452497281, 0.00023118280977342149},
         {2, 2426.4343333333354, 1213.2171666666677, 91.999964892867141, 4.0462911959921633e-18},
         {2, 108.31900000000019, 54.159500000000094, 4.1069910940225256, 0.021860268964790892},
         {54, 712.10600000000011, 13.18714814814815, -1, -1}, 
     },
     59, 3452.2093333333332, 18.813333333333333},
    {"SplitPlot",
     {{"Bloco", {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4}},
      {"A", {"a1", "a1", "a2", "a2", "a3", "a3", "a1", "a1", "a2", "a2", "a3", "a3", "a1", "a1", "a2", "a2", "a3", "a3", "a1", "a1", "a2", "a2", "a3", "a3"}},
      {"B", {"b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2", "b1", "b2"}},
      {"y", {25.699999999999999, 23.100000000000001, 24.199999999999999, 26.000000000000000, 25.800000000000001, 27.399999999999999, 24.899999999999999, 25.399999999999999, 26.199999999999999, 30.100000000000001, 28.399999999999999, 32.799999999999997, 27.699999999999999, 26.899999999999999, 29.300000000000001, 29.100000000000001, 27.899999999999999, 30.100000000000001, 26.000000000000000, 28.699999999999999, 29.000000000000000, 30.300000000000001, 31.600000000000001, 29.800000000000001}},
      },
     {"Bloco", "A", "erro=Bloco*A", "B", "A*B", "Fim"},
     "y",
     {
         {3, 50.933333333333245, 16.977777777777749, 10.355811589291715, 0.0086946399842918951},
         {2, 41.123333333333278, 20.561666666666639, 12.54185022026426, 0.0071920981634243627},
         {6, 9.836666666666698, 1.6394444444444496, -1, -1},
         {1, 7.0416666666666519, 7.0416666666666519, 2.9265758485338131, 0.12129544559734332},
         {2, 3.8633333333333559, 1.931666666666678, 0.80281690140845363, 0.47772334967990315},
         {9, 21.655000000000047, 2.4061111111111164, -1, -1}, 
     },
     23, 134.45333333333335, 27.766666666666666},
    {"Nested",
     {{"A", {"p", "p", "p", "p", "p", "p", "q", "q", "q", "q", "q", "q", "r", "r", "r", "r", "r", "r"}},
      {"B", {"x", "x", "x", "y", "y", "y", "x", "x", "x", "y", "y", "y", "x", "x", "x", "y", "y", "y"}},
      {"y", {14.270000000000000, 13.180000000000000, 13.750000000000000, 14.590000000000000, 13.020000000000000, 13.720000000000001, 15.130000000000001, 16.719999999999999, 16.109999999999999, 17.920000000000002, 17.579999999999998, 17.440000000000001, 20.000000000000000, 17.890000000000001, 18.859999999999999, 22.309999999999999, 23.219999999999999, 21.300000000000001}},
      },
     {"A", "B(A)", "Fim"},
     "y",
     {
         {2, 140.94121111111104, 70.470605555555522, 115.58558632441225, 1.4441587691773122e-08},
         {3, 21.070616666666666, 7.023538888888889, 11.51997849521152, 0.00075852995684080524},
         {12, 7.3162000000000127, 0.60968333333333435, -1, -1}, 
     },
     17, 169.32802777777775, 17.056111111111111},
    {"UnbalancedMissingCell",
     {{"A", {1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 1, 2, 2, 3}},
      {"B", {"u", "u", "v", "w", "u", "v", "w", "u", "u", "v", "v", "v", "w", "v", "w", "u"}},
      {"y", {6.7100000000000000,  5.6900000000000004,  7.6100000000000003,  8.5999999999999996,  9.3499999999999996,  9.5899999999999999, 10.0999999999999996,  9.9299999999999997,  8.7400000000000002,  9.9900000000000002, 10.3699999999999992, 11.7100000000000009,  9.7200000000000006,  9.4800000000000004,  8.4299999999999997,  9.3200000000000003}},
      },
     {"A", "B", "A*B", "Fim"},
     "y",
     {
         {2, 15.666654999999992, 7.8333274999999958, 12.818143140583766, 0.0031998364955151187},
         {2, 6.853416666666817, 3.4267083333334085, 5.6073281651633842, 0.030048961226994932},
         {3, 4.7614033333331918, 1.5871344444443973, 2.5971231883563131, 0.12472159395419379},
         {8, 4.8888999999999996, 0.61111249999999995, -1, -1},
     },
     15, 32.170375, 9.0837500000000002},

  };
  return cases;
}

double Rel(double a, double b) { return std::fabs(a - b) / std::max(1.0, std::fabs(b)); }

TEST(SumsOfSquares, TablesAgreeWithReference) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    const data::DataTable table = MakeTable(c.cols);
    AnovaState st;
    PrepareRun(st, table, c.model, {c.response});
    shell::Report report;
    testing::ScriptedPrompter prompter;
    AnovaContext ctx{st, table, report, prompter};
    RunAnova(ctx);
    prompter.VerifyDone();
    ASSERT_EQ(st.nfv, static_cast<int>(c.lines.size()));
    EXPECT_EQ(st.Total.gl, c.totalGl);
    EXPECT_LT(Rel(st.Total.sq, c.totalSq), 1e-10);
    EXPECT_LT(Rel(st.med, c.mean), 1e-12);
    for (int i = 1; i <= st.nfv; ++i) {
      SCOPED_TRACE(st.LB_Anova[i - 1]);
      const Line& want = c.lines[i - 1];
      const Var_Q_Anava& got = st.Tabela_ANAVA[i];
      EXPECT_EQ(got.gl, want.gl);
      EXPECT_LT(Rel(got.sq, want.sq), 1e-9) << got.sq << " vs " << want.sq;
      EXPECT_LT(Rel(got.qm, want.qm), 1e-9);
      if (want.f >= 0) {
        EXPECT_LT(Rel(got.f, want.f), 1e-9) << got.f << " vs " << want.f;
        EXPECT_NEAR(got.prf, want.p, 2e-6) << "F " << got.f;
      }
    }
  }
}

// Rows in another order and levels renamed (order kept) give the same table.
TEST(SumsOfSquares, InvariantToRowOrder) {
  const Case& sp = Cases()[3];
  ASSERT_EQ(sp.name, "SplitPlot");
  std::vector<Col> shuffled = sp.cols;
  const std::size_t n = shuffled[0].size();
  std::vector<std::size_t> perm(n);
  for (std::size_t i = 0; i < n; ++i) perm[i] = (i * 7 + 3) % n;  // 7 is prime to 24
  for (Col& c : shuffled) {
    Col orig = c;
    for (std::size_t i = 0; i < n; ++i) {
      if (c.isText)
        c.text[i] = orig.text[perm[i]];
      else
        c.num[i] = orig.num[perm[i]];
    }
  }
  const data::DataTable table = MakeTable(shuffled);
  AnovaState st;
  PrepareRun(st, table, sp.model, {sp.response});
  shell::Report report;
  testing::ScriptedPrompter prompter;
  AnovaContext ctx{st, table, report, prompter};
  RunAnova(ctx);
  for (int i = 1; i <= st.nfv; ++i) {
    EXPECT_EQ(st.Tabela_ANAVA[i].gl, sp.lines[i - 1].gl);
    EXPECT_LT(Rel(st.Tabela_ANAVA[i].sq, sp.lines[i - 1].sq), 1e-9);
  }
}

// A row with an empty response cell takes no part in the analysis: the table equals the
// table of the data without that row, and the report says how many rows were left out.
TEST(SumsOfSquares, EmptyResponseRowsAreLeftOut) {
  const std::vector<Col> full = {
      Col("T", {"a", "a", "a", "b", "b", "b", "c", "c"}),
      Col("y", {1.0, 2.0, 4.0, 5.0, 9.0, 6.0, 3.0, 8.0}),
  };
  const std::vector<Col> without = {
      Col("T", {"a", "a", "b", "b", "c", "c"}),
      Col("y", {1.0, 4.0, 5.0, 9.0, 3.0, 8.0}),
  };
  data::DataTable withBlanks = MakeTable(full);
  withBlanks.SetNull(1, 1);
  withBlanks.SetNull(5, 1);
  const data::DataTable reference = MakeTable(without);
  AnovaState a, b;
  PrepareRun(a, withBlanks, {"T", "Fim"}, {"y"});
  PrepareRun(b, reference, {"T", "Fim"}, {"y"});
  shell::Report ra, rb;
  testing::ScriptedPrompter pa, pb;
  AnovaContext ca{a, withBlanks, ra, pa}, cb{b, reference, rb, pb};
  RunAnova(ca);
  RunAnova(cb);
  EXPECT_EQ(a.n_obsg, 6);
  EXPECT_DOUBLE_EQ(a.med, b.med);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(a.Tabela_ANAVA[i].gl, b.Tabela_ANAVA[i].gl);
    EXPECT_NEAR(a.Tabela_ANAVA[i].sq, b.Tabela_ANAVA[i].sq, 1e-12);
  }
  EXPECT_NE(ra.Text().find(" Variável analisada: y\r\n\r\nObservações excluídas (resposta vazia): 2\r\n\r\n"
                           " Opção de transformação: "),
            std::string::npos);
  EXPECT_EQ(rb.Text().find("Observações excluídas"), std::string::npos);
}

// With a missing combination, cells are combinations of all factors: a B level that
// follows the same B level of the previous A level is not merged with it.
TEST(SumsOfSquares, CellsAreCombinationsOfAllFactors) {
  const std::vector<Col> cols = {
      Col("A", {1.0, 1.0, 2.0, 2.0, 2.0, 2.0}),
      Col("B", {"u", "v", "v", "v", "w", "w"}),
      Col("y", {1.0, 2.0, 7.0, 9.0, 4.0, 6.0}),
  };
  const data::DataTable table = MakeTable(cols);
  AnovaState st;
  PrepareRun(st, table, {"A", "B", "A*B", "Fim"}, {"y"});
  shell::Report report;
  testing::ScriptedPrompter prompter;
  AnovaContext ctx{st, table, report, prompter};
  RunAnova(ctx);
  // cells (1,u) (1,v) (2,v) (2,w): 4 cells; A 2 levels, B 3 levels: gl(A*B) = 3 - 1 - 2 = 0.
  EXPECT_EQ(st.Tabela_ANAVA[3].gl, 0);
  // R, cell subtotals: SS(cells A:B) 42.8333333333333 - SS(A) 33.3333333333333
  // - SS(B) 18.8333333333333 = -9.33333333333334 (the subtotal method on unbalanced data).
  EXPECT_NEAR(st.Tabela_ANAVA[3].sq, -9.3333333333333428, 1e-9);
  EXPECT_EQ(st.Tabela_ANAVA[4].gl, 2);
  EXPECT_NEAR(st.Tabela_ANAVA[4].sq, 4.0, 1e-9);
}

TEST(SumsOfSquares, InteractionOfTwelveFactors) {
  // 2^12 cells of one observation each, a 13th column as response: the 12-factor
  // interaction takes the whole remaining sum of squares and its df is 1.
  std::vector<Col> cols;
  std::vector<std::string> names;
  const int k = 12, n = 1 << k;
  std::string term;
  auto numCol = [](std::string name) {
    Col c(std::move(name), {0.0});
    c.num.clear();
    return c;
  };
  for (int f = 0; f < k; ++f) {
    cols.push_back(numCol("F" + std::to_string(f)));
    names.push_back("F" + std::to_string(f));
    term += (f ? "*" : "") + names.back();
  }
  cols.push_back(numCol("y"));
  double sumProduct = 0;
  for (int r = 0; r < n; ++r) {
    double prod = 1;
    for (int f = 0; f < k; ++f) {
      const double x = ((r >> f) & 1) ? 1.0 : -1.0;
      cols[f].num.push_back(x);
      prod *= x;
    }
    cols[k].num.push_back(3.0 + prod);  // pure 12-factor interaction effect
    sumProduct += prod;
  }
  const data::DataTable table = MakeTable(cols);
  AnovaState st;
  PrepareRun(st, table, {term, "Fim"}, {"y"});
  shell::Report report;
  testing::ScriptedPrompter prompter;
  AnovaContext ctx{st, table, report, prompter};
  RunAnova(ctx);
  EXPECT_EQ(st.Tabela_ANAVA[1].gl, 1);
  EXPECT_NEAR(st.Tabela_ANAVA[1].sq, n, 1e-6);
  EXPECT_EQ(st.Tabela_ANAVA[2].gl, n - 2);
}

struct BadInput {
  std::string name;
  std::vector<std::string> model;
  std::vector<std::string> transforms;  // codes as text
  std::vector<std::string> messages;
  int tables;  // tables printed
};

TEST(RunAnova, BadInputGetsItsMessage) {
  std::string thirteen;
  for (int f = 0; f < 13; ++f) thirteen += (f ? "*F" : "F") + std::to_string(f);
  const std::vector<BadInput> cases = {
      {"misspelt name", {"Trt", "Fim"}, {}, {"Fontes de variação com digitação errada, \rou faltando * ou parenteses!"}, 0},
      {"trailing space", {"T ", "Fim"}, {}, {"Fontes de variação com digitação errada, \rou faltando * ou parenteses!"}, 0},
      {"thirteen factors", {thirteen, "Fim"}, {}, {"A fonte de variação tem mais de 12 fatores:\r" + thirteen}, 0},
      {"log of zero, then sqrt", {"T", "Fim"}, {"4", "1"},
       {"Operação ilegal na variável resposta\rEscolha uma opção de transformação adequada para os seus dados"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Col> cols = {Col("T", {"a", "a", "b", "b"}), Col("y", {0.0, 1.0, 4.0, 9.0})};
    for (int f = 0; f < 13; ++f) cols.push_back(Col("F" + std::to_string(f), {1.0, 2.0, 1.0, 2.0}));
    const data::DataTable table = MakeTable(cols);
    AnovaState st;
    PrepareRun(st, table, c.model, {"y"});
    st.Op_VarToAna[1][0] = static_cast<std::uint8_t>(c.transforms.size());
    for (std::size_t i = 0; i < c.transforms.size(); ++i) st.Op_VarToAna[1][i + 1] = static_cast<std::uint8_t>(std::stoi(c.transforms[i]));
    shell::Report report;
    testing::ScriptedPrompter prompter;
    for (const auto& m : c.messages) prompter.ExpectMessage(m);
    AnovaContext ctx{st, table, report, prompter};
    RunAnova(ctx);
    prompter.VerifyDone();
    std::size_t tables = 0, pos = 0;
    while ((pos = report.Text().find("TABELA DE ANÁLISE DE VARIÂNCIA", pos)) != std::string::npos) ++tables, ++pos;
    EXPECT_EQ(tables, static_cast<std::size_t>(c.tables));
  }
}

TEST(RunAnova, ResponseWithoutDataWarnsAndPrints) {
  data::DataTable table = MakeTable({Col("T", {"a", "b"}), Col("y", {1.0, 2.0})});
  table.SetNull(0, 1);
  table.SetNull(1, 1);
  AnovaState st;
  PrepareRun(st, table, {"T", "Fim"}, {"y"});
  shell::Report report;
  testing::ScriptedPrompter prompter;
  prompter.ExpectMessage("A variável em questão não possuí\rdados digitados no arquivo de dados!");
  AnovaContext ctx{st, table, report, prompter};
  RunAnova(ctx);
  prompter.VerifyDone();
  EXPECT_EQ(st.n_obsg, 0);
  EXPECT_EQ(st.Total.gl, -1);
  EXPECT_NE(report.Text().find("Total corrigido"), std::string::npos);
}

TEST(RunAnova, CallsTheProceduresOfEverySourceButErrors) {
  const Case& sp = Cases()[3];
  const data::DataTable table = MakeTable(sp.cols);
  AnovaState st;
  PrepareRun(st, table, sp.model, {sp.response});
  st.Op_VarToAna[1][0] = 1;
  st.Op_VarToAna[1][1] = 1;
  shell::Report report;
  testing::ScriptedPrompter prompter;
  AnovaContext ctx{st, table, report, prompter};
  std::vector<std::string> calls;
  ctx.testesMediasFV = [&](AnovaContext& c, int v, int t, int fv) {
    // The state holds the analysis the call belongs to.
    EXPECT_EQ(c.state.transf_atual, t);
    EXPECT_EQ(c.state.aq_tab1.RecordCount(), 24);
    calls.push_back(std::to_string(v) + "/" + std::to_string(t) + "/" + std::to_string(fv));
    if (fv == 4) throw std::runtime_error("fails");
  };
  prompter.ExpectMessage("Arquivo com prováveis campos em branco!");
  prompter.ExpectMessage("Arquivo com prováveis campos em branco!");
  RunAnova(ctx);
  prompter.VerifyDone();
  const std::vector<std::string> want = {"1/1/1", "1/1/2", "1/1/4", "1/1/5",
                                         "1/2/1", "1/2/2", "1/2/4", "1/2/5"};
  EXPECT_EQ(calls, want);
}

TEST(Combinations, LexicographicSubsets) {
  AnovaState st;
  std::vector<std::string> got;
  StartCombination(st, 2);
  for (int i = 0; i < 6; ++i) {
    NextCombination(st, 4, 2);
    got.push_back(std::to_string(st.Vet_comb[1]) + std::to_string(st.Vet_comb[2]));
  }
  EXPECT_EQ(got, (std::vector<std::string>{"12", "13", "14", "23", "24", "34"}));
}

}  // namespace
}  // namespace tolmex::anova
