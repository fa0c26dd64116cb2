#include "anova/means/means_tests.h"

namespace tolmex::anova {

std::vector<Group> GruposSNK(const std::vector<LevelMean>& sorted,
                             const std::function<double(std::int32_t)>& dms_of_span) {
  std::vector<Group> groups;
  const auto k = static_cast<std::int32_t>(sorted.size());
  auto media = [&](std::int32_t pos) { return sorted[static_cast<std::size_t>(pos - 1)].media; };
  for (std::int32_t s = k; s >= 2; --s) {
    const double dms = dms_of_span(s);
    for (std::int32_t i = 1; i <= k - s + 1; ++i) {
      const std::int32_t end = i + s - 1;
      if (!(media(i) + dms >= media(end))) continue;
      bool inside = false;
      for (const Group& g : groups)
        if (g.inicio <= i && g.fim >= end) {
          inside = true;
          break;
        }
      if (!inside) groups.push_back({i, end});
    }
  }
  for (std::int32_t h = 1; h <= k; ++h) {
    bool covered = false;
    for (const Group& g : groups)
      if (g.inicio <= h && h <= g.fim) {
        covered = true;
        break;
      }
    if (!covered) groups.push_back({h, h});
  }
  return groups;
}

}  // namespace tolmex::anova
