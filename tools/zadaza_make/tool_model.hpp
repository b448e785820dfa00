// The soil model as zadaza-make holds it: counts may exceed the converter's limits, because
// the tool writes whatever it is told.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "zadaza/reader.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza_make {

inline constexpr int kCurvePoints = zadaza::MAX_CURVE_POINTS;
inline constexpr int kDiameterSlots = zadaza::MAX_PILES;  // DIAM values in the general data record
// Per layer, fixed in the Old generation.
inline constexpr auto kOldDiameterGroups =
    static_cast<std::size_t>(zadaza::kOldGenerationDiameters);
inline constexpr std::size_t kLabelLength =
    std::tuple_size_v<decltype(zadaza::SoilModel::ANALYSIS_LABEL)>;
inline constexpr int kDisplacementRows = zadaza::DSP_ROWS;
inline constexpr int kDisplacementValues = zadaza::MAX_DSP;

struct Curve {
  int npts = 0;
  int iorg = 0;
  std::array<double, 3> par{};
  std::vector<std::pair<double, double>> points;  // (stress, displacement), at most 23
};

struct SlotCurves {
  Curve py, tz, qz;
};

struct Layer {
  double zbot = 0.0;
  std::array<double, 10> soil{};
  std::vector<SlotCurves> slots;  // slot i at index i - 1; missing slots are written as zeros
};

struct DisplacementRow {
  double z = 0.0;
  std::array<double, kDisplacementValues> values{};
};

// The counts written in the counts record; each defaults to what the model holds.
struct CountOverrides {
  std::optional<int> layers, dsp, diameters;
};

struct ToolModel {
  std::string label;
  bool old_generation = false;
  std::vector<Layer> layers;
  std::vector<double> diameters;  // the first 15 go into the general data record
  // Diameter groups written per layer; by default one for each diameter.
  std::optional<int> groups;
  double scour_z = 0.0, soil_e0 = 0.0, soil_ez = 0.0, soil_nu = 0.0;
  std::vector<DisplacementRow> dsp;
  CountOverrides counts;

  int num_layers() const { return counts.layers.value_or(static_cast<int>(layers.size())); }
  int num_dsp() const { return counts.dsp.value_or(static_cast<int>(dsp.size())); }
  int diameter_groups() const { return groups.value_or(static_cast<int>(diameters.size())); }
  int num_diameters() const { return counts.diameters.value_or(diameter_groups()); }
};

}  // namespace zadaza_make
