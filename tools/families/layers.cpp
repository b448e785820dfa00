#include "layers.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace families {
namespace {

// A thickness that is a whole number of spacings in decimal (3.0 / 0.1) may come out a hair
// above it in binary; it still takes that whole number of layers.
constexpr double kWholeSlack = 1.0e-9;

std::string shortest(double v) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

}  // namespace

int layers_in(double thickness, double spacing) {
  // Beyond the limit the count only needs to say so, and must not overflow.
  const double n = std::ceil(thickness / spacing - kWholeSlack);
  return n > kMaxLayers ? kMaxLayers + 1 : std::max(1, static_cast<int>(n));
}

std::vector<LayerCut> cut_layers(const Profile& profile, double spacing) {
  int total = 0;
  for (const SoilUnit& u : profile.units) {
    total = std::min(total + layers_in(u.bottom - u.top, spacing), kMaxLayers + 1);
  }
  if (total > kMaxLayers) {
    throw ProfileError("the profile makes more than " + std::to_string(kMaxLayers) +
                       " layers, the most a ZADAZA file holds, at spacing " + shortest(spacing) +
                       " m; raise --spacing");
  }
  std::vector<LayerCut> cuts;
  for (const SoilUnit& u : profile.units) {
    const int n = layers_in(u.bottom - u.top, spacing);
    const double thickness = (u.bottom - u.top) / n;
    for (int i = 0; i < n; ++i) {
      const double top = u.top + thickness * i;
      cuts.push_back({top, i + 1 == n ? u.bottom : u.top + thickness * (i + 1)});
    }
  }
  return cuts;
}

}  // namespace families
