// The viewer's one link to the converter: the ZADAZA file is read by the converter's reader and
// each diameter's curves are scaled and thinned by the converter's own routines, so the page
// shows exactly what the soil file gets. Only converter_adapter.cpp knows their argument lists.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "zadaza/soil_model.hpp"

namespace view {

inline constexpr int kCurvePoints = zadaza::MAX_CURVE_POINTS;
inline constexpr int kCurveTypes = 3;  // P-y, T-z, Q-z, in the converter's order

enum class ReadOutcome {
  Read,          // SOIL_MODEL holds the file
  NotOpened,     // the converter's message is on standard error
  LimitsBroken,  // the reader's limit lines are on the console
};

// Opens the file read-only and reads it whole, writing the reader's console lines. A damaged
// file ends the program inside the reader with the converter's diagnostic and status 2.
ReadOutcome read_zadaza(std::string_view path, bool old_generation);

// The soil data model the reader filled.
const zadaza::SoilModel& soil_model();

// The diameter slots the converter converts: 1..active_diameters().
int active_diameters();

struct CurvePair {
  double force = 0.0;
  double displacement = 0.0;
};

struct ConvertedCurve {
  std::array<CurvePair, kCurvePoints> scaled;  // the ZADAZA curve scaled to forces
  std::int32_t material_id = 0;
  double law_code = 0.0;
  std::vector<CurvePair> written;  // the spring material's points, as the soil file gets them
};

struct ConvertedDiameter {
  int slot = 0;
  double diameter = 0.0;
  // False when the converter refuses the diameter (identifiers beyond their KNF fields): it then
  // builds no material for it, and `written` stays empty.
  bool built = false;
  std::int32_t soil_id = 0;
  std::vector<std::array<ConvertedCurve, kCurveTypes>> layers;  // layer j at index j - 1
};

// The top and bottom levels the SOILCHAR block gives layer j, for the mudline and orientation
// (+1.0 POS, -1.0 NEG) of a conversion.
struct LayerLevels {
  double top = 0.0;
  double bottom = 0.0;
};
LayerLevels layer_levels(int j, double mudline, double coord_factor);

// Scales and thins every layer's curves of diameter slot `slot` as the converter does with
// identifier offset `id_offset`.
ConvertedDiameter convert_diameter(int slot, std::int32_t id_offset);

}  // namespace view
