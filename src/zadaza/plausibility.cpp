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

// The last point before the curve's tail of (0, 0) points; 0 when every point is (0, 0).
std::int32_t last_before_zero_tail(const Curve& curve, std::int32_t i, std::int32_t j) {
  std::int32_t last = MAX_CURVE_POINTS;
  while (last > 0 && curve.P(last, i, j) == 0.0 && curve.DELTA(last, i, j) == 0.0) --last;
  return last;
}

// The first point whose displacement is below the one before it, among the points before the
// curve's zero tail; 0 when none is. An equal displacement is not out of order (a repeated
// pair is one the thinning drops).
std::int32_t first_disorder(const Curve& curve, std::int32_t i, std::int32_t j) {
  const std::int32_t last = last_before_zero_tail(curve, i, j);
  for (std::int32_t k = 2; k <= last; ++k) {
    if (curve.DELTA(k, i, j) < curve.DELTA(k - 1, i, j)) return k;
  }
  return 0;
}

// The point after which the curve has only (0, 0) points, when it has non-zero points before
// them; 0 for a curve of 23 points in use, or of zero points only.
std::int32_t zero_tail_after(const Curve& curve, std::int32_t i, std::int32_t j) {
  const std::int32_t last = last_before_zero_tail(curve, i, j);
  return last < MAX_CURVE_POINTS ? last : 0;
}

// The first curve of a diameter in use for which `finding` gives a point, and how many
// curves it gives one for.
struct CurveFinding {
  std::int32_t found = 0;
  std::string_view name;
  std::int32_t slot = 0;
  std::int32_t layer = 0;
  std::int32_t point = 0;
};

CurveFinding find_in_curves(const SoilModel& m, std::int32_t diameters, std::int32_t layers,
                            std::int32_t (*finding)(const Curve&, std::int32_t, std::int32_t)) {
  const Curve curves[] = {
      {"P-y", m.PY_P, m.PY_DELTA}, {"T-z", m.TZ_P, m.TZ_DELTA}, {"Q-z", m.QZ_P, m.QZ_DELTA}};
  CurveFinding first;
  for (std::int32_t i = 1; i <= diameters; ++i) {
    for (std::int32_t j = 1; j <= layers; ++j) {
      for (const Curve& curve : curves) {
        const std::int32_t k = finding(curve, i, j);
        if (k == 0 || first.found++ > 0) continue;
        first.name = curve.name;
        first.slot = i;
        first.layer = j;
        first.point = k;
      }
    }
  }
  return first;
}

void find_layer_order(const SoilModel& m, std::int32_t layers, Findings& findings) {
  std::int32_t steps = 0;
  std::int32_t first = 0;
  for (std::int32_t j = 2; j <= layers; ++j) {
    if (m.ZBOT(j) > m.ZBOT(j - 1)) continue;
    if (steps++ == 0) first = j;
  }
  if (steps == 0) return;
  io::NumberText layer, above, depth, above_depth, count;
  findings.add().append({"layer bottoms do not increase in depth: layer ", layer.of(first),
                    " at ", depth.of(m.ZBOT(first)), " follows layer ", above.of(first - 1), " at ",
                    above_depth.of(m.ZBOT(first - 1)), " (", count.of(steps),
                    " such layers); check the ZADAZA file"});
}

void find_repeated_diameters(const SoilModel& m, std::int32_t diameters, Findings& findings) {
  for (std::int32_t i = 2; i <= diameters; ++i) {
    for (std::int32_t k = 1; k < i; ++k) {
      if (m.DIAM(i) != m.DIAM(k)) continue;
      io::NumberText slot, value, other;
      findings.add().append({"diameter ", slot.of(i), " (", value.of(m.DIAM(i)),
                        ") repeats diameter ", other.of(k), "; check the ZADAZA file"});
      break;
    }
  }
}

// One finding for the first curve `finding` gives a point for, and how many curves it does:
// "<what>: <curve> curve of diameter I, layer J<at>K (N such curves)<then>".
void add_curve_finding(const SoilModel& m, std::int32_t diameters, std::int32_t layers,
                       std::int32_t (*finding)(const Curve&, std::int32_t, std::int32_t),
                       std::string_view what, std::string_view at, std::string_view then,
                       Findings& findings) {
  const CurveFinding f = find_in_curves(m, diameters, layers, finding);
  if (f.found == 0) return;
  io::NumberText diameter, at_layer, at_point, count;
  findings.add().append({what, ": ", f.name, " curve of diameter ", diameter.of(f.slot),
                    ", layer ", at_layer.of(f.layer), at, at_point.of(f.point), " (",
                    count.of(f.found), " such curves)", then});
}

// Levels are measured from the mudline depth, so a bottom at or above it gives a level on the
// wrong side of the mudline. (A level of -0 is named 0, as the soil file writes it.)
void find_layers_above_mudline(const SoilModel& m, std::int32_t layers, double MUDLINE_Z,
                               double COORD_FACTOR, Findings& findings) {
  if (MUDLINE_Z == 0.0) return;
  const double depth = std::abs(MUDLINE_Z);
  std::int32_t found = 0;
  std::int32_t first = 0;
  for (std::int32_t j = 1; j <= layers; ++j) {
    if (m.ZBOT(j) <= depth && found++ == 0) first = j;
  }
  if (found == 0) return;
  io::NumberText layer, bottom, mudline, level, count;
  findings.add().append({"layer ", layer.of(first), " has its bottom at ",
                    bottom.of(m.ZBOT(first)), ", not below the mudline depth ", mudline.of(depth),
                    ": its bottom level becomes ",
                    level.of((m.ZBOT(first) - depth) * COORD_FACTOR + 0.0), " (", count.of(found),
                    " such layers); check the mudline answer and the ZADAZA file"});
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

}  // namespace

void Finding::append(std::initializer_list<std::string_view> pieces) {
  for (const std::string_view piece : pieces) {
    const std::size_t room = kLength - length_;
    const std::size_t taken = piece.size() < room ? piece.size() : room;
    std::copy_n(piece.data(), taken, text_.data() + length_);
    length_ += taken;
  }
}

Findings find_implausible(const SoilModel& model, std::int32_t active_diameters,
                          double MUDLINE_Z, double COORD_FACTOR) {
  const std::int32_t layers = layers_held(model.NUM_LAYERS);
  const std::int32_t diameters = std::clamp(active_diameters, 0, MAX_PILES);
  Findings findings;
  find_layer_order(model, layers, findings);
  find_layers_above_mudline(model, layers, MUDLINE_Z, COORD_FACTOR, findings);
  find_repeated_diameters(model, diameters, findings);
  add_curve_finding(model, diameters, layers, first_disorder,
                    "displacements not in increasing order", ", point ",
                    "; check the ZADAZA file", findings);
  add_curve_finding(model, diameters, layers, zero_tail_after, "curves ending in (0, 0) points",
                    ", after point ",
                    "; the spring written for each ends in the point (0, 0); check the ZADAZA "
                    "file",
                    findings);
  // Such values go into the soil file as they are, where KRANO cannot use them.
  add_curve_finding(model, diameters, layers, first_non_finite,
                    "values not finite (NaN or Infinity)", ", point ",
                    ", written into the soil file as they are; check the ZADAZA file", findings);
  return findings;
}

void warn_implausible(const SoilModel& model, std::int32_t active_diameters, double MUDLINE_Z,
                      double COORD_FACTOR) {
  const Findings findings = find_implausible(model, active_diameters, MUDLINE_Z, COORD_FACTOR);
  for (std::size_t f = 0; f < findings.count; ++f) {
    io::report_error({"warning: ", findings.found[f].text()});
  }
}

}  // namespace zadaza
