// Two soil files compared value by value through their view models: SOILCHAR blocks matched by
// soil identifier, layers by number, materials by identifier and kind. What only one file
// holds is a difference too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "soil_file/soil_file.hpp"
#include "view_model.hpp"

namespace view {

struct SoilComparison {
  std::vector<std::string> differences;  // "material 1500021 (ELPLCURV) point 4 force: ..."
  int matched_blocks = 0;
  int matched_layers = 0;
  int matched_materials = 0;
  // The materials, by identifier and kind, that differ or that only one file holds.
  std::set<std::pair<std::int32_t, std::int32_t>> differing_materials;
  // The points (from 0) of those materials that differ or that only one file holds.
  std::map<std::pair<std::int32_t, std::int32_t>, std::set<std::size_t>> differing_points;
};

// Values are equal when they differ by at most `tolerance` times the larger magnitude; with
// 0, when they are equal as written. An infinity equals only the same infinity, whatever the
// tolerance; fields without a value (asterisks, NaN, unreadable) compare by their text. What
// either file could not read is compared too, in order: the same problem in both is no
// difference. The models are those of soil files: a ZADAZA file's model holds no material
// table and no text as written.
SoilComparison compare_soil_views(const ViewModel& a, const ViewModel& b, double tolerance);

}  // namespace view
