// The check of a ZADAZA file's curves against the standard families of a soil profile: for
// each layer and diameter in use, the family curve at the layer's mid-depth (from the file's
// own layer bottoms), and how far the file's curve lies from it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "charts.hpp"
#include "families/curves.hpp"
#include "zadaza/soil_model.hpp"

namespace view {

inline constexpr double kDefaultCheckTolerance = 0.05;

struct CurveCheck {
  int layer = 0;
  int slot = 0;
  double diameter = 0.0;
  CurveType type = CurveType::PY;
  // The largest |file stress - family stress| over the file's points, over the family's
  // ultimate stress; infinite when no point of the file's curve lies off the origin, as then
  // the file holds no curve to compare.
  double deviation = 0.0;
  bool has_curve = false;
  std::vector<CurvePair> file_points;    // stress and displacement as the file holds them
  std::vector<CurvePair> family_points;  // the family's own 23 points, likewise
};

struct LayerSpan {
  int layer = 0;
  double top = 0.0;
  double bottom = 0.0;
  double mid() const { return (top + bottom) / 2.0; }
};

// A diameter the converter skips: it writes no springs for it, so there are no forces to
// scale its curves to; they are checked on the file's stresses all the same.
struct SkippedDiameter {
  int slot = 0;
  double diameter = 0.0;
  std::string reason;  // the converter's
};

struct CheckResult {
  std::vector<LayerSpan> layers;
  std::vector<CurveCheck> curves;  // layer by layer, diameter by diameter, P-y, T-z, Q-z
  std::vector<SkippedDiameter> skipped;  // found by scale_to_forces
  // The first layer whose mid-depth lies outside the profile (below it, or above the
  // mudline); then nothing is checked.
  std::optional<LayerSpan> outside_profile;
};

// Checks diameter slots 1..`diameters` of every layer the model holds.
CheckResult check_curves(const zadaza::SoilModel& model, int diameters,
                         const families::Profile& profile, families::Loading loading);

// The file's and the family's points of every curve in the forces and displacements the
// converter scales the file's curve to (`converted`: slot s at index s - 1), so that the
// charts read as the viewer's others do. A diameter the converter skips keeps its curves as
// the file holds them, and is listed in `skipped`.
void scale_to_forces(CheckResult& result, const std::vector<ConvertedDiameter>& converted);

struct CheckFacts {
  std::string zadaza_name;
  std::string profile_name;
  families::Loading loading = families::Loading::Static;
  double tolerance = kDefaultCheckTolerance;
};

// The page: the worst deviation per layer and curve type, and per diameter a row of charts
// per layer with the family curve over the file's; for a diameter the converter skips, why,
// and its deviations instead of charts.
std::string make_check_page(const CheckFacts& facts, const CheckResult& result);

}  // namespace view
