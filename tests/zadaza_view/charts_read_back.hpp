// Reading a chart of the page back: its axis mapping from the tick labels, then its line and
// markers as values.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "page_reader.hpp"

namespace view_test {

// Value at a pixel, from the first and last tick label of an axis.
struct AxisMapping {
  double first_pixel = 0.0;
  double first_value = 0.0;
  double last_pixel = 0.0;
  double last_value = 0.0;

  double value(double pixel) const;
  double per_pixel() const;
  bool contains(double value) const;  // between the first and the last tick
};

struct ChartReading {
  AxisMapping displacement;  // x
  AxisMapping force;         // y
  std::vector<std::pair<double, double>> line;     // (displacement, force) of the vertices
  std::vector<std::pair<double, double>> written;  // dots, in document order
  std::vector<std::pair<double, double>> dropped;  // rings
};

// Reads one <svg class="chart"> element; the legend's samples are not part of the chart.
ChartReading read_chart(const Element& svg);

// The values of every coordinate attribute (x, y, cx, cy, r, d, viewBox, transform, width,
// height) of any element below `root`, as written.
std::vector<std::string> coordinate_attributes(const Element& root);

// The numbers of a coordinate attribute: runs of digits, signs and decimal points.
std::vector<std::string> numbers_in(const std::string& text);

}  // namespace view_test
