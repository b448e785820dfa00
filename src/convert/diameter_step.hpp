// One diameter of a conversion: its identifiers checked, its curves scaled and its spring
// materials built. G2KRANO runs it for every diameter in use; zadaza-view runs the same step, so
// that what it shows is what the soil file gets.
#pragma once

#include <cstdint>
#include <string_view>

#include "convert/settings.hpp"
#include "convert/workspace.hpp"
#include "zadaza/soil_model.hpp"

namespace convert {

enum class DiameterOutcome {
  Built,                   // its materials are in the store from `first_material` on
  IdentifiersOutOfRange,   // skipped: an identifier does not fit its field
  IdentifiersAlreadyUsed,  // skipped: an earlier diameter of the conversion has an identifier
};

struct ConvertedDiameterStep {
  DiameterOutcome outcome = DiameterOutcome::Built;
  std::int32_t Soil_ID = 0;         // Built only
  std::int32_t first_material = 0;  // Built only: store index of layer 1's P-y material
};

// Empties the material store, the soil identifiers taken and the skipped count: a conversion
// starts here, and converts at most MAX_PILES diameters.
void begin_conversion(ConversionWorkspace& workspace);

// Converts diameter slot i with the settings' ID_OFFSET and OUTPUT_FORMAT: a diameter whose
// identifiers are out of range or already used by a diameter converted before it is skipped
// (counted in `workspace.skipped_diameters`, nothing built, nothing written); otherwise its
// curves are scaled into PYCRV, TZCRV and QZCRV and its three materials per layer appended to
// the store by G2K_MATR, which may write its error lines on OUTPUT_UNIT and set `status` to -1.
// The caller makes sure the store has room for 3 materials per layer.
ConvertedDiameterStep convert_diameter(const zadaza::SoilModel& model,
                                       const ConversionSettings& settings, std::int32_t i,
                                       ConversionWorkspace& workspace, int OUTPUT_UNIT,
                                       std::int32_t& status);

// The detail line of the banner a skipped diameter gets, e.g.
// "*** Identifiers already used by another diameter"; empty for a built one.
std::string_view skip_reason(DiameterOutcome outcome);

}  // namespace convert
