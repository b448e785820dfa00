#include "convert/identifiers.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "convert/settings.hpp"

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

// The whole numbers a field shows exactly, with room for the sign.
struct FieldRange {
  double lowest;
  double highest;
  bool holds(double whole) const { return whole >= lowest && whole <= highest; }
};

constexpr FieldRange kSoilIdField{-999'999.0, 9'999'999.0};       // I7
constexpr FieldRange kKnfMaterialField{-99'999'999.0, 999'999'999.0};  // I9
constexpr FieldRange kSesamMaterialField{-99'999'999.0, 99'999'999.0};  // 8 significant digits

FieldRange material_field(std::int32_t OUTPUT_FORMAT) {
  return OUTPUT_FORMAT == kSesamFormat ? kSesamMaterialField : kKnfMaterialField;
}

bool fits_int32(double whole) {
  return whole >= std::numeric_limits<std::int32_t>::min() &&
         whole <= std::numeric_limits<std::int32_t>::max();
}

std::int64_t wide_mat_id(std::int32_t code, std::int32_t layer, std::int32_t curve_type,
                         std::int32_t ID_OFFSET) {
  return 1000 * std::int64_t{code} + 10 * std::int64_t{layer} + curve_type + ID_OFFSET;
}

}  // namespace

bool identifiers_fit(double D, std::int32_t NUM_LAYERS, std::int32_t ID_OFFSET,
                     std::int32_t OUTPUT_FORMAT) {
  if (!std::isfinite(D)) return false;
  if (!kSoilIdField.holds(code_value(D, kSoilIdThreshold))) return false;
  const double code = code_value(D, kDiameterCodeThreshold);
  if (!fits_int32(code)) return false;
  if (NUM_LAYERS < 1) return true;
  // Identifiers grow with layer and curve type, so the first and the last bound them all.
  const auto whole_code = static_cast<std::int32_t>(code);
  const FieldRange field = material_field(OUTPUT_FORMAT);
  return field.holds(static_cast<double>(wide_mat_id(whole_code, 1, kPyCurve, ID_OFFSET))) &&
         field.holds(static_cast<double>(wide_mat_id(whole_code, NUM_LAYERS, kQzCurve, ID_OFFSET)));
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
