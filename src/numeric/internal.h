#pragma once
// Pieces shared by the two sets of distribution functions, and the iteration caps.
#include <cstdint>

namespace tolmex::numeric::detail {

// Caps on loops that otherwise stop on a tolerance only. They lie far above what any
// converging argument needs (a series of the F or gamma family needs at most about
// 100 + 0.6 * scale terms, scale being the sum of the df or the shape), so they change no
// result; they end the loop of a NaN or infinite argument, which would otherwise never meet
// its tolerance. When a cap is hit the function returns the value it has reached (NaN for a
// NaN argument).
inline std::int64_t SeriesCap(double scale) {
  if (!(scale > 0 && scale < 1e11)) return 100;
  return 100 + static_cast<std::int64_t>(10 * scale);
}
// Newton and secant iterations of the quantiles converge in a few dozen steps.
inline constexpr int kMaxSecantSteps = 1000;

// Peizer-Pratt normal approximation of P(F <= f), f used as given.
double PeizerPrattF(std::int32_t m, std::int32_t n, double f);
// I_x(m/2, n/2) with x = m f / (m f + n) by AS 63, neither clamped nor special-cased.
double SoperIncompleteBeta(std::int32_t m, std::int32_t n, double f);

}  // namespace tolmex::numeric::detail
