#include <utility>

#include "anova/means/means_tests.h"

namespace tolmex::anova {

namespace {

// Wirth's quicksort on positions lo ... hi (0-based here); the middle element is the pivot.
void Ordena(std::vector<LevelMean>& v, std::ptrdiff_t lo, std::ptrdiff_t hi) {
  // Recurse on the smaller side and loop on the larger one, so that the depth stays
  // logarithmic; the exchanges are those of the plain two-call form.
  while (lo < hi) {
    const double pivot = v[static_cast<std::size_t>((lo + hi) / 2)].media;
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    do {
      while (v[static_cast<std::size_t>(i)].media < pivot) ++i;
      while (pivot < v[static_cast<std::size_t>(j)].media) --j;
      if (i <= j) {
        std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) Ordena(v, lo, j);
      lo = i;
    } else {
      if (i < hi) Ordena(v, i, hi);
      hi = j;
    }
  }
}

}  // namespace

void OrdenaMedias(std::vector<LevelMean>& means) {
  if (means.size() > 1) Ordena(means, 0, static_cast<std::ptrdiff_t>(means.size()) - 1);
}

bool SortsMeans(std::int32_t code) { return (code >= 0 && code <= 5) || code == kWallerDuncan; }

bool IsMeansTest(std::int32_t code) { return (code >= 1 && code <= 5) || code == kWallerDuncan; }

}  // namespace tolmex::anova
