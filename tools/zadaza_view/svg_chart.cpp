#include "svg_chart.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "axes.hpp"
#include "markup.hpp"

namespace view {
namespace {

// Chart geometry in SVG units; the page scales the whole chart to its cell.
constexpr double kWidth = 260.0;
constexpr double kHeight = 206.0;
constexpr double kPlotLeft = 54.0;
constexpr double kPlotRight = 244.0;
constexpr double kPlotTop = 22.0;
constexpr double kPlotBottom = 150.0;
constexpr double kTitleBaseline = 12.0;
constexpr double kTickLabelBaseline = 160.0;
constexpr double kAxisTitleBaseline = 173.0;
constexpr double kLegendY = 192.0;
constexpr double kYTitleX = 11.0;
constexpr double kLegendWritten = 158.0;
constexpr double kLegendDropped = 206.0;
constexpr std::string_view kWrittenRadius = "2.2";
constexpr std::string_view kDroppedRadius = "4";
constexpr int kDisplacementIntervals = 4;
constexpr int kForceIntervals = 5;

struct Range {
  double low = std::numeric_limits<double>::max();
  double high = std::numeric_limits<double>::lowest();
  void add(double v) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool empty() const { return low > high; }
};

struct Plot {
  Axis x;
  Axis y;
};

Plot plot_over(Range x, Range y) {
  if (x.empty()) x = y = Range{0.0, 0.0};
  return {Axis(x.low, x.high, kPlotLeft, kPlotRight, kDisplacementIntervals),
          Axis(y.low, y.high, kPlotBottom, kPlotTop, kForceIntervals)};
}

Plot plot_of(const Chart& chart) {
  Range x;
  Range y;
  for (const ChartPoint& p : chart.curve) {
    if (!drawable(p)) continue;
    x.add(p.displacement);
    y.add(p.force);
  }
  return plot_over(x, y);
}

bool drawable_pair(const CurvePair& p) { return view::drawable(p.displacement) && view::drawable(p.force); }

void append_point(std::string& out, const Plot& plot, double displacement, double force) {
  append_pixel(out, plot.x.pixel(displacement));
  out += ' ';
  append_pixel(out, plot.y.pixel(force));
}

void append_text(std::string& out, std::string_view css_class, double x, double y,
                 std::string_view text) {
  out += "<text class=\"";
  out += css_class;
  out += "\" x=\"";
  append_pixel(out, x);
  out += "\" y=\"";
  append_pixel(out, y);
  out += "\">";
  out += text;
  out += "</text>";
}

std::string_view displacement_title(CurveType type) {
  return type == CurveType::PY ? "lateral displacement y" : "axial displacement z";
}

std::string_view force_title(CurveType type) {
  switch (type) {
    case CurveType::PY: return "lateral force p per length";
    case CurveType::TZ: return "skin friction t per length";
    case CurveType::QZ: return "tip force Q";
  }
  return "";
}

void append_title(std::string& out, const Chart& chart) {
  std::string title(curve_name(chart.type));
  title += chart.has_material ? "  material " + std::to_string(chart.material_id)
                              : "  no material";
  append_text(out, "t", 4.0, kTitleBaseline, title);
  if (chart.has_material) {
    append_text(out, "n", kWidth - 4.0, kTitleBaseline,
                "kept " + std::to_string(chart.written.size()) + " of " +
                    std::to_string(kCurvePoints));
  }
}

void append_vertical(std::string& out, double x) {
  out += 'M';
  append_pixel(out, x);
  out += ' ';
  append_pixel(out, kPlotTop);
  out += 'V';
  append_pixel(out, kPlotBottom);
}

void append_horizontal(std::string& out, double y) {
  out += 'M';
  append_pixel(out, kPlotLeft);
  out += ' ';
  append_pixel(out, y);
  out += 'H';
  append_pixel(out, kPlotRight);
}

// Grid lines at the ticks, the zero lines, then the plot frame.
void append_grid(std::string& out, const Plot& plot) {
  out += "<path class=\"g\" d=\"";
  for (int t = plot.x.first_tick(); t <= plot.x.last_tick(); ++t) {
    append_vertical(out, plot.x.pixel(plot.x.tick_value(t)));
  }
  for (int t = plot.y.first_tick(); t <= plot.y.last_tick(); ++t) {
    append_horizontal(out, plot.y.pixel(plot.y.tick_value(t)));
  }
  out += "\"/><path class=\"z\" d=\"";
  append_vertical(out, plot.x.pixel(0.0));
  append_horizontal(out, plot.y.pixel(0.0));
  out += "\"/><path class=\"f\" d=\"";
  append_horizontal(out, kPlotTop);
  out += 'V';
  append_pixel(out, kPlotBottom);
  out += 'H';
  append_pixel(out, kPlotLeft);
  out += "Z\"/>";
}

void append_ticks(std::string& out, const Plot& plot) {
  for (int t = plot.x.first_tick(); t <= plot.x.last_tick(); ++t) {
    append_text(out, "xt", plot.x.pixel(plot.x.tick_value(t)), kTickLabelBaseline,
                plot.x.tick_label(t));
  }
  for (int t = plot.y.first_tick(); t <= plot.y.last_tick(); ++t) {
    append_text(out, "yt", kPlotLeft - 3.0, plot.y.pixel(plot.y.tick_value(t)),
                plot.y.tick_label(t));
  }
}

void append_axis_titles(std::string& out, CurveType type) {
  append_text(out, "at", (kPlotLeft + kPlotRight) / 2.0, kAxisTitleBaseline,
              displacement_title(type));
  out += "<text class=\"at\" transform=\"translate(";
  append_pixel(out, kYTitleX);
  out += ' ';
  append_pixel(out, (kPlotTop + kPlotBottom) / 2.0);
  out += ") rotate(-90)\">";
  out += force_title(type);
  out += "</text>";
}

// The line through the drawable points (of displacement and force), broken where a point
// cannot be drawn.
template <class Points>
void append_line(std::string& out, std::string_view css_class, const Points& points,
                 const Plot& plot) {
  out += "<path class=\"";
  out += css_class;
  out += "\" d=\"";
  char command = 'M';
  for (const auto& p : points) {
    if (!drawable(p.displacement) || !drawable(p.force)) {
      command = 'M';
      continue;
    }
    out += command;
    append_point(out, plot, p.displacement, p.force);
    command = 'L';
  }
  out += "\"/>";
}

void append_circle(std::string& out, std::string_view css_class, std::string_view radius,
                   double x, double y) {
  out += "<circle class=\"";
  out += css_class;
  out += "\" cx=\"";
  append_pixel(out, x);
  out += "\" cy=\"";
  append_pixel(out, y);
  out += "\" r=\"";
  out += radius;
  out += "\"/>";
}

void append_marker(std::string& out, std::string_view css_class, std::string_view radius,
                   const Plot& plot, double displacement, double force) {
  append_circle(out, css_class, radius, plot.x.pixel(displacement), plot.y.pixel(force));
}

// Rings first, so that a dot written at nearly the same place stays visible inside its ring.
void append_markers(std::string& out, const Chart& chart, const Plot& plot) {
  for (const ChartPoint& p : chart.curve) {
    if (!p.kept && drawable(p)) {
      append_marker(out, "d", kDroppedRadius, plot, p.displacement, p.force);
    }
  }
  for (const CurvePair& p : chart.written) {
    if (drawable_pair(p)) {
      append_marker(out, "k", kWrittenRadius, plot, p.displacement, p.force);
    }
  }
}

void append_legend(std::string& out) {
  constexpr double kBaselineBelow = 3.0;
  constexpr double kLineLength = 14.0;
  out += "<g class=\"legend\"><path class=\"c\" d=\"M";
  append_pixel(out, kPlotLeft);
  out += ' ';
  append_pixel(out, kLegendY);
  out += 'h';
  append_pixel(out, kLineLength);
  out += "\"/>";
  append_text(out, "l", kPlotLeft + kLineLength + 4.0, kLegendY + kBaselineBelow,
              "ZADAZA curve scaled");
  append_circle(out, "k", kWrittenRadius, kLegendWritten, kLegendY);
  append_text(out, "l", kLegendWritten + 6.0, kLegendY + kBaselineBelow, "written");
  append_circle(out, "d", kDroppedRadius, kLegendDropped, kLegendY);
  append_text(out, "l", kLegendDropped + 8.0, kLegendY + kBaselineBelow, "dropped");
  out += "</g>";
}

// Spring series: the first in the written points' colour, the second in another.
constexpr std::array<std::string_view, 2> kSeriesLine{"s", "s2"};
constexpr std::string_view kRingRadius = "3.4";
constexpr std::string_view kSmallDotRadius = "1.5";
constexpr std::string_view kDifferingRadius = "5.5";

struct MarkerLook {
  std::string_view css_class;
  std::string_view radius;
};

MarkerLook look_of(SpringMarker marker, std::size_t series) {
  switch (marker) {
    case SpringMarker::Ring: return {kSpringRingClass[series], kRingRadius};
    case SpringMarker::SmallDot: return {kSpringDotClass[series], kSmallDotRadius};
    case SpringMarker::Dot: break;
  }
  return {kSpringDotClass[series], kWrittenRadius};
}

Plot plot_of(const SpringChart& chart) {
  Range x;
  Range y;
  for (const SpringSeries& series : chart.series) {
    for (const CurvePair& p : series.points) {
      if (!drawable_pair(p)) continue;
      x.add(p.displacement);
      y.add(p.force);
    }
  }
  return plot_over(x, y);
}

void append_series(std::string& out, const SpringSeries& series, std::size_t i, const Plot& plot) {
  append_line(out, kSeriesLine[i], series.points, plot);
  const MarkerLook look = look_of(series.marker, i);
  for (const CurvePair& p : series.points) {
    if (drawable_pair(p)) {
      append_marker(out, look.css_class, look.radius, plot, p.displacement, p.force);
    }
  }
}

// After every series, so that no marker covers them.
void append_differing(std::string& out, const SpringSeries& series, const Plot& plot) {
  for (const std::size_t k : series.differing) {
    if (k < series.points.size() && drawable_pair(series.points[k])) {
      const CurvePair& p = series.points[k];
      append_marker(out, kDifferingPointClass, kDifferingRadius, plot, p.displacement, p.force);
    }
  }
}

void append_series_legend(std::string& out, const SpringChart& chart) {
  constexpr double kBaselineBelow = 3.0;
  constexpr double kEntryWidth = 95.0;
  out += "<g class=\"legend\">";
  for (std::size_t i = 0; i < std::min(chart.series.size(), kSpringDotClass.size()); ++i) {
    const double x = kPlotLeft + kEntryWidth * static_cast<double>(i);
    const MarkerLook look = look_of(chart.series[i].marker, i);
    append_circle(out, look.css_class, look.radius, x, kLegendY);
    append_text(out, "l", x + 6.0, kLegendY + kBaselineBelow, escaped(chart.series[i].label));
  }
  out += "</g>";
}

// The chart's element up to its viewBox, whose value's closing quote follows.
void append_chart_opening(std::string& out) {
  out += "<svg class=\"chart\" viewBox=\"0 0 ";
  append_pixel(out, kWidth);
  out += ' ';
  append_pixel(out, kHeight);
}

}  // namespace

void append_spring_chart_svg(std::string& out, const SpringChart& chart) {
  const Plot plot = plot_of(chart);
  append_chart_opening(out);
  out += "\" data-curve=\"";
  out += curve_name(chart.type);
  out += '"';
  out += chart.attributes;
  out += " role=\"img\">";
  append_text(out, "t", 4.0, kTitleBaseline, escaped(chart.title));
  append_grid(out, plot);
  append_ticks(out, plot);
  append_axis_titles(out, chart.type);
  const std::size_t shown = std::min(chart.series.size(), kSeriesLine.size());
  for (std::size_t i = 0; i < shown; ++i) append_series(out, chart.series[i], i, plot);
  for (std::size_t i = 0; i < shown; ++i) append_differing(out, chart.series[i], plot);
  append_series_legend(out, chart);
  out += "</svg>";
}

void append_chart_svg(std::string& out, const Chart& chart, double diameter) {
  const Plot plot = plot_of(chart);
  append_chart_opening(out);
  out += "\" data-diameter=\"";
  out += shortest(diameter);
  out += "\" data-layer=\"";
  out += std::to_string(chart.layer);
  out += "\" data-curve=\"";
  out += curve_name(chart.type);
  if (chart.has_material) {
    out += "\" data-material=\"";
    out += std::to_string(chart.material_id);
  }
  out += "\" role=\"img\">";
  append_title(out, chart);
  append_grid(out, plot);
  append_ticks(out, plot);
  append_axis_titles(out, chart.type);
  append_line(out, "c", chart.curve, plot);
  append_markers(out, chart, plot);
  append_legend(out);
  out += "</svg>";
}

}  // namespace view
