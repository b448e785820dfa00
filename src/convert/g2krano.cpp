#include "convert/g2krano.hpp"

#include <algorithm>
#include <span>
#include <string_view>

#include "convert/banners.hpp"
#include "convert/curve_materials.hpp"
#include "convert/curve_scaling.hpp"
#include "convert/identifiers.hpp"
#include "convert/material_store.hpp"
#include "convert/material_table.hpp"
#include "convert/soil_records.hpp"
#include "io/units.hpp"

namespace convert {

namespace {

constexpr auto kDiameterLine = format::layout<"(/,2X,A,1PE11.3)">;
constexpr std::string_view kDriverBanner = "*** ERROR IN G2KRANO ***";

constexpr std::int32_t kMaterialsPerLayer = 3;

ScaledCurves PYCRV;
ScaledCurves TZCRV;
ScaledCurves QZCRV;

void report_store_full(int OUTPUT_UNIT) {
  write_limit_banner(OUTPUT_UNIT, kDriverBanner, "*** Number of Materials Exceeds Max of ",
                     MAX_MATERIALS);
}

void report_identifiers_out_of_range(double D, int OUTPUT_UNIT) {
  write_banner(OUTPUT_UNIT, kDriverBanner);
  io::write(OUTPUT_UNIT, kDiameterLine, {"*** Identifiers out of range for diameter", D});
}

std::span<const std::int32_t> identifiers_from(const MaterialStore& store, std::int32_t first,
                                               std::int32_t layers) {
  return {store.MATID.at(first), static_cast<std::size_t>(kMaterialsPerLayer * layers)};
}

}  // namespace

void G2KRANO(std::int32_t ACTIVE_DIAMETERS, std::int32_t points_per_curve,
             std::int32_t diameter_slots, std::int32_t NUM_LAYERS,
             const zadaza::CurveArray& PY_P, const zadaza::CurveArray& PY_DELTA,
             const zadaza::CurveArray& TZ_P, const zadaza::DiameterReals& DIAM,
             const zadaza::CurveArray& TZ_DELTA, const zadaza::CurveArray& QZ_P,
             const zadaza::CurveArray& QZ_DELTA, const zadaza::LayerReals& ZBOT,
             double COORD_FACTOR, double MUDLINE_Z, double FORCE_SCALE, double LENGTH_SCALE,
             std::int32_t OUTPUT_FORMAT, std::int32_t ID_OFFSET, int OUTPUT_UNIT,
             std::int32_t& RUN_STATUS) {
  MaterialStore& store = MATERIAL_STORE;
  store.NMAT = 0;
  std::int32_t error = 0;
  const std::int32_t diameters =
      std::clamp(ACTIVE_DIAMETERS, 0, std::min(diameter_slots, zadaza::MAX_PILES));
  const std::int32_t layers = std::clamp(NUM_LAYERS, 0, zadaza::MAX_LAYERS);
  for (std::int32_t i = 1; i <= diameters; ++i) {
    // Checked before the diameter is built, so the store can never overflow.
    if (store.NMAT + kMaterialsPerLayer * layers > MAX_MATERIALS) {
      report_store_full(OUTPUT_UNIT);
      RUN_STATUS = -1;
      return;
    }
    const double D = DIAM(i);
    if (!identifiers_fit(D, layers, ID_OFFSET)) {
      report_identifiers_out_of_range(D, OUTPUT_UNIT);
      RUN_STATUS = -1;
      continue;
    }
    const std::int32_t Soil_ID = soil_id(D);
    const std::int32_t first = store.NMAT + 1;
    G2K_SCAL(i, layers, D, points_per_curve, PY_P, PY_DELTA, TZ_P, TZ_DELTA, QZ_P, QZ_DELTA,
             PYCRV, TZCRV, QZCRV);
    G2K_MATR(store, layers, points_per_curve, ID_OFFSET, PYCRV, TZCRV, QZCRV, D, OUTPUT_UNIT,
             RUN_STATUS);
    G2K_WSOI(Soil_ID, D, MUDLINE_Z, LENGTH_SCALE, FORCE_SCALE, ZBOT,
             identifiers_from(store, first, layers), layers, COORD_FACTOR, OUTPUT_UNIT);
  }
  G2K_WMAT(store, OUTPUT_FORMAT, OUTPUT_UNIT, error);
  if (error != 0) {
    write_banner(OUTPUT_UNIT, kDriverBanner);
    RUN_STATUS = -1;
  }
}

}  // namespace convert
