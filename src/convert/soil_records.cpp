#include "convert/soil_records.hpp"

#include <cmath>

#include "convert/record_layouts.hpp"
#include "io/units.hpp"

namespace convert {

namespace {

constexpr std::int32_t kSoilType = 1;

// Factors below the single-precision 0.001, widened, do not show in the fixed form.
constexpr double kFixedFormFloor = static_cast<double>(0.001F);

double level(double depth, const ConversionSettings& settings) {
  return (depth - std::fabs(settings.MUDLINE_Z)) * settings.COORD_FACTOR;
}

}  // namespace

double layer_top_level(const zadaza::LayerReals& ZBOT, std::int32_t j,
                       const ConversionSettings& settings) {
  return j == 1 ? 0.0 : level(ZBOT(j - 1), settings);
}

double layer_bottom_level(const zadaza::LayerReals& ZBOT, std::int32_t j,
                          const ConversionSettings& settings) {
  return level(ZBOT(j), settings);
}

void G2K_WSOI(std::int32_t Soil_ID, double D, const ConversionSettings& settings,
              const zadaza::LayerReals& ZBOT, std::span<const std::int32_t> layer_ids,
              std::int32_t NUM_LAYERS, int OUTPUT_UNIT) {
  const double MUDLINE_Z = settings.MUDLINE_Z;
  const double FORCE_SCALE = settings.FORCE_SCALE;
  const double LENGTH_SCALE = settings.LENGTH_SCALE;
  const bool fixed_form = LENGTH_SCALE >= kFixedFormFloor && FORCE_SCALE >= kFixedFormFloor;
  io::write(OUTPUT_UNIT, kSoilHeading);
  if (fixed_form) {
    io::write(OUTPUT_UNIT, kSoilcharFixed, {Soil_ID, kSoilType, MUDLINE_Z, D, FORCE_SCALE, LENGTH_SCALE});
  } else {
    io::write(OUTPUT_UNIT, kSoilcharExponent, {Soil_ID, kSoilType, MUDLINE_Z, D, FORCE_SCALE, LENGTH_SCALE});
  }
  io::write(OUTPUT_UNIT, kLayerHeading);
  const std::int32_t layers = zadaza::layers_held(NUM_LAYERS);
  for (std::int32_t j = 1; j <= layers; ++j) {
    const double top = layer_top_level(ZBOT, j, settings);
    const double bottom = layer_bottom_level(ZBOT, j, settings);
    const auto ids = layer_ids.subspan(static_cast<std::size_t>(3 * (j - 1)), 3);
    io::write(OUTPUT_UNIT, kLayerLine, {top, bottom, ids[0], ids[1], ids[2]});
  }
}

}  // namespace convert
