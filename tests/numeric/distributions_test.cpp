// The general and the second set of distribution functions: the documented reference values,
// an exact reference (Boost.Math) over grids of arguments, the deliberate deviations of the
// algorithms, and the handling of bad and non-finite arguments.
#include "numeric/distributions.h"

#include <gtest/gtest.h>

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <string>

#include "cases.h"
#include "numeric/means_distributions.h"

namespace tolmex::numeric {
namespace {

namespace bm = boost::math;
using testing::Case;
using testing::ExpectCases;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// The exact F quantile through the inverse incomplete beta.
double ExactFQuantile(int m, int n, double p) {
  const double x =
      bm::ibeta_inv(m / 2.0, n / 2.0, p, bm::policies::make_policy(bm::policies::promote_double<false>()));
  return n * x / (m * (1 - x));
}

std::string Args(double a, double b) { return std::to_string(a) + ", " + std::to_string(b); }
std::string Args(double a, double b, double c) { return Args(a, b) + ", " + std::to_string(c); }

TEST(Distributions, ReferenceValues) {
  std::int32_t error = -1;
  const double lngama_zero = LnGama(0, error);
  const std::int32_t lngama_zero_error = error;
  ExpectCases({
      {"ProbNormal(40)", ProbNormal(40), 1, 0},
      {"ProbNormal(-40)", ProbNormal(-40), 0, 0},
      {"ProbNormal(1.96)", ProbNormal(1.96), 0.9750021049, 5e-11},
      {"QuantilNormal(0)", QuantilNormal(0), 0, 0},
      {"QuantilNormal(1)", QuantilNormal(1), 0, 0},
      {"QuantilNormal(0.975)", QuantilNormal(0.975), 1.9599639845, 5e-11},
      {"apinvte(1, 0.975)", apinvte(1, 0.975), 12.706205, 5e-7},
      {"apinvte(2, 0.975)", apinvte(2, 0.975), 4.302653, 5e-7},
      {"apinvte(10, 0.975)", apinvte(10, 0.975), 2.228140, 5e-7},
      {"apinvte(5, 0.975)", apinvte(5, 0.975), 2.570795, 5e-7},
      {"apinvte(5, 0.025)", apinvte(5, 0.025), -2.570582, 5e-7},
      {"apinvte(3, 0.9)", apinvte(3, 0.9), 1.637845, 5e-7},
      {"apinvte(7, 0)", apinvte(7, 0), -1e10, 0},
      {"apinvte(7, 1)", apinvte(7, 1), 1e10, 0},
      {"ProbT(2, 0.5)", ProbT(2, 0.5), 2.0 / 3, 1e-15},
      {"ProbF(2, 2, 0)", ProbF(2, 2, 0), ProbF(2, 2, 1e-5), 0},
      {"ProbF(2, 2, 1e-5)", ProbF(2, 2, 1e-5), 0.00001, 5e-10},
      {"QuantilF(2, 2, 0.999)", QuantilF(2, 2, 0.999), 204.6, 0.05},
      {"QuantilF(3, 12, 0.95)", QuantilF(3, 12, 0.95), 3.4903, 5e-5},
      {"QuantilQui(1, 0.95)", QuantilQui(1, 0.95), 3.841453, 5e-7},
      {"QuantilQui(4, 0.95)", QuantilQui(4, 0.95), 9.487732, 5e-7},
      {"QuantilQui(6, 1e-6)", QuantilQui(6, 1e-6), 0, 0},
      {"QuantilQui(6, 0.9999999)", QuantilQui(6, 0.9999999), 1e10, 0},
      {"means::ProbQui(11, 19.675)", means::ProbQui(11, 19.675), 0.9500225, 5e-8},
      {"LnGama(0)", lngama_zero, 0, 0},
      {"LnGama(0) error", static_cast<double>(lngama_zero_error), 1, 0},
      {"LnGama(0.5)", LnGama(0.5, error), 0.5723649429, 5e-11},
      {"ProbPoisson(0, 3)", ProbPoisson(0, 3), 0, 0},
      {"ProbPoisson(2.5, -1)", ProbPoisson(2.5, -1), 0, 0},
  });
}

// The chi-square of the second set leaves its series for Peizer-Pratt at df 11: exact to
// the series' 5e-7 at df 10, to about 5e-5 at df 11.
TEST(Distributions, ProbQuiSwitchesToPeizerPrattAtDf11) {
  const double exact10 = bm::cdf(bm::chi_squared_distribution<>(10), 18.307);
  const double exact11 = bm::cdf(bm::chi_squared_distribution<>(11), 19.675);
  EXPECT_NEAR(means::ProbQui(10, 18.307), exact10, 5e-7);
  EXPECT_NEAR(means::ProbQui(10.999, 18.307), bm::cdf(bm::chi_squared_distribution<>(10.999), 18.307), 5e-7);
  EXPECT_GT(std::fabs(means::ProbQui(11, 19.675) - exact11), 5e-7);
  EXPECT_NEAR(means::ProbQui(11, 19.675), exact11, 5e-5);
}

TEST(Distributions, ErrorFlags) {
  std::int32_t error = 0;
  EXPECT_EQ(LnGama(-2, error), 0);
  EXPECT_EQ(error, 1);
  LnGama(3, error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(GamaIncompleta(1, 0, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(GamaIncompleta(-1, 2, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(GamaIncompleta(0, 2, error), 0);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ProbGama(0, 2, 1), 0);
  EXPECT_EQ(ProbGama(-3, 2, 1), 0);
}

// --- Against the exact distributions -----------------------------------------------------

TEST(DistributionsExact, ProbNormal) {
  const bm::normal_distribution<> n;
  for (double x = -38; x <= 38; x += 0.01) {
    EXPECT_NEAR(ProbNormal(x), bm::cdf(n, x), 1e-15) << x;
  }
  // Accurate to the last bit absolutely; relatively to about 1e-8 in the far tail.
  for (double x = 1; x <= 37; x += 0.25) {
    const double exact = bm::cdf(n, -x);
    EXPECT_NEAR(ProbNormal(-x) / exact, 1, 1.5e-8) << x;
  }
}

TEST(DistributionsExact, QuantilNormal) {
  const bm::normal_distribution<> n;
  for (double p = 1e-300; p < 0.5; p *= 3) {
    for (double pp : {p, 1 - p}) {
      if (pp == 1) continue;
      const double exact = bm::quantile(n, pp);
      EXPECT_NEAR(QuantilNormal(pp), exact, 2e-15 * std::fmax(1, std::fabs(exact))) << pp;
    }
  }
  for (double p = 0.001; p < 1; p += 0.001) {
    EXPECT_NEAR(QuantilNormal(p), bm::quantile(n, p), 2e-15) << p;
  }
}

// df 1 to 4 are closed forms (df 3 uses sqrt(3) to ten digits); from df 5 on Hill's
// approximation is good to about 2e-7.
TEST(DistributionsExact, ProbT) {
  for (int df : {1, 2, 3, 4, 5, 6, 7, 10, 20, 30, 60, 100, 1000, 100000}) {
    const bm::students_t_distribution<> t(df);
    const double tolerance = df <= 4 ? 1e-12 : 2e-7;
    for (double x = -50; x <= 50; x += 0.05) {
      EXPECT_NEAR(ProbT(df, x), bm::cdf(t, x), tolerance) << Args(df, x);
    }
  }
}

// Hill's inverse with this program's constants (2700, the threshold a + 0.25, no factor 0.3)
// is not symmetric in p for small df and is good to a few units in the fourth decimal up to
// df 10, to a few units in the seventh from df 30.
TEST(DistributionsExact, Apinvte) {
  struct Row {
    int df;
    double tolerance;
  };
  for (Row row : {Row{1, 1e-9}, Row{2, 1e-9}, Row{3, 6e-3}, Row{4, 3e-4}, Row{5, 3e-4},
                  Row{6, 3e-4}, Row{10, 3e-4}, Row{30, 2e-7}, Row{100, 3e-7}, Row{1000, 6e-7}}) {
    const bm::students_t_distribution<> t(row.df);
    for (double p = 0.0005; p < 0.9996; p += 0.0005) {
      const double exact = bm::quantile(t, p);
      EXPECT_NEAR(apinvte(row.df, p), exact, row.tolerance * std::fmax(1, std::fabs(exact)))
          << Args(row.df, p);
    }
  }
  // The asymmetry is real, not rounding.
  EXPECT_GT(apinvte(5, 0.975) + apinvte(5, 0.025), 1e-4);
}

TEST(DistributionsExact, QuantilTRealMatchesIntegerDf) {
  for (int df : {1, 2, 3, 5, 12, 40}) {
    for (double p : {0.01, 0.2, 0.5, 0.9, 0.995}) {
      EXPECT_EQ(QuantilTReal(df, p), apinvte(df, p)) << Args(df, p);
    }
  }
  // Rounded to the nearest df, ties to even, to pick the closed forms.
  EXPECT_EQ(QuantilTReal(2.5, 0.9), apinvte(2, 0.9));
  EXPECT_EQ(QuantilTReal(1.5, 0.9), apinvte(2, 0.9));
  EXPECT_EQ(QuantilTReal(1.4, 0.9), apinvte(1, 0.9));
  // Other real df run the approximation with the df itself.
  const double t35 = QuantilTReal(3.5, 0.95);
  EXPECT_LT(t35, apinvte(3, 0.95));
  EXPECT_GT(t35, apinvte(4, 0.95));
  EXPECT_NEAR(t35, bm::quantile(bm::students_t_distribution<>(3.5), 0.95), 2e-3);
}

// AS 63 stops when a term falls below 5e-6, and the log-gamma of half-integers uses a
// four-term Stirling series and sqrt(pi) = 1.77246: together a few units in the fifth
// decimal for small df, up to 3e-4 near f = 1 for an odd numerator df with a large
// denominator df. m = 1 or n = 1 go through the t distribution.
TEST(DistributionsExact, ProbF) {
  for (int m : {1, 2, 3, 4, 5, 10, 30, 100}) {
    for (int n : {1, 2, 3, 5, 10, 30, 120, 1000}) {
      const bm::fisher_f_distribution<> dist(m, n);
      const double tolerance = (m == 1 || n == 1) ? 4e-7 : n <= 120 ? 1e-4 : 4e-4;
      for (double f = 0.001; f < 100; f *= 1.05) {
        const double exact = bm::cdf(dist, f);
        EXPECT_NEAR(ProbF(m, n, f), exact, tolerance) << Args(m, n, f);
        EXPECT_NEAR(means::ProbF(m, n, f), exact, tolerance) << Args(m, n, f);
      }
    }
  }
}

// Peizer-Pratt is a normal approximation: about 1e-2 with two df on one side, 5e-3 from
// three, 1e-3 from ten.
TEST(DistributionsExact, ProbFAprox) {
  for (int m : {2, 3, 5, 10, 30}) {
    for (int n : {2, 3, 5, 10, 30, 120, 1000}) {
      const int smaller = std::min(m, n);
      const double tolerance = smaller == 2 ? 1.2e-2 : smaller < 10 ? 5e-3 : 1e-3;
      const bm::fisher_f_distribution<> dist(m, n);
      for (double f = 0.01; f < 100; f *= 1.1) {
        const double exact = bm::cdf(dist, f);
        EXPECT_NEAR(ProbFAprox(m, n, f), exact, tolerance) << Args(m, n, f);
        EXPECT_NEAR(means::ProbFAprox(m, n, f), exact, tolerance) << Args(m, n, f);
      }
    }
  }
}

// The secant refinement stops when two iterates are 1e-4 apart, on top of ProbF's own
// error; m = 1 or n = 1 inherit apinvte's error at small df.
TEST(DistributionsExact, QuantilF) {
  for (int m : {1, 2, 3, 5, 10, 30}) {
    for (int n : {1, 2, 3, 5, 10, 30, 120}) {
      const double tolerance = std::min(m, n) == 1 ? 3e-4 : 1e-4;
      for (double p : {0.01, 0.05, 0.1, 0.25, 0.4, 0.5, 0.6, 0.75, 0.9, 0.95, 0.99, 0.995}) {
        const double exact = ExactFQuantile(m, n, p);
        EXPECT_NEAR(QuantilF(m, n, p) / exact, 1, tolerance) << Args(m, n, p);
      }
    }
  }
}

// Above p = 0.998 the result is Paulson's closed form without refinement, far from the
// exact quantile for small df (204.6 instead of 999 for (2, 2) at 0.999).
TEST(DistributionsExact, QuantilFReturnsPaulsonAbove0998) {
  EXPECT_EQ(QuantilF(2, 2, 0.999), QuantilFPaulson(2, 2, 0.999));
  EXPECT_EQ(QuantilF(5, 20, 0.9985), QuantilFPaulson(5, 20, 0.9985));
  const double exact = ExactFQuantile(2, 2, 0.999);
  EXPECT_NEAR(exact, 999, 1e-9);
  EXPECT_LT(QuantilF(2, 2, 0.999), exact - 700);
  EXPECT_NE(QuantilF(5, 20, 0.998), QuantilFPaulson(5, 20, 0.998));
}

// At p = 0.5 Paulson's discriminant is 0 in exact arithmetic and may round below it.
TEST(DistributionsExact, QuantilFIsFiniteAtTheMedian) {
  for (int m : {2, 3, 4, 7, 10, 25, 60, 200}) {
    for (int n : {2, 3, 4, 7, 10, 25, 60, 200}) {
      const double f = QuantilF(m, n, 0.5);
      ASSERT_TRUE(std::isfinite(f)) << Args(m, n);
      EXPECT_NEAR(f, ExactFQuantile(m, n, 0.5), 1e-4 * f) << Args(m, n);
      EXPECT_TRUE(std::isfinite(QuantilFPaulson(m, n, 0.5))) << Args(m, n);
    }
  }
}

// AS 91 to its 5e-7 tolerance; df 1 and 3 also carry the error of sqrt(pi) = 1.77246 and
// of the Stirling form at 1.5, df 4 that of the Stirling form at 2. The large df check
// that no intermediate overflows.
TEST(DistributionsExact, QuantilQui) {
  for (int v : {1, 2, 3, 4, 5, 6, 10, 30, 100, 300, 1000, 10000, 1000000}) {
    const bm::chi_squared_distribution<> dist(v);
    const double tolerance = (v == 1 || v == 3) ? 2e-5 : v == 4 ? 2e-6 : 5e-7;
    for (double p : {3e-6, 1e-4, 0.001, 0.01, 0.05, 0.1, 0.25, 0.5, 0.75, 0.9, 0.95, 0.99,
                     0.999, 0.99999}) {
      const double exact = bm::quantile(dist, p);
      EXPECT_NEAR(QuantilQui(v, p) / exact, 1, tolerance) << Args(v, p);
    }
  }
}

TEST(DistributionsExact, QuantilQuiWH) {
  for (double v : {10.0, 50.5, 300.0}) {
    const bm::chi_squared_distribution<> dist(v);
    for (double p : {0.05, 0.5, 0.95}) {
      EXPECT_NEAR(QuantilQuiWH(v, p) / bm::quantile(dist, p), 1, 1e-2) << Args(v, p);
    }
  }
  EXPECT_EQ(QuantilQuiWH(1, 1e-9), 0);  // the cube root's base is negative
}

// The second set's chi-square: the series to 5e-7 below df 11, Peizer-Pratt from 11 on.
TEST(DistributionsExact, ProbQui) {
  for (double v : {1.0, 2.0, 3.0, 4.5, 7.0, 10.0, 11.0, 12.0, 15.0, 20.0, 50.0, 100.0, 1000.0}) {
    const bm::chi_squared_distribution<> dist(v);
    const double tolerance = v < 11 ? 5e-7 : 6e-5;
    for (double x = 0.01; x < 4 * v + 40; x *= 1.05) {
      EXPECT_NEAR(means::ProbQui(v, x), bm::cdf(dist, x), tolerance) << Args(v, x);
    }
  }
}

TEST(DistributionsExact, LnGama) {
  std::int32_t error = 0;
  for (double x = 0.001; x < 1e6; x *= 1.01) {
    const double exact = bm::lgamma(x);
    EXPECT_NEAR(LnGama(x, error), exact, 3e-14 * std::fmax(1, std::fabs(exact))) << x;
  }
}

// AS 239 to about 1e-12; above shape 5000 a Wilson-Hilferty normal approximation.
TEST(DistributionsExact, GamaIncompletaAndProbGama) {
  std::int32_t error = 0;
  for (double a : {0.05, 0.5, 1.0, 2.5, 10.0, 100.0, 1000.0, 4999.0, 5001.0, 1e5}) {
    const double tolerance = a > 5000 ? 1e-6 : 1e-12;
    for (double x = a * 0.01; x < a * 5 + 10; x *= 1.03) {
      EXPECT_NEAR(GamaIncompleta(x, a, error), bm::gamma_p(a, x), tolerance) << Args(x, a);
      EXPECT_EQ(error, 0);
    }
  }
  for (double scale : {0.5, 2.0, 7.0}) {
    const bm::gamma_distribution<> dist(3.5, scale);
    for (double x = 0.1; x < 100; x *= 1.3) {
      EXPECT_NEAR(ProbGama(x, 3.5, scale), bm::cdf(dist, x), 1e-13) << Args(x, scale);
    }
  }
}

TEST(DistributionsExact, ProbPoisson) {
  for (double lambda : {0.1, 1.0, 4.5, 30.0, 200.0, 3000.0}) {
    const bm::poisson_distribution<> dist(lambda);
    for (int k = 0; k < 3 * lambda + 10; k += 1 + static_cast<int>(lambda / 50)) {
      const double tolerance = lambda > 4999 ? 1e-6 : 1e-12;
      EXPECT_NEAR(ProbPoisson(lambda, k), bm::cdf(dist, k), tolerance) << Args(lambda, k);
    }
  }
  EXPECT_NEAR(ProbPoisson(1e6, std::numeric_limits<std::int32_t>::max()), 1, 1e-12);
}

// --- The two sets --------------------------------------------------------------------------

TEST(DistributionSets, SecondSetUsesTinyStatisticsUnchanged) {
  // The general set takes any f below 1e-8 as 1e-5; the second set uses it as it is.
  EXPECT_EQ(ProbF(4, 9, 1e-12), ProbF(4, 9, 1e-5));
  // f / (1 + f) for (2, 2), less the 1e-6 of the Stirling form at 2.
  EXPECT_NEAR(means::ProbF(2, 2, 1e-9), 1e-9, 2e-15);
  EXPECT_LT(means::ProbF(4, 9, 1e-9), ProbF(4, 9, 1e-9) * 1e-5);
  // ProbFAprox: the general set takes f <= 0 as 1e-11; the second set gives P(F <= 0) = 0.
  EXPECT_GT(ProbFAprox(3, 8, 0), 0);
  EXPECT_EQ(means::ProbFAprox(3, 8, 0), 0);
  EXPECT_EQ(means::ProbFAprox(1, 8, 0), 0);
  EXPECT_EQ(means::ProbFAprox(8, 1, -2), 0);
  EXPECT_EQ(means::ProbF(3, 8, 0), 0);
  EXPECT_EQ(means::ProbF(3, 8, -1e-12), 0);
  // Elsewhere the two sets agree to the last bit.
  for (int m : {1, 2, 3, 7, 40}) {
    for (int n : {1, 2, 5, 30}) {
      for (double f : {1e-3, 0.5, 1.0, 3.7, 50.0}) {
        EXPECT_EQ(means::ProbF(m, n, f), ProbF(m, n, f)) << Args(m, n, f);
        EXPECT_EQ(means::ProbFAprox(m, n, f), ProbFAprox(m, n, f)) << Args(m, n, f);
      }
    }
  }
}

TEST(DistributionSets, SharedFunctionsAreTheSame) {
  EXPECT_EQ(&means::ProbNormal, &ProbNormal);
  EXPECT_EQ(&means::QuantilNormal, &QuantilNormal);
  EXPECT_EQ(&means::ProbT, &ProbT);
  EXPECT_EQ(&means::apinvte, &apinvte);
}

// --- Bad and non-finite arguments ----------------------------------------------------------

// A probability outside [0, 1] is a caller's error: a diagnostic on standard error (never
// standard output, which may carry a report) and 0, in both sets; the program goes on.
TEST(DistributionArguments, ApinvteOutsideTheUnitInterval) {
  struct Row {
    double p;
    const char* text;
  };
  for (Row row : {Row{-0.1, "probabilidade em apinvte menor que zero \n"},
                  Row{1.5, "probabilidade em apinvte maior que 1 \n"}}) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const double general = apinvte(8, row.p);
    const double second = means::apinvte(8, row.p);
    const double real_df = QuantilTReal(8.5, row.p);
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(general, 0);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(real_df, 0);
    EXPECT_EQ(err, std::string(row.text) + row.text + row.text);
    EXPECT_EQ(out, "");
  }
}

TEST(DistributionArguments, InfiniteStatisticsHaveTheirLimits) {
  for (int df : {1, 2, 3, 4, 5, 30}) {
    EXPECT_EQ(ProbT(df, kInf), 1) << df;
    EXPECT_EQ(ProbT(df, -kInf), 0) << df;
  }
  for (int m : {1, 2, 6}) {
    for (int n : {1, 3, 20}) {
      EXPECT_EQ(ProbF(m, n, kInf), 1) << Args(m, n);
      EXPECT_EQ(means::ProbF(m, n, kInf), 1) << Args(m, n);
    }
  }
  EXPECT_EQ(means::ProbQui(5, kInf), 1);
  EXPECT_EQ(means::ProbQui(15, kInf), 1);
  EXPECT_EQ(means::ProbQui(5, 0), 0);
  EXPECT_EQ(means::ProbQui(15, 0), 0);
  // Beyond the series' range the sum overflows; P is 1 to double precision there.
  EXPECT_EQ(means::ProbQui(5, 2e6), 1);
}

// Each iteration that stops on a tolerance only is capped; a NaN argument, which never meets
// a tolerance, runs into the cap and comes back as NaN.
TEST(DistributionArguments, NaNArgumentsEndEveryIteration) {
  std::int32_t error = 0;
  EXPECT_TRUE(std::isnan(ProbF(3, 5, kNaN)));
  EXPECT_TRUE(std::isnan(means::ProbF(3, 5, kNaN)));
  EXPECT_TRUE(std::isnan(QuantilF(3, 5, kNaN)));
  EXPECT_TRUE(std::isnan(QuantilQui(3, kNaN)));
  EXPECT_TRUE(std::isnan(detail::GamaIncQui(kNaN, 2, 0)));
  // AS 239's continued fraction ends on its cap; a NaN final argument takes the "1" branch.
  EXPECT_EQ(GamaIncompleta(kNaN, 2, error), 1);
  EXPECT_TRUE(std::isnan(means::ProbQui(5, kNaN)));
  EXPECT_TRUE(std::isnan(ProbNormal(kNaN)));
}

// Internal building blocks with published definitions.
TEST(DistributionParts, StirlingAndPeizerPratt) {
  for (double z : {1.5, 2.0, 7.5, 40.0}) {
    const double series = 1 / (12 * z) - 1 / (360 * std::pow(z, 3)) + 1 / (1260 * std::pow(z, 5)) -
                          1 / (1680 * std::pow(z, 7));
    EXPECT_NEAR(z * detail::CorrStirling(z * z), series, 1e-16) << z;
    // The first term left out of the series is 1 / (1188 z^9).
    EXPECT_NEAR(detail::LnGamaMeio(z), bm::lgamma(z), 1e-3 / std::pow(z, 9) + 1e-13 * z) << z;
  }
  EXPECT_EQ(detail::LnGamaMeio(1), 0);
  EXPECT_EQ(detail::LnGamaMeio(0.5), std::log(1.77246));
  EXPECT_EQ(detail::GPeizerPratt(1e-10), 1);
  EXPECT_EQ(detail::GPeizerPratt(1.0005), 0);
  EXPECT_NEAR(detail::GPeizerPratt(2), (1 - 4 + 4 * std::log(2.0)) / 1, 1e-15);
}

}  // namespace
}  // namespace tolmex::numeric
