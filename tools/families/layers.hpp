// The layers of a profile: each soil unit cut into the fewest equal layers no thicker than the
// spacing, each with its curves taken at its mid-depth.
#pragma once

#include <vector>

#include "profile.hpp"
#include "zadaza/soil_model.hpp"

namespace families {

inline constexpr double kDefaultSpacing = 1.0;  // m
inline constexpr int kMaxLayers = zadaza::MAX_LAYERS;

struct LayerCut {
  double top = 0.0;
  double bottom = 0.0;
  double mid() const { return (top + bottom) / 2.0; }
};

// Throws ProfileError when the layers would be more than the converter reads, with the
// spacing that would do.
std::vector<LayerCut> cut_layers(const Profile& profile, double spacing);

// How many equal layers no thicker than the spacing a thickness takes.
int layers_in(double thickness, double spacing);

}  // namespace families
