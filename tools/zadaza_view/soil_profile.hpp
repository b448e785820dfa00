// The soil profile: the layers drawn to scale by depth below the mudline, each labelled with
// its number and bottom depth.
#pragma once

#include <string>
#include <vector>

namespace view {

// Appends the profile's <svg> element for the layers whose bottoms are given, layer 1 first.
void append_soil_profile(std::string& out, const std::vector<double>& layer_bottoms);

}  // namespace view
