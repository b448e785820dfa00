#include "charts_read_back.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace view_test {
namespace {

double number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

AxisMapping mapping(const Element& svg, const char* css_class, const char* position) {
  std::vector<std::pair<double, double>> ticks;
  for (const Element* label : with_class(svg, css_class)) {
    ticks.emplace_back(number(label->attribute(position)), number(label->text));
  }
  if (ticks.size() < 2) return {};
  return {ticks.front().first, ticks.front().second, ticks.back().first, ticks.back().second};
}

}  // namespace

// Runs of digits, signs and decimal points: path commands and blanks separate them.
std::vector<std::string> numbers_in(const std::string& text) {
  std::vector<std::string> found;
  std::string current;
  for (const char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+') {
      current += c;
      continue;
    }
    if (!current.empty()) found.push_back(current);
    current.clear();
  }
  if (!current.empty()) found.push_back(current);
  return found;
}

double AxisMapping::value(double pixel) const {
  const double slope = (last_value - first_value) / (last_pixel - first_pixel);
  return first_value + (pixel - first_pixel) * slope;
}

double AxisMapping::per_pixel() const {
  return std::abs((last_value - first_value) / (last_pixel - first_pixel));
}

bool AxisMapping::contains(double v) const {
  return std::min(first_value, last_value) <= v && v <= std::max(first_value, last_value);
}

ChartReading read_chart(const Element& svg) {
  ChartReading reading{mapping(svg, "xt", "x"), mapping(svg, "yt", "y"), {}, {}, {}};
  auto point = [&](double x, double y) {
    return std::make_pair(reading.displacement.value(x), reading.force.value(y));
  };
  for (const Element& child : svg.children) {
    if (child.name == "path" && child.has_class("c")) {
      const std::vector<std::string> n = numbers_in(child.attribute("d"));
      for (std::size_t i = 0; i + 1 < n.size(); i += 2) {
        reading.line.push_back(point(number(n[i]), number(n[i + 1])));
      }
    } else if (child.name == "circle") {
      const auto p = point(number(child.attribute("cx")), number(child.attribute("cy")));
      (child.has_class("k") ? reading.written : reading.dropped).push_back(p);
    }
  }
  return reading;
}

std::vector<std::string> coordinate_attributes(const Element& root) {
  static const char* const kCoordinates[] = {"x", "y",       "cx",        "cy",    "r",
                                             "d", "viewBox", "transform", "width", "height"};
  std::vector<std::string> found;
  std::vector<const Element*> all;
  collect(root, [](const Element&) { return true; }, all);
  for (const Element* e : all) {
    for (const char* key : kCoordinates) {
      if (e->attributes.contains(key)) found.push_back(e->attribute(key));
    }
  }
  return found;
}

}  // namespace view_test
