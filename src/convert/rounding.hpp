// The two conversions of stored reals to integers used by the material writers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace convert {

namespace rounding_detail {
// Values beyond the 32-bit range saturate and a NaN gives 0, so that a damaged real can never
// make a conversion undefined.
inline std::int32_t saturated(double whole) {
  if (std::isnan(whole)) return 0;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (whole <= kLowest) return std::numeric_limits<std::int32_t>::min();
  if (whole >= kHighest) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(whole);
}
}  // namespace rounding_detail

// Nearest integer, halves away from zero (2.5 gives 3, -2.5 gives -3). NINT keeps the
// converter's own name for it.
inline std::int32_t NINT(double x) { return rounding_detail::saturated(std::round(x)); }

// Integer part, the fraction dropped toward zero (4.9 gives 4, -4.9 gives -4).
inline std::int32_t integer_part(double x) { return rounding_detail::saturated(std::trunc(x)); }

}  // namespace convert
