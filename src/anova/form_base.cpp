#include "anova/form_base.h"

#include <charconv>
#include <cmath>

namespace tolmex::anova {

std::optional<double> ParseDotNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string_view s = text;
  if (s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+') return std::nullopt;
  double v = 0;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace tolmex::anova
