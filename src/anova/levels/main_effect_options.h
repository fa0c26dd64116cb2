#pragma once
// Contrasts and regression on the levels of a main effect (option codes 6 and 7), run by
// the per-slot driver of the tests of means with the slot's level means.
#include "anova/means/testes_medias.h"
#include "anova/procedures.h"

namespace tolmex::anova::levels {

void ContrastesMediasFV(AnovaContext& ctx, const SlotMeans& m);
void RegressaoMediasFV(AnovaContext& ctx, const SlotMeans& m);

}  // namespace tolmex::anova::levels
