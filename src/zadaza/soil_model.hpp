// The soil data model: everything read from a ZADAZA file, in fixed-size static storage.
//
// Arrays are indexed from 1, first index varying fastest, and always have the fixed maximum
// extents whatever the file's counts are; elements the file does not fill stay zero.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "io/array.hpp"

namespace zadaza {

inline constexpr int MAX_LAYERS = 80;
inline constexpr int MAX_PILES = 15;
inline constexpr int MAX_CURVE_POINTS = 23;
inline constexpr int MAX_DSP = 15;
inline constexpr int DSP_ROWS = 25;

using io::Array;

using LayerReals = Array<double, MAX_LAYERS>;
using CountTable = Array<std::int32_t, MAX_PILES, MAX_LAYERS>;           // (slot, layer)
using CurveArray = Array<double, MAX_CURVE_POINTS, MAX_PILES, MAX_LAYERS>;  // (point, slot, layer)
using ParameterArray = Array<double, 3, MAX_PILES, MAX_LAYERS>;          // (m, slot, layer)
using DiameterReals = Array<double, MAX_PILES>;

struct SoilModel {
  std::array<char, 80> ANALYSIS_LABEL{};
  std::int32_t NUM_LAYERS = 0;
  std::int32_t NUM_DSP = 0;
  std::int32_t NUM_DIAMETERS = 0;

  LayerReals ZBOT;
  Array<double, 10, MAX_LAYERS> LAYER_SOIL;

  CountTable NPTS_PY, NPTS_TZ, NPTS_QZ;
  CountTable IORG_PY, IORG_TZ, IORG_QZ;

  CurveArray PY_P, PY_DELTA;
  CurveArray TZ_P, TZ_DELTA;
  CurveArray QZ_P, QZ_DELTA;

  ParameterArray PY_PAR, TZ_PAR, QZ_PAR;

  DiameterReals DIAM;
  double SCOUR_Z = 0.0;
  double SOIL_E0 = 0.0;
  double SOIL_EZ = 0.0;
  double SOIL_NU = 0.0;

  Array<double, DSP_ROWS> DSP_Z;
  Array<double, MAX_PILES, DSP_ROWS> DSP_VAL;  // (value, row)
};

// The file's layer count kept within the model's extent, so that a damaged count can never
// index past the arrays.
constexpr std::int32_t layers_held(std::int32_t NUM_LAYERS) {
  return std::clamp(NUM_LAYERS, 0, MAX_LAYERS);
}

// The one soil data model of the run, zero at program start, filled once by the reader.
extern SoilModel SOIL_MODEL;

}  // namespace zadaza
