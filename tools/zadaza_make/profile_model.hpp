// A soil model of standard curves: a soil profile cut into layers, each with the P-y, T-z and
// Q-z family curves of every diameter.
#pragma once

#include <string>
#include <vector>

#include "families/profile.hpp"
#include "tool_model.hpp"

namespace zadaza_make {

struct ProfileRequest {
  std::vector<double> diameters;  // m, one slot each, in this order
  families::Loading loading = families::Loading::Static;
  double spacing = 0.0;  // the thickest layer, m
  std::string label;
};

// Throws families::ProfileError when the layers would be more than the converter reads, or a
// curve would overflow the range of numbers.
ToolModel profile_model(const families::Profile& profile, const ProfileRequest& request);

}  // namespace zadaza_make
