#pragma once
// The second set of distribution functions, used only by the tests of means, the Scott-Knott
// test and the splitting of interactions. It differs from the general set (distributions.h)
// in these points only:
//   - ProbF uses f unchanged however small, and does not clamp its result to [0, 1];
//   - ProbFAprox uses f unchanged, however small;
//   - ProbQui exists only here.
// In both, f <= 0 gives 0, the exact P(F <= 0) (the formulas would give NaN there).
// ProbNormal, QuantilNormal, ProbT and apinvte are the general set's functions.
#include <cstdint>

#include "numeric/distributions.h"

namespace tolmex::numeric::means {

using ::tolmex::numeric::apinvte;
using ::tolmex::numeric::ProbNormal;
using ::tolmex::numeric::ProbT;
using ::tolmex::numeric::QuantilNormal;

// F distribution function (AS 63) with tiny f used unchanged and the result not clamped.
double ProbF(std::int32_t m, std::int32_t n, double f);
// Peizer-Pratt approximation with f used unchanged.
double ProbFAprox(std::int32_t m, std::int32_t n, double f);
// Chi-square distribution function with v df: series below v = 11, Peizer-Pratt from 11 on;
// 0 for x <= 0.
double ProbQui(double v, double x);

}  // namespace tolmex::numeric::means
