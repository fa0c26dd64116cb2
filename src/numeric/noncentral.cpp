// Incomplete beta, binomial, gamma quantile, noncentral t and noncentral chi-square.
// The noncentral distributions follow Benton and Krishnamoorthy (2003).
#include "numeric/noncentral.h"

#include <cmath>

#include "numeric/distributions.h"

namespace tolmex::numeric {

namespace {

double Floored(double v) { return std::fabs(v) < 1e-30 ? 1e-30 : v; }

double LnGamaOf(double x) {
  std::int32_t error = 0;
  return LnGama(x, error);
}

// Bracketing steps of QuantilGama: steps of 0.1 reach x = 1e6 in the gamma's own units.
constexpr std::int64_t kMaxGamaBracketSteps = 10'000'000;
// Bracketing passes of QuantilTNC: the bracket grows by 10 % a pass, so this many passes
// overflow any double; the cap only ends a bracket that can never close.
constexpr int kMaxTncBracketPasses = 10'000;

// The guarded secant (regula falsi) search shared by QuantilGama and QuantilTNC.
template <typename Cdf>
double GuardedSecant(Cdf cdf, double p, double xlo, double xhi, double flo, int passes) {
  double x = xhi;
  for (int pass = 0; pass < passes; ++pass) {
    const double fhi = cdf(xhi);
    const double dlo = flo - p;
    const double dhi = fhi - p;
    const double d = dhi - dlo;
    x = std::fabs(d) > 1e-14 ? (dhi * xlo - dlo * xhi) / d : (xlo + xhi) / 2;
    if (std::fabs(dhi) <= std::fabs(dlo) && fhi <= p) {
      xlo = xhi;
      flo = fhi;
    }
    if (std::fabs(flo - p) < 5e-19) break;
    xhi = x;
  }
  return x;
}

}  // namespace

// Modified Lentz method, arranged as Numerical Recipes' betacf.
double BetaFC(double a, double b, double x) {
  const double qab = a + b;
  const double qap = a + 1;
  const double qam = a - 1;
  double c = 1;
  double d = 1 / Floored(1 - qab * x / qap);
  double h = d;
  for (int m = 1; m <= 10'000; ++m) {
    const int m2 = 2 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1 / Floored(1 + aa * d);
    c = Floored(1 + aa / c);
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1 / Floored(1 + aa * d);
    c = Floored(1 + aa / c);
    const double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1) < 3e-17) break;
  }
  return h;
}

double BetaIncompleta(double x, double a, double b, std::int32_t& error) {
  if (x < 0 || x > 1) {
    error = 1;
    return 0;
  }
  error = 0;
  const double bt = (x == 0 || x == 1) ? 0
                                       : std::exp(LnGamaOf(a + b) - LnGamaOf(a) - LnGamaOf(b) +
                                                  a * std::log(x) + b * std::log(1 - x));
  if (x < (a + 1) / (a + b + 2)) return bt * BetaFC(a, b, x) / a;
  return 1 - bt * BetaFC(b, a, 1 - x) / b;
}

double ProbBinomial(double k, double n, double p, std::int32_t& error) {
  error = 0;
  if (n <= 0 || p <= 0 || p >= 1) {
    error = 1;
    return 0;
  }
  if (k < 0) return 0;
  if (k >= n) return 1;
  return 1 - BetaIncompleta(p, k + 1, n - k, error);
}

double QuantilGama(double p, double shape, double scale, std::int32_t& error) {
  error = 0;
  if (shape <= 0 || scale <= 0) {
    error = 1;
    return 0;
  }
  if (std::fabs(p) < 1e-19) return 0;
  const auto cdf = [&](double x) { return ProbGama(x, shape, scale); };
  double xlo = 0, xhi = 0.1;
  double fhi = 0;
  bool bracketed = false;
  for (std::int64_t step = 0; step < kMaxGamaBracketSteps; ++step) {
    fhi = cdf(xhi);
    if (fhi >= p) {
      bracketed = true;
      break;
    }
    // Neither below nor at p: p or the distribution function is NaN, and the loop would
    // repeat the same step for ever.
    if (!(p >= fhi)) break;
    xlo = xhi;
    xhi += 0.1;
  }
  if (!bracketed) {
    error = 3;
    return xhi;
  }
  return GuardedSecant(cdf, p, xlo, xhi, cdf(xlo), 99);
}

double QuantilQuiGama(double v, double p, std::int32_t& error) {
  error = 0;
  if (v <= 0) {
    error = -1;
    return 0;
  }
  if (p < 0 || p >= 1) {
    error = -2;
    return 0;
  }
  if (p == 0) return 0;
  return 4 * QuantilGama(p, v / 2, 0.5, error);
}

double ProbTNC(double t, double v, double delta) {
  if (v <= 0) return 0;
  const bool negative = t < 0;
  const double tt = negative ? -t : t;
  const double del = negative ? -delta : delta;
  if (t == 0) return ProbNormal(-delta);
  if (delta == 0) {
    std::int32_t error = 0;
    const double e = v / (v + t * t);
    const double r = BetaIncompleta(e, v / 2, 0.5, error) / 2;
    return t > 0 ? 1 - r : r;
  }
  std::int32_t error = 0;
  const double x = tt * tt / (v + tt * tt);
  const double lambda = del * del / 2;
  const double k = std::ceil(lambda);
  const double a = k + 0.5;
  const double c = k + 1;
  const double b = v / 2;
  const double sqrt2 = std::sqrt(2.0);

  double pkf = std::exp(k * std::log(lambda) - lambda - LnGamaOf(k + 1));
  double pkb = pkf;
  double qkf = std::exp(k * std::log(lambda) - lambda - LnGamaOf(k + 1.5));
  double qkb = qkf;
  double pbf = BetaIncompleta(x, a, b, error);
  double pbb = pbf;
  double qbf = BetaIncompleta(x, c, b, error);
  double qbb = qbf;
  double pgf = std::exp(LnGamaOf(a + b - 1) - LnGamaOf(a) - LnGamaOf(b) + (a - 1) * std::log(x) +
                        b * std::log(1 - x));
  double pgb = pgf * x * (a + b - 1) / a;
  double qgf = std::exp(LnGamaOf(c + b - 1) - LnGamaOf(c) - LnGamaOf(b) + (c - 1) * std::log(x) +
                        b * std::log(1 - x));
  double qgb = qgf * x * (c + b - 1) / c;
  double rem = 1 - pkf;
  double s = pkf * pbf + del * qkf * qbf / sqrt2;

  for (int i = 1;; ++i) {
    pgf = pgf * x * (a + b + i - 2) / (a + i - 1);
    pbf -= pgf;
    pkf = pkf * lambda / (k + i);
    qgf = qgf * x * (c + b + i - 2) / (c + i - 1);
    qbf -= qgf;
    qkf = qkf * lambda / (k + i + 0.5);
    s += pkf * pbf + del * qkf * qbf / sqrt2;
    const double err = rem * (std::fabs(del) / 2 + 1) / 2 * pbf;
    rem -= pkf;
    if (i > k) {
      if (err <= 1e-19 || i > 10'000) break;
    } else {
      pgb = pgb * (a - i + 1) / (x * (a + b - i));
      pbb += pgb;
      pkb = (k - i + 1) * pkb / lambda;
      qgb = qgb * (c - i + 1) / (x * (c + b - i));
      qbb += qgb;
      qkb = (k - i + 1.5) * qkb / lambda;
      s += pkb * pbb + del * qkb * qbb / sqrt2;
      rem -= pkb;
      if (rem <= 1e-19 || i >= 10'000) break;
    }
  }
  const double result = s / 2 + ProbNormal(-del);
  return negative ? 1 - result : result;
}

double QuantilTNC(double p, double v, double delta, std::int32_t& error) {
  error = 0;
  if (v <= 0) error = 1;
  if (p <= 0 || p >= 1) error = 2;
  if (error != 0) {
    if (p <= 0) return -9e-161;
    if (p >= 1) return 1e161;
    return 0;
  }
  const auto cdf = [&](double x) { return ProbTNC(x, v, delta); };
  double xlo = delta, xhi = delta;
  double flo = 0, fhi = 0;
  bool bracketed = false;
  for (int pass = 0; pass < kMaxTncBracketPasses; ++pass) {
    flo = cdf(xlo);
    fhi = cdf(xhi);
    if (p >= fhi) {
      xlo = xhi;
      flo = fhi;
      xhi += std::fabs(xhi) < 1 ? 2 : 0.1 * std::fabs(xhi);
    }
    if (flo >= p) {
      xhi = xlo;
      fhi = flo;
      xlo -= std::fabs(xlo) < 1 ? 2 : 0.1 * std::fabs(xlo);
    }
    if (flo <= p && p <= fhi) {
      bracketed = true;
      break;
    }
  }
  if (!bracketed) {
    error = 3;
    return p >= fhi ? xhi : xlo;
  }
  return GuardedSecant(cdf, p, xlo, xhi, cdf(xlo), p > 0.9999 ? 999 : 199);
}

double ProbQuiNC(double x, double v, double lambda) {
  // x = 0 is P(X <= 0) = 0 too; the series would form 0 * log(0) there.
  if (v <= 0 || x <= 0 || lambda < 0) return 0;
  const double xh = x / 2;
  const double del = lambda / 2;
  const double k = std::trunc(del);
  const double a = v / 2 + k;
  std::int32_t error = 0;
  double gf = GamaIncompleta(xh, a, error);
  double gb = gf;
  if (lambda == 0) return gf;
  double pf = std::exp(k * std::log(del) - del - LnGamaOf(k + 1));
  double pb = pf;
  double tf = std::exp((a - 1) * std::log(xh) - xh - LnGamaOf(a));
  double tb = tf * xh / a;
  double s = pf * gf;
  double rem = 1 - pf;
  for (int i = 1;; ++i) {
    tf = tf * xh / (a + i - 1);
    gf -= tf;
    pf = pf * del / (k + i);
    s += pf * gf;
    const double err = rem * gf;
    rem -= pf;
    if (i > k) {
      if (err <= 1e-19 || i > 10'000) break;
    } else {
      tb = tb * (a - i + 1) / xh;
      gb += tb;
      pb = pb * (k - i + 1) / del;
      s += pb * gb;
      rem -= pb;
      if (rem <= 1e-19 || i > 10'000) break;
    }
  }
  return s;
}

}  // namespace tolmex::numeric
