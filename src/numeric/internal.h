#pragma once
// Pieces shared by the two sets of distribution functions, and the iteration caps.
#include <cmath>
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

// The standard normal distribution function, inline for the studentized range's inner loop.
// Hart's algorithm 5666 in West's (2005) arrangement.
inline double HartProbNormal(double x) {
  const double a = std::fabs(x);
  if (a > 37) return x > 0 ? 1 : 0;
  const double e = std::exp(-a * a / 2);
  double tail;
  if (a < 7.071) {
    const double n =
        ((((((0.03526249659989109 * a + 0.7003830644436881) * a + 6.37396220353165) * a +
            33.912866078383) * a + 112.0792914978709) * a + 221.2135961699311) * a +
         220.2068679123761);
    const double d =
        (((((((0.08838834764831845 * a + 1.755667163182642) * a + 16.06417757920695) * a +
             86.78073220294608) * a + 296.5642487796737) * a + 637.3336333788311) * a +
          793.8265125199484) * a + 440.4137358247522);
    tail = e * n / d;
  } else {
    tail = e / 2.506628274631001 / (a + 1 / (a + 2 / (a + 3 / (a + 4 / (a + 0.65)))));
  }
  return x < 0 ? tail : 1 - tail;
}

// Peizer-Pratt normal approximation of P(F <= f), f used as given.
double PeizerPrattF(std::int32_t m, std::int32_t n, double f);
// I_x(m/2, n/2) with x = m f / (m f + n) by AS 63, neither clamped nor special-cased.
double SoperIncompleteBeta(std::int32_t m, std::int32_t n, double f);

}  // namespace tolmex::numeric::detail
