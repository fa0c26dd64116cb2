#pragma once
// The options of one source of variation after its analysis-of-variance table:
// TestesMediasFV runs, for each option slot of a main effect, the level means and the
// chosen test of means (means_tests.h), and hands the slots of interactions and nested
// sources to the splitting of interactions.
//
// Other modules plug in here:
//   - the splitting of interactions: when "anova/levels/desdobramento.h" exists it must
//     declare, in tolmex::anova::levels,
//         void Desdobramento(AnovaContext& ctx, int v, int t, int fv, int slot);
//     it is called for every slot of a kind-2 or kind-3 source and is not guarded here
//     (its errors go to RunAnova's handler). Inside each combination it calls
//     RunMeansTest (means_tests.h) with TitleStyle::Splitting, the split's error line,
//     the combination's Fc, the FV's slot level and the test buffer as output.
//   - contrasts and regression on the levels of a main effect (codes 6 and 7) run the
//     contrasts and regression modules (anova/levels) on the level means in
//     first-appearance order, inside the slot's error handler.
#include <string>
#include <vector>

#include "anova/anova_state.h"
#include "anova/means/means_tests.h"
#include "anova/procedures.h"

namespace tolmex::anova {

// The message of an option slot that failed.
inline constexpr const char* kMensagemErroSlot =
    "Algum problema foi detectado com os seus dados!\rIsso pode causar erros (somas de "
    "quadrados negativas), na ANAVA!";

// What a slot of a main effect works on.
struct SlotMeans {
  int v = 0, t = 0, fv = 0, slot = 0;
  std::int32_t code = 0;
  std::string name;         // the FV's column name
  int column = -1;          // its scratch-table column
  LevelMeans levels;        // in first-appearance (ascending level) order
  Var_Q_Anava erro;         // the FV's error line (all zeros when there is none)
};

// The error line of FV fv: the first kind-4 line at or after it, or zeros.
Var_Q_Anava ErroDaFV(const AnovaState& st, int fv);

// Orders the scratch table by the FV's column and computes its level means (labels: the
// text of a text column, the number in the general format for a numeric one).
SlotMeans MediasDoSlot(AnovaContext& ctx, int v, int t, int fv, int slot);

// The message of a regression on a text factor.
inline constexpr const char* kMensagemRegressaoQualitativa =
    "Tentativa de aplicar regressão a X qualitativo!\rNada foi feito!";

// Contrasts (code 6) and regression on levels (code 7) of a main effect.
void ContrastesDoSlot(AnovaContext& ctx, const SlotMeans& m);
void RegressaoDoSlot(AnovaContext& ctx, const SlotMeans& m);

// One option slot of a main effect, without the error handler.
void TestesMediasSlot(AnovaContext& ctx, int v, int t, int fv, int slot);

}  // namespace tolmex::anova
