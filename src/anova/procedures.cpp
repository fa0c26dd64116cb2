#include "anova/procedures.h"

#include "anova/model_language.h"
#include "anova/transform.h"


#if __has_include("anova/means/testes_medias.h")
#include "anova/means/testes_medias.h"
#define TOLMEX_HAVE_TESTES_MEDIAS 1
#endif

namespace tolmex::anova {

double ResponseValue(AnovaContext& ctx, int record) {
  const AnovaState& st = ctx.state;
  const int row = st.aq_tab1.RowOf(record);
  if (st.Y.size() == static_cast<std::size_t>(st.aq_tab1.RowCount()))
    return st.Y[static_cast<std::size_t>(row)];
  // The state was filled without TotalsOfResponse (a procedure run on its own): transform
  // the response cell.
  const int col = ResponseColumn(st, st.var_atual);
  const auto y = TransformValue(st.aq_tab1.NumberByRow(row, col),
                                TransformCode(st, st.var_atual, st.transf_atual));
  return y ? *y : 0.0;
}

TestesMediasFn DefaultProcedures() {
#ifdef TOLMEX_HAVE_TESTES_MEDIAS
  return [](AnovaContext& ctx, int v, int t, int fv) { TestesMediasFV(ctx, v, t, fv); };
#else
  return {};
#endif
}

}  // namespace tolmex::anova
