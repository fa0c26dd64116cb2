#include "anova/procedures.h"


#if __has_include("anova/means/testes_medias.h")
#include "anova/means/testes_medias.h"
#define TOLMEX_HAVE_TESTES_MEDIAS 1
#endif

namespace tolmex::anova {

double ResponseValue(AnovaContext& ctx, int record) {
  const AnovaState& st = ctx.state;
  return st.Y.at(static_cast<std::size_t>(st.aq_tab1.RowOf(record)));
}

TestesMediasFn DefaultProcedures() {
#ifdef TOLMEX_HAVE_TESTES_MEDIAS
  return [](AnovaContext& ctx, int v, int t, int fv) { TestesMediasFV(ctx, v, t, fv); };
#else
  return {};
#endif
}

}  // namespace tolmex::anova
