#include "anova/levels/contrasts.h"

#include <cmath>

#include "anova/levels/contrast_form.h"
#include "numeric/distributions.h"
#include "shell/format.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::anova::levels {

using shell::FormatFixed;
using shell::FormatGeneral;
using shell::FormatInt;

std::string ContrastLevelLabel(double x) {
  // Whole levels in a 16-character field without decimals; other levels keep their digits,
  // so that 2.5 and 3 never print alike.
  if (std::isfinite(x) && x == std::nearbyint(x)) return FormatFixed(x, 16, 0);
  return shell::PadLeft(FormatGeneral(x), 16);
}

namespace {

// Upper tail of the F distribution as the contrasts compute it.
double UpperF(std::int32_t m, std::int32_t n, double f) {
  return f > 1 ? 1 - numeric::ProbF(m, n, f) : 1 - numeric::ProbFAprox(m, n, f);
}

}  // namespace

ContrastResult CalculaContraste(const ContrastContext& ctx, int n, const std::vector<double>& c) {
  ContrastResult res;
  const std::string R = kRule + kEol;
  const int k = static_cast<int>(ctx.means.size());
  const double qme = ctx.erro.qm;
  const std::int32_t nu = ctx.erro.gl;

  double P2 = 0, PY = 0, N2 = 0, NY = 0;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const double ci = c[i];
    const double yi = (ci != 0 && i < ctx.means.size()) ? ctx.means[i] : 0.0;
    if (ci > 0) {
      res.P += ci;
      P2 += ci * ci;
      PY += ci * yi;
    } else if (ci < 0) {
      res.N += std::fabs(ci);
      N2 += ci * ci;
      NY += ci * yi;
    }
  }

  double alpha = ctx.alphaOption;
  // Out of range (NaN included) becomes 0.05; the main copy keeps 0.5 itself.
  if (ctx.copy == Copy::Main ? !(alpha > 0 && alpha <= 0.5) : !(alpha > 0 && alpha < 0.5))
    alpha = 0.05;
  res.alpha = alpha;

  res.Y = PY / res.P + NY / res.N;
  res.V = (P2 / (res.P * res.P) + N2 / (res.N * res.N)) * qme / ctx.r;
  if (res.V < 0) res.V = 0;
  res.s = std::sqrt(res.V);
  if (res.s <= 0) res.s = 1e-8;
  res.t = res.Y / res.s;
  res.prT = 2 * (1 - numeric::ProbT(nu, std::fabs(res.t)));
  res.F = res.t * res.t;
  res.prF = UpperF(1, nu, res.F);
  const std::int32_t km1 = k - 1;
  // Without error degrees of freedom there is no critical value (as in the tests of means).
  res.dms = nu >= 1 ? std::sqrt(km1 * res.V * numeric::QuantilF(km1, nu, 1 - alpha)) : 0.0;
  const double fs = res.Y * res.Y / (km1 * res.V);
  res.prScheffe = UpperF(km1, nu, fs);

  res.tableLine = "Contraste    " + FormatInt(n, 3) + "        " + "1  " +
                  FormatFixed(res.F * qme, 17, 6) + " " + FormatFixed(res.F * qme, 17, 6) + " " +
                  FormatFixed(res.F, 10, 3) + " " + FormatFixed(res.prF, 6, 4) + kEol;

  std::string& b = res.block;
  b += R + "Contraste para a FV " + ctx.fvColumnName + kEol + R;
  b += "Média harmonica do número de repetições (r): " + FormatGeneral(ctx.r) + kEol;
  b += "Erro padrão de cada média dessa FV:  " + FormatGeneral(std::sqrt(qme / ctx.r)) + kEol;
  b += "CONTRASTE NÚMERO " + std::to_string(n) + kEol + R + kEol;
  b += R + "O contraste testado está apresentado a seguir:" + kEol + R;
  b += std::string("Nível dessa Fonte de Variação ") + " " + "  Coeficientes " + kEol + R;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const std::string label = i < ctx.labels.size() ? ctx.labels[i] : std::string();
    b += shell::PadRight(label, 30) + " " + FormatFixed(c[i], 13, 4) + kEol;
  }
  b += R + "Obs. Valores dos coeficientes positivos foram divididos por " + kEol;
  b += "     " + FormatGeneral(res.P) + " e os negativos por " + FormatGeneral(res.N) + kEol + R;
  b += "Estimativa       : " + FormatFixed(res.Y, 19, 8) + kEol;
  b += "DMS Scheffé      : " + FormatFixed(res.dms, 19, 8) + kEol;
  b += (ctx.copy == Copy::Main ? "NMS:             : " : "NMS Scheffé      : ") +
       FormatGeneral(alpha) + kEol;
  b += "Variância        : " + FormatFixed(res.V, 19, 8) + kEol;
  b += "Erro padrão      : " + FormatFixed(res.s, 19, 8) + kEol;
  b += "t para H0: Y = 0 : " + FormatFixed(res.t, 19, 3) + kEol;
  b += "Pr>|t|           : " + FormatFixed(res.prT, 19, 3) + kEol;
  b += "F para H0: Y = 0 : " + FormatFixed(res.F, 19, 3) + kEol;
  b += "Pr>F             : " + FormatFixed(res.prF, 19, 3) + kEol;
  b += "Pr exata Scheffé : " + FormatFixed(res.prScheffe, 19, 3) + kEol;
  b += R + kEol + kEol + kEol;
  return res;
}

std::string TabelaContrastes(const std::vector<std::string>& lines, const ErrorLine& erro) {
  const std::string R = kRule + kEol;
  std::string t = std::string("            TABELA DE ANÁLISE DE VARIÂNCIA DOS CONTRASTES") + kEol +
                  kEol + kEol + R +
                  "FV                     GL                 SQ                QM         Fc  Pr>Fc" +
                  kEol + R;
  for (const auto& l : lines) t += l;
  t += "Erro               " + FormatInt(erro.gl, 6) + "  " + FormatFixed(erro.sq, 17, 6) + " " +
       FormatFixed(erro.qm, 17, 6) + kEol + R;
  return t;
}

namespace {

// The coefficients as numbers when they form a contrast among k levels.
bool AsContrast(const std::vector<std::string>& texts, std::size_t k, std::vector<double>& c) {
  c.clear();
  if (texts.size() < 2 || texts.size() > k) return false;
  double sum = 0;
  for (const auto& t : texts) {
    double v = 0;
    if (!ParseCoefficient(t, v)) return false;
    c.push_back(v);
    sum += v;
  }
  return sum == 0 || std::fabs(sum) <= 1e-6;
}

}  // namespace

int ContrastesFV(const ContrastContext& ctx, ContrastPort& port, const ContrastRequest& request,
                 shell::Report& out, double& alpha) {
  int n = 0;
  std::vector<std::string> lines;
  for (;;) {
    const auto answer = port.AskContrast(request);
    if (!answer) break;
    std::vector<double> c;
    if (!answer->Ach_erro && AsContrast(answer->coefficients, ctx.means.size(), c)) {
      ++n;
      ContrastResult res = CalculaContraste(ctx, n, c);
      alpha = res.alpha;
      out.AppendText(res.block);
      lines.push_back(std::move(res.tableLine));
    }
    if (answer->finalizou) break;
  }
  if (n > 0) out.AppendText(TabelaContrastes(lines, ctx.erro));
  return n;
}

}  // namespace tolmex::anova::levels
