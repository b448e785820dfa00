// Two soil files compared value by value: SOILCHAR blocks matched by soil identifier, layers
// by number, materials by identifier and kind. What only one file holds is a difference too.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "soil_file/soil_file.hpp"

namespace view {

struct SoilComparison {
  std::vector<std::string> differences;  // "material 1500021 (ELPLCURV) point 4 force: ..."
  int matched_blocks = 0;
  int matched_layers = 0;
  int matched_materials = 0;
  // The materials, by identifier and kind, that differ or that only one file holds.
  std::set<std::pair<std::int32_t, std::int32_t>> differing_materials;
};

// Values are equal when they differ by at most `tolerance` times the larger magnitude; with
// 0, when they are equal as written. Fields without a value compare by their text.
SoilComparison compare_soil_files(const soil::SoilFile& a, const soil::SoilFile& b,
                                  double tolerance);

}  // namespace view
