#include "decode.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace zadaza_make {
namespace {

using zadaza::SoilModel;

// Only +0.0 is what the writer puts in unwritten places; -0.0 is data.
bool unwritten(double v) { return std::bit_cast<std::uint64_t>(v) == 0; }

Curve decoded_curve(const zadaza::CurveArray& p, const zadaza::CurveArray& delta,
                    const zadaza::ParameterArray& par, std::int32_t npts, std::int32_t iorg,
                    int i, int j) {
  Curve c;
  c.npts = npts;
  c.iorg = iorg;
  for (int m = 1; m <= 3; ++m) c.par[static_cast<std::size_t>(m - 1)] = par(m, i, j);
  int given = kCurvePoints;
  const int at_least = std::clamp(npts, 0, kCurvePoints);
  while (given > at_least && unwritten(p(given, i, j)) && unwritten(delta(given, i, j))) --given;
  for (int k = 1; k <= given; ++k) c.points.emplace_back(p(k, i, j), delta(k, i, j));
  return c;
}

SlotCurves decoded_slot(const SoilModel& s, int i, int j) {
  return {decoded_curve(s.PY_P, s.PY_DELTA, s.PY_PAR, s.NPTS_PY(i, j), s.IORG_PY(i, j), i, j),
          decoded_curve(s.TZ_P, s.TZ_DELTA, s.TZ_PAR, s.NPTS_TZ(i, j), s.IORG_TZ(i, j), i, j),
          decoded_curve(s.QZ_P, s.QZ_DELTA, s.QZ_PAR, s.NPTS_QZ(i, j), s.IORG_QZ(i, j), i, j)};
}

bool zero_row(const SoilModel& s, int r) {
  if (!unwritten(s.DSP_Z(r))) return false;
  for (int v = 1; v <= zadaza::MAX_PILES; ++v) {
    if (!unwritten(s.DSP_VAL(v, r))) return false;
  }
  return true;
}

void decode_diameters(const SoilModel& s, int groups, ToolModel& m) {
  int listed = zadaza::MAX_PILES;
  while (listed > groups && unwritten(s.DIAM(listed))) --listed;
  for (int i = 1; i <= listed; ++i) m.diameters.push_back(s.DIAM(i));
  if (listed != groups) m.groups = groups;
}

void decode_displacements(const SoilModel& s, ToolModel& m) {
  // The record is read only for a count of at least 1.
  if (s.NUM_DSP < 1) return;
  int rows = zadaza::DSP_ROWS;
  while (rows > s.NUM_DSP && zero_row(s, rows)) --rows;
  for (int r = 1; r <= rows; ++r) {
    DisplacementRow row;
    row.z = s.DSP_Z(r);
    for (int v = 1; v <= kDisplacementValues; ++v) {
      row.values[static_cast<std::size_t>(v - 1)] = s.DSP_VAL(v, r);
    }
    m.dsp.push_back(row);
  }
}

}  // namespace

ToolModel decoded_model(const SoilModel& s, bool old_generation) {
  ToolModel m;
  m.old_generation = old_generation;
  m.label.assign(s.ANALYSIS_LABEL.data(), s.ANALYSIS_LABEL.size());
  m.label.erase(m.label.find_last_not_of(' ') + 1);

  const int layers = zadaza::layers_held(s.NUM_LAYERS);
  const int groups = std::clamp(s.NUM_DIAMETERS, 0, zadaza::MAX_PILES);
  decode_diameters(s, groups, m);
  for (int j = 1; j <= layers; ++j) {
    Layer layer;
    layer.zbot = s.ZBOT(j);
    for (int v = 1; v <= 10; ++v) layer.soil[static_cast<std::size_t>(v - 1)] = s.LAYER_SOIL(v, j);
    for (int i = 1; i <= groups; ++i) layer.slots.push_back(decoded_slot(s, i, j));
    m.layers.push_back(layer);
  }
  m.scour_z = s.SCOUR_Z;
  m.soil_e0 = s.SOIL_E0;
  m.soil_ez = s.SOIL_EZ;
  m.soil_nu = s.SOIL_NU;
  decode_displacements(s, m);

  // Counts the model's data do not imply, such as a negative one, are written as read.
  if (s.NUM_LAYERS != m.num_layers() || s.NUM_DSP != m.num_dsp() ||
      (!old_generation && s.NUM_DIAMETERS != m.num_diameters())) {
    m.counts = {s.NUM_LAYERS, s.NUM_DSP, old_generation ? m.num_diameters() : s.NUM_DIAMETERS};
  }
  return m;
}

}  // namespace zadaza_make
