#include "anova/levels/main_effect_options.h"

#include "anova/levels/contrasts.h"
#include "anova/levels/regression_levels.h"
#include "data/data_table.h"
#include "shell/prompter.h"
#include "shell/report.h"

namespace tolmex::anova::levels {

namespace {

std::string ResponseName(const AnovaState& st, int v) {
  return v >= 1 && v <= static_cast<int>(st.responses.size())
             ? st.responses[static_cast<std::size_t>(v - 1)]
             : std::string();
}

}  // namespace

void ContrastesMediasFV(AnovaContext& ctx, const SlotMeans& m) {
  AnovaState& st = ctx.state;
  const ScratchTable& tab = st.aq_tab1;
  ContrastContext cc;
  cc.fvColumnName = m.name;
  const bool text = tab.IsText(m.column);
  for (const auto& level : m.levels.means) {
    cc.labels.push_back(text ? tab.Text(level.ultimo, m.column)
                             : ContrastLevelLabel(tab.Number(level.ultimo, m.column)));
    cc.means.push_back(level.media);
  }
  cc.r = m.levels.r;
  cc.erro = ErrorLine{m.erro.gl, m.erro.sq, m.erro.qm};
  cc.alphaOption = st.Op_Alpha[static_cast<std::size_t>(m.fv)][static_cast<std::size_t>(m.slot)];
  cc.copy = Copy::Main;
  if (!ctx.contrasts) return;
  ContrastRequest req{Linha(st, m.fv), "Variável " + ResponseName(st, m.v), cc.labels, "", m.fv,
                      m.slot};
  ContrastesFV(cc, *ctx.contrasts, req, ctx.report, st.alpha);
}

void RegressaoMediasFV(AnovaContext& ctx, const SlotMeans& m) {
  AnovaState& st = ctx.state;
  if (ctx.table.DataType(m.column) == data::FieldType::ftString) {
    ctx.prompter.Warning("Tentativa de aplicar regressão a X qualitativo!\rNada foi feito!");
    return;
  }
  const ScratchTable& tab = st.aq_tab1;
  RegressionLevelsInput in;
  in.fvColumnName = m.name;
  for (const auto& level : m.levels.means) {
    in.x.push_back(tab.Number(level.ultimo, m.column));
    in.means.push_back(level.media);
  }
  in.r = m.levels.r;
  in.erro = ErrorLine{m.erro.gl, m.erro.sq, m.erro.qm};
  const auto& reg = st.Op_Reg[static_cast<std::size_t>(m.fv)][static_cast<std::size_t>(m.slot)];
  const int p = reg[0] > kMaxRegressionTerms ? kMaxRegressionTerms : reg[0];
  for (int j = 1; j <= p; ++j) in.terms.push_back(reg[static_cast<std::size_t>(j)]);
  in.copy = Copy::Main;
  ctx.report.AppendText(RegressaoNiveis(in).text);
}

}  // namespace tolmex::anova::levels
