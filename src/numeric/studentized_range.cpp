// The studentized range: Lund and Lund (1983), algorithms AS 190 and AS 190.2, with this
// program's cut-offs, and its own bracketing and secant search for the quantile.
#include "numeric/studentized_range.h"

#include <array>
#include <cmath>

#include "numeric/distributions.h"
#include "numeric/internal.h"
#include "shell/convert.h"

namespace tolmex::numeric {

namespace {

constexpr double kStep = 0.45;
constexpr double kVMax = 1e6;
constexpr double kCv1 = 0.193064705;
constexpr double kCv2 = 0.293525326;
constexpr double kCvMax = 0.39894228;
constexpr double kCv[4] = {0.318309886, -0.00268132716, 0.00347222222, 0.0833333333};
constexpr int kJMin = 3;
constexpr int kJMax = 15;
constexpr int kKMin = 7;
constexpr int kKMax = 15;

// Bracketing passes of QuantilAmplitude: steps of 0.4 reach 4000 above or below the start.
constexpr int kMaxBracketSteps = 10'000;

// exp(-80): terms whose logarithm falls below -80 count as 0.
const double kTermFloor = std::exp(-80.0);

// x^n for x in (0, 1]: by squaring when n is a whole number (the usual case, n = r - 1),
// which is several times cheaper than exp(n log x) in the innermost loop.
double PowTerm(double x, double n) {
  if (n >= 0 && n <= 4096 && n == std::floor(n)) {
    auto k = static_cast<unsigned>(n);
    double result = 1, base = x;
    while (k) {
      if (k & 1u) result *= base;
      base *= base;
      k >>= 1;
    }
    return result;
  }
  return std::pow(x, n);
}

}  // namespace

double ProbAmplitude(double q, double v, double r, std::int32_t& error) {
  error = 0;
  double result = 0;
  if (v < 1 || r < 2) error = 1;
  if (q <= 0 || error == 1) return 0;

  // The integrand is heavy-tailed for few df: tighter cut-offs there.
  const double pcutj = v <= 7 ? 3e-7 : 3e-5;
  const double pcutk = v <= 7 ? 1e-5 : 1e-4;

  const double g = kStep * std::pow(r, -0.2);
  const double gmid = std::log(r) / 2;
  const double r1 = r - 1;
  double c = std::log(r * g * kCvMax);
  double h = 0;
  if (v <= kVMax) {
    h = kStep / std::sqrt(v);
    const double v2 = v / 2;
    if (v == 1) {
      c = kCv1;
    } else if (v == 2) {
      c = kCv2;
    } else {
      c = std::sqrt(v2) * kCv[0] / (1 + ((kCv[1] / v2 + kCv[2]) / v2 + kCv[3]) / v2);
    }
    c = std::log(c * r * g * h);
  }

  // Node caches, 1-based as the algorithm indexes them; a value <= 0 means not computed.
  // ew holds exp(vw), so that each term is exp(w0) exp(vw) x^(r-1) without a log and an exp.
  std::array<double, 2 * kJMax + 2> qw;
  std::array<double, 2 * kJMax + 2> ew{};
  qw.fill(-1);

  double gstep = g;
  double pk1 = 1, pk2 = 1;
  for (int k = 1; k <= kKMax; ++k) {
    gstep -= g;
    do {
      gstep = -gstep;
      const double gk = gmid + gstep;
      double pk = 0;
      if (!(pk2 <= pcutk && k > kKMin)) {
        const double ew0 = std::exp(c - gk * gk / 2);
        const double pz = 1 - detail::HartProbNormal(gk);
        double x = (1 - detail::HartProbNormal(gk - q)) - pz;
        if (x > 0) {
          pk = ew0 * PowTerm(x, r1);
          if (pk < kTermFloor) pk = 0;
        }
        if (v <= kVMax) {
          for (int jump = 0; jump <= kJMax; jump += kJMax) {
            for (int j = 1; j <= kJMax; ++j) {
              const int jj = j + jump;
              if (qw[jj] <= 0) {
                const double hj = h * j;
                if (j < kJMax) qw[jj + 1] = -1;
                const double ehj = std::exp(hj);
                qw[jj] = q * ehj;
                ew[jj] = std::exp(v * (hj + 0.5 - ehj * ehj / 2));
              }
              x = (1 - detail::HartProbNormal(gk - qw[jj])) - pz;
              double pj = 0;
              if (x > 0) {
                pj = ew0 * ew[jj] * PowTerm(x, r1);
                if (pj < kTermFloor) pj = 0;
              }
              pk += pj;
              if (pj <= pcutj && (jj > kJMin || k > kKMin)) break;
            }
            h = -h;
          }
        }
      }
      result += pk;
      if (k > kKMin && pk <= pcutk && pk1 <= pcutk) return result;
      pk2 = pk1;
      pk1 = pk;
    } while (gstep > 0);
  }
  return result;
}

double QuantilAmplitude0(double p, double v, double r) {
  constexpr double c1 = 0.8843, c2 = 0.2368, c3 = 1.214, c4 = 1.208, c5 = 1.4142;
  constexpr double vmax = 120;
  double t = QuantilNormal(0.5 + 0.5 * p);
  if (v < vmax) t += (t * t * t + t) / v / 4;
  double s = c1 - c2 * t;
  if (v < vmax) s = s - c3 / v + c4 * t / v;
  return t * (s * std::log(r - 1) + c5);
}

double QuantilAmplitude(double p, double v, double r, std::int32_t& error) {
  error = 0;
  // Checked before the two-means case as well: there v < 1 would reach the t quantile
  // with 0 or negative df and give NaN without an error.
  if (v < 1 || r < 2) {
    error = 1;
    return 0;
  }
  if (r == 2) return std::sqrt(2.0) * apinvte(shell::TruncToInt(v), p / 2 + 0.5);

  constexpr double eps = 0.0001;
  std::int32_t pa_error = 0;
  double q1 = QuantilAmplitude0(p, v, r);

  // Lower end of the bracket: step down until P(q1) < p.
  double p1 = 0;
  bool bracketed = false;
  for (int step = 0; step < kMaxBracketSteps; ++step) {
    p1 = ProbAmplitude(q1, v, r, pa_error);
    if (pa_error != 0) {
      error = 9;
      return 0;
    }
    const bool below = p > p1;
    if (p1 > p) q1 -= 0.4;
    if (q1 < 0) q1 = 0.1;
    if (below) {
      bracketed = true;
      break;
    }
  }
  if (!bracketed) {
    error = 8;
    return q1;
  }
  double qn = q1;

  // Upper end: step up until P(q2) > p.
  double q2 = q1 + 0.5;
  double p2 = 0;
  bracketed = false;
  for (int step = 0; step < kMaxBracketSteps; ++step) {
    p2 = ProbAmplitude(q2, v, r, pa_error);
    if (pa_error != 0) {
      error = 9;
      return 0;
    }
    const bool above = p2 > p;
    if (p > p2) q2 += 0.4;
    if (q2 < 0) q2 = 1;
    if (above) {
      bracketed = true;
      break;
    }
  }
  if (!bracketed) {
    error = 8;
    return q2;
  }
  // P(q2) is known from the bracket unless q2 has to move.
  bool p2_known = true;
  if (q1 > q2) {
    q2 = q1 + 0.01;
    p2_known = false;
  }

  // Secant passes on the bracket. P is a deterministic function of q, so a value already
  // computed for the same q is reused, and once a pass leaves every working value as it
  // was, the remaining passes would repeat it: both only save time.
  for (int counter = 2; counter <= 18; ++counter) {
    if (!p2_known) {
      p2 = ProbAmplitude(q2, v, r, pa_error);
      if (pa_error != 0) {
        error = 9;
        break;
      }
    }
    const double old_q1 = q1, old_p1 = p1, old_q2 = q2, old_qn = qn;
    const double e1 = p1 - p;
    const double e2 = p2 - p;
    if (e2 != e1) qn = (e2 * q1 - e1 * q2) / (e2 - e1);
    if (std::fabs(e2) > std::fabs(e1)) {
      const bool last = std::fabs(p1 - p) < 5 * eps;
      q1 = qn;
      if (q1 != old_q1) {
        p1 = ProbAmplitude(q1, v, r, pa_error);
        if (pa_error != 0) {
          error = 9;
          break;
        }
      }
      p2_known = true;  // q2 stays
      if (last) break;
    } else {
      q1 = q2;
      p1 = p2;
      q2 = qn;
      p2_known = q2 == old_q2;
    }
    if (q1 == old_q1 && p1 == old_p1 && q2 == old_q2 && qn == old_qn) break;
  }
  return qn;
}

}  // namespace tolmex::numeric
