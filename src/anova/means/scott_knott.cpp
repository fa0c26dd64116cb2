#include "anova/means/means_tests.h"
#include "numeric/means_distributions.h"

namespace tolmex::anova {

namespace {
constexpr double kPiSobre2PiMenos2 = 1.3759691969420542;  // pi / (2 (pi - 2))
constexpr double kPiMenos2 = 1.1415926535897933;          // pi - 2
}  // namespace

ParticaoResult ParticaoSK(const std::vector<LevelMean>& sorted, std::int32_t a, std::int32_t b) {
  auto y = [&](std::int32_t pos) { return sorted[static_cast<std::size_t>(pos - 1)].media; };
  const std::int32_t n = b - a + 1;
  double t = 0;
  double sq = 0;
  for (std::int32_t i = a; i <= b; ++i) {
    t += y(i);
    sq += y(i) * y(i);
  }
  ParticaoResult res;
  res.ssm = sq - t * t / n;
  res.b0 = -1;
  res.s = a - 1;
  double t1 = 0;
  for (std::int32_t k1 = 1; k1 <= n - 1; ++k1) {
    t1 += y(a + k1 - 1);
    const double t2 = t - t1;
    const double bb = t1 * t1 / k1 + t2 * t2 / (n - k1) - t * t / n;
    if (res.b0 < bb) {
      res.b0 = bb;
      res.s = a + k1 - 1;
    }
  }
  return res;
}

void DivideSK(const std::vector<LevelMean>& sorted, std::int32_t a, std::int32_t b, double alpha,
              const ErrorLine& e, double r, std::vector<Group>& groups) {
  if (a != b) {
    const ParticaoResult p = ParticaoSK(sorted, a, b);
    const double n = b - a + 1;
    const double sigma2 = (p.ssm + e.gl * e.qm / r) / (n + e.gl);
    const double lambda = kPiSobre2PiMenos2 * p.b0 / sigma2;
    const double v = n / kPiMenos2;
    const double prob = lambda <= 0 ? 1.0 : 1 - numeric::means::ProbQui(v, lambda);
    // A split outside a ... b - 1 only arises from non-finite means; such a range is kept
    // whole instead of recursing without end.
    if (alpha >= prob && p.s >= a && p.s < b) {
      DivideSK(sorted, a, p.s, alpha, e, r, groups);
      DivideSK(sorted, p.s + 1, b, alpha, e, r, groups);
      return;
    }
  }
  groups.push_back({a, b});
}

std::vector<Group> GruposScottKnott(const std::vector<LevelMean>& sorted, double alpha,
                                    const ErrorLine& e, double r) {
  std::vector<Group> groups;
  if (!sorted.empty()) DivideSK(sorted, 1, static_cast<std::int32_t>(sorted.size()), alpha, e, r, groups);
  return groups;
}

}  // namespace tolmex::anova
