// The viewer's one link to the converter: the ZADAZA file is read by the converter's reader and
// the diameters in use are converted by the converter's own per-diameter step (identifiers
// checked, curves scaled, springs built and thinned), so the page shows exactly what the soil
// file gets, and a diameter the converter skips is skipped here with its reason. Only
// converter_adapter.cpp knows their argument lists.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/diameter_step.hpp"
#include "convert/identifiers.hpp"
#include "zadaza/soil_model.hpp"

namespace view {

inline constexpr int kCurvePoints = zadaza::MAX_CURVE_POINTS;
// P-y, T-z, Q-z, in the converter's order: the curve type numbers 1 to 3.
inline constexpr int kCurveTypes = convert::kQzCurve;

// Enough of a file's start to tell text (a soil file) from a binary ZADAZA file.
inline constexpr std::size_t kKindSniffLength = 512;

enum class ReadOutcome {
  Read,          // SOIL_MODEL holds the file
  NotOpened,     // the converter's message is on standard error
  LimitsBroken,  // the reader's limit lines are on the console
};

// Opens the file read-only and reads it whole, writing the reader's console lines. A damaged
// file ends the program inside the reader with the converter's diagnostic and status 2.
ReadOutcome read_zadaza(std::string_view path, bool old_generation);

// The same in steps, so that the kind of file can be told first from bytes read only once (a
// pipe cannot be read twice): opens the file as the converter opens its ZADAZA file (false,
// with the converter's message on standard error, when it cannot be opened) ...
bool open_input(std::string_view path);
// ... looks at its first `count` bytes (fewer only when the file is shorter), consuming none ...
std::string_view input_start(std::size_t count);
// ... and then either reads it as a ZADAZA file from its first byte ...
ReadOutcome read_opened_zadaza(std::string_view path, bool old_generation);
// ... or takes all of it as text, and closes it.
std::string input_text();

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
  std::array<double, kCurvePoints> stress{};   // the ZADAZA curve's stresses, as in the file
  std::int32_t material_id = 0;
  double law_code = 0.0;
  std::vector<CurvePair> written;  // the spring material's points, as the soil file gets them
};

struct ConvertedDiameter {
  int slot = 0;
  double diameter = 0.0;
  // Built, or why the converter skips the diameter: it then builds nothing for it and
  // `layers` stays empty.
  convert::DiameterOutcome outcome = convert::DiameterOutcome::Built;
  // The same for a SESAM soil file, whose material identifier field is narrower.
  convert::DiameterOutcome sesam_outcome = convert::DiameterOutcome::Built;
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

// Converts every diameter in use, in the converter's order, with identifier offset
// `id_offset` and the identifier fields of a KNF soil file, as the converter's run does; and
// tells what a SESAM conversion would skip.
std::vector<ConvertedDiameter> convert_diameters(std::int32_t id_offset);

}  // namespace view
