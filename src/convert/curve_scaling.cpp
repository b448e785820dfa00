#include "convert/curve_scaling.hpp"

#include <algorithm>

namespace convert {

namespace {

// The pi of the curve scaling is the single-precision 3.14159, widened.
constexpr double PI = static_cast<double>(3.14159F);

void scale_curve(std::int32_t i, std::int32_t j, std::int32_t points, double factor,
                 const zadaza::CurveArray& stress, const zadaza::CurveArray& delta,
                 ScaledCurves& curve) {
  for (int k = 1; k <= points; ++k) {
    curve(1, k, j) = stress(k, i, j) * factor;
    curve(2, k, j) = delta(k, i, j);
  }
}

}  // namespace

void G2K_SCAL(std::int32_t i, std::int32_t NUM_LAYERS, double D, std::int32_t points_per_curve,
              const zadaza::CurveArray& PY_P, const zadaza::CurveArray& PY_DELTA,
              const zadaza::CurveArray& TZ_P, const zadaza::CurveArray& TZ_DELTA,
              const zadaza::CurveArray& QZ_P, const zadaza::CurveArray& QZ_DELTA,
              ScaledCurves& PYCRV, ScaledCurves& TZCRV, ScaledCurves& QZCRV) {
  const double circumference = D * PI;
  const double tip_area = ((D * PI) * D) * 0.25;
  const int layers = std::clamp(NUM_LAYERS, 0, zadaza::MAX_LAYERS);
  const int points = std::clamp(points_per_curve, 0, zadaza::MAX_CURVE_POINTS);
  for (int j = 1; j <= layers; ++j) {
    scale_curve(i, j, points, D, PY_P, PY_DELTA, PYCRV);
    scale_curve(i, j, points, circumference, TZ_P, TZ_DELTA, TZCRV);
    scale_curve(i, j, points, tip_area, QZ_P, QZ_DELTA, QZCRV);
  }
}

}  // namespace convert
