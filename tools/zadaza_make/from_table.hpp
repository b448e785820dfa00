// A soil model from a CSV table of curve points, such as zadaza-view --table writes.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tool_model.hpp"

namespace zadaza_make {

struct CurveTable {
  ToolModel model;
  // A diameter the converter will not convert from the file, each said in a line.
  std::vector<std::string> warnings;
};

// Reads an RFC 4180 table with a header row (common/csv.hpp). The columns layer, z_bottom, diameter, curve
// (P-y, T-z, Q-z), point, displacement and stress are needed, in any order; others are passed
// over. Diameters take their slots in the order they first appear; a curve's point count is
// its number of points. Throws std::runtime_error naming the row (the header is row 1) and the
// column of the first fault: a table that does not read as one, a missing point, a layer
// without all three curves for each diameter, layers not numbered 1 to n, more than the size
// limits of the soil model (layers, diameters, or 4 for the Old generation, points), an
// unreadable number.
CurveTable read_curve_table(std::istream& in, bool old_generation);

}  // namespace zadaza_make
