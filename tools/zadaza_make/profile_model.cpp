#include "profile_model.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

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

std::string shortest(double v) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

bool finite(const Curve& curve) {
  const auto finite_point = [](const std::pair<double, double>& p) {
    return std::isfinite(p.first) && std::isfinite(p.second);
  };
  return std::all_of(curve.par.begin(), curve.par.end(),
                     [](double v) { return std::isfinite(v); }) &&
         std::all_of(curve.points.begin(), curve.points.end(), finite_point);
}

// Values so large that a curve overflows are refused, never written as infinities.
void refuse_overflow(const SlotCurves& curves, const families::Station& at) {
  if (finite(curves.py) && finite(curves.tz) && finite(curves.qz)) return;
  throw families::ProfileError("row " + std::to_string(at.unit.row) + ": the curves at depth " +
                               shortest(at.x) + " m for diameter " + shortest(at.diameter) +
                               " m overflow the range of numbers; check the row's values");
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
    refuse_overflow(layer.slots.back(), at);
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
