// The SOILCHAR block of one pile diameter.
#pragma once

#include <cstdint>
#include <span>

#include "convert/settings.hpp"
#include "zadaza/soil_model.hpp"

namespace convert {

// The levels a layer line of the SOILCHAR block gives layer j (1..80): the top of layer 1 is
// 0, every other level is (depth of the layer bottom - |MUDLINE_Z|) * COORD_FACTOR.
double layer_top_level(const zadaza::LayerReals& ZBOT, std::int32_t j,
                       const ConversionSettings& settings);
double layer_bottom_level(const zadaza::LayerReals& ZBOT, std::int32_t j,
                          const ConversionSettings& settings);

// Writes the soil characteristic block of a diameter on OUTPUT_UNIT: two comment lines, the
// SOILCHAR line, two comment lines and one line per layer 1..NUM_LAYERS with its top and bottom
// levels and the identifiers of its P-y, T-z and Q-z materials, which `layer_ids` holds in
// that order, layer after layer (3 * NUM_LAYERS identifiers, NUM_LAYERS at most 80).
// `Soil_ID` keeps the spelling of the converter's own description.
void G2K_WSOI(std::int32_t Soil_ID, double D, const ConversionSettings& settings,
              const zadaza::LayerReals& ZBOT, std::span<const std::int32_t> layer_ids,
              std::int32_t NUM_LAYERS, int OUTPUT_UNIT);

}  // namespace convert
