// The conversion of the soil data model into a KRANO soil file.
#pragma once

#include "convert/settings.hpp"
#include "convert/workspace.hpp"
#include "zadaza/soil_model.hpp"

namespace convert {

// Converts the first `settings.ACTIVE_DIAMETERS` diameter slots of the model: per diameter a
// SOILCHAR block, then the whole material table in `settings.OUTPUT_FORMAT` (1 SESAM records,
// 2 KNF), all on OUTPUT_UNIT, with the conversion's error lines between them. The workspace is
// the conversion's working storage; its material store is emptied first. Returns false when
// any part failed. A diameter whose identifiers are out of range or already used by another
// diameter is skipped with a banner; `workspace.skipped_diameters` counts them.
bool G2KRANO(const zadaza::SoilModel& model, const ConversionSettings& settings,
             ConversionWorkspace& workspace, int OUTPUT_UNIT);

}  // namespace convert
