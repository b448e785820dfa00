// The soil data model the converter's reader filled, as a model zadaza-make writes again.
#pragma once

#include "tool_model.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza_make {

// Everything the reader keeps: written again, it gives a file that reads into the same soil
// data model, and the very file when the original was written by zadaza-make with the same
// framing. Trailing zero points of a curve beyond its point count, trailing blanks of the
// label and zero displacement rows beyond the count are left out, as the writer adds them.
ToolModel decoded_model(const zadaza::SoilModel& soil, bool old_generation);

}  // namespace zadaza_make
