#pragma once
// Pieces shared by the two sets of distribution functions, and the iteration caps.
#include <cstdint>

namespace tolmex::numeric::detail {

// Caps on loops that otherwise stop on a tolerance only. They are far above what any
// converging argument needs, so they change no result; they end the loop of a NaN or
// infinite argument, which would otherwise never meet its tolerance. When a cap is hit the
// function returns the value it has reached (NaN for a NaN argument).
inline constexpr std::int64_t kMaxSeriesTerms = 10'000'000;
inline constexpr int kMaxSecantSteps = 1000;

// Peizer-Pratt normal approximation of P(F <= f), f used as given.
double PeizerPrattF(std::int32_t m, std::int32_t n, double f);
// I_x(m/2, n/2) with x = m f / (m f + n) by AS 63, neither clamped nor special-cased.
double SoperIncompleteBeta(std::int32_t m, std::int32_t n, double f);

}  // namespace tolmex::numeric::detail
