#pragma once
// Splitting of an interaction or a nested source: one chosen factor is studied within each
// combination of levels of the source's other factors. Prints the table with one F test
// per combination, the list of combinations (the "codificação"), and the slot's option run
// on the chosen factor's level means inside each combination.
#include <string>
#include <vector>

#include "anova/anova_state.h"
#include "anova/procedures.h"

namespace tolmex::anova::levels {

// The whole splitting of option slot `slot` of FV fv (an interaction or a nested source),
// after the table of response v, analysis t. Errors propagate to the caller, which ends
// the options of the source.
void Desdobramento(AnovaContext& ctx, int v, int t, int fv, int slot);

// The error line of the split: the FV's error term, or the slot's complex variance with
// Satterthwaite's degrees of freedom (f holds them unrounded).
Var_Q_Anava ErroDesdobramento(const AnovaState& st, int fv, int slot);

// Appends items to `text`, each followed by a space, starting a new line before an item
// that would make the current line longer than 80 characters. `text` may already hold the
// start of the current line.
void AppendWrapped(std::string& text, const std::vector<std::string>& items);

}  // namespace tolmex::anova::levels
