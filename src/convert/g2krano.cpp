#include "convert/g2krano.hpp"

#include <algorithm>
#include <cstddef>
#include <span>
#include <string_view>

#include "convert/banners.hpp"
#include "convert/diameter_step.hpp"
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

// The banner of a skipped diameter, with the reason as its detail line.
void report_skipped_diameter(DiameterOutcome outcome, double D, int OUTPUT_UNIT) {
  write_banner(OUTPUT_UNIT, kDriverBanner);
  io::write(OUTPUT_UNIT, kDiameterLine, {skip_reason(outcome), D});
}

std::span<const std::int32_t> identifiers_from(const MaterialStore& store, std::int32_t first,
                                               std::int32_t layers) {
  return {store.MATID.at(first), static_cast<std::size_t>(kMaterialsPerLayer * layers)};
}

}  // namespace

bool G2KRANO(const zadaza::SoilModel& model, const ConversionSettings& settings,
             ConversionWorkspace& workspace, int OUTPUT_UNIT) {
  const MaterialStore& store = workspace.MATERIAL_STORE;
  begin_conversion(workspace);
  std::int32_t status = 0;
  const std::int32_t diameters = std::clamp(settings.ACTIVE_DIAMETERS, 0, zadaza::MAX_PILES);
  const std::int32_t layers = zadaza::layers_held(model.NUM_LAYERS);
  for (std::int32_t i = 1; i <= diameters; ++i) {
    // Checked before the diameter is built, so the store can never overflow.
    if (store.NMAT + kMaterialsPerLayer * layers > kMaxMaterials) {
      report_store_full(OUTPUT_UNIT);
      return false;
    }
    const double D = model.DIAM(i);
    const ConvertedDiameterStep step =
        convert_diameter(model, settings, i, workspace, OUTPUT_UNIT, status);
    if (step.outcome != DiameterOutcome::Built) {
      report_skipped_diameter(step.outcome, D, OUTPUT_UNIT);
      status = -1;
      continue;
    }
    G2K_WSOI(step.Soil_ID, D, settings, model.ZBOT,
             identifiers_from(store, step.first_material, layers), layers, OUTPUT_UNIT);
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
