// Checks of a ZADAZA file that read without error but whose data look wrong. Each finding is a
// warning on standard error; the run goes on and its output is unchanged.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace zadaza {

// Warns when layer bottoms do not increase in depth, when one of the first
// `active_diameters` diameters repeats another, and when a curve of a diameter in use has
// displacements not in increasing order before its tail of zero points, and when a curve of a
// diameter in use holds a value that is not finite.
void warn_implausible(const SoilModel& model, std::int32_t active_diameters);

}  // namespace zadaza
