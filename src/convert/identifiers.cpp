#include "convert/identifiers.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

namespace convert {

namespace {

constexpr double kSoilIdThreshold = 5.0;
constexpr double kDiameterCodeThreshold = 100.0;

// NINT carried out in double precision: whole values of any size are exact there, so the range
// check comes before any conversion to an integer.
double code_value(double D, double threshold) {
  const double whole = std::round(D);
  return whole < threshold ? std::round(1000.0 * D) : whole;
}

bool fits_int32(double whole) {
  return whole >= std::numeric_limits<std::int32_t>::min() &&
         whole <= std::numeric_limits<std::int32_t>::max();
}

bool fits_int32(std::int64_t value) {
  return value >= std::numeric_limits<std::int32_t>::min() &&
         value <= std::numeric_limits<std::int32_t>::max();
}

std::int64_t wide_mat_id(std::int32_t code, std::int32_t layer, std::int32_t curve_type,
                         std::int32_t ID_OFFSET) {
  return 1000 * std::int64_t{code} + 10 * std::int64_t{layer} + curve_type + ID_OFFSET;
}

}  // namespace

bool identifiers_fit(double D, std::int32_t NUM_LAYERS, std::int32_t ID_OFFSET) {
  if (!std::isfinite(D)) return false;
  if (!fits_int32(code_value(D, kSoilIdThreshold))) return false;
  const double code = code_value(D, kDiameterCodeThreshold);
  if (!fits_int32(code)) return false;
  if (NUM_LAYERS < 1) return true;
  // Identifiers grow with layer and curve type, so the first and the last bound them all.
  const auto whole_code = static_cast<std::int32_t>(code);
  return fits_int32(wide_mat_id(whole_code, 1, kPyCurve, ID_OFFSET)) &&
         fits_int32(wide_mat_id(whole_code, NUM_LAYERS, kQzCurve, ID_OFFSET));
}

std::int32_t soil_id(double D) {
  return static_cast<std::int32_t>(code_value(D, kSoilIdThreshold));
}

std::int32_t diameter_code(double D) {
  return static_cast<std::int32_t>(code_value(D, kDiameterCodeThreshold));
}

std::int32_t MAT_ID(double D, std::int32_t layer, std::int32_t curve_type,
                    std::int32_t ID_OFFSET) {
  return static_cast<std::int32_t>(wide_mat_id(diameter_code(D), layer, curve_type, ID_OFFSET));
}

}  // namespace convert
