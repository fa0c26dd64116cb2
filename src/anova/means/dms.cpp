#include <cmath>

#include "anova/means/means_tests.h"
#include "numeric/means_distributions.h"
#include "numeric/studentized_range.h"
#include "numeric/waller_duncan.h"

namespace tolmex::anova {

double NivelAgrupa(double op_alpha) {
  if (!(op_alpha > 0 && op_alpha < 0.5)) return 0.05;
  return op_alpha;
}

namespace {
double Clamp01a10(double a) {
  if (std::isnan(a)) return 0.05;
  if (a > 0.1) return 0.1;
  if (a < 0.01) return 0.01;
  return a;
}
}  // namespace

double NivelTukey(double op_alpha) { return Clamp01a10(NivelAgrupa(op_alpha)); }

double NivelSNK(double op_alpha) { return Clamp01a10(op_alpha); }

double NivelScottKnott(double op_alpha) {
  if (!(op_alpha > 0 && op_alpha < 1)) return 0.05;
  return op_alpha;
}

double DmsTukey(double alpha, const ErrorLine& e, double r, std::int32_t k) {
  if (e.gl <= 0) return 0;
  std::int32_t error = 0;
  const double q = numeric::QuantilAmplitude(1 - alpha, e.gl, k, error);
  return q * std::sqrt(e.qm / r);
}

double DmsBonferroni(double alpha, const ErrorLine& e, double r, std::int32_t k) {
  if (e.gl <= 0) return 0;
  const double c = static_cast<double>(k) * (k - 1) / 2;
  // With fewer than two means there is no pair to compare: no critical difference (the t
  // quantile of a probability of minus infinity is meaningless).
  if (c <= 0) return 0;
  return numeric::means::apinvte(e.gl, 1 - alpha / (2 * c)) * std::sqrt(2 * e.qm / r);
}

double DmsLSD(double alpha, const ErrorLine& e, double r) {
  if (e.gl <= 0) return 0;
  return numeric::means::apinvte(e.gl, 1 - alpha / 2) * std::sqrt(2 * e.qm / r);
}

double DmsWaller(double t, const ErrorLine& e, double r) {
  if (e.gl <= 0) return 0;
  return t * std::sqrt(2 * e.qm / r);
}

double TWallerMedias(double k_waller, std::int32_t k, const ErrorLine& e, double fc) {
  // The treatments' degrees of freedom, not the number of treatments.
  return numeric::TCriticoWaller(k_waller, static_cast<double>(k) - 1, e.gl, fc);
}

}  // namespace tolmex::anova
