// Scaling of a diameter's ZADAZA stress curves to force curves.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace convert {

// Per layer 23 (force, displacement) pairs of one curve type: curve(1, k, j) is the force and
// curve(2, k, j) the displacement of point k of layer j.
using ScaledCurves = io::Array<double, 2, zadaza::MAX_CURVE_POINTS, zadaza::MAX_LAYERS>;

// Fills PYCRV, TZCRV and QZCRV for diameter slot i of diameter D: P-y stress times D, T-z
// stress times the circumference, Q-z stress times the tip area, displacements unchanged, for
// all 23 points of the model's layers (at most 80).
void G2K_SCAL(const zadaza::SoilModel& model, std::int32_t i, double D, ScaledCurves& PYCRV,
              ScaledCurves& TZCRV, ScaledCurves& QZCRV);

}  // namespace convert
