#include "shell/convert.h"

#include <cmath>
#include <limits>

namespace tolmex::shell {

namespace {
template <typename Int>
std::optional<Int> FromIntegral(double v) {
  // v is already integral here; compare in double against exactly representable bounds.
  constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
  constexpr double hi = -lo;  // 2^(bits-1), exactly representable, one past the maximum
  if (!(v >= lo && v < hi)) return std::nullopt;
  return static_cast<Int>(v);
}

template <typename Int>
Int Clamp(double v) {
  if (std::isnan(v)) return 0;
  if (auto r = FromIntegral<Int>(v)) return *r;
  return v < 0 ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
}
}  // namespace

std::optional<std::int32_t> TryTruncToInt(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  return FromIntegral<std::int32_t>(std::trunc(x));
}

std::optional<std::int64_t> TryTruncToInt64(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  return FromIntegral<std::int64_t>(std::trunc(x));
}

std::optional<std::int32_t> TryRoundToInt(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  return FromIntegral<std::int32_t>(std::nearbyint(x));  // default mode: to nearest, ties even
}

std::int32_t TruncToInt(double x) { return Clamp<std::int32_t>(std::isfinite(x) ? std::trunc(x) : x); }
std::int32_t RoundToInt(double x) { return Clamp<std::int32_t>(std::isfinite(x) ? std::nearbyint(x) : x); }
std::int64_t TruncToInt64(double x) { return Clamp<std::int64_t>(std::isfinite(x) ? std::trunc(x) : x); }

}  // namespace tolmex::shell
