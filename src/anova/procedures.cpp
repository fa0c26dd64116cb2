#include "anova/procedures.h"

#include "anova/model_language.h"
#include "anova/transform.h"

#if __has_include("anova/means/testes_medias.h")
#include "anova/means/testes_medias.h"
#define TOLMEX_HAVE_TESTES_MEDIAS 1
#endif

namespace tolmex::anova {

double ResponseValue(AnovaContext& ctx, int record) {
  AnovaState& st = ctx.state;
  const int col = ResponseColumn(st, st.var_atual);
  const double y = st.aq_tab1.Number(record, col);
  const auto r = TransformValue(y, TransformCode(st, st.var_atual, st.transf_atual));
  return r ? *r : 0.0;
}

TestesMediasFn DefaultProcedures() {
#ifdef TOLMEX_HAVE_TESTES_MEDIAS
  return [](AnovaContext& ctx, int v, int t, int fv) { TestesMediasFV(ctx, v, t, fv); };
#else
  return {};
#endif
}

}  // namespace tolmex::anova
