// The answers of the dialogue that the conversion uses.
#pragma once

#include <cstdint>

namespace convert {

// The values of OUTPUT_FORMAT.
inline constexpr std::int32_t kSesamFormat = 1;
inline constexpr std::int32_t kKnfFormat = 2;

struct ConversionSettings {
  double MUDLINE_Z = 0.0;     // z of the mudline, origin of the soil axis
  double COORD_FACTOR = 0.0;  // +1.0 POS, -1.0 NEG
  double FORCE_SCALE = 0.0;
  double LENGTH_SCALE = 0.0;
  std::int32_t ID_OFFSET = 0;         // added to every material identifier
  std::int32_t OUTPUT_FORMAT = 0;     // 1 SESAM records, 2 KNF; not checked by the dialogue
  std::int32_t ACTIVE_DIAMETERS = 0;  // 0 to 4, counted after reading
};

}  // namespace convert
