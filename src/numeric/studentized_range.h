#pragma once
// The studentized range distribution (Tukey and Student-Newman-Keuls tests).
// Callers pass p = 1 - alpha, v = error degrees of freedom, r = number of means.
#include <cstdint>

namespace tolmex::numeric {

// P(Q <= q) by Lund and Lund's AS 190 integration (accurate to about 1e-4).
// v < 1 or r < 2: error = 1, result 0; q <= 0: 0 without error.
double ProbAmplitude(double q, double v, double r, std::int32_t& error);
// Starting approximation of the quantile (AS 190.2, c1 = 0.8843).
double QuantilAmplitude0(double p, double v, double r);
// q with P(Q <= q) close to p (bracketing and secant search). r = 2 goes through the t
// quantile. v < 1 or r < 2 (r = 2 included): error = 1, result 0; error = 9 when
// ProbAmplitude failed. When 10 000 steps of 0.4 cannot bracket p (p so close to 1 that the
// integration never exceeds it, or NaN): error = 8 and the last trial value is returned.
double QuantilAmplitude(double p, double v, double r, std::int32_t& error);

}  // namespace tolmex::numeric
