#pragma once
// Incomplete beta, binomial, gamma quantile and the noncentral t and chi-square
// distributions (probability calculators, tests on the mean).
#include <cstdint>

namespace tolmex::numeric {

// Continued fraction of the incomplete beta ratio (modified Lentz).
double BetaFC(double a, double b, double x);
// Regularized incomplete beta I_x(a, b); x outside [0, 1]: error = 1, result 0.
double BetaIncompleta(double x, double a, double b, std::int32_t& error);
// P(Y <= k), Y binomial(n, p); n <= 0, p <= 0 or p >= 1: error = 1, result 0.
double ProbBinomial(double k, double n, double p, std::int32_t& error);
// x with ProbGama(x, shape, scale) = p; shape or scale <= 0: error = 1, result 0. When the
// bracket (steps of 0.1) cannot reach p within x = 1e6, or p is NaN: error = 3 and the last
// trial value is returned.
double QuantilGama(double p, double shape, double scale, std::int32_t& error);
// Chi-square quantile through QuantilGama; v <= 0: error = -1; p < 0 or p >= 1: error = -2.
double QuantilQuiGama(double v, double p, std::int32_t& error);
// Noncentral t distribution function (Benton and Krishnamoorthy 2003); 0 for v <= 0.
double ProbTNC(double t, double v, double delta);
// t with ProbTNC(t, v, delta) = p. v <= 0: error = 1; p <= 0 or p >= 1: error = 2 and
// result -9e-161 (p <= 0), 1e161 (p >= 1). A bracket that has not closed after 10 000
// passes (NaN p): error = 3 and the last trial value is returned.
double QuantilTNC(double p, double v, double delta, std::int32_t& error);
// Noncentral chi-square distribution function (Benton and Krishnamoorthy 2003); 0 for
// v <= 0, x <= 0 or lambda < 0.
double ProbQuiNC(double x, double v, double lambda);

}  // namespace tolmex::numeric
