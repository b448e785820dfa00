#include "charts.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace view {
namespace {

bool same_bits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool same_pair(const CurvePair& written, const CurvePair& scaled) {
  return same_bits(written.force, scaled.force) &&
         same_bits(written.displacement, scaled.displacement);
}

void mark_kept(Chart& chart, const ConvertedCurve& curve) {
  std::size_t next = 0;
  for (int k = 0; k < kCurvePoints; ++k) {
    const CurvePair& point = curve.scaled[static_cast<std::size_t>(k)];
    ChartPoint& shown = chart.curve[static_cast<std::size_t>(k)];
    shown = {point.displacement, point.force, false, curve.stress[static_cast<std::size_t>(k)]};
    if (next < curve.written.size() && same_pair(curve.written[next], point)) {
      shown.kept = true;
      ++next;
    }
  }
}

bool all_zero(const Chart& chart) {
  return std::all_of(chart.curve.begin(), chart.curve.end(), [](const ChartPoint& p) {
    return p.displacement == 0.0 && p.force == 0.0;
  });
}

// The first point whose displacement is below that of the point before it, or 0.
int first_out_of_order(const Chart& chart) {
  for (int k = 1; k < kCurvePoints; ++k) {
    if (chart.curve[static_cast<std::size_t>(k)].displacement <
        chart.curve[static_cast<std::size_t>(k - 1)].displacement) {
      return k + 1;
    }
  }
  return 0;
}

std::string point_list(const std::vector<int>& numbers) {
  std::string list;
  for (const int n : numbers) list += (list.empty() ? "" : ", ") + std::to_string(n);
  return list;
}

void add_notes(Chart& chart) {
  const bool zeros = all_zero(chart);
  if (zeros) {
    chart.notes.push_back("all points are zero: the spring is the single point (0, 0)");
  }
  if (const int k = first_out_of_order(chart); k != 0) {
    chart.notes.push_back("displacements out of order: point " + std::to_string(k) +
                          " lies left of point " + std::to_string(k - 1));
  }
  if (chart.has_material && !zeros && 2 * chart.written.size() < kCurvePoints) {
    chart.notes.push_back("the thinning dropped " +
                          std::to_string(kCurvePoints - static_cast<int>(chart.written.size())) +
                          " of " + std::to_string(kCurvePoints) + " points");
  }
  std::vector<int> undrawable;
  for (int k = 0; k < kCurvePoints; ++k) {
    if (!drawable(chart.curve[static_cast<std::size_t>(k)])) undrawable.push_back(k + 1);
  }
  if (!undrawable.empty()) {
    chart.notes.push_back("not drawn, not a finite number or beyond 1e150: point " +
                          point_list(undrawable));
  }
}

}  // namespace

std::string_view curve_name(CurveType type) {
  switch (type) {
    case CurveType::PY: return "P-y";
    case CurveType::TZ: return "T-z";
    case CurveType::QZ: return "Q-z";
  }
  return "";
}

bool drawable(double value) { return std::fabs(value) <= kLargestDrawable; }

bool drawable(const ChartPoint& point) {
  return drawable(point.displacement) && drawable(point.force);
}

Chart make_chart(int layer, CurveType type, const ConvertedCurve& curve) {
  Chart chart;
  chart.layer = layer;
  chart.type = type;
  chart.has_material = true;
  chart.material_id = curve.material_id;
  chart.has_source = true;
  chart.written = curve.written;
  mark_kept(chart, curve);
  add_notes(chart);
  return chart;
}

}  // namespace view

