#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "anova/levels/contrasts.h"
#include "anova/levels/desdobramento.h"
#include "anova/levels/regression_levels.h"
#include "anova/means/means_tests.h"
#include "anova/model_language.h"
#include "data/data_table.h"
#include "numeric/means_distributions.h"
#include "shell/convert.h"
#include "shell/format.h"
#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::anova::levels {

using shell::FormatFixed;
using shell::FormatGeneral;
using shell::FormatInt;
using shell::FormatSci;

namespace {

constexpr std::size_t kLineWidth = 80;

// Position (1-based, model order) of the error term numbered `order` (1 = the first kind-4
// line, the residual last), or 0.
int ErrorTermLine(const AnovaState& st, int order) {
  int count = 0;
  for (int i = 1; i <= st.nfv && i <= kMaxFV; ++i) {
    if (st.identifica_FV[static_cast<std::size_t>(i)] != kErrorTerm) continue;
    if (++count == order) return i;
  }
  return 0;
}

std::string SqText(double x, int w) {
  return x <= 1e9 ? FormatFixed(x, w, 6) : FormatSci(x, w);
}

// The value of a factor cell as the codification lists it.
std::string CellText(const ScratchTable& tab, int rec, int col) {
  return tab.IsText(col) ? tab.Text(rec, col) : FormatGeneral(tab.Number(rec, col));
}

const char* TitleOf(std::int32_t code) {
  switch (code) {
    case kTukey: return "Teste de Tukey para o ";
    case kWallerDuncan: return "Teste de Waller-Duncan para o ";
    case kSNK: return "Teste de Student-Newman-Keuls para o ";
    case kLSD: return "Teste de t de Student (LSD) para o ";
    case kBonferroni: return "Teste de t de Student (Bonferroni) para o ";
    case kScottKnott: return "Teste de Scott-Knott (1974) para o ";
    case kContrastes: return "Contraste entre médias para o ";
    case kRegressao: return "Análise de regressão para o ";
    default: return nullptr;
  }
}

bool SameCombination(const ScratchTable& tab, int a, int b, const std::vector<int>& cols) {
  for (int c : cols)
    if (tab.LevelCode(a, c) != tab.LevelCode(b, c)) return false;
  return true;
}

}  // namespace

void AppendWrapped(std::string& text, const std::vector<std::string>& items) {
  const std::size_t lineStart = [&] {
    const std::size_t nl = text.rfind('\n');
    return nl == std::string::npos ? 0 : nl + 1;
  }();
  std::size_t current = shell::Utf8Length(std::string_view(text).substr(lineStart));
  for (const auto& item : items) {
    const std::size_t len = shell::Utf8Length(item) + 1;
    if (current > 0 && current + len > kLineWidth) {
      text += kEol;
      current = 0;
    }
    text += item;
    text += ' ';
    current += len;
  }
}

Var_Q_Anava ErroDesdobramento(const AnovaState& st, int fv, int slot) {
  const auto& vc = st.OP_VarComp[static_cast<std::size_t>(fv)][static_cast<std::size_t>(slot)];
  if (vc.usa != 1) {
    const int e = ErrorLineOf(st, fv);
    if (e <= 0 || e > kMaxFV) return {};
    return st.Tabela_ANAVA[static_cast<std::size_t>(e)];
  }
  const auto ordA = shell::TryRoundToInt(vc.QMEa);
  const auto ordB = shell::TryRoundToInt(vc.QMEb);
  const int la = ordA ? ErrorTermLine(st, *ordA) : 0;
  const int lb = ordB ? ErrorTermLine(st, *ordB) : 0;
  if (la == 0 || lb == 0)
    throw std::runtime_error("Variância complexa com ordem de erro inexistente");
  const Var_Q_Anava& ea = st.Tabela_ANAVA[static_cast<std::size_t>(la)];
  const Var_Q_Anava& eb = st.Tabela_ANAVA[static_cast<std::size_t>(lb)];
  const double bq = vc.b * eb.qm;
  const double num = ea.qm + bq;
  Var_Q_Anava e;
  e.qm = num / vc.k;
  const double nu = num * num / (ea.qm * ea.qm / ea.gl + bq * bq / eb.gl);
  e.gl = shell::RoundToInt(nu);
  e.sq = e.qm * e.gl;
  e.f = nu;
  return e;
}

void Desdobramento(AnovaContext& ctx, int v, int /*t*/, int fv, int slot) {
  AnovaState& st = ctx.state;
  ScratchTable& tab = st.aq_tab1;
  const auto f = static_cast<std::size_t>(fv);
  const auto s = static_cast<std::size_t>(slot);
  const std::string& line = Linha(st, fv);
  const std::int32_t code = st.Op_FV[f][s];

  // Factors: the chosen one and the others, in the source's order.
  const std::vector<std::string> factors = TermFactors(line);
  const int chosen = st.Op_FVC[f][s];
  if (chosen < 1 || chosen > static_cast<int>(factors.size()))
    throw std::runtime_error("Fator a desdobrar inexistente em " + line);
  const std::string& fName = factors[static_cast<std::size_t>(chosen - 1)];
  std::vector<std::string> others;
  for (std::size_t i = 0; i < factors.size(); ++i)
    if (static_cast<int>(i) != chosen - 1) others.push_back(factors[i]);
  const std::vector<int> otherCols = FactorColumns(st, others);
  const int fCol = ColumnOf(st, fName);
  for (int c : otherCols)
    if (c < 0 || c >= tab.ColumnCount()) throw std::runtime_error("Fator não encontrado em " + line);
  if (fCol < 0 || fCol >= tab.ColumnCount()) throw std::runtime_error("Fator não encontrado: " + fName);

  const std::string D = kRule + kEol;
  std::string head = D + "Análise do desdobramento de " + fName + " dentro de cada nível de:" +
                     kEol + kEol;
  AppendWrapped(head, others);
  head += kEol;
  head += D + kEol + kEol + "                     TABELA DE ANÁLISE DE VARIÂNCIA" + kEol + kEol + D;
  head += std::string("FV                  ") + " " + "  GL" + " " + "                SQ" + " " +
          "               QM" + " " + "      Fc " + " " + "P(F>Fc)" + kEol + D;
  ctx.report.AppendText(head);

  std::vector<int> order = otherCols;
  order.push_back(fCol);
  tab.OrderByFactors(order);

  std::string cod = std::string("Codificação usada no desdobramento") + kEol + "cod. ";
  AppendWrapped(cod, others);
  cod += kEol;

  // The tests of every combination; a fresh buffer for every slot.
  shell::Report buffer;
  const Var_Q_Anava E = ErroDesdobramento(st, fv, slot);
  const ErrorLine erro{E.gl, E.sq, E.qm};
  const bool fText = tab.IsText(fCol);
  const std::string responseName =
      v >= 1 && v <= static_cast<int>(st.responses.size()) ? st.responses[static_cast<std::size_t>(v - 1)]
                                                           : std::string();
  const std::string fLabel = shell::PadRight(shell::Utf8Left(fName, 17), 17);

  const int N = tab.RecordCount();
  int c = 0;
  for (int first = 1; first <= N;) {
    int last = first;
    while (last < N && SameCombination(tab, first, last + 1, otherCols)) ++last;
    ++c;

    // a. codification line.
    std::string codLine = std::to_string(c) + "  = ";
    std::vector<std::string> values;
    for (int col : otherCols) values.push_back(CellText(tab, first, col));
    AppendWrapped(codLine, values);
    cod += codLine + kEol;

    // b. level means of the chosen factor within the combination.
    LevelMeans lm = MediasNiveis(
        first, last,
        [&](std::int32_t a, std::int32_t b) { return tab.LevelCode(a, fCol) == tab.LevelCode(b, fCol); },
        [&](std::int32_t rec) { return ResponseValue(ctx, rec); },
        [&](std::int32_t rec) { return CellText(tab, rec, fCol); });
    double sumT2n = 0, total = 0;
    for (int a = first; a <= last;) {
      int b = a;
      double T = ResponseValue(ctx, a);
      while (b < last && tab.LevelCode(b + 1, fCol) == tab.LevelCode(a, fCol)) T += ResponseValue(ctx, ++b);
      sumT2n += T * T / (b - a + 1);
      total += T;
      a = b + 1;
    }
    const double count = last - first + 1;
    const double sq = sumT2n - total * total / count;
    const int df = static_cast<int>(lm.means.size()) - 1;
    const double qm = df >= 1 ? sq / df : 0.0;

    // d, e. F test against the split's error.
    const double fc = E.qm > 0 ? qm / E.qm : 1e99;
    double p;
    if (E.gl < 1 || df < 1)
      p = 1e-6;
    else if (fc <= 1e-10)
      p = 1.0;
    else
      p = fc < 100 ? 1 - numeric::means::ProbF(df, E.gl, fc)
                   : 1 - numeric::means::ProbFAprox(df, E.gl, fc);
    if (p <= 0) p = 1e-6;

    // f. the combination's row.
    ctx.report.AppendText(fLabel + "/" + std::to_string(c) + " " + FormatInt(df, 4) + " " +
                          SqText(sq, 18) + " " + SqText(qm, 17) + " " +
                          (fc <= 1e7 ? FormatFixed(fc, 10, 3) : FormatSci(fc, 10)) + " " +
                          FormatFixed(p, 5, 4) + kEol);

    // g. the slot's option within the combination.
    if (const char* title = TitleOf(code)) buffer.AppendText(std::string(title) + kEol);
    buffer.AppendText("desdobramento de " + fName + " dentro da codificação:" + kEol + " " +
                      std::to_string(c) + kEol +
                      "Obs. Identifique a codificação conforme valores apresentados anteriormente" +
                      kEol);
    if (IsMeansTest(code)) {
      MeansTestInput in;
      in.code = code;
      in.name = fName;
      in.error = anova::ErrorLine{E.gl, E.qm};
      in.fc = fc;
      in.k_waller = st.k_waller;
      in.titles = TitleStyle::Splitting;
      RunMeansTest(in, lm.means, lm.r, SignificanceRefs{st.Op_Alpha[f][s], st.alpha, st.t_waller},
                   buffer);
    } else if (code == kContrastes) {
      ContrastContext cc;
      cc.fvColumnName = fName;
      for (const auto& m : lm.means) {
        cc.labels.push_back(fText ? tab.Text(m.ultimo, fCol)
                                  : ContrastLevelLabel(tab.Number(m.ultimo, fCol)));
        cc.means.push_back(m.media);
      }
      cc.r = lm.r;
      cc.erro = erro;
      cc.alphaOption = st.Op_Alpha[f][s];
      cc.copy = Copy::Splitting;
      if (ctx.contrasts) {
        ContrastRequest req{line, "Variável " + responseName, cc.labels,
                            "codificação " + std::to_string(c), fv, slot};
        ContrastesFV(cc, *ctx.contrasts, req, buffer, st.alpha);
      }
    } else if (code == kRegressao) {
      const data::FieldType type = ctx.table.DataType(fCol);
      if (type != data::FieldType::ftFloat) {
        ctx.prompter.Warning("Tentativa de aplicar regressão a X qualitativo!\rNada foi feito!");
      } else {
        RegressionLevelsInput in;
        in.fvColumnName = fName;
        for (const auto& m : lm.means) {
          in.x.push_back(tab.Number(m.ultimo, fCol));
          in.means.push_back(m.media);
        }
        in.r = lm.r;
        in.erro = erro;
        const auto& reg = st.Op_Reg[f][s];
        const int p = reg[0] > kMaxRegressionTerms ? kMaxRegressionTerms : reg[0];
        for (int j = 1; j <= p; ++j) in.terms.push_back(reg[static_cast<std::size_t>(j)]);
        in.copy = Copy::Splitting;
        buffer.AppendText(RegressaoNiveis(in).text);
      }
    }
    first = last + 1;
  }

  // Error row, codification, then the tests.
  ctx.report.AppendText(shell::PadRight("Erro    ", 19) + " " + FormatInt(E.gl, 4) + " " +
                        SqText(E.sq, 18) + " " + SqText(E.qm, 17) + kEol + D);
  ctx.report.AppendText(std::string(kEol) + cod + kEol);
  ctx.report.AppendText(buffer.Text());
}

}  // namespace tolmex::anova::levels
