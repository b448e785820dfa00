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

// Whether D is finite and every identifier of it can be written exactly: the soil identifier
// in the I7 of the SOILCHAR line (-999999 to 9999999), and the material identifiers of all
// NUM_LAYERS layers and three curve types in OUTPUT_FORMAT's field: SESAM writes them as reals
// of 8 significant digits (-99999999 to 99999999), KNF in I9 (-99999999 to 999999999, which
// also leaves a blank between them in the I10 fields of the SOILCHAR layer lines; any other
// format gets this range too). The functions below may be used for a diameter only when this
// holds.
bool identifiers_fit(double D, std::int32_t NUM_LAYERS, std::int32_t ID_OFFSET,
                     std::int32_t OUTPUT_FORMAT);

// `Soil_ID` (mixed case) and `MAT_ID` are the converter's own names and keep their spelling.
std::int32_t soil_id(double D);
std::int32_t diameter_code(double D);
std::int32_t MAT_ID(double D, std::int32_t layer, std::int32_t curve_type, std::int32_t ID_OFFSET);

}  // namespace convert
