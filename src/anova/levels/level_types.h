#pragma once
// Plain inputs shared by contrasts, regression on levels and the splitting of interactions.
#include <cstdint>
#include <string>

namespace tolmex::anova::levels {

// The error line a procedure tests against: degrees of freedom, sum of squares, mean square.
struct ErrorLine {
  std::int32_t gl = 0;
  double sq = 0;
  double qm = 0;
};

// Which copy of a procedure runs: the one called for a main effect, or the one the splitting
// of an interaction runs within each combination (slightly different texts and rules).
enum class Copy { Main, Splitting };

// Rule line of 80 "-" and the report line end.
inline const std::string kRule(80, '-');
inline constexpr const char* kEol = "\r\n";

}  // namespace tolmex::anova::levels
