// Contrasts among level means: statistics against R, the report layout, the table of
// contrasts, the dialog's checks and the dialog-driven run.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "anova/levels/contrast_form.h"
#include "anova/levels/contrasts.h"
#include "scripted_prompter.h"
#include "shell/format.h"
#include "shell/number_locale.h"
#include "shell/report.h"

namespace tolmex::anova::levels {
namespace {

using testing::ScriptedPrompter;
using testing::ScriptedWindowHost;

class ContrastsTest : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(shell::NumberLocale::Dot()); }
};

ContrastContext Context(std::vector<double> means, double r, double qme, int nu, double alpha) {
  ContrastContext ctx;
  ctx.fvColumnName = "Trat";
  for (std::size_t i = 0; i < means.size(); ++i) ctx.labels.push_back("t" + std::to_string(i + 1));
  ctx.means = std::move(means);
  ctx.r = r;
  ctx.erro = {nu, qme * nu, qme};
  ctx.alphaOption = alpha;
  return ctx;
}

// Reference values from R: estimate, variance, t, 2*pt(-|t|, nu), t^2,
// pf(t^2, 1, nu, lower = FALSE), sqrt((k-1) V qf(1-alpha, k-1, nu)),
// pf(Y^2/((k-1) V), k-1, nu, lower = FALSE).
struct ContrastCase {
  std::vector<double> means;
  double r, qme;
  int nu;
  std::vector<double> c;
  double alpha;
  double Y, V, t, prT, F, prF, dms, prScheffe;
  double P, N;
};

const ContrastCase kCases[] = {
    {{20.5, 18.25, 15.0}, 4, 2.5, 9, {1, -1, 0}, 0.05,
     2.25, 1.25, 2.01246117975, 0.0750294861909, 4.05, 0.0750294861909, 3.26209086672,
     0.187864183777, 1, 1},
    {{20.5, 18.25, 15.0}, 4, 2.5, 9, {2, -1, -1}, 0.05,
     3.875, 0.9375, 4.00208279108, 0.00310067087673, 16.0166666667, 0.00310067087673,
     2.82505356003, 0.0100475182594, 2, 2},
    {{10, 12, 15, 11}, 3.5, 4, 12, {1, 1, -1, -1}, 0.10,
     -2, 1.14285714286, -1.87082869339, 0.0859456325506, 3.5, 0.0859456325506, 2.98885066539,
     0.362932213602, 2, 2},
    {{10, 12, 15, 11}, 3.5, 4, 12, {3, -1, -1, -1}, 0.01,
     -2.66666666667, 1.52380952381, -2.16024689947, 0.0516884831362, 4.66666666667,
     0.0516884831362, 5.21647705161, 0.251245619663, 3, 3},
};

TEST_F(ContrastsTest, StatisticsAgreeWithR) {
  for (const auto& cs : kCases) {
    SCOPED_TRACE(cs.Y);
    const auto ctx = Context(cs.means, cs.r, cs.qme, cs.nu, cs.alpha);
    const auto res = CalculaContraste(ctx, 1, cs.c);
    EXPECT_DOUBLE_EQ(res.P, cs.P);
    EXPECT_DOUBLE_EQ(res.N, cs.N);
    EXPECT_NEAR(res.Y, cs.Y, 1e-10);
    EXPECT_NEAR(res.V, cs.V, 1e-10);
    EXPECT_NEAR(res.s, std::sqrt(cs.V), 1e-10);
    EXPECT_NEAR(res.t, cs.t, 1e-9);
    EXPECT_NEAR(res.F, cs.F, 1e-9);
    EXPECT_NEAR(res.prT, cs.prT, 1e-6);
    EXPECT_NEAR(res.prF, cs.prF, 1e-6);
    EXPECT_NEAR(res.dms, cs.dms, 1e-4 * cs.dms);
    // The prescribed F distribution function is accurate to about 1e-5 for m > 1.
    EXPECT_NEAR(res.prScheffe, cs.prScheffe, 2e-5);
    EXPECT_DOUBLE_EQ(res.alpha, cs.alpha);
  }
}

TEST_F(ContrastsTest, SignificanceLevelOutOfRangeBecomesFivePercent) {
  struct Case {
    double option;
    Copy copy;
    double used;
  };
  const Case cases[] = {{0.5, Copy::Main, 0.5},       {0.5, Copy::Splitting, 0.05},
                        {0.7, Copy::Main, 0.05},      {0.0, Copy::Main, 0.05},
                        {-0.1, Copy::Splitting, 0.05}, {0.1, Copy::Splitting, 0.1},
                        {0.49, Copy::Splitting, 0.49}, {NAN, Copy::Main, 0.05}};
  for (const auto& c : cases) {
    auto ctx = Context({1, 2, 3}, 2, 1, 6, c.option);
    ctx.copy = c.copy;
    EXPECT_DOUBLE_EQ(CalculaContraste(ctx, 1, {1, -1}).alpha, c.used) << c.option;
  }
}

TEST_F(ContrastsTest, ReportOfOneContrast) {
  auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.05);
  ctx.labels = {"Testemunha", "Adubo", "Um nome de nível bem mais longo que trinta"};
  const auto res = CalculaContraste(ctx, 2, {2, -1, -1});
  const std::string R(80, '-');
  const std::string expected =
      R + "\r\nContraste para a FV Trat\r\n" + R +
      "\r\n"
      "Média harmonica do número de repetições (r): 4\r\n"
      "Erro padrão de cada média dessa FV:  0.790569415042095\r\n"
      "CONTRASTE NÚMERO 2\r\n" +
      R + "\r\n\r\n" + R +
      "\r\nO contraste testado está apresentado a seguir:\r\n" + R +
      "\r\nNível dessa Fonte de Variação    Coeficientes \r\n" + R +
      "\r\n"
      "Testemunha                            2.0000\r\n"
      "Adubo                                -1.0000\r\n"
      "Um nome de nível bem mais longo que trinta       -1.0000\r\n" +
      R +
      "\r\nObs. Valores dos coeficientes positivos foram divididos por \r\n"
      "     2 e os negativos por 2\r\n" +
      R +
      "\r\n"
      "Estimativa       :          3.87500000\r\n"
      "DMS Scheffé      : " + shell::FormatFixed(res.dms, 19, 8) + "\r\n"
      "NMS:             : 0.05\r\n"
      "Variância        :          0.93750000\r\n"
      "Erro padrão      :          0.96824584\r\n"
      "t para H0: Y = 0 :               4.002\r\n"
      "Pr>|t|           :               0.003\r\n"
      "F para H0: Y = 0 :              16.017\r\n"
      "Pr>F             :               0.003\r\n"
      "Pr exata Scheffé :               0.010\r\n" +
      R + "\r\n\r\n\r\n\r\n";
  EXPECT_EQ(testing::Visible(res.block), testing::Visible(expected));
}

TEST_F(ContrastsTest, SplittingCopyNamesTheSchefféLevel) {
  auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.1);
  ctx.copy = Copy::Splitting;
  const auto res = CalculaContraste(ctx, 1, {1, -1, 0});
  EXPECT_NE(res.block.find("\r\nNMS Scheffé      : 0.1\r\n"), std::string::npos);
  EXPECT_EQ(res.block.find("NMS:"), std::string::npos);
}

TEST_F(ContrastsTest, AllZeroCoefficientsGiveNotANumberWithoutFailing) {
  const auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.05);
  const auto res = CalculaContraste(ctx, 1, {0, 0, 0});
  EXPECT_EQ(res.P, 0);
  EXPECT_EQ(res.N, 0);
  EXPECT_TRUE(std::isnan(res.Y));
  EXPECT_NE(res.block.find("Estimativa       :                 Nan\r\n"), std::string::npos);
}

TEST_F(ContrastsTest, NoErrorDegreesOfFreedomOrZeroErrorStillReports) {
  for (auto [nu, qme] : {std::pair{0, 2.5}, std::pair{9, 0.0}}) {
    const auto ctx = Context({20.5, 18.25, 15.0}, 4, qme, nu, 0.05);
    const auto res = CalculaContraste(ctx, 1, {1, -1, 0});
    EXPECT_NEAR(res.Y, 2.25, 1e-12);
    EXPECT_NE(res.block.find("Pr exata Scheffé : "), std::string::npos);
    if (qme == 0) {
      EXPECT_EQ(res.s, 1e-8);  // a zero standard error is replaced
    } else {
      EXPECT_EQ(res.dms, 0);  // no critical value without error degrees of freedom
    }
  }
}

TEST_F(ContrastsTest, TableOfContrasts) {
  const auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.05);
  const auto a = CalculaContraste(ctx, 1, {1, -1, 0});
  const auto b = CalculaContraste(ctx, 2, {2, -1, -1});
  // F * QME is the contrast's sum of squares: 4.05 * 2.5 and 16.0166... * 2.5.
  EXPECT_EQ(a.tableLine,
            "Contraste      1        1          10.125000         10.125000      4.050 0.0750\r\n");
  const std::string R(80, '-');
  const std::string expected =
      "            TABELA DE ANÁLISE DE VARIÂNCIA DOS CONTRASTES\r\n\r\n\r\n" + R +
      "\r\nFV                     GL                 SQ                QM         Fc  Pr>Fc\r\n" +
      R + "\r\n" + a.tableLine + b.tableLine +
      "Erro                    9          22.500000          2.500000\r\n" + R + "\r\n";
  EXPECT_EQ(testing::Visible(TabelaContrastes({a.tableLine, b.tableLine}, ctx.erro)),
            testing::Visible(expected));
  EXPECT_EQ(b.tableLine.substr(0, 51), "Contraste      2        1          40.041667       ");
}

TEST_F(ContrastsTest, NumericLevelLabels) {
  EXPECT_EQ(ContrastLevelLabel(10), "              10");
  EXPECT_EQ(ContrastLevelLabel(-3), "              -3");
  // A fractional level keeps its digits (a whole-number field would show 2.5 as 3).
  EXPECT_EQ(ContrastLevelLabel(2.5), "             2.5");
}

// ---- the dialog ----

TCont Dialog(ScriptedPrompter& p, int levels) {
  TCont f(p);
  f.Numniv = levels;
  for (int i = 1; i <= levels; ++i) f.LB_Niveis.push_back("n" + std::to_string(i));
  f.Activate();
  return f;
}

void Type(TCont& f, const std::vector<std::string>& coefs) {
  for (const auto& c : coefs) {
    f.Ed_coef = c;
    f.Acrescentar();
  }
}

TEST(ContrastDialog, AddingMovesToTheNextLevelAndStopsAtTheLast) {
  ScriptedPrompter p;
  TCont f = Dialog(p, 3);
  EXPECT_EQ(f.Lbl_nivel, "n1");
  EXPECT_EQ(f.nivelSelecionado, 0);
  for (const char* blank : {"", " ", "  "}) {
    f.Ed_coef = blank;
    f.Acrescentar();
  }
  EXPECT_TRUE(f.LB_Coef.empty());
  Type(f, {"1"});
  EXPECT_EQ(f.Lbl_nivel, "n2");
  EXPECT_TRUE(f.Ed_coef.empty());
  Type(f, {"x"});  // not validated while typing
  EXPECT_EQ(f.Lbl_nivel, "n3");
  Type(f, {"-1"});
  EXPECT_EQ(f.Lbl_nivel, "n3");  // the last level stays shown
  Type(f, {"5"});                // a fourth coefficient for three levels is refused
  EXPECT_EQ(f.LB_Coef, (std::vector<std::string>{"1", "x", "-1"}));
  EXPECT_EQ(f.Ed_coef, "5");

  f.coefSelecionado = 1;
  f.Ed_coef = "0";
  f.Alterar();
  EXPECT_EQ(f.LB_Coef, (std::vector<std::string>{"1", "0", "-1"}));

  f.Limpar();
  EXPECT_TRUE(f.LB_Coef.empty());
  EXPECT_EQ(f.Lbl_nivel, "n1");
  EXPECT_EQ(f.nivelSelecionado, 0);
}

TEST(ContrastDialog, ChecksOfNovoContraste) {
  struct Case {
    std::vector<std::string> coefs;
    std::vector<std::string> messages;  // empty: accepted
  };
  const Case cases[] = {
      {{"1", "-0.9999995"}, {}},
      {{" 2 ", "-1", "-1"}, {}},
      {{"1", "-0.99"}, {"Esse não é um contraste, pois não soma zero!", "Erros foram encontrados!"}},
      {{"1"}, {"Erros foram encontrados!"}},
      {{"1", "1,0", "-2"}, {"Erro no coeficiente 2", "Erros foram encontrados!"}},
      {{"1", "-1", "a"}, {"Erro no coeficiente 3", "Erros foram encontrados!"}},
  };
  for (const auto& c : cases) {
    ScriptedPrompter p;
    for (const auto& m : c.messages) p.ExpectMessage(m);
    TCont f = Dialog(p, 3);
    Type(f, c.coefs);
    f.NovoContraste();
    EXPECT_EQ(f.Closed(), c.messages.empty()) << c.coefs[0];
    EXPECT_FALSE(f.finalizou);
    EXPECT_FALSE(f.Ach_erro);
    p.VerifyDone();
  }
}

TEST(ContrastDialog, FinalizarWithErrorsSkipsTheContrast) {
  ScriptedPrompter p;
  p.ExpectMessage("Aviso: ERROS foram encontrados!\rNada foi feito para esse contraste!");
  TCont f = Dialog(p, 3);
  Type(f, {"1"});
  f.Finalizar();
  EXPECT_TRUE(f.Closed());
  EXPECT_TRUE(f.finalizou);
  EXPECT_TRUE(f.Ach_erro);
  p.VerifyDone();
}

TEST(ContrastDialog, WindowButtonChecksLikeNovoContraste) {
  ScriptedPrompter p;
  p.ExpectMessage("Esse não é um contraste, pois não soma zero!");
  p.ExpectMessage("Erros foram encontrados!");
  TCont f = Dialog(p, 3);
  Type(f, {"1", "1", "-1"});
  EXPECT_FALSE(f.CloseQuery());
  EXPECT_FALSE(f.Closed());
  f.coefSelecionado = 2;
  f.Ed_coef = "-2";
  f.Alterar();
  EXPECT_TRUE(f.CloseQuery());
  EXPECT_FALSE(f.finalizou);
  EXPECT_EQ(f.Coeficientes(), (std::vector<double>{1, 1, -2}));
  p.VerifyDone();
}

// ---- the whole option ----

TEST_F(ContrastsTest, DialogRunComputesEachAcceptedContrastAndTheTable) {
  const auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.05);
  ScriptedPrompter p;
  p.ExpectMessage("Esse não é um contraste, pois não soma zero!");
  p.ExpectMessage("Erros foram encontrados!");
  p.ExpectMessage("Esse não é um contraste, pois não soma zero!");
  p.ExpectMessage("Aviso: ERROS foram encontrados!\rNada foi feito para esse contraste!");
  ScriptedWindowHost host;
  host.Expect("TCont", [](shell::Form& form) {
    auto& f = static_cast<TCont&>(form);
    EXPECT_EQ(f.Lb1, "Trat");
    EXPECT_EQ(f.Lb2, "Variável Peso");
    EXPECT_FALSE(f.Lb3Visivel);
    EXPECT_EQ(f.Lbl_nivel, "t1");
    Type(f, {"1", "-1", "1"});
    f.NovoContraste();  // refused, stays open
    f.Limpar();
    Type(f, {"1", "-1"});
    EXPECT_TRUE(f.CloseQuery());  // window button
  });
  host.Expect("TCont", [](shell::Form& form) {
    auto& f = static_cast<TCont&>(form);
    EXPECT_TRUE(f.LB_Coef.empty());
    Type(f, {"2", "-1", "-1"});
    f.NovoContraste();
  });
  host.Expect("TCont", [](shell::Form& form) {
    auto& f = static_cast<TCont&>(form);
    Type(f, {"1", "1", "1"});
    f.Finalizar();
  });
  TCont form(p);
  TContPort port(form, host);
  shell::Report out;
  double alpha = 0;
  ContrastRequest req{"Trat", "Variável Peso", ctx.labels, "", 1, 1};
  EXPECT_EQ(ContrastesFV(ctx, port, req, out, alpha), 2);
  EXPECT_DOUBLE_EQ(alpha, 0.05);
  const auto a = CalculaContraste(ctx, 1, {1, -1});
  const auto b = CalculaContraste(ctx, 2, {2, -1, -1});
  EXPECT_EQ(testing::Visible(out.Text()),
            testing::Visible(a.block + b.block + TabelaContrastes({a.tableLine, b.tableLine}, ctx.erro)));
  host.VerifyDone();
  p.VerifyDone();
}

TEST_F(ContrastsTest, NoAcceptedContrastWritesNothing) {
  auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.05);
  ctx.copy = Copy::Splitting;
  ScriptedPrompter p;
  p.ExpectMessage("Aviso: ERROS foram encontrados!\rNada foi feito para esse contraste!");
  ScriptedWindowHost host;
  host.Expect("TCont", [](shell::Form& form) {
    auto& f = static_cast<TCont&>(form);
    EXPECT_TRUE(f.Lb3Visivel);
    EXPECT_EQ(f.Lb3, "codificação 3");
    f.Finalizar();
  });
  TCont form(p);
  TContPort port(form, host);
  shell::Report out;
  double alpha = -1;
  ContrastRequest req{"A*B", "Variável Peso", ctx.labels, "codificação 3", 1, 1};
  EXPECT_EQ(ContrastesFV(ctx, port, req, out, alpha), 0);
  EXPECT_EQ(alpha, -1);
  EXPECT_EQ(out.Text(), "");
  EXPECT_FALSE(form.Lb3Visivel);
  host.VerifyDone();
  p.VerifyDone();
}

// Answers given without the dialog (as the batch runner does).
class ListedAnswers : public ContrastPort {
 public:
  explicit ListedAnswers(std::vector<ContrastAnswer> a) : answers_(std::move(a)) {}
  std::optional<ContrastAnswer> AskContrast(const ContrastRequest&) override {
    if (next_ >= answers_.size()) return std::nullopt;
    return answers_[next_++];
  }

 private:
  std::vector<ContrastAnswer> answers_;
  std::size_t next_ = 0;
};

TEST_F(ContrastsTest, AnswersThatAreNotContrastsAreSkippedAndTheEndOfAnswersEnds) {
  const auto ctx = Context({20.5, 18.25, 15.0}, 4, 2.5, 9, 0.2);
  ListedAnswers port({{{"1", "-1", "0", "0"}, false, false},  // more coefficients than levels
                      {{"1", "x"}, false, false},
                      {{"1", "1"}, false, false},
                      {{"1", "-1"}, false, true},              // rejected by the dialog
                      {{"0", "1", "-1"}, false, false}});      // then no more answers
  shell::Report out;
  double alpha = 0;
  EXPECT_EQ(ContrastesFV(ctx, port, {}, out, alpha), 1);
  const auto only = CalculaContraste(ctx, 1, {0, 1, -1});
  EXPECT_EQ(out.Text(), only.block + TabelaContrastes({only.tableLine}, ctx.erro));
  EXPECT_DOUBLE_EQ(alpha, 0.2);
}

}  // namespace
}  // namespace tolmex::anova::levels
