#include "convert/curve_scaling.hpp"

namespace convert {

namespace {

// The pi of the curve scaling is the single-precision 3.14159, widened.
constexpr double PI = static_cast<double>(3.14159F);

void scale_curve(std::int32_t i, std::int32_t j, double factor, const zadaza::CurveArray& stress,
                 const zadaza::CurveArray& delta, ScaledCurves& curve) {
  for (int k = 1; k <= zadaza::MAX_CURVE_POINTS; ++k) {
    curve(1, k, j) = stress(k, i, j) * factor;
    curve(2, k, j) = delta(k, i, j);
  }
}

}  // namespace

void G2K_SCAL(const zadaza::SoilModel& model, std::int32_t i, double D, ScaledCurves& PYCRV,
              ScaledCurves& TZCRV, ScaledCurves& QZCRV) {
  const double circumference = D * PI;
  const double tip_area = ((D * PI) * D) * 0.25;
  const std::int32_t layers = zadaza::layers_held(model.NUM_LAYERS);
  for (std::int32_t j = 1; j <= layers; ++j) {
    scale_curve(i, j, D, model.PY_P, model.PY_DELTA, PYCRV);
    scale_curve(i, j, circumference, model.TZ_P, model.TZ_DELTA, TZCRV);
    scale_curve(i, j, tip_area, model.QZ_P, model.QZ_DELTA, QZCRV);
  }
}

}  // namespace convert
