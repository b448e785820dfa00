// Scaling of a diameter's ZADAZA stress curves to force curves.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace convert {

// Per layer 23 (force, displacement) pairs of one curve type: curve(1, k, j) is the force and
// curve(2, k, j) the displacement of point k of layer j.
using ScaledCurves = zadaza::Array<double, 2, zadaza::MAX_CURVE_POINTS, zadaza::MAX_LAYERS>;

// Fills PYCRV, TZCRV and QZCRV for diameter slot i of diameter D: P-y stress times D, T-z
// stress times the circumference, Q-z stress times the tip area, displacements unchanged, for
// points 1..points_per_curve (at most 23) of layers 1..NUM_LAYERS (at most 80).
void G2K_SCAL(std::int32_t i, std::int32_t NUM_LAYERS, double D, std::int32_t points_per_curve,
              const zadaza::CurveArray& PY_P, const zadaza::CurveArray& PY_DELTA,
              const zadaza::CurveArray& TZ_P, const zadaza::CurveArray& TZ_DELTA,
              const zadaza::CurveArray& QZ_P, const zadaza::CurveArray& QZ_DELTA,
              ScaledCurves& PYCRV, ScaledCurves& TZCRV, ScaledCurves& QZCRV);

}  // namespace convert
