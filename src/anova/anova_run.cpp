#include "anova/anova_run.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <unordered_map>

#include "anova/model_form.h"
#include "anova/model_language.h"
#include "anova/transform.h"
#include "data/data_table.h"
#include "numeric/distributions.h"
#include "shell/convert.h"
#include "shell/format.h"
#include "shell/prompter.h"
#include "shell/report.h"
#include "shell/text_utils.h"

namespace tolmex::anova {

namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

const std::string kRule(80, '-');
constexpr const char* kBlankFields = "Arquivo com prováveis campos em branco!";

// The centre subtracted from every response value before the sums: the sums of squares
// are differences of large sums, and centring keeps their digits.
struct AnalysisData {
  double centre = 0.0;
  double G = 0.0;  // sum of centred values
  int N = 0;
};
AnalysisData g_data;  // the analysis now running (single-threaded program)

// Dense cell numbers of the records (current order) for a set of columns.
int CellIds(const ScratchTable& tab, const std::vector<int>& columns, std::vector<std::int32_t>& ids) {
  const auto& order = tab.Order();
  const std::size_t n = order.size();
  ids.assign(n, 0);
  if (n == 0) return 0;
  std::int64_t cells = 1;
  std::vector<std::int32_t> map;
  for (int col : columns) {
    const std::int64_t L = std::max<std::int32_t>(tab.LevelCount(col), 1);
    const auto& code = tab.CodesByRow(col);
    const std::int64_t keys = cells * L;
    std::int32_t next = 0;
    if (keys <= std::max<std::int64_t>(4 * static_cast<std::int64_t>(n), 1 << 16)) {
      map.assign(static_cast<std::size_t>(keys), -1);
      for (std::size_t r = 0; r < n; ++r) {
        const std::int64_t key = ids[r] * L + code[static_cast<std::size_t>(order[r])];
        std::int32_t& m = map[static_cast<std::size_t>(key)];
        if (m < 0) m = next++;
        ids[r] = m;
      }
    } else {
      std::unordered_map<std::int64_t, std::int32_t> h;
      h.reserve(n);
      for (std::size_t r = 0; r < n; ++r) {
        const std::int64_t key = ids[r] * L + code[static_cast<std::size_t>(order[r])];
        auto [it, inserted] = h.try_emplace(key, next);
        if (inserted) ++next;
        ids[r] = it->second;
      }
    }
    cells = next;
  }
  return static_cast<int>(cells);
}

std::vector<int> Columns(const AnovaState& st, const std::vector<std::string>& names) {
  return FactorColumns(st, names);
}

// Sum of squares and degrees of freedom of one model line.
void LineSS(AnovaContext& ctx, int i) {
  AnovaState& st = ctx.state;
  Var_Q_Anava& line = st.Tabela_ANAVA[U(i)];
  line = Var_Q_Anava{};
  const std::string& text = Linha(st, i);
  if (g_data.N == 0) return;
  const FvKind kind = ComputationKind(text);
  double sq = 0.0;
  std::int64_t gl = 0;
  if (kind == kNested) {
    const NestedParts parts = SplitNested(text);
    const std::vector<int> P = Columns(st, parts.nesting);
    const std::vector<int> O = Columns(st, parts.outer);
    const int m = static_cast<int>(O.size());
    const CellSums base = CellSS(ctx, P);
    auto nested = [&](const std::vector<int>& outerSubset, int sign) {
      std::vector<int> cols = P;
      cols.insert(cols.end(), outerSubset.begin(), outerSubset.end());
      const CellSums c = CellSS(ctx, cols);
      sq += sign * (c.ss - base.ss);
      gl += sign * static_cast<std::int64_t>(c.cells - base.cells);
    };
    if (m > 0) {
      nested(O, 1);
      int sign = -1;
      for (int s = m - 1; s >= 1; --s, sign = -sign) {
        StartCombination(st, s);
        const std::int64_t count = [&] {
          std::int64_t c = 1;
          for (int j = 1; j <= s; ++j) c = c * (m - s + j) / j;
          return c;
        }();
        for (std::int64_t c = 0; c < count; ++c) {
          NextCombination(st, m, s);
          std::vector<int> sub;
          for (int j = 1; j <= s; ++j) sub.push_back(O[U(st.Vet_comb[U(j)] - 1)]);
          nested(sub, sign);
        }
      }
    }
  } else {
    const std::vector<int> F = Columns(st, TermFactors(text));
    const int k = static_cast<int>(F.size());
    const CellSums all = CellSS(ctx, F);
    sq = all.ss;
    gl = all.cells - 1;
    int sign = -1;
    for (int s = k - 1; s >= 1; --s, sign = -sign) {
      StartCombination(st, s);
      std::int64_t count = 1;
      for (int j = 1; j <= s; ++j) count = count * (k - s + j) / j;
      for (std::int64_t c = 0; c < count; ++c) {
        NextCombination(st, k, s);
        std::vector<int> sub;
        for (int j = 1; j <= s; ++j) sub.push_back(F[U(st.Vet_comb[U(j)] - 1)]);
        const CellSums cs = CellSS(ctx, sub);
        sq += sign * cs.ss;
        gl += sign * static_cast<std::int64_t>(cs.cells - 1);
      }
    }
  }
  line.sq = sq;
  line.gl = static_cast<std::int32_t>(gl);
  line.qm = line.gl > 0 ? sq / line.gl : 0.0;
}

std::string SqText(double x, int w) {
  if (x > 1e9 || x < 1e-6) return shell::FormatSci(x, w);
  return shell::FormatFixed(x, w, 6);
}

}  // namespace

// ------------------------------------------------------------------------ combinations

void StartCombination(AnovaState& st, int s) {
  for (int j = 1; j < s; ++j) st.Vet_comb[U(j)] = j;
  if (s >= 1) st.Vet_comb[U(s)] = s - 1;
}

void NextCombination(AnovaState& st, int k, int s) {
  auto& v = st.Vet_comb;
  if (v[U(s)] < k) {
    ++v[U(s)];
    return;
  }
  int c = s - 1;
  while (c >= 1 && v[U(c)] >= k - s + c) --c;
  if (c < 1) return;
  ++v[U(c)];
  for (int j = c + 1; j <= s; ++j) v[U(j)] = v[U(j - 1)] + 1;
}

// ------------------------------------------------------------------------ scratch copy

bool CopyToScratch(AnovaState& st, const data::DataTable& table, shell::Prompter& prompter) {
  if (!st.aq_tab1.CopyFrom(table)) {
    st.tem_erro = true;
    prompter.Warning(ScratchTable::kTooManyColumnsMessage);
    return false;
  }
  return true;
}

// ------------------------------------------------------------------------ sums

CellSums CellSS(AnovaContext& ctx, const std::vector<int>& columns) {
  const AnovaState& st = ctx.state;
  const ScratchTable& tab = st.aq_tab1;
  CellSums out;
  const auto& order = tab.Order();
  if (order.empty()) return out;
  std::vector<std::int32_t> ids;
  out.cells = CellIds(tab, columns, ids);
  std::vector<double> T(U(out.cells), 0.0);
  std::vector<std::int32_t> m(U(out.cells), 0);
  for (std::size_t r = 0; r < order.size(); ++r) {
    T[U(ids[r])] += st.Y[U(order[r])] - g_data.centre;
    ++m[U(ids[r])];
  }
  double s = 0.0;
  for (int c = 0; c < out.cells; ++c) s += T[U(c)] * T[U(c)] / m[U(c)];
  out.ss = s - g_data.G * g_data.G / g_data.N;
  return out;
}

bool TotalsOfResponse(AnovaContext& ctx, int v, int t) {
  AnovaState& st = ctx.state;
  ScratchTable& tab = st.aq_tab1;
  st.var_atual = v;
  st.transf_atual = t;
  const int col = ResponseColumn(st, v);
  if (col < 0 || col >= tab.ColumnCount() || tab.IsText(col)) {
    st.tem_erro = true;
    ctx.prompter.Warning("Esta variável não é numérica, e \rnão pode ser analisada!");
    return false;
  }
  tab.Unrestrict();
  const int rows = tab.RowCount();
  std::vector<std::uint8_t> include(U(rows), 0);
  st.Y.assign(U(rows), 0.0);
  const int code = TransformCode(st, v, t);
  int n = 0;
  double mean = 0.0;
  for (int r = 1; r <= rows; ++r) {  // unrestricted: record r is row r - 1
    if (tab.IsEmpty(r, col)) continue;
    const auto y = TransformValue(tab.Number(r, col), code);
    if (!y) {
      st.tem_erro = true;
      ctx.prompter.Warning(
          "Operação ilegal na variável resposta\r"
          "Escolha uma opção de transformação adequada para os seus dados");
      return false;
    }
    include[U(r - 1)] = 1;
    st.Y[U(r - 1)] = *y;
    ++n;
    mean += (*y - mean) / n;
  }
  // Centred sums.
  double S = 0.0, Q = 0.0;
  for (int r = 0; r < rows; ++r)
    if (include[U(r)]) {
      const double d = st.Y[U(r)] - mean;
      S += d;
      Q += d * d;
    }
  st.med = mean;
  st.n_obsg = n;
  st.excluidas = rows - n;
  tab.Restrict(include);
  g_data = AnalysisData{mean, S, n};
  double nn = n;
  if (n == 0) {
    nn = 0.001;
    ctx.prompter.Warning("A variável em questão não possuí\rdados digitados no arquivo de dados!");
  }
  st.Total.sq = Q - S * S / nn;
  st.Total.gl = shell::RoundToInt(nn) - 1;
  st.Total.qm = st.Total.sq / (nn - 1);
  st.Total.f = st.Total.prf = 0.0;
  return true;
}

void SumsOfSquares(AnovaContext& ctx, int v, int t) {
  AnovaState& st = ctx.state;
  for (int i = 1; i <= st.nfv - 1; ++i) LineSS(ctx, i);
}

void ResidualLine(AnovaState& st) {
  if (st.nfv < 1) return;
  double sq = st.Total.sq;
  std::int64_t gl = st.Total.gl;
  for (int i = 1; i < st.nfv; ++i) {
    sq -= st.Tabela_ANAVA[U(i)].sq;
    gl -= st.Tabela_ANAVA[U(i)].gl;
  }
  Var_Q_Anava& res = st.Tabela_ANAVA[U(st.nfv)];
  res = Var_Q_Anava{};
  res.sq = sq;
  res.gl = static_cast<std::int32_t>(gl);
  res.qm = res.gl >= 1 ? sq / res.gl : 0.0;
}

// ------------------------------------------------------------------------ table

void PrintAnovaTable(AnovaContext& ctx, int v, int t) {
  AnovaState& st = ctx.state;
  std::string out;
  const std::string crlf = "\r\n";
  out += kRule + crlf + crlf;
  out += " Variável analisada: " + st.responses.at(U(v - 1)) + crlf + crlf;
  if (st.excluidas > 0)
    out += "Observações excluídas (resposta vazia): " + std::to_string(st.excluidas) + crlf + crlf;
  out += " Opção de transformação: " + TransformTitle(st, v, t) + crlf + crlf;
  out += kRule + crlf + crlf + crlf;
  out += "                     TABELA DE ANÁLISE DE VARIÂNCIA" + crlf + crlf + crlf;
  out += kRule + crlf;
  out += "FV                   " "  GL" " " "                SQ" " " "               QM" " "
         "       Fc " "P(F>Fc)" + crlf;
  out += kRule + crlf;
  bool cut = false;
  int errNo = 0;
  for (int i = 1; i <= st.nfv; ++i) {
    Var_Q_Anava& line = st.Tabela_ANAVA[U(i)];
    const bool isError = st.identifica_FV[U(i)] == kErrorTerm;
    std::string name;
    if (isError) {
      ++errNo;
      name = st.num_erros >= 2 ? "erro " + std::to_string(errNo) : "erro  ";
    } else {
      name = Linha(st, i);
      if (shell::Utf8Length(name) > 20) {
        name = shell::Utf8Left(name, 20);
        cut = true;
      }
    }
    out += shell::PadRight(name, 20);
    out += " " + shell::FormatInt(line.gl, 4);
    out += " " + SqText(line.sq, 18);
    out += " " + SqText(line.qm, 17);
    if (!isError) {
      const int e = ErrorLineOf(st, i);
      const Var_Q_Anava err = e > 0 ? st.Tabela_ANAVA[U(e)] : Var_Q_Anava{};
      double fc = err.qm > 0 ? line.qm / err.qm : 999999999.0;
      line.f = fc;
      out += " " + (fc <= 1e7 ? shell::FormatFixed(fc, 10, 3) : shell::FormatSci(fc, 10));
      if (fc <= 0) fc = line.f = 1e-11;
      double p = 1e-6;
      if (err.gl > 0 && line.gl > 0)
        p = fc >= 100 ? 1.0 - numeric::ProbFAprox(line.gl, err.gl, fc)
                      : 1.0 - numeric::ProbF(line.gl, err.gl, fc);
      if (p < 0) p = 1e-6;
      line.prf = p;
      out += " " + shell::FormatFixed(p, 5, 4);
    }
    out += crlf;
  }
  out += kRule + crlf;
  out += "Total corrigido     ";
  out += " " + shell::FormatInt(st.Total.gl, 4);
  out += " " + (st.Total.sq <= 1e9 ? shell::FormatFixed(st.Total.sq, 18, 6)
                                   : shell::FormatSci(st.Total.sq, 18));
  out += crlf + kRule + crlf;
  errNo = 0;
  for (int i = 1; i <= st.nfv; ++i) {
    if (st.identifica_FV[U(i)] != kErrorTerm) continue;
    ++errNo;
    const double qm = st.Tabela_ANAVA[U(i)].qm;
    st.CV = (qm <= 0 || st.med == 0) ? 0.0 : 100.0 * std::sqrt(qm) / st.med;
    out += st.num_erros < 2 ? "CV  (%) = " : "CV " + std::to_string(errNo) + " (%) = ";
    out += shell::FormatFixed(st.CV, 18, 2) + crlf;
  }
  out += "Média geral: " + shell::FormatFixed(st.med, 18, 7) +
         "      Número de observações: " + shell::FormatFixed(st.n_obsg, 12, 0) + crlf;
  out += kRule + crlf + crlf;
  if (cut) {
    out += "Obs. Codificações usadas para as FV do quadro de ANAVA" + crlf;
    out += kRule + crlf;
    for (int j = 1; j <= st.nfv; ++j) out += std::to_string(j) + ": " + Linha(st, j) + crlf;
    out += kRule + crlf + crlf + crlf + crlf;
  }
  out += crlf + crlf + crlf;
  ctx.report.AppendText(out);
}

// ------------------------------------------------------------------------ run

void RunAnova(AnovaContext& ctx) {
  AnovaState& st = ctx.state;
  // The kinds, as the options dialog classifies them.
  const int nfv = std::min<int>(st.nfv, static_cast<int>(st.LB_Anova.size()));
  if (st.nfv > kMaxFV || nfv < 1) {
    st.tem_erro = true;
    ctx.prompter.Error(st.nfv > kMaxFV ? "O modelo tem mais de 200 linhas!"
                                       : "Erro: Arquivo não tem FV's' definidas!");
    return;
  }
  for (int i = 1; i < nfv; ++i) st.identifica_FV[U(i)] = ClassifyLine(Linha(st, i));
  st.identifica_FV[U(nfv)] = kErrorTerm;
  if (!CheckModelNames(st, ctx.prompter)) return;
  // Every column of the model must be a column of the copied table.
  for (const auto& name : st.ListBox_Variaveis)
    if (ColumnOf(st, name) >= st.aq_tab1.ColumnCount()) {
      st.tem_erro = true;
      ctx.prompter.Warning("Fontes de variação com digitação errada, \rou faltando * ou parenteses!");
      return;
    }
  for (int v = 1; v <= st.nva && v <= static_cast<int>(st.responses.size()); ++v) {
    const int analyses = std::min<int>(st.Op_VarToAna[U(v)][0], kMaxTransforms) + 1;
    for (int t = 1; t <= analyses; ++t) {
      st.tem_erro = false;
      if (!TotalsOfResponse(ctx, v, t)) continue;
      SumsOfSquares(ctx, v, t);
      ResidualLine(st);
      try {
        PrintAnovaTable(ctx, v, t);
      } catch (const std::exception&) {
        ctx.prompter.Warning(kBlankFields);
      }
      if (ctx.testesMediasFV) {
        for (int i = 1; i <= st.nfv; ++i) {
          if (st.identifica_FV[U(i)] == kErrorTerm) continue;
          try {
            ctx.testesMediasFV(ctx, v, t, i);
          } catch (const std::exception&) {
            ctx.prompter.Warning(kBlankFields);
          }
        }
      }
    }
    st.tem_erro = false;
  }
  st.aq_tab1.Unrestrict();
}

}  // namespace tolmex::anova
