// One chart as inline SVG: the scaled ZADAZA curve as a line, the written spring points as
// dots, the points the thinning dropped as rings, round-number axes and a legend.
#pragma once

#include <array>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "charts.hpp"

namespace view {

// Appends the <svg> element of the chart. Its attributes name the diameter, layer, curve type
// and material; tick labels sit at their tick's pixel (x for the displacement axis, y for the
// force axis), so every marker can be read back through them. The legend's samples are
// grouped apart from the chart's own line and markers.
void append_chart_svg(std::string& out, const Chart& chart, double diameter);

// The classes of a spring chart's markers, by series: dots and rings; and the rings around
// the points that differ.
inline constexpr std::array<std::string_view, 2> kSpringDotClass{"k", "k2"};
inline constexpr std::array<std::string_view, 2> kSpringRingClass{"o", "o2"};
inline constexpr std::string_view kDifferingPointClass = "x";
// The style of those rings, for a page that draws them.
inline constexpr std::string_view kSpringRingStyle =
    ".o{fill:none;stroke:#1d4f9c;stroke-width:1}\n"
    ".o2{fill:none;stroke:#d2691e;stroke-width:1}\n"
    ".x{fill:none;stroke:#c8007a;stroke-width:1.4}\n";

// How a spring's points are marked: a dot; a ring, which a small dot of another spring at the
// same place leaves visible; or that small dot.
enum class SpringMarker { Dot, Ring, SmallDot };

// A spring as a soil file writes it: its points joined in the order written, a marker at each.
struct SpringSeries {
  std::string label;  // for the legend: "A", "B", or the file's name
  std::vector<CurvePair> points;
  SpringMarker marker = SpringMarker::Dot;
  std::set<std::size_t> differing;  // points (from 0) ringed in a contrasting colour
};

// Springs read from soil files, drawn over each other (at most two), with the axes of their
// curve type. `attributes` go into the <svg> element as they stand.
struct SpringChart {
  CurveType type = CurveType::PY;
  std::string title;
  std::string attributes;
  std::vector<SpringSeries> series;
};

void append_spring_chart_svg(std::string& out, const SpringChart& chart);

}  // namespace view
