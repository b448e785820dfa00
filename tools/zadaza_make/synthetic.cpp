#include "synthetic.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>

namespace zadaza_make {
namespace {

constexpr int kSidePoints = (kCurvePoints - 1) / 2;  // points on each side of the origin
constexpr int kOrigin = kSidePoints + 1;

// Soil values in the order the echo report shows them.
enum SoilValue { kUnitWeight, kFriction, kUndrained, kPoisson, kK0, kShearModulus, kEps50, kJ };

struct SoilState {
  bool sand = false;
  double z = 0.0;        // depth of the layer's middle
  double sigma_v = 0.0;  // effective vertical stress there
  std::array<double, 10> soil{};
};

// Normalised backbones: displacement and stress as fractions of a reference.
using Backbone = std::array<std::pair<double, double>, kSidePoints>;

constexpr std::array<double, kSidePoints> kMatlockSteps{0.05, 0.1, 0.2, 0.4, 0.7, 1.0,
                                                         1.6,  2.5, 4.0, 6.0, 8.0};
constexpr std::array<double, kSidePoints> kTanhSteps{0.02, 0.05, 0.1, 0.2, 0.35, 0.5,
                                                      0.75, 1.0,  1.5, 2.5, 4.0};
constexpr Backbone kTzClay{{{0.0008, 0.17}, {0.0016, 0.30}, {0.0031, 0.50}, {0.0045, 0.63},
                            {0.0057, 0.75}, {0.0080, 0.90}, {0.0100, 1.00}, {0.0150, 0.95},
                            {0.0200, 0.90}, {0.0300, 0.90}, {0.0500, 0.90}}};
constexpr Backbone kTzSand{{{0.0002, 0.20}, {0.0004, 0.35}, {0.0008, 0.55}, {0.0012, 0.70},
                            {0.0016, 0.82}, {0.0020, 0.92}, {0.00254, 1.00}, {0.005, 1.00},
                            {0.010, 1.00}, {0.020, 1.00}, {0.050, 1.00}}};
constexpr Backbone kQz{{{0.0005, 0.08}, {0.001, 0.14}, {0.002, 0.25}, {0.005, 0.36},
                        {0.009, 0.44}, {0.013, 0.50}, {0.025, 0.63}, {0.042, 0.75},
                        {0.073, 0.90}, {0.100, 1.00}, {0.150, 1.00}}};

// Points k = 1..23 from one side's (stress, displacement) pairs; the other side mirrors it,
// scaled by `tension` (0 for a tip that takes no tension).
Curve symmetric_curve(const std::array<std::pair<double, double>, kSidePoints>& side,
                      double tension) {
  Curve c;
  c.npts = kCurvePoints;
  c.iorg = kOrigin;
  for (int n = kSidePoints - 1; n >= 0; --n) {
    const auto& [p, d] = side[static_cast<std::size_t>(n)];
    c.points.emplace_back(-tension * p, -d);
  }
  c.points.emplace_back(0.0, 0.0);
  for (const auto& point : side) c.points.push_back(point);
  const auto& first = side.front();
  c.par = {side.back().first, first.first / first.second, tension * side.back().first};
  return c;
}

Curve matlock_py(const SoilState& s, double d) {
  const double su = s.soil[kUndrained];
  const double pu = std::min(3.0 + s.sigma_v / su + s.soil[kJ] * s.z / d, 9.0) * su;
  const double y50 = 2.5 * s.soil[kEps50] * d;
  std::array<std::pair<double, double>, kSidePoints> side{};
  for (std::size_t n = 0; n < side.size(); ++n) {
    const double ratio = kMatlockSteps[n];
    side[n] = {0.5 * pu * std::cbrt(ratio), ratio * y50};
  }
  Curve c = symmetric_curve(side, 1.0);
  c.par[0] = pu;
  c.par[2] = y50;
  return c;
}

Curve api_sand_py(const SoilState& s, double d) {
  const double phi = s.soil[kFriction];
  const double c1 = 0.115 * std::pow(10.0, 0.0405 * phi);
  const double c2 = 0.571 * std::pow(10.0, 0.022 * phi);
  const double c3 = 0.646 * std::pow(10.0, 0.0555 * phi);
  const double pu = std::min((c1 * s.z + c2 * d) * s.sigma_v, c3 * d * s.sigma_v) / d;
  const double a = std::max(3.0 - 0.8 * s.z / d, 0.9);
  const double k = 2700.0 * (phi - 25.0);  // kN/m3
  const double y_ref = a * pu * d / (k * s.z);
  std::array<std::pair<double, double>, kSidePoints> side{};
  for (std::size_t n = 0; n < side.size(); ++n) {
    const double y = kTanhSteps[n] * y_ref;
    side[n] = {a * pu * std::tanh(k * s.z * y / (a * pu * d)), y};
  }
  Curve c = symmetric_curve(side, 1.0);
  c.par[0] = a * pu;
  c.par[2] = y_ref;
  return c;
}

Curve scaled_backbone(const Backbone& shape, double peak, double displacement_scale,
                      double tension) {
  std::array<std::pair<double, double>, kSidePoints> side{};
  for (std::size_t n = 0; n < side.size(); ++n) {
    side[n] = {shape[n].second * peak, shape[n].first * displacement_scale};
  }
  Curve c = symmetric_curve(side, tension);
  c.par[0] = peak;
  c.par[2] = tension * peak;
  return c;
}

SlotCurves curves_for(const SoilState& s, double d) {
  SlotCurves c;
  if (s.sand) {
    c.py = api_sand_py(s, d);
    const double tmax = std::min(0.29 * s.sigma_v, 67.0);
    c.tz = scaled_backbone(kTzSand, tmax, 1.0, 1.0);
    c.qz = scaled_backbone(kQz, std::min(12.0 * s.sigma_v, 3000.0), d, 0.0);
  } else {
    c.py = matlock_py(s, d);
    const double su = s.soil[kUndrained];
    const double alpha = std::min(1.0, 0.5 / std::sqrt(su / s.sigma_v));
    c.tz = scaled_backbone(kTzClay, alpha * su, d, 1.0);
    c.qz = scaled_backbone(kQz, 9.0 * su, d, 0.0);
  }
  return c;
}

class SoilProfile {
 public:
  explicit SoilProfile(std::uint32_t seed) : random_(seed) {}

  SoilState next_layer(bool sand, double top) {
    SoilState s;
    s.sand = sand;
    const double thickness = 1.5 + 1.5 * unit();
    s.z = top + 0.5 * thickness;
    bottom_ = top + thickness;
    auto& v = s.soil;
    v[kUnitWeight] = sand ? 9.5 + unit() : 7.0 + 1.5 * unit();
    s.sigma_v = sigma_top_ + v[kUnitWeight] * 0.5 * thickness;
    sigma_top_ += v[kUnitWeight] * thickness;
    v[kFriction] = sand ? 30.0 + std::round(8.0 * unit()) : 0.0;
    v[kUndrained] = sand ? 0.0 : 15.0 + 2.0 * s.z * (0.8 + 0.4 * unit());
    v[kPoisson] = sand ? 0.3 : 0.45;
    v[kK0] = sand ? 1.0 - std::sin(v[kFriction] * std::acos(-1.0) / 180.0) : 0.6;
    v[kShearModulus] = sand ? 20000.0 + 2000.0 * s.z : 300.0 * v[kUndrained];
    v[kEps50] = sand ? 0.0 : 0.01 + 0.01 * unit();
    v[kJ] = sand ? 0.0 : 0.5;
    return s;
  }
  double bottom() const { return bottom_; }

 private:
  double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }

  std::mt19937 random_;
  double bottom_ = 0.0;
  double sigma_top_ = 0.0;
};

constexpr std::array<double, 8> kPileDiameters{0.9, 1.2, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0};

double diameter_of(int slot) {
  const auto n = kPileDiameters.size();
  const auto i = static_cast<std::size_t>(slot);
  return i < n ? kPileDiameters[i] : kPileDiameters[n - 1] + 0.5 * static_cast<double>(i - n + 1);
}

}  // namespace

ToolModel synthetic_model(const SyntheticSize& size) {
  ToolModel m;
  m.label = "Synthetic sand over soft clay, " + std::to_string(size.layers) + " layers, seed " +
            std::to_string(size.seed);
  for (int i = 0; i < size.diameters; ++i) {
    m.diameters.push_back(i < size.in_use ? diameter_of(i) : 0.0);
  }
  const int sand_layers = (size.layers * 2 + 4) / 5;
  SoilProfile profile(size.seed);
  for (int j = 0; j < size.layers; ++j) {
    const SoilState s = profile.next_layer(j < sand_layers, profile.bottom());
    Layer layer;
    layer.zbot = profile.bottom();
    layer.soil = s.soil;
    for (double d : m.diameters) layer.slots.push_back(d > 0.0 ? curves_for(s, d) : SlotCurves{});
    m.layers.push_back(layer);
  }
  m.scour_z = 1.5;
  m.soil_e0 = 5000.0;
  m.soil_ez = 1500.0;
  m.soil_nu = 0.35;
  for (int r = 1; r <= size.dsp; ++r) {
    DisplacementRow row;
    row.z = 2.0 * r;
    row.values = {0.05 * std::exp(-row.z / 10.0), 0.02 * std::exp(-row.z / 10.0),
                  -0.005 * std::exp(-row.z / 20.0), m.diameters.empty() ? 0.0 : m.diameters[0]};
    m.dsp.push_back(row);
  }
  return m;
}

}  // namespace zadaza_make
