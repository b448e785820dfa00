#include "convert/diameter_step.hpp"

#include <algorithm>

#include "convert/curve_materials.hpp"
#include "convert/curve_scaling.hpp"
#include "convert/identifiers.hpp"

namespace convert {

namespace {

bool soil_id_taken(const ConversionWorkspace& workspace, std::int32_t id) {
  const auto taken = workspace.converted_soil_ids.begin() + workspace.converted_diameters;
  return std::find(workspace.converted_soil_ids.begin(), taken, id) != taken;
}

bool material_id_stored(const MaterialStore& store, std::int32_t id) {
  for (std::int32_t m = 1; m <= store.NMAT; ++m) {
    if (store.MATID(m) == id) return true;
  }
  return false;
}

// Whether the diameter would reuse a soil identifier or a material identifier that an earlier
// diameter of this conversion already has: two records of the same identifier make the KRANO
// input ambiguous.
bool identifiers_already_used(double D, std::int32_t layers, std::int32_t ID_OFFSET,
                              const ConversionWorkspace& workspace) {
  if (soil_id_taken(workspace, soil_id(D))) return true;
  for (std::int32_t j = 1; j <= layers; ++j) {
    for (const std::int32_t curve : {kPyCurve, kTzCurve, kQzCurve}) {
      if (material_id_stored(workspace.MATERIAL_STORE, MAT_ID(D, j, curve, ID_OFFSET))) {
        return true;
      }
    }
  }
  return false;
}

DiameterOutcome check_identifiers(double D, std::int32_t layers, const ConversionSettings& settings,
                                  const ConversionWorkspace& workspace) {
  if (!identifiers_fit(D, layers, settings.ID_OFFSET, settings.OUTPUT_FORMAT)) {
    return DiameterOutcome::IdentifiersOutOfRange;
  }
  if (identifiers_already_used(D, layers, settings.ID_OFFSET, workspace)) {
    return DiameterOutcome::IdentifiersAlreadyUsed;
  }
  return DiameterOutcome::Built;
}

}  // namespace

void begin_conversion(ConversionWorkspace& workspace) {
  workspace.MATERIAL_STORE.NMAT = 0;
  workspace.converted_diameters = 0;
  workspace.skipped_diameters = 0;
}

ConvertedDiameterStep convert_diameter(const zadaza::SoilModel& model,
                                       const ConversionSettings& settings, std::int32_t i,
                                       ConversionWorkspace& workspace, int OUTPUT_UNIT,
                                       std::int32_t& status) {
  const double D = model.DIAM(i);
  const std::int32_t layers = zadaza::layers_held(model.NUM_LAYERS);
  ConvertedDiameterStep step;
  step.outcome = check_identifiers(D, layers, settings, workspace);
  if (step.outcome != DiameterOutcome::Built) {
    ++workspace.skipped_diameters;
    return step;
  }
  step.Soil_ID = soil_id(D);
  workspace.converted_soil_ids[static_cast<std::size_t>(workspace.converted_diameters++)] =
      step.Soil_ID;
  step.first_material = workspace.MATERIAL_STORE.NMAT + 1;
  G2K_SCAL(model, i, D, workspace.PYCRV, workspace.TZCRV, workspace.QZCRV);
  G2K_MATR(workspace, layers, zadaza::MAX_CURVE_POINTS, settings.ID_OFFSET, D, OUTPUT_UNIT, status);
  return step;
}

std::string_view skip_reason(DiameterOutcome outcome) {
  switch (outcome) {
    case DiameterOutcome::Built:
      return {};
    case DiameterOutcome::IdentifiersOutOfRange:
      return "*** Identifiers out of range for diameter";
    case DiameterOutcome::IdentifiersAlreadyUsed:
      return "*** Identifiers already used by another diameter";
  }
  return {};
}

}  // namespace convert
