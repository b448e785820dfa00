// Synthetic soil models of any size: sand over soft clay with API-type curves.
#pragma once

#include <cstdint>

#include "tool_model.hpp"

namespace zadaza_make {

struct SyntheticSize {
  int layers = 0;
  int diameters = 0;  // diameter groups per layer
  int in_use = 0;     // leading diameters given a positive value, the rest 0
  int dsp = 0;
  std::uint32_t seed = 1;
};

// Stresses in kPa, displacements and depths in metres. Curves have 23 points with the origin
// at point 12; unused diameters get zero curves.
ToolModel synthetic_model(const SyntheticSize& size);

}  // namespace zadaza_make
