// Contrasts and regression on the levels of a main effect, fed from the slot's level means.
#include "anova/levels/contrasts.h"
#include "anova/levels/regression_levels.h"
#include "anova/means/testes_medias.h"
#include "shell/prompter.h"
#include "shell/report.h"

namespace tolmex::anova {

namespace {
levels::ErrorLine Erro(const Var_Q_Anava& e) { return {e.gl, e.sq, e.qm}; }
}  // namespace

void ContrastesDoSlot(AnovaContext& ctx, const SlotMeans& m) {
  if (!ctx.contrasts) return;  // nobody to ask: no contrast
  AnovaState& st = ctx.state;
  const ScratchTable& tab = st.aq_tab1;
  levels::ContrastContext cc;
  cc.fvColumnName = m.name;
  for (const LevelMean& lm : m.levels.means) {
    cc.labels.push_back(tab.IsText(m.column) ? tab.Text(lm.ultimo, m.column)
                                             : levels::ContrastLevelLabel(tab.Number(lm.ultimo, m.column)));
    cc.means.push_back(lm.media);
  }
  cc.r = m.levels.r;
  cc.erro = Erro(m.erro);
  cc.alphaOption = st.Op_Alpha[static_cast<std::size_t>(m.fv)][static_cast<std::size_t>(m.slot)];
  cc.copy = levels::Copy::Main;
  ContrastRequest req;
  req.fvName = Linha(st, m.fv);
  if (m.v >= 1 && m.v <= static_cast<int>(st.responses.size()))
    req.variable = "Variável " + st.responses[static_cast<std::size_t>(m.v - 1)];
  req.levels = cc.labels;
  req.fv = m.fv;
  req.slot = m.slot;
  levels::ContrastesFV(cc, *ctx.contrasts, req, ctx.report, st.alpha);
}

void RegressaoDoSlot(AnovaContext& ctx, const SlotMeans& m) {
  AnovaState& st = ctx.state;
  const ScratchTable& tab = st.aq_tab1;
  if (tab.IsText(m.column)) {
    ctx.prompter.Warning(kMensagemRegressaoQualitativa);
    return;
  }
  levels::RegressionLevelsInput in;
  in.fvColumnName = m.name;
  for (const LevelMean& lm : m.levels.means) {
    in.x.push_back(tab.Number(lm.ultimo, m.column));
    in.means.push_back(lm.media);
  }
  in.r = m.levels.r;
  in.erro = Erro(m.erro);
  const auto& reg = st.Op_Reg[static_cast<std::size_t>(m.fv)][static_cast<std::size_t>(m.slot)];
  const int p = reg[0] > kMaxRegTerms ? kMaxRegTerms : reg[0];
  for (int j = 1; j <= p; ++j) in.terms.push_back(reg[static_cast<std::size_t>(j)]);
  in.copy = levels::Copy::Main;
  ctx.report.AppendText(levels::RegressaoNiveis(in).text);
}

}  // namespace tolmex::anova
