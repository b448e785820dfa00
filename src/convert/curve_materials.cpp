#include "convert/curve_materials.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "convert/banners.hpp"
#include "convert/identifiers.hpp"
#include "io/units.hpp"

namespace convert {

namespace {

// The thinning tolerance is the single-precision 0.01, widened.
constexpr double kThinTolerance = static_cast<double>(0.01F);
constexpr double kZeroBelow = 1.0E-99;

constexpr double kElastoPlasticLaw = 4.0;  // P-y and T-z materials: ELPLCURV in KNF
constexpr double kHyperElasticLaw = 2.0;   // Q-z materials: HYPELAST in KNF

struct CurveRow {
  const ScaledCurves& curves;
  std::int32_t curve_type;
  double law_code;
};

std::span<const double> layer_curve(const ScaledCurves& curves, std::int32_t layer,
                                    std::int32_t points) {
  return {curves.at(1, 1, layer), static_cast<std::size_t>(2 * points)};
}

std::span<double> pairs_of(MaterialStore& store, std::int32_t m) {
  return {store.RMAT.at(kRmatFirstPair, m), static_cast<std::size_t>(2 * kMaxRecordPairs)};
}

void store_material(MaterialStore& store, std::span<const double> thinned, std::int32_t id,
                    double law_code, std::int32_t n) {
  const std::int32_t m = ++store.NMAT;
  store.MATID(m) = id;
  store.MATTYP(m) = kSpringCurveKind;
  store.RMAT(kRmatLaw, m) = law_code;
  for (int v = kRmatFirstUnused; v <= kRmatLastUnused; ++v) store.RMAT(v, m) = 0.0;
  store.RMAT(kRmatPointCount, m) = n;
  R_COPY(thinned, pairs_of(store, m), n);
}

double zero_if_tiny(double v) { return std::fabs(v) < kZeroBelow ? 0.0 : v; }

}  // namespace

void G2K_MATR(ConversionWorkspace& workspace, std::int32_t NUM_LAYERS,
              std::int32_t points_per_curve, std::int32_t ID_OFFSET, double D, int OUTPUT_UNIT,
              std::int32_t& status) {
  if (points_per_curve > kMaxThinPoints) {
    write_limit_banner(OUTPUT_UNIT, "*** ERROR IN G2K_MATR ***",
                       "*** Number of Points Exceeds Max of ", kMaxThinPoints);
    status = -1;
    return;
  }
  // The scaled curves hold 23 points; a larger count cannot read past them.
  const std::int32_t points = std::clamp(points_per_curve, 0, zadaza::MAX_CURVE_POINTS);
  const std::array<CurveRow, 3> rows{{{workspace.PYCRV, kPyCurve, kElastoPlasticLaw},
                                      {workspace.TZCRV, kTzCurve, kElastoPlasticLaw},
                                      {workspace.QZCRV, kQzCurve, kHyperElasticLaw}}};
  auto& CRVBUF = workspace.CRVBUF;
  const std::int32_t layers = zadaza::layers_held(NUM_LAYERS);
  for (std::int32_t j = 1; j <= layers; ++j) {
    for (const CurveRow& row : rows) {
      const std::int32_t id = MAT_ID(D, j, row.curve_type, ID_OFFSET);
      R_FILL(CRVBUF, kMaxThinPoints, 0.0);
      std::int32_t n = points;
      CRV_THIN(layer_curve(row.curves, j, points), CRVBUF, n);
      store_material(workspace.MATERIAL_STORE, CRVBUF, id, row.law_code, n);
    }
  }
}

void CRV_THIN(std::span<const double> curve, std::span<double> buffer, std::int32_t& n) {
  if (n < 1) return;
  R_COPY(curve, buffer, 1);
  std::int32_t kept = 1;
  double xr = curve[0];
  double dr = curve[1];
  for (std::int32_t k = 2; k <= n; ++k) {
    const double x = curve[static_cast<std::size_t>(2 * (k - 1))];
    const double d = curve[static_cast<std::size_t>(2 * (k - 1) + 1)];
    if (SAME_REL(x, xr, kThinTolerance) && SAME_REL(d, dr, kThinTolerance)) continue;
    R_COPY(curve.subspan(static_cast<std::size_t>(2 * (k - 1))),
           buffer.subspan(static_cast<std::size_t>(2 * kept)), 1);
    ++kept;
    xr = x;
    dr = d;
  }
  n = kept;
}

bool SAME_REL(double x, double r, double tol) {
  if (x == 0.0 && r == 0.0) return true;
  const double xs = zero_if_tiny(x);
  const double rs = zero_if_tiny(r);
  double q = 0.0;
  if (xs != 0.0) {
    q = rs / xs;
  } else if (rs == 0.0) {
    q = 1.0;
  }
  return 1.0 - tol < q && q < 1.0 + tol;
}

void R_FILL(std::span<double> array, std::int32_t pairs, double value) {
  std::fill_n(array.begin(), 2 * pairs, value);
}

void R_COPY(std::span<const double> source, std::span<double> destination, std::int32_t pairs) {
  std::copy_n(source.begin(), 2 * pairs, destination.begin());
}

}  // namespace convert
