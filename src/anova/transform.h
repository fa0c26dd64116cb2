#pragma once
// Transformations of a response: code 1 sqrt(y), 2 sqrt(y + 0.5), 3 sqrt(y + 1),
// 4 log10(y), 5 ln(y), 0 none.
#include <optional>
#include <string>

#include "anova/anova_state.h"

namespace tolmex::anova {

// The transformed value, or nullopt outside the transformation's domain.
std::optional<double> TransformValue(double y, int code);

// Transformation code of analysis t (1 = untransformed) of response v.
int TransformCode(const AnovaState& st, int v, int t);

// The value of response v under its t-th analysis. Outside the domain it gives 0 and sets
// st.tem_erro.
double Transform(AnovaState& st, double y, int v, int t);

// Title of analysis t of response v, printed under "Opção de transformação: ".
std::string TransformTitle(const AnovaState& st, int v, int t);

}  // namespace tolmex::anova
