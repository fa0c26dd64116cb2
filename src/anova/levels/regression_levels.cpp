#include "anova/levels/regression_levels.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "numeric/distributions.h"
#include "shell/format.h"

namespace tolmex::anova::levels {

using shell::FormatFixed;
using shell::FormatGeneral;
using shell::FormatInt;
using shell::FormatSci;

namespace {

struct TermInfo {
  const char* caption;
  const char* name;
};

constexpr TermInfo kTerms[kRegressionTermCodes] = {
    {"X", "X"},
    {"X^2", "X^2"},
    {"X^3", "X^3"},
    {"X^4", "X^4"},
    {"X^5", "X^5"},
    {"X^6", "X^6"},
    {"SQRT(X)", "X^0.5"},
    {"X^(1/3)", "X^(1/3)"},
    {"1/X", "1/X"},
    {"Log (X)", "Log10(X)"},
    {"Ln (X)", "Ln(X)"},
    {"Sen (X)", "Sen(X)"},
    {"Cos (X)", "Cos(X)"},
    {"Tg (X)", "Tan(X)"},
    {"1 / ( X + 0.5 )", "1/(X+0.5)"},
    {"Exp ( X)", "Exp(X)"},
    {"Exp [ - (X^2) / 2 ]", "Exp(-(X^2)/2)"},
    {"Log2 ( X )", "Log2(X)"},
    {"SenH ( X )", "Senh(X)"},
    {"CosH ( X )", "Cosh(X)"},
    {"TangH ( X )", "Tanh(X)"},
    {"Cotg ( X )", "Cotan(X)"},
    {"Ln(X)*Tg(X)", "Ln(X)*Tan(X)"},
    {"Exp (X) * SenH (X)", "Exp(X)*Senh(X)"},
};

}  // namespace

std::string NomeTermo(int code) {
  if (code < 1 || code > kRegressionTermCodes) return "X";
  return kTerms[code - 1].name;
}

std::string LegendaTermo(int code) {
  if (code < 1 || code > kRegressionTermCodes) return "X";
  return kTerms[code - 1].caption;
}

double ValorTermo(int code, double x) {
  switch (code) {
    case 1: return x;
    case 2: return std::pow(x, 2.0);
    case 3: return std::pow(x, 3.0);
    case 4: return std::pow(x, 4.0);
    case 5: return std::pow(x, 5.0);
    case 6: return std::pow(x, 6.0);
    case 7: return std::pow(x, 0.5);
    case 8: return std::pow(x, 0.3333333333333333);
    case 9: return 1.0 / x;
    case 10: return std::log10(x);
    case 11: return std::log(x);
    case 12: return std::sin(x);
    case 13: return std::cos(x);
    case 14: return std::tan(x);
    case 15: return 1.0 / (x + 0.5);
    case 16: return std::exp(x);
    case 17: return std::exp(x * x * (-0.5));
    case 18: return std::log2(x);
    case 19: return std::sinh(x);
    case 20: return std::cosh(x);
    case 21: return std::tanh(x);
    case 22: return 1.0 / std::tan(x);
    case 23: return std::log(x) * std::tan(x);
    case 24: return std::exp(x) * std::sinh(x);
    default: return x;
  }
}

void MatrizVarredura::IniciaVarredura() {
  sinal.fill(1);
  singular.fill(false);
  tol.fill(1e-13);
}

void MatrizVarredura::Varredura(int n) {
  const double b = XX[n][n];
  if (b < tol[n] && sinal[n] == 1) singular[n] = true;
  if (singular[n]) return;
  for (int i = 0; i < m; ++i) {
    if (i == n) continue;
    const double f = i > n ? sinal[i] * sinal[n] * XX[n][i] / b : XX[i][n] / b;
    for (int j = i; j < m; ++j) {
      if (j == n) continue;
      const double h = j < n ? sinal[j] * sinal[n] * XX[j][n] : XX[n][j];
      XX[i][j] -= f * h;
    }
  }
  for (int i = 0; i < n; ++i) XX[i][n] = -XX[i][n] / b;
  for (int i = n + 1; i < m; ++i) XX[n][i] = XX[n][i] / b;
  XX[n][n] = 1.0 / b;
  sinal[n] = -sinal[n];
}

RegressionLevelsResult RegressaoNiveis(const RegressionLevelsInput& in) {
  std::vector<int> terms = in.terms;
  std::sort(terms.begin(), terms.end());
  const int p = static_cast<int>(terms.size());
  if (p < 1 || p > kMaxRegressionTerms)
    throw std::invalid_argument("Modelo com mais de 10 parâmetros, ou sem parâmetro!");
  const std::size_t k = std::min(in.x.size(), in.means.size());
  const bool split = in.copy == Copy::Splitting;
  const double r = in.r;
  const double qme = in.erro.qm;
  const std::int32_t nu = in.erro.gl;
  const int y = p + 1;

  // Row of the design for level i: intercept, terms, response.
  auto row = [&](std::size_t i) {
    std::array<double, MatrizVarredura::kDim> v{};
    v[0] = 1;
    for (int j = 1; j <= p; ++j) v[j] = ValorTermo(terms[j - 1], in.x[i]);
    v[y] = in.means[i];
    return v;
  };

  MatrizVarredura M;
  M.m = p + 2;
  for (std::size_t i = 0; i < k; ++i) {
    const auto v = row(i);
    for (int a = 0; a < M.m; ++a)
      for (int b = 0; b < M.m; ++b) M.XX[a][b] += v[a] * v[b];
  }
  M.IniciaVarredura();
  M.Varredura(0);

  RegressionLevelsResult res;
  res.SQseq.assign(p + 1, 0);
  res.SQres.assign(p + 1, 0);
  const double ss0 = M.XX[y][y] * r;
  res.SQseq[0] = res.SQres[0] = ss0;
  double current = ss0;

  const std::string R = kRule + kEol;
  std::string& out = res.text;
  if (split) {
    out += R;
  } else {
    out += R + "Regressão para a FV " + in.fvColumnName + kEol + R;
  }
  out += "Média harmonica do número de repetições (r): " + FormatGeneral(r) + kEol;
  out += "Erro padrão de cada média dessa FV: " + FormatGeneral(std::sqrt(qme / r)) + kEol + R;
  for (int i = 1; i <= p; ++i)
    out += "b" + std::to_string(i) + " : " + NomeTermo(terms[i - 1]) + kEol;
  out += R + std::string(15, ' ') + "Modelos reduzidos sequenciais" + kEol + R + kEol;

  for (int q = 1; q <= p; ++q) {
    M.Varredura(q);
    res.SQseq[q] = current - M.XX[y][y] * r;
    res.SQres[q] = res.SQres[q - 1] - res.SQseq[q];
    current = M.XX[y][y] * r;

    RegressionModel model;
    res.npar = 0;
    for (int m = 0; m <= q; ++m) {
      if (M.singular[m]) {
        out += "Parâmetro(s) " + std::to_string(m) + " colinear(es) - XX é singular" + kEol;
        model.collinear.push_back(m);
      } else {
        ++res.npar;
      }
    }

    // Parameter table.
    out += R + std::string(46, ' ') + "t para" + kEol;
    out += std::string("Parâmetro     Estimativa         SE          H0: Par=0        Pr>|t|") + kEol + R;
    for (int i = 0; i <= q; ++i) {
      const double est = M.XX[i][y];
      const double v = M.XX[i][i] * qme / r;
      const double se = v > 0 ? std::sqrt(v) : 1e-8;
      const double t = est / se;
      const double pr = 2 * (1 - numeric::ProbT(nu, std::fabs(t)));
      model.estimate.push_back(est);
      model.se.push_back(se);
      model.t.push_back(t);
      model.prT.push_back(pr);
      const bool estFixed = split ? !(est > 1e11) : std::fabs(est) <= 1e11;
      const bool seFixed = split ? !(se >= 1e7) : se < 1e8;
      out += "b" + std::to_string(i) + (estFixed ? FormatFixed(est, 22, 6) : FormatSci(est, 22)) +
             " " + (seFixed ? FormatFixed(se, 15, 8) : FormatSci(se, 15)) + " " +
             (std::fabs(t) <= 1e9 ? FormatFixed(t, 12, 3) : FormatSci(t, 12)) + " " +
             FormatFixed(pr, 14, 4) + " " + kEol;
    }
    const double D = res.SQres[0] == 0 ? 1e-5 : res.SQres[0];
    model.R2 = (res.SQres[0] - res.SQres[q]) * 100 / D;
    out += R + "R^2 = " + FormatFixed(model.R2, 4, 2) + "% " + kEol + R + kEol + kEol;

    // Observed and estimated means.
    out += R + "Valores da variável" + kEol;
    out += std::string(" independente        Médias observadas      Médias estimadas") + kEol + R;
    for (std::size_t i = 0; i < k; ++i) {
      const auto v = row(i);
      double e = 0;
      for (int j = 0; j <= q; ++j) e += v[j] * M.XX[j][y];
      model.estimated.push_back(e);
      out += FormatFixed(in.x[i], 16, 6) + "  " + FormatFixed(in.means[i], 19, 6) + "   " +
             FormatFixed(e, 19, 6) + kEol;
    }
    out += R + kEol + kEol;
    res.models.push_back(std::move(model));
  }

  // Sequential sums of squares.
  out += std::string(" Somas de quadrados seqüenciais  - Tipo I (Type I)") + kEol + R;
  out += std::string("Causas de Variação  G.L.            S.Q.              Q.M.") +
         "         Fc      Pr>F" + kEol + R;
  for (int j = 1; j <= p; ++j) {
    const int df = M.singular[j] ? 0 : 1;
    const double sq = res.SQseq[j];
    const double fc = qme > 0 ? sq / qme : 1e-5;
    double pr = 1 - numeric::ProbF(1, nu, fc);
    if (pr < 0) pr = 1e-4;
    out += "b" + std::to_string(j) + std::string(17, ' ') + FormatInt(df, 4) + " " +
           FormatFixed(sq, 18, 6) + " " + FormatFixed(sq, 18, 6) + " " + FormatFixed(fc, 8, 3) +
           " " + FormatFixed(pr, 8, 3) + kEol;
  }
  const int dfD = static_cast<int>(k) - res.npar;
  res.dfDesvio = dfD;
  const double sqD = res.SQres[p];
  const double qmD = dfD > 0 ? sqD / dfD : 0;
  const double fcD = qme > 0 ? qmD / qme : 1e-5;
  double prD = dfD > 0 ? 1 - numeric::ProbF(dfD, nu, fcD) : 1e-5;
  if (prD < 0) prD = 1e-4;
  out += "Desvio" + std::string(13, ' ') + FormatFixed(dfD, 4, 0) + " " + FormatFixed(sqD, 18, 6) +
         " " + FormatFixed(qmD, 18, 6) + " " + FormatFixed(fcD, 8, 3) + " " +
         FormatFixed(prD, 8, 3) + kEol;
  out += "Erro" + std::string(15, ' ') + FormatFixed(nu, 4, 0) + " " +
         FormatFixed(in.erro.sq, 18, 6) + " " + FormatFixed(qme, 18, 6) + kEol + R + kEol + kEol;

  res.singular.assign(M.singular.begin(), M.singular.begin() + p + 1);
  return res;
}

}  // namespace tolmex::anova::levels
