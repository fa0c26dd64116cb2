// Regression on factor levels: the sweep and the sequential fits against R's lm on the
// level means (sums of squares times r), the report layout, collinear terms, term values
// that are not numbers, and the splitting copy's differences.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "anova/levels/regression_levels.h"
#include "scripted_prompter.h"
#include "shell/format.h"
#include "shell/number_locale.h"

namespace tolmex::anova::levels {
namespace {

class RegressionLevelsTest : public ::testing::Test {
 protected:
  void SetUp() override { shell::SetCurrentNumberLocale(shell::NumberLocale::Dot()); }
};

RegressionLevelsInput Input(std::vector<double> x, std::vector<double> y, double r, double qme,
                            int nu, std::vector<int> terms) {
  RegressionLevelsInput in;
  in.fvColumnName = "Dose";
  in.x = std::move(x);
  in.means = std::move(y);
  in.r = r;
  in.erro = {nu, qme * nu, qme};
  in.terms = std::move(terms);
  return in;
}

void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, double rel,
                const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_NEAR(got[i], want[i], rel * std::max(1.0, std::fabs(want[i]))) << what << " " << i;
}

// Reference fits from R: lm(y ~ ...) on the level means; anova() sums of squares times r;
// standard errors sqrt(diag(solve(crossprod(model.matrix))) * QME / r); 2*pt(-|t|, nu).
struct ModelRef {
  std::vector<double> est, se, prT, fitted;
  double R2;
};
struct FitCase {
  const char* name;
  std::vector<double> x, y;
  double r, qme;
  int nu;
  std::vector<int> terms;
  std::vector<double> SQseq;  // terms 1 .. p
  double SQdesvio;
  std::vector<ModelRef> models;  // q = 1 .. p; empty vectors are not checked
};

const FitCase kFits[] = {
    {"cubic in dose",
     {0, 50, 100, 150, 200},
     {10.2, 14.8, 17.1, 17.9, 16.5},
     4, 1.3, 15,
     {3, 1, 2},  // ticked in any order, fitted as X, X^2, X^3
     {98.596, 52.07142857142857, 0.004},
     0.1285714285714,
     {{{12.16, 0.0314},
       {0.441588043316, 0.00360555127546},
       {2.941358894e-14, 2.981367345e-07},
       {12.16, 13.73, 15.3, 16.87, 18.44},
       65.38196286},
      {{10.2314285714, 0.108542857143, -0.000385714285714},
       {0.536523198806, 0.012711075036, 6.0944940022e-05},
       {6.283533323e-12, 3.821566676e-07, 1.353011371e-05},
       {10.23142857, 14.69428571, 17.22857143, 17.83428571, 16.51142857},
       99.91208791},
      {{10.2214285714, 0.109976190476, -0.000405714285714, 6.66666666667e-08},
       {0.56600100959, 0.0287969768034, 0.000365669640132, 1.20185042515e-06},
       {1.37739088e-11, 0.001676760955, 0.2846815304, 0.9564961215},
       {10.22142857, 14.71428571, 17.22857143, 17.81428571, 16.52142857},
       99.91474043}}},
    {"square root and logarithm",
     {1, 2, 4, 8, 16},
     {3.1, 4.0, 5.2, 5.9, 6.3},
     3, 0.2, 10,
     {11, 7},
     {18.6009594851, 2.59301453207},
     0.106025982791,
     {{{2.55909197161, 1.04108460527}, {}, {}, {}, 87.328448287},
      {{3.91873025731, -0.886434866322, 2.14560743016},
       {0.463505935045, 0.546093775602, 0.595885457883},
       {},
       {3.03229539099, 4.152343788, 5.12030400627, 5.8731790595, 6.32187775524},
       99.5022254329}}},
};

TEST_F(RegressionLevelsTest, SequentialFitsAgreeWithR) {
  for (const auto& c : kFits) {
    SCOPED_TRACE(c.name);
    const auto res = RegressaoNiveis(Input(c.x, c.y, c.r, c.qme, c.nu, c.terms));
    const std::size_t p = c.terms.size();
    ASSERT_EQ(res.models.size(), p);
    ASSERT_EQ(res.SQseq.size(), p + 1);
    double ss0 = 0;
    for (double s : c.SQseq) ss0 += s;
    ss0 += c.SQdesvio;
    EXPECT_NEAR(res.SQseq[0], ss0, 1e-9 * ss0);
    for (std::size_t j = 1; j <= p; ++j) EXPECT_NEAR(res.SQseq[j], c.SQseq[j - 1], 1e-8 * ss0) << j;
    EXPECT_NEAR(res.SQres[p], c.SQdesvio, 1e-8 * ss0);
    EXPECT_EQ(res.npar, static_cast<int>(p) + 1);
    EXPECT_EQ(res.dfDesvio, static_cast<int>(c.x.size() - p - 1));
    for (std::size_t q = 0; q < p; ++q) {
      SCOPED_TRACE(q + 1);
      const auto& m = res.models[q];
      const auto& ref = c.models[q];
      ExpectNear(m.estimate, ref.est, 1e-8, "estimate");
      if (!ref.se.empty()) ExpectNear(m.se, ref.se, 1e-8, "se");
      if (!ref.prT.empty()) {
        ASSERT_EQ(m.prT.size(), ref.prT.size());
        for (std::size_t i = 0; i < ref.prT.size(); ++i) EXPECT_NEAR(m.prT[i], ref.prT[i], 1e-6);
      }
      if (!ref.fitted.empty()) ExpectNear(m.estimated, ref.fitted, 1e-8, "fitted");
      EXPECT_NEAR(m.R2, ref.R2, 1e-7);
      for (std::size_t i = 0; i < m.estimate.size(); ++i)
        EXPECT_DOUBLE_EQ(m.t[i], m.estimate[i] / m.se[i]);
    }
  }
}

TEST_F(RegressionLevelsTest, SweepGivesTheInverseOfTheCrossProducts) {
  // Three levels, intercept and X: X'X = [[3, 6], [6, 14]], inverse [[14/6, -1], [-1, 0.5]].
  MatrizVarredura M;
  M.m = 3;
  const double x[] = {1, 2, 3}, y[] = {4, 7, 8};
  for (int i = 0; i < 3; ++i) {
    const double v[] = {1, x[i], y[i]};
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) M.XX[a][b] += v[a] * v[b];
  }
  M.IniciaVarredura();
  M.Varredura(0);
  M.Varredura(1);
  EXPECT_NEAR(M.XX[0][0], 14.0 / 6, 1e-12);
  EXPECT_NEAR(M.XX[1][1], 0.5, 1e-12);
  EXPECT_NEAR(std::fabs(M.XX[0][1]), 1, 1e-12);
  EXPECT_NEAR(M.XX[0][2], 7.0 / 3, 1e-12);   // intercept
  EXPECT_NEAR(M.XX[1][2], 2, 1e-12);         // slope
  EXPECT_NEAR(M.XX[2][2], 2.0 / 3, 1e-12);   // residual sum of squares
  EXPECT_EQ(M.sinal[0], -1);
  EXPECT_EQ(M.sinal[1], -1);
  EXPECT_EQ(M.sinal[2], 1);
}

TEST_F(RegressionLevelsTest, ReportLayoutWithNoLackOfFitDegreesOfFreedom) {
  const auto res = RegressaoNiveis(Input({1, 2, 3}, {4, 7, 8}, 2, 0.5, 6, {2, 1}));
  ASSERT_EQ(res.models.size(), 2u);
  // The fit of the second model is exact: its residual is rounding noise around 0.
  ASSERT_LT(std::fabs(res.SQres[2]), 1e-12);
  const std::string R(80, '-');
  const std::string paramHead = R + "\n" + std::string(46, ' ') + "t para\n" +
                                "Parâmetro     Estimativa         SE          H0: Par=0        Pr>|t|\n" +
                                R + "\n";
  const std::string meansHead = R + "\nValores da variável\n" +
                                " independente        Médias observadas      Médias estimadas\n" + R +
                                "\n";
  const std::string expected =
      R + "\nRegressão para a FV Dose\n" + R + "\n" +
      "Média harmonica do número de repetições (r): 2\n"
      "Erro padrão de cada média dessa FV: 0.5\n" +
      R + "\nb1 : X\nb2 : X^2\n" + R + "\n               Modelos reduzidos sequenciais\n" + R +
      "\n\n" + paramHead +
      "b0              2.333333      0.76376262        3.055         0.0224 \n"
      "b1              2.000000      0.35355339        5.657         0.0013 \n" +
      R + "\nR^2 = 92.31% \n" + R + "\n\n\n" + meansHead +
      "        1.000000             4.000000              4.333333\n"
      "        2.000000             7.000000              6.333333\n"
      "        3.000000             8.000000              8.333333\n" +
      R + "\n\n\n" + paramHead +
      "b0             -1.000000      2.17944947       -0.459         0.6625 \n"
      "b1              6.000000      2.47487373        2.424         0.0516 \n"
      "b2             -1.000000      0.61237244       -1.633         0.1536 \n" +
      R + "\nR^2 = 100.00% \n" + R + "\n\n\n" + meansHead +
      "        1.000000             4.000000              4.000000\n"
      "        2.000000             7.000000              7.000000\n"
      "        3.000000             8.000000              8.000000\n" +
      R + "\n\n\n" + " Somas de quadrados seqüenciais  - Tipo I (Type I)\n" + R +
      "\nCausas de Variação  G.L.            S.Q.              Q.M.         Fc      Pr>F\n" + R +
      "\n"
      "b1                    1          16.000000          16.000000   32.000    0.001\n"
      "b2                    1           1.333333           1.333333    2.667    0.154\n"
      "Desvio                0 " + shell::FormatFixed(res.SQres[2], 18, 6) +
      "           0.000000    0.000    0.000\n"
      "Erro                  6           3.000000           0.500000\n" +
      R + "\n\n\n";
  EXPECT_EQ(testing::Visible(res.text), expected);
}

TEST_F(RegressionLevelsTest, CollinearTermIsReportedAndGetsNoDegreeOfFreedom) {
  // With levels 0 and 1, X^2 equals X: its pivot is 0 after X is swept.
  const auto res = RegressaoNiveis(Input({0, 1, 0.0 + 1}, {3, 5, 6}, 2, 1, 4, {1, 2}));
  ASSERT_EQ(res.singular.size(), 3u);
  EXPECT_FALSE(res.singular[1]);
  EXPECT_TRUE(res.singular[2]);
  EXPECT_EQ(res.npar, 2);
  EXPECT_EQ(res.dfDesvio, 1);
  EXPECT_EQ(res.models[1].collinear, std::vector<int>{2});
  EXPECT_DOUBLE_EQ(res.SQseq[2], 0);
  EXPECT_NE(res.text.find("Parâmetro(s) 2 colinear(es) - XX é singular\r\n"), std::string::npos);
  EXPECT_NE(res.text.find("\r\nb2                    0 "), std::string::npos);
  // The first model is untouched by the collinear term: slope (5.5 - 3) = 2.5.
  EXPECT_NEAR(res.models[0].estimate[1], 2.5, 1e-12);
  EXPECT_NEAR(res.models[1].estimated[0], 3, 1e-12);
}

TEST_F(RegressionLevelsTest, LackOfFitWithFourLevels) {
  const auto res = RegressaoNiveis(Input({1, 2, 3, 4}, {2, 5, 6, 6.5}, 3, 0.8, 8, {1, 2}));
  EXPECT_EQ(res.dfDesvio, 1);
  EXPECT_NEAR(res.SQseq[1] + res.SQseq[2] + res.SQres[2], res.SQseq[0], 1e-10);
  EXPECT_GT(res.SQres[2], 0);
  EXPECT_NE(res.text.find("\r\nDesvio                1 "), std::string::npos);
}

TEST_F(RegressionLevelsTest, AllEqualMeansGiveZeroSumsOfSquares) {
  const auto res = RegressaoNiveis(Input({1, 2, 3, 4}, {5, 5, 5, 5}, 2, 1, 6, {1}));
  EXPECT_EQ(res.SQseq[0], 0);
  EXPECT_NEAR(res.models[0].R2, 0, 1e-6);
  EXPECT_NEAR(res.models[0].estimate[0], 5, 1e-12);
  EXPECT_NEAR(res.models[0].estimate[1], 0, 1e-12);
}

TEST_F(RegressionLevelsTest, TermValuesThatAreNotNumbersReachTheTables) {
  // Ln(0) is -Inf and the root of a negative level is NaN; the run goes on.
  for (int code : {11, 7}) {
    const auto res = RegressaoNiveis(Input({-1, 0, 1, 2}, {1, 2, 3, 4}, 2, 1, 6, {code}));
    EXPECT_NE(res.text.find("Nan"), std::string::npos) << code;
    EXPECT_NE(res.text.find("Desvio"), std::string::npos);
  }
  // Ln(0) after X: the first model is still a number, the second is not.
  const auto res = RegressaoNiveis(Input({0, 1, 2}, {1, 2, 4}, 2, 1, 6, {1, 11}));
  EXPECT_NEAR(res.models[0].estimate[1], 1.5, 1e-12);
  EXPECT_TRUE(std::isnan(res.models[1].estimate[2]));
  EXPECT_NE(res.text.find("\r\nb2                    1                Nan"), std::string::npos);
}

TEST_F(RegressionLevelsTest, QmeZeroPrintsTinyF) {
  const auto res = RegressaoNiveis(Input({1, 2, 3}, {1, 3, 2}, 2, 0, 0, {1}));
  EXPECT_NE(res.text.find("\r\nb1                    1           1.000000           1.000000    0.000 "),
            std::string::npos);
}

TEST_F(RegressionLevelsTest, HugeEstimatesByCopy) {
  // Means of order -1e12: the intercept prints in scientific form in the main copy and in
  // fixed form in the splitting copy.
  auto in = Input({1, 2, 3}, {-2e12, -2e12, -2e12}, 2, 1, 6, {1});
  const auto main = RegressaoNiveis(in);
  EXPECT_NE(main.text.find("\r\nb0" + shell::FormatSci(-2e12, 22) + " "), std::string::npos);
  in.copy = Copy::Splitting;
  const auto split = RegressaoNiveis(in);
  EXPECT_NE(split.text.find("\r\nb0" + shell::FormatFixed(-2e12, 22, 6) + " "), std::string::npos);
  // The splitting copy's header is only the rule line.
  EXPECT_EQ(split.text.find("Regressão para a FV"), std::string::npos);
  EXPECT_EQ(split.text.rfind(std::string(80, '-') + "\r\nMédia harmonica", 0), 0u);
}

TEST_F(RegressionLevelsTest, ModelMustHaveOneToTenTerms) {
  EXPECT_THROW(RegressaoNiveis(Input({1, 2}, {1, 2}, 1, 1, 1, {})), std::invalid_argument);
  EXPECT_THROW(RegressaoNiveis(Input({1, 2}, {1, 2}, 1, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})),
               std::invalid_argument);
  const auto ten = RegressaoNiveis(Input({1, 2, 3}, {1, 2, 4}, 1, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(ten.models.size(), 10u);
}

TEST(RegressionTerms, NamesAndValues) {
  struct Case {
    int code;
    const char* name;
    double x, value;
  };
  const Case cases[] = {
      {1, "X", 3, 3},           {2, "X^2", -3, 9},          {3, "X^3", -2, -8},
      {6, "X^6", 2, 64},        {7, "X^0.5", 0, 0},         {8, "X^(1/3)", 8, 2},
      {9, "1/X", 4, 0.25},      {10, "Log10(X)", 1000, 3},  {11, "Ln(X)", 1, 0},
      {14, "Tan(X)", 0, 0},     {15, "1/(X+0.5)", 1.5, 0.5}, {16, "Exp(X)", 0, 1},
      {17, "Exp(-(X^2)/2)", 0, 1}, {18, "Log2(X)", 8, 3},  {20, "Cosh(X)", 0, 1},
      {22, "Cotan(X)", 1, 1 / std::tan(1.0)}, {23, "Ln(X)*Tan(X)", 1, 0},
      {24, "Exp(X)*Senh(X)", 0, 0}, {25, "X", 7, 7}, {0, "X", -7, -7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NomeTermo(c.code), c.name);
    EXPECT_NEAR(ValorTermo(c.code, c.x), c.value, 1e-12) << c.code;
  }
  EXPECT_EQ(LegendaTermo(7), "SQRT(X)");
  EXPECT_EQ(LegendaTermo(24), "Exp (X) * SenH (X)");
  EXPECT_TRUE(std::isnan(ValorTermo(7, -1)));
  EXPECT_TRUE(std::isnan(ValorTermo(8, -8)));
  EXPECT_EQ(ValorTermo(10, 0), -INFINITY);
}

}  // namespace
}  // namespace tolmex::anova::levels
