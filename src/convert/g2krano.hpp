// The conversion of the soil data model into a KRANO soil file.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace convert {

// Converts the first `ACTIVE_DIAMETERS` diameter slots: per diameter a SOILCHAR block, then the
// whole material table in `OUTPUT_FORMAT` (1 SESAM records, 2 KNF), all on `OUTPUT_UNIT`.
// Sets `RUN_STATUS` to -1 on failure and never resets it.
void G2KRANO(std::int32_t ACTIVE_DIAMETERS, std::int32_t points_per_curve,
             std::int32_t diameter_slots, std::int32_t NUM_LAYERS,
             const zadaza::CurveArray& PY_P, const zadaza::CurveArray& PY_DELTA,
             const zadaza::CurveArray& TZ_P, const zadaza::DiameterReals& DIAM,
             const zadaza::CurveArray& TZ_DELTA, const zadaza::CurveArray& QZ_P,
             const zadaza::CurveArray& QZ_DELTA, const zadaza::LayerReals& ZBOT,
             double COORD_FACTOR, double MUDLINE_Z, double FORCE_SCALE, double LENGTH_SCALE,
             std::int32_t OUTPUT_FORMAT, std::int32_t ID_OFFSET, int OUTPUT_UNIT,
             std::int32_t& RUN_STATUS);

// The diameters the last G2KRANO call skipped: identifiers out of range, or already used by
// another diameter.
std::int32_t skipped_diameters();

}  // namespace convert
