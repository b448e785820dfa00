#include "profile_model.hpp"

#include <algorithm>

#include "families/curves.hpp"
#include "families/layers.hpp"

namespace zadaza_make {
namespace {

Curve written(const families::FamilyCurve& family) {
  Curve curve;
  curve.npts = families::kCurvePoints;
  curve.iorg = families::kOriginPoint;
  curve.par = {family.ultimate(), family.initial_slope(), family.tension_ultimate()};
  for (const families::FamilyPoint& p : family.points()) {
    curve.points.emplace_back(p.stress, p.displacement);
  }
  return curve;
}

Layer layer_of(const families::Profile& profile, const families::LayerCut& cut,
               const ProfileRequest& request) {
  Layer layer;
  layer.zbot = cut.bottom;
  for (const double diameter : request.diameters) {
    // A layer's middle lies within the profile it was cut from.
    const families::Station at = families::station_at(profile, cut.mid(), diameter).value();
    layer.soil = families::layer_soil(at);
    layer.slots.push_back({written(families::py_curve(at, request.loading)),
                           written(families::tz_curve(at)), written(families::qz_curve(at))});
  }
  return layer;
}

}  // namespace

ToolModel profile_model(const families::Profile& profile, const ProfileRequest& request) {
  ToolModel model;
  model.label = request.label;
  model.diameters = request.diameters;
  for (const families::LayerCut& cut : families::cut_layers(profile, request.spacing)) {
    model.layers.push_back(layer_of(profile, cut, request));
  }
  return model;
}

}  // namespace zadaza_make
