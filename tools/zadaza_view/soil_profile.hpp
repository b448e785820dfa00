// The soil profile: the layers drawn to scale by depth below the mudline, each labelled with
// its number and bottom depth.
#pragma once

#include <string>

#include "zadaza/soil_model.hpp"

namespace view {

// Appends the profile's <svg> element for layers 1..NUM_LAYERS of the model.
void append_soil_profile(std::string& out, const zadaza::SoilModel& model);

}  // namespace view
