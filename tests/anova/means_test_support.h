#pragma once
// Helpers of the tests of means.
#include <string>
#include <vector>

#include "anova/means/means_tests.h"

namespace tolmex::anova::testing {

// Means with labels "L1", "L2", ... in the given order.
inline std::vector<LevelMean> Medias(const std::vector<double>& values) {
  std::vector<LevelMean> out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    LevelMean m;
    m.n = 1;
    m.media = values[i];
    m.nivel = static_cast<std::int32_t>(i + 1);
    m.ultimo = static_cast<std::int32_t>(i + 1);
    m.label = "L" + std::to_string(i + 1);
    out.push_back(m);
  }
  return out;
}

inline const std::string kRule(80, '-');

}  // namespace tolmex::anova::testing
