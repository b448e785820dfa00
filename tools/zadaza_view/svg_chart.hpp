// One chart as inline SVG: the scaled ZADAZA curve as a line, the written spring points as
// dots, the points the thinning dropped as rings, round-number axes and a legend.
#pragma once

#include <string>

#include "charts.hpp"

namespace view {

// Appends the <svg> element of the chart. Its attributes name the diameter, layer, curve type
// and material; tick labels sit at their tick's pixel (x for the displacement axis, y for the
// force axis), so every marker can be read back through them. The legend's samples are
// grouped apart from the chart's own line and markers.
void append_chart_svg(std::string& out, const Chart& chart, double diameter);

}  // namespace view
