// The Waller-Duncan k-ratio t: the t at which the ratio of the two Bayesian integrals
// reaches k, found by bisection; the integrals over u in (1, inf) by a 32-point
// Gauss-Legendre rule after the change of variable u = (x + 1) / (1 - x) + 1.
#include "numeric/waller_duncan.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "numeric/distributions.h"
#include "shell/convert.h"

namespace tolmex::numeric {

// Roots of the Legendre polynomial P32 and their weights 2 / ((1 - x^2) P32'(x)^2).
const std::array<double, 32> kGaussLegendre32Nodes = {
-0.99726386184948156,
    -0.98561151154526834,
    -0.96476225558750643,
    -0.93490607593773969,
    -0.89632115576605212,
    -0.84936761373256997,
    -0.79448379596794241,
    -0.73218211874028968,
    -0.66304426693021520,
    -0.58771575724076233,
    -0.50689990893222939,
    -0.42135127613063535,
    -0.33186860228212765,
    -0.23928736225213707,
    -0.14447196158279649,
    -0.048307665687738316,
    0.048307665687738316,
    0.14447196158279649,
    0.23928736225213707,
    0.33186860228212765,
    0.42135127613063535,
    0.50689990893222939,
    0.58771575724076233,
    0.66304426693021520,
    0.73218211874028968,
    0.79448379596794241,
    0.84936761373256997,
    0.89632115576605212,
    0.93490607593773969,
    0.96476225558750643,
    0.98561151154526834,
    0.99726386184948156};

const std::array<double, 32> kGaussLegendre32Weights = {
0.0070186100094700966,
    0.016274394730905671,
    0.025392065309262059,
    0.034273862913021433,
    0.042835898022226681,
    0.050998059262376176,
    0.058684093478535547,
    0.065822222776361847,
    0.072345794108848506,
    0.078193895787070306,
    0.083311924226946755,
    0.087652093004403811,
    0.091173878695763885,
    0.093844399080804566,
    0.095638720079274859,
    0.096540088514727801,
    0.096540088514727801,
    0.095638720079274859,
    0.093844399080804566,
    0.091173878695763885,
    0.087652093004403811,
    0.083311924226946755,
    0.078193895787070306,
    0.072345794108848506,
    0.065822222776361847,
    0.058684093478535547,
    0.050998059262376176,
    0.042835898022226681,
    0.034273862913021433,
    0.025392065309262059,
    0.016274394730905671,
    0.0070186100094700966};

namespace {

constexpr double kPi = 3.141592653589793;

// One log-integrand of the Waller-Duncan ratio: a closure over (t, Fc, q, f); the
// numerator uses +t a(u) and the denominator -t a(u).
struct TLogFunc {
  double t;
  double Fc;
  double q;
  double f;
  double sign;
};

TLogFunc CreateN0LogFunc(double t, double q, double f, double Fc) { return {t, Fc, q, f, 1}; }
TLogFunc CreateD0LogFunc(double t, double q, double f, double Fc) { return {t, Fc, q, f, -1}; }

// What depends only on nu = f + q, computed once per critical value.
struct WallerT {
  double nu;
  std::int32_t nu_rounded;
  double log_density_constant;  // ln Gamma((nu + 1) / 2) - ln Gamma(nu / 2) - ln(nu pi) / 2
};

double LogNucleoWaller(const TLogFunc& fn, double u) {
  return -((fn.q + 3) / 2) * std::log(u) - ((fn.f + fn.q - 1) / 2) * std::log(fn.f + fn.q * fn.Fc / u);
}

double DensidadeT(double z, const WallerT& w) {
  return std::exp(w.log_density_constant - ((w.nu + 1) / 2) * std::log(z * z / w.nu + 1));
}

double PsiWaller(double z, const WallerT& w) {
  const double psi = ((w.nu + z * z) / (w.nu - 1)) * DensidadeT(z, w) + z * ProbT(w.nu_rounded, z);
  return psi < 1e-300 ? 1e-300 : psi;
}

double LogIntegrand(const TLogFunc& fn, const WallerT& w, double u) {
  const double a = std::sqrt((fn.f + fn.q) * (u - 1) / (fn.f * u + fn.q * fn.Fc));
  return std::log(u - 1) / 2 + LogNucleoWaller(fn, u) + std::log(PsiWaller(fn.sign * fn.t * a, w));
}

// Both integrals at once, scaled by the common factor exp(-M) of their largest log-integrand
// so that the ratio stays exact while neither sum overflows.
void IntegraLogFunc(const TLogFunc& num, const TLogFunc& den, const WallerT& w, double& n_sum,
                    double& d_sum) {
  std::array<double, 32> log_n;
  std::array<double, 32> log_d;
  double m = -1e300;
  for (int i = 0; i < 32; ++i) {
    const double x = kGaussLegendre32Nodes[i];
    const double u = (x + 1) / (1 - x) + 1;
    log_n[i] = LogIntegrand(num, w, u);
    log_d[i] = LogIntegrand(den, w, u);
    if (log_n[i] > m) m = log_n[i];
    if (log_d[i] > m) m = log_d[i];
  }
  n_sum = 0;
  d_sum = 0;
  for (int i = 0; i < 32; ++i) {
    const double x = kGaussLegendre32Nodes[i];
    const double jacobian = 2 / ((1 - x) * (1 - x));
    n_sum += kGaussLegendre32Weights[i] * std::exp(log_n[i] - m) * jacobian;
    d_sum += kGaussLegendre32Weights[i] * std::exp(log_d[i] - m) * jacobian;
  }
}

}  // namespace

double TCriticoWaller(double k, double q, double f, double Fc) {
  double lo = 1, hi = 40;
  double t = lo;
  const double nu = f + q;
  // The t distribution function needs whole df; df that cannot be rounded to a 32-bit
  // integer make the integrals impossible to evaluate.
  const std::optional<std::int32_t> nu_rounded = shell::TryRoundToInt(nu);
  std::int32_t lg_error = 0;
  const WallerT w{nu, nu_rounded.value_or(0),
                  LnGama((nu + 1) / 2, lg_error) - LnGama(nu / 2, lg_error) -
                      std::log(nu * kPi) / 2};
  for (int pass = 0; pass < 250; ++pass) {
    t = (lo + hi) / 2;
    if (!nu_rounded) {
      std::fputs("Erro no cálculo: graus de liberdade inválidos para a distribuição t\n", stderr);
      break;
    }
    double n_sum = 0, d_sum = 0;
    IntegraLogFunc(CreateN0LogFunc(t, q, f, Fc), CreateD0LogFunc(t, q, f, Fc), w, n_sum, d_sum);
    const double d = d_sum == 0 ? -1 : k - n_sum / d_sum;
    if (d > 0 || std::isnan(d)) {
      lo = t;
    } else {
      hi = t;
    }
    if (std::fabs(hi - lo) <= 1e-9) break;
  }
  return t;
}

}  // namespace tolmex::numeric
