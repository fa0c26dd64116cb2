// The second set: F and chi-square distribution functions of the tests of means.
#include "numeric/means_distributions.h"

#include <cmath>

#include "numeric/internal.h"

namespace tolmex::numeric::means {

double ProbFAprox(std::int32_t m, std::int32_t n, double f) {
  if (f <= 0) return 0;  // P(F <= 0); the approximation itself divides 0 by 0 there
  return detail::PeizerPrattF(m, n, f);
}

double ProbF(std::int32_t m, std::int32_t n, double f) {
  if (f <= 0) return 0;  // P(F <= 0); log(x) of a negative x would give NaN
  if (std::isinf(f)) return 1;
  if (m == 1 || n == 1) return ProbFAprox(m, n, f);
  return detail::SoperIncompleteBeta(m, n, f);
}

double ProbQui(double v, double x) {
  // The limits; the approximation from df 11 on gives NaN at 0, the series NaN at infinity.
  if (x <= 0) return 0;
  if (std::isinf(x)) return 1;
  const double s = v / 2;
  const double y = x / 2;
  if (v < 11) {
    double term = 1, sum = 1, k = s;
    const std::int64_t cap = detail::SeriesCap(s + y);
    for (std::int64_t pass = 0; pass < cap; ++pass) {
      k += 1;
      term = term * y / k;
      sum += term;
      // From x of about 1400 on the sum overflows, where P is 1 to double precision.
      if (std::isinf(sum)) return 1;
      if (term / sum <= 5e-7) break;
    }
    // P(s, y), with Gamma(s + 1) from Stirling's form of Gamma(s + 2).
    const double l = s + 2;
    return sum * (s + 1) * 0.3989422804 *
           std::exp(s * std::log(y) - l * detail::CorrStirling(l * l) - (l - 0.5) * std::log(l) +
                    l - y);
  }
  const double z = (x - v + 2.0 / 3 - 0.08 / v) *
                   std::sqrt((1 + detail::GPeizerPratt((v - 1) / x)) / (2 * x));
  return ProbNormal(z);
}

}  // namespace tolmex::numeric::means
