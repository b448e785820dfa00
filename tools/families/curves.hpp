// The standard curve families of a pile in soil: P-y (lateral resistance), T-z (skin friction)
// and Q-z (tip resistance), each as the stress a ZADAZA file holds against displacement.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>

#include "profile.hpp"
#include "zadaza/soil_model.hpp"

namespace families {

enum class CurveKind { PY, TZ, QZ };

inline constexpr int kCurvePoints = zadaza::MAX_CURVE_POINTS;
inline constexpr int kSidePoints = (kCurvePoints - 1) / 2;  // on each side of the origin
inline constexpr int kOriginPoint = kSidePoints + 1;        // counted from 1
inline constexpr std::size_t kMaxTablePoints = 8;

// A family given as a table of displacement over its scale against stress over the ultimate.
struct TablePoint {
  double ratio = 0.0;
  double fraction = 0.0;
};

struct FamilyPoint {
  double displacement = 0.0;
  double stress = 0.0;
};

enum class Shape {
  Table,  // linear between the table's points, its last value beyond them
  Tanh    // stress over the ultimate is tanh of displacement over the scale
};

// What the negative side holds.
enum class Mirror {
  Negated,   // the positive side negated
  NoTension  // stress 0: the tip takes no tension
};

class FamilyCurve {
 public:
  FamilyCurve(Shape shape, Mirror mirror, double ultimate, double scale,
              const std::array<double, kSidePoints>& ratios);
  FamilyCurve& with_table(std::initializer_list<TablePoint> table);

  // The ultimate stress (PAR 1) and the ultimate in tension (PAR 3).
  double ultimate() const { return ultimate_; }
  double tension_ultimate() const { return mirror_ == Mirror::Negated ? ultimate_ : 0.0; }
  // The displacement one table ratio stands for (yc, D, yr or the 0.1 inch of sand).
  double scale() const { return scale_; }

  // The family's stress at any displacement, negative ones by the mirror.
  double stress_at(double displacement) const;

  // The written points, from the most negative displacement; the origin at kOriginPoint.
  std::array<FamilyPoint, kCurvePoints> points() const;

  // PAR 2: the written stress over the displacement at the first positive point.
  double initial_slope() const;

 private:
  double fraction_at(double ratio) const;

  Shape shape_;
  Mirror mirror_;
  double ultimate_;
  double scale_;
  std::array<double, kSidePoints> ratios_;
  std::array<TablePoint, kMaxTablePoints> table_{};
  std::size_t table_size_ = 0;
};

// Where the curves of a layer are taken, for one pile diameter.
struct Station {
  const SoilUnit& unit;
  double x = 0.0;   // depth below the mudline, m
  double s = 0.0;   // effective vertical stress at x, kPa
  double su = 0.0;  // undrained shear strength at x, kPa (0 in sand)
  double diameter = 0.0;
};

// The station at depth x of the profile; none below it.
std::optional<Station> station_at(const Profile& profile, double x, double diameter);

inline constexpr std::size_t kLayerSoilFields = 10;

// The soil values a ZADAZA layer holds: unit weight, phi (0 for clay), su at x (0 for sand),
// 0, 0, eps50, J, k, s and x, 0 where the soil has none.
std::array<double, kLayerSoilFields> layer_soil(const Station& at);

// The sand coefficients of the lateral resistance at friction angle phi (degrees).
struct SandCoefficients {
  double C1 = 0.0, C2 = 0.0, C3 = 0.0;
};
SandCoefficients sand_coefficients(double phi);

// The lateral resistance of clay (kPa) and its displacement scale yc; of sand, A pu (kN/m).
double clay_pu(const Station& at);
double clay_yc(const Station& at);
double sand_resistance(const Station& at, Loading loading);

FamilyCurve py_curve(const Station& at, Loading loading);
FamilyCurve tz_curve(const Station& at);
FamilyCurve qz_curve(const Station& at);
FamilyCurve curve_of(CurveKind kind, const Station& at, Loading loading);

}  // namespace families
