#include "anova/means/means_tests.h"

namespace tolmex::anova {

std::vector<Group> AgrupaMedias(const std::vector<LevelMean>& sorted, double dms) {
  std::vector<Group> groups;
  const auto k = static_cast<std::int32_t>(sorted.size());
  for (std::int32_t i = 1; i <= k; ++i) {
    const double lim = sorted[static_cast<std::size_t>(i - 1)].media + dms;
    std::int32_t last = i;
    for (std::int32_t j = i + 1; j <= k; ++j)
      if (lim >= sorted[static_cast<std::size_t>(j - 1)].media) last = j;
    if (groups.empty() || groups.back().fim < last) groups.push_back({i, last});
  }
  return groups;
}

}  // namespace tolmex::anova
