#include "convert/g2krano.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "convert/banners.hpp"
#include "convert/curve_materials.hpp"
#include "convert/curve_scaling.hpp"
#include "convert/identifiers.hpp"
#include "convert/material_table.hpp"
#include "convert/soil_records.hpp"
#include "io/units.hpp"

namespace convert {

namespace {

constexpr auto kDiameterLine = format::layout<"(/,2X,A,1PE11.3)">;
constexpr std::string_view kDriverBanner = "*** ERROR IN G2KRANO ***";

constexpr std::int32_t kMaterialsPerLayer = 3;

void report_store_full(int OUTPUT_UNIT) {
  write_limit_banner(OUTPUT_UNIT, kDriverBanner, "*** Number of Materials Exceeds Max of ",
                     kMaxMaterials);
}

void report_identifiers_out_of_range(double D, int OUTPUT_UNIT) {
  write_banner(OUTPUT_UNIT, kDriverBanner);
  io::write(OUTPUT_UNIT, kDiameterLine, {"*** Identifiers out of range for diameter", D});
}

void report_identifiers_already_used(double D, int OUTPUT_UNIT) {
  write_banner(OUTPUT_UNIT, kDriverBanner);
  io::write(OUTPUT_UNIT, kDiameterLine, {"*** Identifiers already used by another diameter", D});
}

// The soil identifiers of the diameters converted so far in this run.
struct ConvertedSoilIds {
  std::array<std::int32_t, zadaza::MAX_PILES> ids{};
  std::size_t count = 0;

  bool contains(std::int32_t id) const {
    return std::find(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(count), id) !=
           ids.begin() + static_cast<std::ptrdiff_t>(count);
  }
  void add(std::int32_t id) { ids[count++] = id; }
};

bool material_id_stored(const MaterialStore& store, std::int32_t id) {
  for (std::int32_t m = 1; m <= store.NMAT; ++m) {
    if (store.MATID(m) == id) return true;
  }
  return false;
}

// Whether the diameter would reuse a soil identifier or a material identifier that an earlier
// diameter of this run already has: two records of the same identifier make the KRANO input
// ambiguous.
bool identifiers_already_used(double D, std::int32_t layers, std::int32_t ID_OFFSET,
                              const ConvertedSoilIds& converted, const MaterialStore& store) {
  if (converted.contains(soil_id(D))) return true;
  for (std::int32_t j = 1; j <= layers; ++j) {
    for (const std::int32_t curve : {kPyCurve, kTzCurve, kQzCurve}) {
      if (material_id_stored(store, MAT_ID(D, j, curve, ID_OFFSET))) return true;
    }
  }
  return false;
}

std::span<const std::int32_t> identifiers_from(const MaterialStore& store, std::int32_t first,
                                               std::int32_t layers) {
  return {store.MATID.at(first), static_cast<std::size_t>(kMaterialsPerLayer * layers)};
}

}  // namespace

bool G2KRANO(const zadaza::SoilModel& model, const ConversionSettings& settings,
             ConversionWorkspace& workspace, int OUTPUT_UNIT) {
  MaterialStore& store = workspace.MATERIAL_STORE;
  store.NMAT = 0;
  std::int32_t status = 0;
  const std::int32_t diameters = std::clamp(settings.ACTIVE_DIAMETERS, 0, zadaza::MAX_PILES);
  const std::int32_t layers = zadaza::layers_held(model.NUM_LAYERS);
  ConvertedSoilIds converted;
  workspace.skipped_diameters = 0;
  for (std::int32_t i = 1; i <= diameters; ++i) {
    // Checked before the diameter is built, so the store can never overflow.
    if (store.NMAT + kMaterialsPerLayer * layers > kMaxMaterials) {
      report_store_full(OUTPUT_UNIT);
      return false;
    }
    const double D = model.DIAM(i);
    if (!identifiers_fit(D, layers, settings.ID_OFFSET, settings.OUTPUT_FORMAT)) {
      report_identifiers_out_of_range(D, OUTPUT_UNIT);
      status = -1;
      ++workspace.skipped_diameters;
      continue;
    }
    if (identifiers_already_used(D, layers, settings.ID_OFFSET, converted, store)) {
      report_identifiers_already_used(D, OUTPUT_UNIT);
      status = -1;
      ++workspace.skipped_diameters;
      continue;
    }
    const std::int32_t Soil_ID = soil_id(D);
    converted.add(Soil_ID);
    const std::int32_t first = store.NMAT + 1;
    G2K_SCAL(model, i, D, workspace.PYCRV, workspace.TZCRV, workspace.QZCRV);
    G2K_MATR(workspace, layers, zadaza::MAX_CURVE_POINTS, settings.ID_OFFSET, D, OUTPUT_UNIT,
             status);
    G2K_WSOI(Soil_ID, D, settings, model.ZBOT, identifiers_from(store, first, layers), layers,
             OUTPUT_UNIT);
  }
  std::int32_t table_error = 0;
  G2K_WMAT(workspace, settings.OUTPUT_FORMAT, OUTPUT_UNIT, table_error);
  if (table_error != 0) {
    write_banner(OUTPUT_UNIT, kDriverBanner);
    return false;
  }
  return status == 0;
}

}  // namespace convert
