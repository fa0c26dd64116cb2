#include "anova/means/means_tests.h"

namespace tolmex::anova {

LevelMeans MediasNiveis(std::int32_t first, std::int32_t last,
                        const std::function<bool(std::int32_t, std::int32_t)>& same_level,
                        const std::function<double(std::int32_t)>& value,
                        const std::function<std::string(std::int32_t)>& label) {
  LevelMeans out;
  if (last < first) return out;
  double harmonic = 0;
  std::int32_t start = first;  // first record of the current level
  double sum = 0;
  double count = 0;
  auto finish = [&](std::int32_t last_record) {
    LevelMean m;
    m.n = count;
    m.media = sum / count;
    m.nivel = static_cast<std::int32_t>(out.means.size()) + 1;
    m.ultimo = last_record;
    m.label = label(last_record);
    out.means.push_back(std::move(m));
    harmonic += 1.0 / count;
  };
  for (std::int32_t rec = first; rec <= last; ++rec) {
    if (rec != start && !same_level(start, rec)) {
      finish(rec - 1);
      start = rec;
      sum = 0;
      count = 0;
    }
    sum += value(rec);
    count += 1;
  }
  finish(last);
  out.r = static_cast<double>(out.means.size()) / harmonic;
  return out;
}

}  // namespace tolmex::anova
