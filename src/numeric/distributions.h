#pragma once
// Distribution functions, quantiles and special functions: the general set, used by the
// analysis-of-variance table, contrasts, regression, the calculators, estimation and tests.
//
// The tests of means, Scott-Knott and the splitting of interactions use the second set in
// tolmex::numeric::means (means_distributions.h), whose ProbF and ProbFAprox differ on tiny
// statistics. Pick the namespace on purpose; the two are never mixed.
//
// Every Prob... returns the lower tail P(X <= x); every Quantil... takes a lower-tail
// probability. All functions are pure, reentrant and allocate nothing. They assume IEEE
// arithmetic with exceptions masked (the default): infinities and NaN flow through.
#include <cstdint>

namespace tolmex::numeric {

// Sentinel for an infinite quantile (and its negative).
inline constexpr double kInfiniteQuantile = 1e10;

// Standard normal distribution function (Hart 5666, West's arrangement).
double ProbNormal(double x);
// Inverse of ProbNormal (Wichura, AS 241 PPND16); 0 when p <= 0 or p >= 1.
double QuantilNormal(double p);

// Student's t distribution function: exact for df 1 to 4, Hill's algorithm 395 otherwise;
// 0 and 1 for t = -inf and +inf.
double ProbT(std::int32_t df, double t);
// t quantile (Hill's algorithm 396 with this program's constants). p = 0 gives -1e10,
// p = 1 gives 1e10; p < 0 or p > 1 writes a diagnostic to standard error and returns 0.
double apinvte(std::int32_t df, double p);
// The same with a real df; df rounded to the nearest integer (ties to even) picks the
// closed forms for 1 and 2.
double QuantilTReal(double df, double p);

// F distribution function, m numerator and n denominator df (AS 63). f below 1e-8 is
// taken as 1e-5; f = +inf gives 1; the result is clamped to [0, 1].
double ProbF(std::int32_t m, std::int32_t n, double f);
// F distribution function by the Peizer-Pratt normal approximation; f <= 0 taken as 1e-11.
double ProbFAprox(std::int32_t m, std::int32_t n, double f);
// F quantile: secant refinement of Paulson's approximation; Paulson's value above p = 0.998.
// Finite at p = 0.5; the refinement ends after 1000 steps at the latest (NaN p: NaN).
double QuantilF(std::int32_t m, std::int32_t n, double p);
// Paulson's closed-form approximation of the F quantile. A discriminant below 0 only by
// rounding (near p = 0.5) is taken as 0.
double QuantilFPaulson(std::int32_t m, std::int32_t n, double p);

// Chi-square quantile (Best and Roberts, AS 91): 0 below p = 2e-6, 1e10 above 0.999998;
// at most 1000 Newton steps (NaN p: NaN).
double QuantilQui(std::int32_t v, double p);
// Wilson-Hilferty approximation of the chi-square quantile (real df).
double QuantilQuiWH(double v, double p);

// ln Gamma(x) by Lanczos (g = 7, nine coefficients). x <= 0: error = 1, result 0.
double LnGama(double x, std::int32_t& error);
// Lower regularized incomplete gamma P(p, x) (Shea, AS 239). p <= 0 or x < 0: error = 1,
// result 0.
double GamaIncompleta(double x, double p, std::int32_t& error);
// Gamma distribution function; 0 for x <= 0.
double ProbGama(double x, double shape, double scale);
// P(Y <= k) for a Poisson variable of mean lambda; 0 unless lambda > 0 and k >= 0.
double ProbPoisson(double lambda, std::int32_t k);

// Building blocks shared by both sets, exposed for tests.
namespace detail {
// z * CorrStirling(z * z) is the Stirling series 1/(12z) - 1/(360z^3) + 1/(1260z^5) - ...
double CorrStirling(double y);
// The Peizer-Pratt g function.
double GPeizerPratt(double x);
// ln Gamma(z) for z = df / 2: Stirling form for z > 1, 0 at z = 1, ln(1.77246) at z = 0.5.
double LnGamaMeio(double z);
// Lower regularized incomplete gamma with ln Gamma(a) supplied (series / continued fraction).
double GamaIncQui(double x, double a, double lnga);
}  // namespace detail

}  // namespace tolmex::numeric
