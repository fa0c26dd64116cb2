// Incomplete beta, binomial, gamma quantiles and the noncentral t and chi-square, against
// their reference values and Boost.Math.
#include "numeric/noncentral.h"

#include <gtest/gtest.h>

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/non_central_chi_squared.hpp>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <cmath>
#include <limits>
#include <string>

#include "cases.h"
#include "numeric/distributions.h"

namespace tolmex::numeric {
namespace {

namespace bm = boost::math;
using testing::ExpectCases;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Args(double a, double b, double c) {
  return std::to_string(a) + ", " + std::to_string(b) + ", " + std::to_string(c);
}

TEST(Noncentral, ReferenceValues) {
  std::int32_t e1 = -1, e2 = -1, e3 = -1, e4 = -1, e5 = -1;
  ExpectCases({
      {"QuantilQuiGama(5, 0.95)", QuantilQuiGama(5, 0.95, e1), 11.070498, 5e-7},
      {"QuantilQuiGama(1, 0.95)", QuantilQuiGama(1, 0.95, e2), 3.841459, 5e-7},
      {"QuantilQuiGama(5, 0.95) vs QuantilQui", QuantilQuiGama(5, 0.95, e1), QuantilQui(5, 0.95),
       5e-7},
      {"QuantilQuiGama(1, 0.95) vs QuantilQui", QuantilQuiGama(1, 0.95, e2), QuantilQui(1, 0.95),
       1e-5},
      {"ProbTNC(2, 10, 1)", ProbTNC(2, 10, 1), 0.80761156, 5e-9},
      {"ProbTNC(4, 8, 3)", ProbTNC(4, 8, 3), 0.73084872, 5e-9},
      {"ProbTNC(-1, 5, 0.5)", ProbTNC(-1, 5, 0.5), 0.08244409, 5e-9},
      {"ProbTNC(0, 7, 1.3)", ProbTNC(0, 7, 1.3), ProbNormal(-1.3), 0},
      {"ProbTNC(1.7, 9, 0)", ProbTNC(1.7, 9, 0),
       bm::cdf(bm::students_t_distribution<>(9), 1.7), 1e-14},
      {"ProbTNC(-1.7, 9, 0)", ProbTNC(-1.7, 9, 0),
       bm::cdf(bm::students_t_distribution<>(9), -1.7), 1e-14},
      {"ProbBinomial(7, 7, 0.3)", ProbBinomial(7, 7, 0.3, e3), 1, 0},
      {"ProbBinomial(9, 7, 0.3)", ProbBinomial(9, 7, 0.3, e3), 1, 0},
      {"ProbBinomial(-1, 7, 0.3)", ProbBinomial(-1, 7, 0.3, e3), 0, 0},
      {"QuantilTNC(0, 5, 1)", QuantilTNC(0, 5, 1, e4), -9e-161, 0},
      {"QuantilTNC(1, 5, 1)", QuantilTNC(1, 5, 1, e5), 1e161, 0},
      {"ProbQuiNC(3.2, 4, 0)", ProbQuiNC(3.2, 4, 0), GamaIncompleta(1.6, 2, e3), 0},
  });
  EXPECT_EQ(e1, 0);
  EXPECT_EQ(e2, 0);
  EXPECT_EQ(e4, 2);
  EXPECT_EQ(e5, 2);
}

TEST(Noncentral, ErrorCodes) {
  std::int32_t error = 0;
  EXPECT_EQ(ProbBinomial(3, 10, 0, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(ProbBinomial(3, 10, 1, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(ProbBinomial(3, 0, 0.5, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(BetaIncompleta(1.2, 2, 3, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(BetaIncompleta(0, 2, 3, error), 0);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(BetaIncompleta(1, 2, 3, error), 1);
  EXPECT_EQ(QuantilGama(0.5, 0, 1, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(QuantilGama(0.5, 2, -1, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(QuantilGama(1e-20, 2, 1, error), 0);  // no search below |p| = 1e-19
  EXPECT_EQ(error, 0);
  EXPECT_EQ(QuantilQuiGama(0, 0.5, error), 0);
  EXPECT_EQ(error, -1);
  EXPECT_EQ(QuantilQuiGama(3, 1, error), 0);
  EXPECT_EQ(error, -2);
  EXPECT_EQ(QuantilQuiGama(3, -0.1, error), 0);
  EXPECT_EQ(error, -2);
  EXPECT_EQ(QuantilQuiGama(3, 0, error), 0);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(QuantilTNC(0.5, 0, 1, error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(QuantilTNC(1.5, 0, 1, error), 1e161);  // the p test wins
  EXPECT_EQ(error, 2);
  EXPECT_EQ(ProbTNC(1, 0, 1), 0);
  EXPECT_EQ(ProbQuiNC(1, 0, 1), 0);
  EXPECT_EQ(ProbQuiNC(-1, 3, 1), 0);
  EXPECT_EQ(ProbQuiNC(1, 3, -1), 0);
  // P(X <= 0) = 0, also where the series would form 0 * log(0).
  EXPECT_EQ(ProbQuiNC(0, 1, 2), 0);
  EXPECT_EQ(ProbQuiNC(0, 2, 0.5), 0);
}

TEST(NoncentralExact, BetaIncompletaAndBinomial) {
  std::int32_t error = 0;
  for (double a : {0.5, 1.0, 2.5, 10.0, 80.0}) {
    for (double b : {0.5, 1.0, 3.0, 30.0, 200.0}) {
      for (double x = 0.001; x < 1; x += 0.0237) {
        EXPECT_NEAR(BetaIncompleta(x, a, b, error), bm::ibeta(a, b, x), 1e-13) << Args(x, a, b);
      }
    }
  }
  for (double n : {1.0, 5.0, 20.0, 300.0}) {
    for (double p : {0.01, 0.3, 0.5, 0.92}) {
      const bm::binomial_distribution<> dist(n, p);
      for (double k = 0; k < n; k += std::ceil(n / 25)) {
        EXPECT_NEAR(ProbBinomial(k, n, p, error), bm::cdf(dist, k), 1e-12) << Args(k, n, p);
      }
    }
  }
}

// The regula falsi stops on 5e-19 only when p is met exactly; it is otherwise as accurate
// as ProbGama after its 99 steps.
TEST(NoncentralExact, QuantilGamaAndQuantilQuiGama) {
  std::int32_t error = -1;
  for (double shape : {0.5, 1.0, 2.5, 10.0, 60.0}) {
    for (double scale : {0.5, 1.0, 3.0}) {
      const bm::gamma_distribution<> dist(shape, scale);
      for (double p : {0.001, 0.05, 0.3, 0.5, 0.8, 0.95, 0.999}) {
        const double exact = bm::quantile(dist, p);
        EXPECT_NEAR(QuantilGama(p, shape, scale, error) / exact, 1, 1e-9) << Args(p, shape, scale);
        EXPECT_EQ(error, 0);
      }
    }
  }
  for (double v : {1.0, 2.0, 5.0, 7.5, 30.0, 100.0}) {
    const bm::chi_squared_distribution<> dist(v);
    for (double p : {0.01, 0.5, 0.95, 0.999}) {
      EXPECT_NEAR(QuantilQuiGama(v, p, error) / bm::quantile(dist, p), 1, 1e-9) << v << " " << p;
    }
  }
}

TEST(NoncentralExact, ProbTNC) {
  for (double v : {1.0, 3.0, 8.0, 30.5, 200.0}) {
    for (double delta : {-3.0, -0.5, 0.7, 2.0, 6.0, 15.0}) {
      const bm::non_central_t_distribution<> dist(v, delta);
      for (double t = -10; t <= 25; t += 0.7) {
        EXPECT_NEAR(ProbTNC(t, v, delta), bm::cdf(dist, t), 1e-11) << Args(t, v, delta);
      }
    }
  }
}

TEST(NoncentralExact, QuantilTNC) {
  std::int32_t error = -1;
  for (double v : {3.0, 10.0, 40.0}) {
    for (double delta : {-1.0, 0.5, 3.0}) {
      const bm::non_central_t_distribution<> dist(v, delta);
      for (double p : {0.01, 0.1, 0.5, 0.9, 0.99, 0.99995}) {
        const double exact = bm::quantile(dist, p);
        EXPECT_NEAR(QuantilTNC(p, v, delta, error), exact, 1e-8 * std::fmax(1, std::fabs(exact)))
            << Args(p, v, delta);
        EXPECT_EQ(error, 0);
      }
    }
  }
}

TEST(NoncentralExact, ProbQuiNC) {
  std::int32_t error = 0;
  for (double v : {1.0, 2.0, 5.0, 17.5, 100.0}) {
    for (double lambda : {0.0, 0.3, 2.0, 11.0, 80.0}) {
      const bm::non_central_chi_squared_distribution<> dist(v, lambda);
      for (double x = 0.05; x < 3 * (v + lambda) + 30; x *= 1.15) {
        EXPECT_NEAR(ProbQuiNC(x, v, lambda), bm::cdf(dist, x), 1e-12) << Args(x, v, lambda);
      }
    }
    EXPECT_EQ(ProbQuiNC(3.3, v, 0), GamaIncompleta(3.3 / 2, v / 2, error));
  }
}

// --- Bounded loops -------------------------------------------------------------------------

// Far from the centre of the Poisson weights both series stop after 10 000 terms each way,
// which still covers several standard deviations.
TEST(NoncentralBounds, SeriesStopAfter10000Terms) {
  const bm::non_central_chi_squared_distribution<> chi(4, 2e6);
  for (double x : {1.995e6, 2e6, 2.005e6}) {
    EXPECT_NEAR(ProbQuiNC(x, 4, 2e6), bm::cdf(chi, x), 1e-8) << x;
  }
  const bm::non_central_t_distribution<> t(20, 300);
  EXPECT_NEAR(ProbTNC(300, 20, 300), bm::cdf(t, 300), 1e-9);
  EXPECT_TRUE(std::isnan(BetaFC(2, 3, kNaN)));
}

// A bracket that can never close: QuantilGama gives up at x = 1e6 (10 million steps of 0.1)
// and QuantilTNC after 10 000 passes, both with error 3.
TEST(NoncentralBounds, BracketsAreBounded) {
  std::int32_t error = -1;
  const double far = QuantilGama(0.5, 1e9, 1, error);
  EXPECT_EQ(error, 3);
  EXPECT_NEAR(far, 1e6, 1);
  error = -1;
  EXPECT_TRUE(std::isnan(QuantilGama(kNaN, 2, 1, error)) || error == 3);
  EXPECT_EQ(error, 3);
  error = -1;
  QuantilTNC(kNaN, 5, 1, error);
  EXPECT_EQ(error, 3);
}

}  // namespace
}  // namespace tolmex::numeric
