// The working storage of one conversion, in one object so that every routine that uses it says
// so in its argument list. The run keeps one instance in static storage: it is large (about a
// megabyte) and nothing may be allocated while a run converts.
#pragma once

#include <array>
#include <cstdint>

#include "convert/curve_scaling.hpp"
#include "convert/material_store.hpp"

namespace convert {

// Most points a curve may have; the thinning buffer holds as many pairs.
inline constexpr std::int32_t kMaxThinPoints = 100;

// Most materials the table takes (the size of the KNF ordering list).
inline constexpr std::int32_t kMaxTableMaterials = 1000;

struct ConversionWorkspace {
  MaterialStore MATERIAL_STORE;
  // The current diameter's scaled curves, per layer.
  ScaledCurves PYCRV;
  ScaledCurves TZCRV;
  ScaledCurves QZCRV;
  // One curve being thinned, as (force, displacement) pairs.
  std::array<double, 2 * kMaxThinPoints> CRVBUF{};
  // The identifiers of the KNF kind being written, in store order, and their writing order.
  std::array<std::int32_t, kMaxTableMaterials> ordering_list{};
  std::array<std::int32_t, kMaxTableMaterials> ordered_places{};
  // The soil identifiers of the diameters converted so far, the first `converted_diameters`.
  std::array<std::int32_t, zadaza::MAX_PILES> converted_soil_ids{};
  std::int32_t converted_diameters = 0;
  // The diameters the last conversion skipped, for the run's explanation.
  std::int32_t skipped_diameters = 0;
};

}  // namespace convert
