#include "zadaza/plausibility.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "io/text.hpp"
#include "io/units.hpp"

namespace zadaza {
namespace {

struct Curve {
  std::string_view name;
  const CurveArray& P;
  const CurveArray& DELTA;
};

// The first point whose displacement is not above the one before it, among the points before
// the curve's tail of zero points; 0 when they increase throughout.
std::int32_t first_disorder(const Curve& curve, std::int32_t i, std::int32_t j) {
  std::int32_t last = MAX_CURVE_POINTS;
  while (last > 0 && curve.P(last, i, j) == 0.0 && curve.DELTA(last, i, j) == 0.0) --last;
  for (std::int32_t k = 2; k <= last; ++k) {
    if (!(curve.DELTA(k, i, j) > curve.DELTA(k - 1, i, j))) return k;
  }
  return 0;
}

void warn_layer_order(const SoilModel& m, std::int32_t layers) {
  std::int32_t steps = 0;
  std::int32_t first = 0;
  for (std::int32_t j = 2; j <= layers; ++j) {
    if (m.ZBOT(j) > m.ZBOT(j - 1)) continue;
    if (steps++ == 0) first = j;
  }
  if (steps == 0) return;
  io::NumberText layer, above, depth, above_depth, count;
  io::report_error({"warning: layer bottoms do not increase in depth: layer ", layer.of(first),
                    " at ", depth.of(m.ZBOT(first)), " follows layer ", above.of(first - 1), " at ",
                    above_depth.of(m.ZBOT(first - 1)), " (", count.of(steps),
                    " such layers); check the ZADAZA file"});
}

void warn_repeated_diameters(const SoilModel& m, std::int32_t diameters) {
  for (std::int32_t i = 2; i <= diameters; ++i) {
    for (std::int32_t k = 1; k < i; ++k) {
      if (m.DIAM(i) != m.DIAM(k)) continue;
      io::NumberText slot, value, other;
      io::report_error({"warning: diameter ", slot.of(i), " (", value.of(m.DIAM(i)),
                        ") repeats diameter ", other.of(k), "; check the ZADAZA file"});
      break;
    }
  }
}

void warn_curve_order(const SoilModel& m, std::int32_t diameters, std::int32_t layers) {
  const Curve curves[] = {
      {"P-y", m.PY_P, m.PY_DELTA}, {"T-z", m.TZ_P, m.TZ_DELTA}, {"Q-z", m.QZ_P, m.QZ_DELTA}};
  std::int32_t found = 0;
  std::string_view name;
  std::int32_t slot = 0, layer = 0, point = 0;
  for (std::int32_t i = 1; i <= diameters; ++i) {
    for (std::int32_t j = 1; j <= layers; ++j) {
      for (const Curve& curve : curves) {
        const std::int32_t k = first_disorder(curve, i, j);
        if (k == 0 || found++ > 0) continue;
        name = curve.name;
        slot = i;
        layer = j;
        point = k;
      }
    }
  }
  if (found == 0) return;
  io::NumberText diameter, at_layer, at_point, count;
  io::report_error({"warning: displacements not in increasing order: ", name, " curve of diameter ",
                    diameter.of(slot), ", layer ", at_layer.of(layer), ", point ",
                    at_point.of(point), " (", count.of(found),
                    " such curves); check the ZADAZA file"});
}

// The first point holding a value that is not finite (NaN or an infinity, in the stress or the
// displacement); 0 when every value is finite. All 23 points count: the conversion takes them
// all.
std::int32_t first_non_finite(const Curve& curve, std::int32_t i, std::int32_t j) {
  for (std::int32_t k = 1; k <= MAX_CURVE_POINTS; ++k) {
    if (!std::isfinite(curve.P(k, i, j)) || !std::isfinite(curve.DELTA(k, i, j))) return k;
  }
  return 0;
}

// Such values go into the soil file as they are, where KRANO cannot use them.
void warn_non_finite_values(const SoilModel& m, std::int32_t diameters, std::int32_t layers) {
  const Curve curves[] = {
      {"P-y", m.PY_P, m.PY_DELTA}, {"T-z", m.TZ_P, m.TZ_DELTA}, {"Q-z", m.QZ_P, m.QZ_DELTA}};
  std::int32_t found = 0;
  std::string_view name;
  std::int32_t slot = 0, layer = 0, point = 0;
  for (std::int32_t i = 1; i <= diameters; ++i) {
    for (std::int32_t j = 1; j <= layers; ++j) {
      for (const Curve& curve : curves) {
        const std::int32_t k = first_non_finite(curve, i, j);
        if (k == 0 || found++ > 0) continue;
        name = curve.name;
        slot = i;
        layer = j;
        point = k;
      }
    }
  }
  if (found == 0) return;
  io::NumberText diameter, at_layer, at_point, count;
  io::report_error({"warning: values not finite (NaN or Infinity): ", name, " curve of diameter ",
                    diameter.of(slot), ", layer ", at_layer.of(layer), ", point ",
                    at_point.of(point), " (", count.of(found),
                    " such curves), written into the soil file as they are; check the ZADAZA "
                    "file"});
}

}  // namespace

void warn_implausible(const SoilModel& model, std::int32_t active_diameters) {
  const std::int32_t layers = layers_held(model.NUM_LAYERS);
  const std::int32_t diameters = std::clamp(active_diameters, 0, MAX_PILES);
  warn_layer_order(model, layers);
  warn_repeated_diameters(model, diameters);
  warn_curve_order(model, diameters, layers);
  warn_non_finite_values(model, diameters, layers);
}

}  // namespace zadaza
