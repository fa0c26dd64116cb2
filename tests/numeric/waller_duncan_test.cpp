// The Waller-Duncan critical t and its Gauss-Legendre rule.
#include "numeric/waller_duncan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "cases.h"

namespace tolmex::numeric {
namespace {

using testing::ExpectCases;

TEST(WallerDuncan, ReferenceValues) {
  ExpectCases({
      // The large-F, large-df limit for k = 100; a smaller F asks for a larger t.
      {"TCriticoWaller(100, 4, 1000, 1000)", TCriticoWaller(100, 4, 1000, 1000), 1.726, 5e-4},
      {"TCriticoWaller(100, 4, 20, 10)", TCriticoWaller(100, 4, 20, 10), 1.992, 5e-4},
      {"TCriticoWaller(100, 4, 20, 2)", TCriticoWaller(100, 4, 20, 2), 2.509, 6e-4},
  });
}

// Published Waller-Duncan tables (k = 100, for instance 1.72 in the large-F limit, and
// larger t for smaller F and fewer error df).
TEST(WallerDuncan, OrderedInFAndDf) {
  double previous = 0;
  for (double fc : {100.0, 20.0, 5.0, 2.0, 1.2}) {
    const double t = TCriticoWaller(100, 5, 30, fc);
    EXPECT_GT(t, previous) << fc;
    previous = t;
  }
  EXPECT_GT(TCriticoWaller(100, 4, 10, 4), TCriticoWaller(100, 4, 60, 4));
  EXPECT_GT(TCriticoWaller(500, 4, 20, 4), TCriticoWaller(100, 4, 20, 4));
}

// A k-ratio the integrals cannot reach inside [1, 40] leaves the bisection at an end.
TEST(WallerDuncan, UnreachableRatioEndsAtTheInterval) {
  EXPECT_NEAR(TCriticoWaller(1e12, 4, 20, 10), 40, 1e-9);
  EXPECT_NEAR(TCriticoWaller(0, 4, 20, 10), 1, 1e-9);
  EXPECT_NEAR(TCriticoWaller(std::numeric_limits<double>::quiet_NaN(), 4, 20, 10), 40, 1e-9);
}

// Degrees of freedom that cannot be rounded to an integer: the message goes to standard
// error, the bisection stops and the first trial t comes back.
TEST(WallerDuncan, IncomputableIntegralsReportOnStandardError) {
  for (double f : {std::numeric_limits<double>::quiet_NaN(), 3e9}) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const double t = TCriticoWaller(100, 4, f, 10);
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(t, 20.5);
    EXPECT_EQ(err.rfind("Erro no cálculo: ", 0), 0u) << err;
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(out, "");
  }
}

// The rule's nodes are the roots of P32 and its weights 2 / ((1 - x^2) P32'(x)^2), to
// 17 significant digits (the weight's check is limited by the rounding of its node); it
// integrates every polynomial of degree up to 63 exactly.
TEST(GaussLegendre32, NodesAndWeights) {
  const auto& x = kGaussLegendre32Nodes;
  const auto& w = kGaussLegendre32Weights;
  long double weight_sum = 0;
  for (int i = 0; i < 32; ++i) {
    long double p0 = 1, p1 = x[i];
    for (int k = 2; k <= 32; ++k) {
      const long double p2 = ((2 * k - 1) * x[i] * p1 - (k - 1) * p0) / k;
      p0 = p1;
      p1 = p2;
    }
    const long double derivative = 32 * (x[i] * p1 - p0) / (x[i] * x[i] - 1);
    // The Newton step to the root is below one unit in the last place of the node.
    EXPECT_NEAR(static_cast<double>(p1 / derivative), 0, 1.2e-16) << i;
    const long double weight = 2 / ((1 - x[i] * x[i]) * derivative * derivative);
    EXPECT_NEAR(w[i] / static_cast<double>(weight), 1, 3e-14) << i;
    EXPECT_EQ(x[i], -x[31 - i]) << i;
    EXPECT_EQ(w[i], w[31 - i]) << i;
    if (i > 0) {
      EXPECT_LT(x[i - 1], x[i]);
    }
    weight_sum += w[i];
  }
  EXPECT_NEAR(static_cast<double>(weight_sum), 2, 1e-15);
  for (int degree = 0; degree <= 63; ++degree) {
    long double sum = 0;
    for (int i = 0; i < 32; ++i) sum += w[i] * std::pow(static_cast<long double>(x[i]), degree);
    const double exact = degree % 2 == 1 ? 0 : 2.0 / (degree + 1);
    EXPECT_NEAR(static_cast<double>(sum), exact, 1e-15) << degree;
  }
}

}  // namespace
}  // namespace tolmex::numeric
