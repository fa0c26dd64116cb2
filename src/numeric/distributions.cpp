// Distribution functions of the general set. Each follows a published algorithm with this
// program's own constants and thresholds; they decide the digits of the reports, so they
// are kept exactly (author and algorithm cited at each function).
#include "numeric/distributions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "numeric/internal.h"

namespace tolmex::numeric {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kSqrt3 = 1.7320508076;
// ln Gamma(1/2) = ln(sqrt(pi)), with sqrt(pi) taken to six digits on purpose.
const double kLnGamaHalf = std::log(1.77246);
const double kLnSqrt2Pi = std::log(std::sqrt(6.283185307179586));
constexpr double kLn2 = 0.69314718056;

// exp(a) / exp(b), computed as written while both exponentials are finite (so results keep
// their last digits), and as exp(a - b) once one of them overflows, as happens for a few
// hundred degrees of freedom.
double ExpRatio(double a, double b) {
  const double ea = std::exp(a);
  const double eb = std::exp(b);
  if (std::isfinite(ea) && std::isfinite(eb) && eb > 0) return ea / eb;
  return std::exp(a - b);
}

}  // namespace

namespace detail {

double CorrStirling(double y) {
  return 1 / (12 * y) *
         (1 - (1 / y) * (0.03333333333333333 - (1 / y) * (0.009523809523809525 - 1 / (140 * y))));
}

double GPeizerPratt(double x) {
  if (x < 1e-9) return 1;
  if (std::fabs(1 - x) < 0.001) return 0;
  return (1 - x * x + 2 * x * std::log(x)) / ((1 - x) * (1 - x));
}

double LnGamaMeio(double z) {
  if (z > 1) return (z - 0.5) * std::log(z) - z + z * CorrStirling(z * z) + kLnSqrt2Pi;
  if (z == 1) return 0;
  if (z == 0.5) return kLnGamaHalf;
  // Only half-integers reach here; anything else has no defined value.
  return std::numeric_limits<double>::quiet_NaN();
}

double GamaIncQui(double x, double a, double lnga) {
  if ((x >= a && x <= 1) || (0 < x && x < a)) {
    double term = x / (a + 1);
    double sum = 1 + term;
    double i = 1;
    const std::int64_t cap = SeriesCap(a);
    for (std::int64_t pass = 0; pass < cap; ++pass) {
      i += 1;
      term = term * x / (a + i);
      sum += term;
      if (term < 5e-7) break;
    }
    return ExpRatio(a * std::log(x) - x, lnga) * sum / a;
  }
  // Legendre's continued fraction by the plain three-term recurrence.
  double a_prev = 0, a_cur = 1, b_prev = 1, b_cur = x;
  double ratio = 1 / x;
  const std::int64_t cap = SeriesCap(a);
  for (std::int64_t i = 2; i < cap + 2; ++i) {
    double e, c;
    if (i % 2 == 1) {
      e = static_cast<double>(i - 1) / 2;
      c = x;
    } else {
      e = static_cast<double>(i) / 2 - a;
      c = 1;
    }
    const double a_new = c * a_cur + e * a_prev;
    const double b_new = c * b_cur + e * b_prev;
    a_prev = a_cur;
    a_cur = a_new;
    b_prev = b_cur;
    b_cur = b_new;
    const double new_ratio = a_cur / b_cur;
    const bool done = std::fabs(new_ratio / ratio - 1) <= 5e-7;
    ratio = new_ratio;
    if (done) break;
  }
  return 1 - ExpRatio(a * std::log(x) - x, lnga) * ratio;
}

}  // namespace detail

using detail::CorrStirling;
using detail::GPeizerPratt;
using detail::kMaxSecantSteps;
using detail::SeriesCap;
using detail::LnGamaMeio;

double ProbNormal(double x) { return detail::HartProbNormal(x); }

// Wichura (1988), algorithm AS 241, PPND16.
double QuantilNormal(double p) {
  const double q = p - 0.5;
  if (std::fabs(q) <= 0.425) {
    const double r = 0.180625 - q * q;
    return q *
           (((((((2509.0809287301226727 * r + 33430.575583588128105) * r +
                 67265.770927008700853) * r + 45921.953931549871457) * r +
               13731.693765509461125) * r + 1971.5909503065514427) * r +
             133.14166789178437745) * r + 3.387132872796366608) /
           (((((((5226.495278852854561 * r + 28729.085735721942674) * r +
                 39307.89580009271061) * r + 21213.794301586595867) * r +
               5394.1960214247511077) * r + 687.1870074920579083) * r +
             42.313330701600911252) * r + 1);
  }
  double r = q < 0 ? p : 1 - p;
  if (!(r > 0)) return 0;
  r = std::sqrt(-std::log(r));
  double value;
  if (r <= 5) {
    r -= 1.6;
    value = (((((((7.7454501427834140764e-4 * r + 0.0227238449892691845833) * r +
                  0.24178072517745061177) * r + 1.27045825245236838258) * r +
                3.64784832476320460504) * r + 5.7694972214606914055) * r +
              4.6303378461565452959) * r + 1.42343711074968357734) /
            (((((((1.05075007164441684324e-9 * r + 5.475938084995344946e-4) * r +
                  0.0151986665636164571966) * r + 0.14810397642748007459) * r +
                0.68976733498510000455) * r + 1.6763848301838038494) * r +
              2.05319162663775882187) * r + 1);
  } else {
    r -= 5;
    value = (((((((2.01033439929228813265e-7 * r + 2.71155556874348757815e-5) * r +
                  0.0012426609473880784386) * r + 0.026532189526576123093) * r +
                0.29656057182850489123) * r + 1.7848265399172913358) * r +
              5.4637849111641143699) * r + 6.6579046435011037772) /
            (((((((2.04426310338993978564e-15 * r + 1.4215117583164458887e-7) * r +
                  1.8463183175100546818e-5) * r + 7.868691311456132591e-4) * r +
                0.0148753612908506148525) * r + 0.13692988092273580531) * r +
              0.59983220655588793769) * r + 1);
  }
  return q < 0 ? -value : value;
}

// Exact forms for df 1 to 4; Hill (1970), algorithm 395, otherwise.
double ProbT(std::int32_t df, double t) {
  // An infinite statistic has its limit (the formulas below would give NaN).
  if (std::isinf(t)) return t > 0 ? 1 : 0;
  switch (df) {
    case 1:
      return std::atan(t) / kPi + 0.5;
    case 2:
      return t / (2 * std::sqrt(t * t + 2)) + 0.5;
    case 3:
      return (std::atan(t / kSqrt3) + t * kSqrt3 / (t * t + 3)) / kPi + 0.5;
    case 4:
      return (t / 2) * (1 + 2 / (t * t + 4)) / std::sqrt(t * t + 4) + 0.5;
    default:
      break;
  }
  const double n = df;
  double y = t * t / n;
  const double a = n - 0.5;
  const double b = 48 * a * a;
  if (y >= 0.04) {
    y = a * std::log(1 + y);
  } else {
    y = a * y * (((1 - 0.75 * y) * y / 3 - 0.5) * y + 1);
  }
  const double z =
      ((-(((0.4 * y + 3.3) * y + 24) * y + 85.5) / (0.8 * y * y + 100 + b) + y + 3) / b + 1) *
      std::sqrt(y);
  return t >= 0 ? ProbNormal(z) : 1 - ProbNormal(z);
}

namespace {

// Hill (1970), algorithm 396, with this program's constants: 2700 (not 20700), the
// threshold a + 0.25 (not a + 0.05) and no factor 0.3 in the small-n correction.
double HillInverseT(double n, double p) {
  const double a = 1 / (n - 0.5);
  const double b = 48 / (a * a);
  double c = ((2700 * a / b - 98) * a - 16) * a + 96.36;
  const double d = n * std::sqrt(a * kPi / 2) * (1 - (3 - 94.5 / (b + c)) / b);
  const double x = 2 * (1 - p) * d;
  double y = std::exp(2 * std::log(x) / n);
  if (y > a + 0.25) {
    const double z = QuantilNormal(p);
    if (n < 5) c = c + (n - 4.5) * (z + 0.6);
    const double c2 = (((0.05 * d * z - 5) * z - 7) * z - 2) * z + b + c;
    const double z2 = z * z;
    y = (((((0.4 * z2 + 6.3) * z2 + 36) * z2 + 94.5) / c2 - z2 - 3) / b + 1) * z;
    y = a * y * y;
    y = y > 0.002 ? std::exp(y) - 1 : y + y * y / 2;
  } else {
    y = (y / ((((n + 6) / (n * y) - 0.822 - 0.089 * d) * 3 * (n + 2))) + y / (2 * (n + 4)) - 1) *
            (n + 1) / (n + 2) +
        1 / y;
  }
  const double t = std::sqrt(n * y);
  return p < 0.5 ? -t : t;
}

double InverseTClosedForms(int df, double p) {
  if (df == 1) return -std::cos(kPi * p) / std::sin(kPi * p);
  const double v = std::sqrt(1 / (2 * p * (1 - p)) - 2);
  return p >= 0.5 ? v : -v;
}

// p outside [0, 1] is the caller's error: say so on standard error and give 0.
bool OutsideUnitInterval(double p) {
  if (p < 0) {
    std::fputs("probabilidade em apinvte menor que zero \n", stderr);
    return true;
  }
  if (p > 1) {
    std::fputs("probabilidade em apinvte maior que 1 \n", stderr);
    return true;
  }
  return false;
}

}  // namespace

double apinvte(std::int32_t df, double p) {
  if (p <= 0 || p >= 1) {
    if (OutsideUnitInterval(p)) return 0;
    return p == 0 ? -kInfiniteQuantile : kInfiniteQuantile;
  }
  if (df == 1 || df == 2) return InverseTClosedForms(df, p);
  return HillInverseT(df, p);
}

double QuantilTReal(double df, double p) {
  if (p <= 0 || p >= 1) {
    if (OutsideUnitInterval(p)) return 0;
    return p == 0 ? -kInfiniteQuantile : kInfiniteQuantile;
  }
  const double nearest = std::nearbyint(df);  // ties to even in the default rounding mode
  if (nearest == 1) return InverseTClosedForms(1, p);
  if (nearest == 2) return InverseTClosedForms(2, p);
  return HillInverseT(df, p);
}

namespace detail {

double PeizerPrattF(std::int32_t m_df, std::int32_t n_df, double f) {
  if (m_df == 1) return 2 * ProbT(n_df, std::sqrt(f)) - 1;
  if (n_df == 1) return 2 - 2 * ProbT(m_df, std::sqrt(1 / f));
  const double m = m_df;
  const double n = n_df;
  const double s = m + n;
  const double a = (n - 1) / 2;
  const double g = (s - 2) / 2;
  const double l = n / (m * f + n);
  const double o = 1 - l;
  const double d = a + 1.0 / 6 - (g + 1.0 / 3) * l + 0.04 * (o / n - l / m + (o + 0.5) / s);
  const double w = std::sqrt((1 + o * GPeizerPratt(a / g / l) + l * GPeizerPratt(((m - 1) / 2) / g / o)) /
                             ((g + 1.0 / 6) * l * o));
  return ProbNormal(d * w);
}

double SoperIncompleteBeta(std::int32_t m_df, std::int32_t n_df, double f) {
  const double m = m_df;
  const double n = n_df;
  const double x = m * f / (m * f + n);
  const double big_p = m / 2;
  const double big_q = n / 2;
  const double beta = LnGamaMeio(big_p) + LnGamaMeio(big_q) - LnGamaMeio(big_p + big_q);
  // AS 63 tail choice: sum the series on the side where it converges fast.
  const bool complement = !(big_p >= (big_p + big_q) * x);
  const double xx = complement ? 1 - x : x;
  const double pp = complement ? big_q : big_p;
  const double qq = complement ? big_p : big_q;
  const double cx = 1 - xx;
  double psq = big_p + big_q;
  double term = 1, sum = 1, ai = 1;
  double ns = std::trunc(qq + cx * psq);  // kept as a double: exact, and no overflow
  double rx = xx / cx;
  double temp = qq - ai;
  if (ns == 0) rx = xx;
  const std::int64_t cap = SeriesCap(m + n);
  for (std::int64_t pass = 0; pass < cap; ++pass) {
    term = term * temp * rx / (pp + ai);
    sum += term;
    ai += 1;
    ns -= 1;
    if (ns >= 0) {
      temp = qq - ai;
      if (ns == 0) rx = xx;
    } else {
      temp = psq;
      psq += 1;
    }
    if (std::fabs(term) < 5e-6 && std::fabs(term) < 5e-6 * sum) break;
  }
  const double r = sum * std::exp(pp * std::log(xx) + (qq - 1) * std::log(cx) - beta) / pp;
  return complement ? 1 - r : r;
}

}  // namespace detail

double ProbFAprox(std::int32_t m, std::int32_t n, double f) {
  if (f <= 0) f = 1e-11;
  return detail::PeizerPrattF(m, n, f);
}

double ProbF(std::int32_t m, std::int32_t n, double f) {
  if (f < 1e-8) f = 1e-5;
  if (std::isinf(f)) return 1;  // the limit; the series would see 1 - x = NaN
  if (m == 1 || n == 1) return ProbFAprox(m, n, f);
  // Clamping the complemented value equals complementing the clamped one.
  const double r = detail::SoperIncompleteBeta(m, n, f);
  return std::clamp(r, 0.0, 1.0);
}

// Paulson's approximation: the Wilson-Hilferty transform of F solved for f^(1/3).
double QuantilFPaulson(std::int32_t m_df, std::int32_t n_df, double p) {
  double z = QuantilNormal(p);
  const double m = m_df;
  const double n = n_df;
  if (n_df <= 3) {
    const double k = std::pow(n * n * n, 0.25);
    const double u = z / k;
    z = z * (1.1581 - u * (0.229 + u * (0.0042 + 0.0027 * u)));
  }
  const double e = 2 / (9 * m);
  const double h = 2 / (9 * n);
  const double g = e + h - e * h - 1;
  const double k2 = h * (h - z * z - 2) + 1;
  const double k1 = e * (e - z * z - 2) + 1;
  double d = g * g - k2 * k1;
  // Near p = 0.5 the discriminant is a difference of two nearly equal products (exactly 0
  // at z = 0); a negative value within their rounding error is 0, not a missing root.
  if (d < 0 && -d <= 64 * std::numeric_limits<double>::epsilon() * (g * g + std::fabs(k2 * k1))) {
    d = 0;
  }
  const double y = (std::sqrt(d) - g) / k2;
  return y * y * y;
}

double QuantilF(std::int32_t m, std::int32_t n, double p) {
  if (p > 0.998) return QuantilFPaulson(m, n, p);
  if (m == 1) {
    const double t = apinvte(n, (p + 1) / 2);
    return t * t;
  }
  if (n == 1) {
    const double t = 1 / apinvte(m, (2 - p) / 2);
    return t * t;
  }
  const bool swapped = !(p >= 0.5);
  const std::int32_t a = swapped ? n : m;
  const std::int32_t b = swapped ? m : n;
  const double pp = swapped ? 1 - p : p;
  double x0 = QuantilFPaulson(a, b, pp);
  double x1 = QuantilFPaulson(a, b, (pp + 1) / 2);
  double f0 = ProbF(a, b, x0);
  double x2 = x1;
  for (int pass = 0; pass < kMaxSecantSteps; ++pass) {
    const double f1 = ProbF(a, b, x1);
    x2 = x0 + (x1 - x0) * (pp - f0) / (f1 - f0);
    if (x2 < 0) x2 = 0.001;
    const double d = std::fabs(x1 - x0);
    x0 = x1;
    f0 = f1;
    x1 = x2;
    if (d < 1e-4) break;
  }
  return swapped ? 1 / x2 : x2;
}

double QuantilQuiWH(double v, double p) {
  const double z = QuantilNormal(p);
  const double e = 2 / (9 * v);
  const double b = 1 - e + z * std::sqrt(e);
  return b < 0 ? 0 : v * b * b * b;
}

// Best and Roberts (1975), algorithm AS 91, with its seven-term Taylor series.
double QuantilQui(std::int32_t v_df, double p) {
  if (p < 2e-6) return 0;
  if (p > 0.999998) return kInfiniteQuantile;
  const double v = v_df;
  const double xx = v / 2;
  const double c = xx - 1;
  const double g = LnGamaMeio(xx);
  double ch;
  if (v < -1.24 * std::log(p)) {
    ch = std::pow(p * xx * std::exp(g + xx * kLn2), 1 / xx);
  } else {
    ch = QuantilQuiWH(v, p);
    if (ch >= 4 * v + 6) ch = -2 * (g + std::log(1 - p) - c * std::log(ch / 2));
  }
  if (ch < 5e-7) return ch;
  for (int pass = 0; pass < kMaxSecantSteps; ++pass) {
    const double q = ch;
    const double p1 = ch / 2;
    const double p2 = p - detail::GamaIncQui(p1, xx, g);
    const double t = p2 * std::exp(xx * kLn2 + g + p1 - c * std::log(ch));
    const double b = t / ch;
    const double a = t / 2 - b * c;
    const double s1 = (210 + a * (140 + a * (105 + a * (84 + a * (70 + 60 * a))))) / 420;
    const double s2 = (420 + a * (735 + a * (966 + a * (1141 + 1278 * a)))) / 2520;
    const double s3 = (210 + a * (462 + a * (707 + 932 * a))) / 2520;
    const double s4 = (252 + a * (672 + 1182 * a) + c * (294 + a * (889 + 1740 * a))) / 5040;
    const double s5 = (84 + 264 * a + c * (175 + 606 * a)) / 2520;
    const double s6 = (120 + c * (346 + 127 * c)) / 5040;
    ch = ch + t * (1 + (t / 2) * s1 -
                   b * c * (s1 - b * (s2 - b * (s3 - b * (s4 - b * (s5 - b * s6))))));
    if (std::fabs(q / ch - 1) <= 5e-7) break;
  }
  return ch;
}

// Lanczos' approximation, g = 7, nine coefficients.
double LnGama(double x, std::int32_t& error) {
  static constexpr double kC[9] = {0.9999999999995183,  676.5203681218835,
                                   -1259.139216722289,  771.3234287757674,
                                   -176.6150291498386,  12.50734324009056,
                                   -0.1385710331296526, 9.934937113930748e-6,
                                   1.659470187408462e-7};
  if (x <= 0) {
    error = 1;
    return 0;
  }
  error = 0;
  double sum = 0;
  for (int k = 8; k >= 1; --k) sum += kC[k] / (x + k - 1);
  return std::log(kC[0] + sum) + 0.9189385332046727 - (x + 6.5) + (x - 0.5) * std::log(x + 6.5);
}

// Shea (1988), algorithm AS 239, with limits 5000 (normal approximation) and 1e18.
double GamaIncompleta(double x, double p, std::int32_t& error) {
  if (p <= 0 || x < 0) {
    error = 1;
    return 0;
  }
  error = 0;
  if (x == 0) return 0;
  if (p > 5000) return ProbNormal(3 * std::sqrt(p) * (std::cbrt(x / p) + 1 / (9 * p) - 1));
  if (x > 1e18) return 1;
  std::int32_t lg_error = 0;
  if (x <= 1 || x < p) {
    double arg = p * std::log(x) - x - LnGama(p + 1, lg_error);
    double c = 1, sum = 1, a = p;
    const std::int64_t cap = SeriesCap(p);
    for (std::int64_t pass = 0; pass < cap; ++pass) {
      a += 1;
      c = c * x / a;
      sum += c;
      if (c <= 1e-14) break;
    }
    arg += std::log(sum);
    return arg >= -88 ? std::exp(arg) : 0;
  }
  double arg = p * std::log(x) - x - LnGama(p, lg_error);
  double a = 1 - p;
  double b = a + x + 1;
  double term = 0;
  double pn1 = 1, pn2 = x, pn3 = x + 1, pn4 = x * b;
  double g = pn3 / pn4;
  const std::int64_t cap = SeriesCap(p);
  for (std::int64_t pass = 0; pass < cap; ++pass) {
    a += 1;
    b += 2;
    term += 1;
    const double an = a * term;
    const double pn5 = b * pn3 - an * pn1;
    const double pn6 = b * pn4 - an * pn2;
    if (pn6 != 0) {
      const double rn = pn5 / pn6;
      if (std::fabs(g - rn) <= std::min(1e-14, 1e-14 * rn)) break;
      g = rn;
    }
    pn1 = pn3;
    pn2 = pn4;
    pn3 = pn5;
    pn4 = pn6;
    if (std::fabs(pn5) >= 1e37) {
      pn1 /= 1e37;
      pn2 /= 1e37;
      pn3 /= 1e37;
      pn4 /= 1e37;
    }
  }
  arg += std::log(g);
  return arg >= -88 ? 1 - std::exp(arg) : 1;
}

double ProbGama(double x, double shape, double scale) {
  if (x <= 0) return 0;
  std::int32_t error = 0;
  return GamaIncompleta(x / scale, shape, error);
}

double ProbPoisson(double lambda, std::int32_t k) {
  if (!(lambda > 0 && k >= 0)) return 0;
  std::int32_t error = 0;
  return 1 - GamaIncompleta(lambda, static_cast<double>(k) + 1, error);
}

}  // namespace tolmex::numeric
