#include "anova/means/testes_medias.h"

#include <exception>
#include <stdexcept>

#include "anova/model_language.h"
#include "shell/format.h"
#include "shell/prompter.h"

#if __has_include("anova/levels/desdobramento.h")
#include "anova/levels/desdobramento.h"
#define TOLMEX_HAVE_DESDOBRAMENTO 1
#endif

namespace tolmex::anova {

Var_Q_Anava ErroDaFV(const AnovaState& st, int fv) {
  const int e = ErrorLineOf(st, fv);
  if (e <= 0 || e > kMaxFV) return {};
  return st.Tabela_ANAVA[static_cast<std::size_t>(e)];
}

SlotMeans MediasDoSlot(AnovaContext& ctx, int v, int t, int fv, int slot) {
  AnovaState& st = ctx.state;
  SlotMeans m;
  m.v = v;
  m.t = t;
  m.fv = fv;
  m.slot = slot;
  m.code = st.Op_FV[static_cast<std::size_t>(fv)][static_cast<std::size_t>(slot)];
  m.name = Linha(st, fv);
  m.column = ColumnOf(st, m.name);
  if (m.column < 0 || m.column >= st.aq_tab1.ColumnCount())
    throw std::runtime_error("coluna da FV não encontrada: " + m.name);
  ScratchTable& tab = st.aq_tab1;
  const int col = m.column;
  tab.OrderByFactors({col});
  const bool text = tab.IsText(col);
  m.levels = MediasNiveis(
      1, tab.RecordCount(),
      [&](std::int32_t a, std::int32_t b) { return tab.LevelCode(a, col) == tab.LevelCode(b, col); },
      [&](std::int32_t rec) { return ResponseValue(ctx, rec); },
      [&](std::int32_t rec) {
        return text ? tab.Text(rec, col) : shell::FormatGeneral(tab.Number(rec, col));
      });
  if (m.levels.means.empty()) throw std::runtime_error("FV sem observações: " + m.name);
  m.erro = ErroDaFV(st, fv);
  return m;
}

void TestesMediasSlot(AnovaContext& ctx, int v, int t, int fv, int slot) {
  AnovaState& st = ctx.state;
  SlotMeans m = MediasDoSlot(ctx, v, t, fv, slot);
  const auto f = static_cast<std::size_t>(fv);
  if (IsMeansTest(m.code)) {
    MeansTestInput in;
    in.code = m.code;
    in.name = m.name;
    in.error = ErrorLine{m.erro.gl, m.erro.qm};
    in.fc = st.Tabela_ANAVA[f].f;
    in.k_waller = st.k_waller;
    in.titles = TitleStyle::MainEffect;
    RunMeansTest(in, m.levels.means, m.levels.r,
                 SignificanceRefs{st.Op_Alpha[f][static_cast<std::size_t>(slot)], st.alpha,
                                  st.t_waller},
                 ctx.report);
    return;
  }
  if (m.code == kContrastes) ContrastesDoSlot(ctx, m);
  if (m.code == kRegressao) RegressaoDoSlot(ctx, m);
}

void TestesMediasFV(AnovaContext& ctx, int v, int t, int fv) {
  AnovaState& st = ctx.state;
  if (fv < 1 || fv > kMaxFV) return;
  const auto f = static_cast<std::size_t>(fv);
  const int count = st.Op_FV[f][0] > kMaxSlots ? kMaxSlots : st.Op_FV[f][0];
  for (int slot = 1; slot <= count; ++slot) {
    const std::uint8_t kind = st.identifica_FV[f];
    if (kind == kMainEffect) {
      try {
        TestesMediasSlot(ctx, v, t, fv, slot);
      } catch (...) {
        ctx.prompter.Error(kMensagemErroSlot);
      }
    } else if (kind == kInteraction || kind == kNested) {
#ifdef TOLMEX_HAVE_DESDOBRAMENTO
      levels::Desdobramento(ctx, v, t, fv, slot);
#endif
    }
  }
}

}  // namespace tolmex::anova
