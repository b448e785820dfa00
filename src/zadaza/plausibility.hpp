// Checks of a ZADAZA file that read without error but whose data look wrong. Each finding is a
// warning on standard error; the run goes on and its output is unchanged.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace zadaza {

// Warns when layer bottoms do not increase in depth; when, with a mudline other than 0, a
// layer bottom lies at or above the mudline depth abs(MUDLINE_Z) (naming its level,
// (ZBOT - abs(MUDLINE_Z)) * COORD_FACTOR); when one of the first `active_diameters` diameters
// repeats another; and, for the curves of the diameters in use, when a displacement decreases
// before the curve's tail of (0, 0) points, and when such a tail follows non-zero points;
// and when a curve of a diameter in use holds a value that is not finite.
void warn_implausible(const SoilModel& model, std::int32_t active_diameters, double MUDLINE_Z,
                      double COORD_FACTOR);

}  // namespace zadaza
