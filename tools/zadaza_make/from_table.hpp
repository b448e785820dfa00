// A soil model from a CSV table of curve points, such as zadaza-view --table writes.
#pragma once

#include <iosfwd>

#include "tool_model.hpp"

namespace zadaza_make {

// Reads an RFC 4180 table with a header row. The columns layer, z_bottom, diameter, curve
// (P-y, T-z, Q-z), point, displacement and stress are needed, in any order; others are passed
// over. Diameters take their slots in the order they first appear; a curve's point count is
// its number of points. Throws std::runtime_error naming the row (the header is row 1) and the
// column of the first fault: a missing point, a layer without all three curves for each
// diameter, layers not numbered 1 to n, more than the size limits (80 layers, 15 diameters or
// 4 for the Old generation, 23 points), an unreadable number.
ToolModel read_curve_table(std::istream& in, bool old_generation);

}  // namespace zadaza_make
