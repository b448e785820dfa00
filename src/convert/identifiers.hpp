// Identifiers of the soil characteristics and spring materials of a pile diameter.
//
// The soil identifier is NINT(D), or NINT(1000 D) when that is below 5; the diameter code in
// material identifiers uses the threshold 100 instead. A material identifier is
// 1000 * diameter code + 10 * layer + curve type number + ID_OFFSET.
#pragma once

#include <cstdint>

namespace convert {

inline constexpr std::int32_t kPyCurve = 1;
inline constexpr std::int32_t kTzCurve = 2;
inline constexpr std::int32_t kQzCurve = 3;

// Whether D is finite and its soil identifier, diameter code and the material identifiers of
// all NUM_LAYERS layers and three curve types fit 32-bit integers. The functions below may be
// used for a diameter only when this holds.
bool identifiers_fit(double D, std::int32_t NUM_LAYERS, std::int32_t ID_OFFSET);

// `Soil_ID` (mixed case) and `MAT_ID` are the converter's own names and keep their spelling.
std::int32_t soil_id(double D);
std::int32_t diameter_code(double D);
std::int32_t MAT_ID(double D, std::int32_t layer, std::int32_t curve_type, std::int32_t ID_OFFSET);

}  // namespace convert
