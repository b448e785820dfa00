#include "curves.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace families {
namespace {

using Ratios = std::array<double, kSidePoints>;

// Where each family's positive points are taken, in units of its scale.
constexpr Ratios kClayPyRatios{0.1, 0.3, 1.0, 2.0, 3.0, 5.0, 8.0, 10.0, 12.0, 15.0, 20.0};
constexpr Ratios kSandPyRatios{0.05, 0.1, 0.2, 0.35, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 5.0};
constexpr Ratios kClayTzRatios{0.0016, 0.0031, 0.0057, 0.0080, 0.0100, 0.0150,
                               0.0200, 0.0300, 0.0500, 0.0750, 0.1000};
constexpr Ratios kSandTzRatios{0.25, 0.5, 0.75, 1.0, 2.0, 4.0, 8.0, 12.0, 16.0, 24.0, 40.0};
constexpr Ratios kQzRatios{0.002, 0.005, 0.013, 0.025, 0.042, 0.060,
                           0.073, 0.100, 0.150, 0.200, 0.300};

constexpr double kSandTzPeak = 0.00254;  // m: 0.1 inch, where sand's skin friction is full
constexpr double kSandK0 = 0.4;
constexpr double kCyclicA = 0.9;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

}  // namespace

FamilyCurve::FamilyCurve(Shape shape, Mirror mirror, double ultimate, double scale,
                         const Ratios& ratios)
    : shape_(shape), mirror_(mirror), ultimate_(ultimate), scale_(scale), ratios_(ratios) {}

FamilyCurve& FamilyCurve::with_table(std::initializer_list<TablePoint> table) {
  if (table.size() > table_.size()) throw std::logic_error("a family table is too long");
  std::copy(table.begin(), table.end(), table_.begin());
  table_size_ = table.size();
  return *this;
}

double FamilyCurve::fraction_at(double ratio) const {
  if (shape_ == Shape::Tanh) return std::tanh(ratio);
  for (std::size_t i = 1; i < table_size_; ++i) {
    const TablePoint& a = table_[i - 1];
    const TablePoint& b = table_[i];
    if (ratio == b.ratio) return b.fraction;
    if (ratio < b.ratio) {
      return a.fraction + (b.fraction - a.fraction) * (ratio - a.ratio) / (b.ratio - a.ratio);
    }
  }
  return table_[table_size_ - 1].fraction;
}

double FamilyCurve::stress_at(double displacement) const {
  if (displacement < 0.0) {
    return mirror_ == Mirror::Negated ? -stress_at(-displacement) : 0.0;
  }
  return ultimate_ * fraction_at(displacement / scale_);
}

std::array<FamilyPoint, kCurvePoints> FamilyCurve::points() const {
  std::array<FamilyPoint, kCurvePoints> points{};
  for (int i = 0; i < kSidePoints; ++i) {
    const double ratio = ratios_[static_cast<std::size_t>(i)];
    const FamilyPoint positive{ratio * scale_, ultimate_ * fraction_at(ratio)};
    const FamilyPoint negative{-positive.displacement,
                               mirror_ == Mirror::Negated ? -positive.stress : 0.0};
    points[static_cast<std::size_t>(kOriginPoint + i)] = positive;
    points[static_cast<std::size_t>(kOriginPoint - 2 - i)] = negative;
  }
  return points;
}

double FamilyCurve::initial_slope() const {
  const FamilyPoint first = points()[static_cast<std::size_t>(kOriginPoint)];
  return first.stress / first.displacement;
}

std::optional<Station> station_at(const Profile& profile, double x, double diameter) {
  const SoilAt soil = soil_at(profile, x);
  if (soil.unit == nullptr) return std::nullopt;
  return Station{*soil.unit, x, soil.s, soil.su, diameter};
}

std::array<double, kLayerSoilFields> layer_soil(const Station& at) {
  const bool clay = at.unit.soil == Soil::Clay;
  return {at.unit.unit_weight,
          clay ? 0.0 : at.unit.sand.phi,
          at.su,
          0.0,
          0.0,
          clay ? at.unit.clay.eps50 : 0.0,
          clay ? at.unit.clay.J : 0.0,
          clay ? 0.0 : at.unit.sand.k,
          at.s,
          at.x};
}

SandCoefficients sand_coefficients(double phi) {
  const double p = radians(phi);
  const double a = radians(phi / 2.0);
  const double b = radians(45.0 + phi / 2.0);
  const double Ka = (1.0 - std::sin(p)) / (1.0 + std::sin(p));
  const double tb = std::tan(b);
  const double tbp = std::tan(b - p);
  SandCoefficients c;
  c.C1 = tb * tb * std::tan(a) / tbp + kSandK0 * (std::tan(p) * std::sin(b) / (std::cos(a) * tbp) +
                                                  tb * (std::tan(p) * std::sin(b) - std::tan(a)));
  c.C2 = tb / tbp - Ka;
  c.C3 = Ka * (std::pow(tb, 8) - 1.0) + kSandK0 * std::tan(p) * std::pow(tb, 4);
  return c;
}

double clay_pu(const Station& at) {
  const double D = at.diameter;
  return std::min(3.0 * at.su + at.s + at.unit.clay.J * at.su * at.x / D, 9.0 * at.su);
}

double clay_yc(const Station& at) { return 2.5 * at.unit.clay.eps50 * at.diameter; }

double sand_resistance(const Station& at, Loading loading) {
  const SandCoefficients c = sand_coefficients(at.unit.sand.phi);
  const double D = at.diameter;
  const double pu = std::min((c.C1 * at.x + c.C2 * D) * at.s, c.C3 * D * at.s);
  const double A = loading == Loading::Cyclic ? kCyclicA : std::max(3.0 - 0.8 * at.x / D, kCyclicA);
  return A * pu;
}

namespace {

FamilyCurve clay_py(const Station& at, Loading loading) {
  FamilyCurve curve(Shape::Table, Mirror::Negated, clay_pu(at), clay_yc(at), kClayPyRatios);
  if (loading == Loading::Static) {
    return curve.with_table(
        {{0.0, 0.0}, {0.1, 0.23}, {0.3, 0.33}, {1.0, 0.50}, {3.0, 0.72}, {8.0, 1.00}});
  }
  // The reduced resistance near the mudline: s / x is the mean effective unit weight above x.
  const double D = at.diameter;
  const double XR = std::max(6.0 * D / (at.s * D / (at.x * at.su) + at.unit.clay.J), 2.5 * D);
  const double r = std::min(1.0, at.x / XR);
  return curve.with_table(
      {{0.0, 0.0}, {0.1, 0.23}, {0.3, 0.33}, {1.0, 0.50}, {3.0, 0.72}, {15.0, 0.72 * r}});
}

FamilyCurve sand_py(const Station& at, Loading loading) {
  const double A_pu = sand_resistance(at, loading);
  const double yr = A_pu / (at.unit.sand.k * at.x);
  // Written as a stress: the converter multiplies by the diameter again.
  return FamilyCurve(Shape::Tanh, Mirror::Negated, A_pu / at.diameter, yr, kSandPyRatios);
}

double clay_alpha(const Station& at) {
  const double psi = at.su / at.s;
  return std::min(psi <= 1.0 ? 0.5 * std::pow(psi, -0.5) : 0.5 * std::pow(psi, -0.25), 1.0);
}

}  // namespace

FamilyCurve py_curve(const Station& at, Loading loading) {
  return at.unit.soil == Soil::Clay ? clay_py(at, loading) : sand_py(at, loading);
}

FamilyCurve tz_curve(const Station& at) {
  if (at.unit.soil == Soil::Sand) {
    const double tmax = std::min(at.unit.sand.beta * at.s, at.unit.sand.f_lim);
    return FamilyCurve(Shape::Table, Mirror::Negated, tmax, kSandTzPeak, kSandTzRatios)
        .with_table({{0.0, 0.0}, {1.0, 1.0}});
  }
  FamilyCurve curve(Shape::Table, Mirror::Negated, clay_alpha(at) * at.su, at.diameter,
                    kClayTzRatios);
  return curve.with_table({{0.0, 0.0},
                           {0.0016, 0.30},
                           {0.0031, 0.50},
                           {0.0057, 0.75},
                           {0.0080, 0.90},
                           {0.0100, 1.00},
                           {0.0200, at.unit.clay.t_res}});
}

FamilyCurve qz_curve(const Station& at) {
  const SandValues& sand = at.unit.sand;
  const double qmax =
      at.unit.soil == Soil::Clay ? 9.0 * at.su : std::min(sand.Nq * at.s, sand.q_lim);
  FamilyCurve curve(Shape::Table, Mirror::NoTension, qmax, at.diameter, kQzRatios);
  return curve.with_table(
      {{0.0, 0.0}, {0.002, 0.25}, {0.013, 0.50}, {0.042, 0.75}, {0.073, 0.90}, {0.100, 1.00}});
}

FamilyCurve curve_of(CurveKind kind, const Station& at, Loading loading) {
  switch (kind) {
    case CurveKind::PY:
      return py_curve(at, loading);
    case CurveKind::TZ:
      return tz_curve(at);
    case CurveKind::QZ:
      return qz_curve(at);
  }
  throw std::logic_error("no such curve kind");
}

}  // namespace families
