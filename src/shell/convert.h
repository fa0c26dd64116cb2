#pragma once
// Checked conversions from double to integer. Converting a NaN, an infinity or an
// out-of-range double with a plain cast is undefined behaviour; every such conversion in
// the program goes through these helpers.
#include <cstdint>
#include <optional>

namespace tolmex::shell {

// The value truncated toward zero, or nullopt when it is NaN, infinite or out of range.
std::optional<std::int32_t> TryTruncToInt(double x);
std::optional<std::int64_t> TryTruncToInt64(double x);

// Rounded to the nearest integer, halves to the even neighbour (Pascal's Round with the
// default rounding mode); nullopt when NaN, infinite or out of range.
std::optional<std::int32_t> TryRoundToInt(double x);

// Total versions: NaN gives 0, values beyond the range clamp to INT32_MIN / INT32_MAX.
std::int32_t TruncToInt(double x);
std::int32_t RoundToInt(double x);
std::int64_t TruncToInt64(double x);

}  // namespace tolmex::shell
