#include "soil_profile.hpp"

#include <algorithm>
#include <vector>

#include "axes.hpp"
#include "charts.hpp"
#include "markup.hpp"

namespace view {
namespace {

constexpr double kWidth = 420.0;
constexpr double kTop = 26.0;
constexpr double kBottomMargin = 14.0;
constexpr double kSmallestColumn = 320.0;
constexpr double kLabelGap = 12.0;  // label lines may come no closer than this
constexpr double kColumnLeft = 70.0;
constexpr double kColumnRight = 150.0;
constexpr double kLabelLeft = 172.0;
constexpr int kDepthIntervals = 8;

struct Layer {
  int number = 0;
  double top = 0.0;
  double bottom = 0.0;
  bool drawn = false;
};

std::vector<Layer> layers_of(const std::vector<double>& layer_bottoms) {
  std::vector<Layer> layers;
  double top = 0.0;
  int j = 0;
  for (const double bottom : layer_bottoms) {
    layers.push_back({++j, top, bottom, drawable(top) && drawable(bottom)});
    top = bottom;
  }
  return layers;
}

Axis depth_axis(const std::vector<Layer>& layers, double column_bottom) {
  double shallowest = 0.0;
  double deepest = 0.0;
  for (const Layer& layer : layers) {
    if (!layer.drawn) continue;
    shallowest = std::min({shallowest, layer.top, layer.bottom});
    deepest = std::max({deepest, layer.top, layer.bottom});
  }
  return Axis(shallowest, deepest, kTop, column_bottom, kDepthIntervals);
}

// Label lines near their layer's middle, top to bottom in layer order, kLabelGap apart.
std::vector<double> label_lines(const std::vector<Layer>& layers, const Axis& depth,
                                double column_bottom) {
  std::vector<double> lines;
  double previous = kTop - kLabelGap;
  for (const Layer& layer : layers) {
    const double wanted =
        layer.drawn ? depth.pixel((layer.top + layer.bottom) / 2.0) : previous + kLabelGap;
    previous = std::max(wanted, previous + kLabelGap);
    lines.push_back(previous);
  }
  double limit = column_bottom;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    *line = std::min(*line, limit);
    limit = *line - kLabelGap;
  }
  return lines;
}

void append_number_attribute(std::string& out, std::string_view name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  append_pixel(out, value);
  out += '"';
}

void append_layer(std::string& out, const Layer& layer, const Axis& depth, double label_line) {
  const double top = depth.pixel(std::min(layer.top, layer.bottom));
  const double bottom = depth.pixel(std::max(layer.top, layer.bottom));
  out += layer.number % 2 == 1 ? "<rect class=\"s1\"" : "<rect class=\"s2\"";
  append_number_attribute(out, "x", kColumnLeft);
  append_number_attribute(out, "y", top);
  append_number_attribute(out, "width", kColumnRight - kColumnLeft);
  append_number_attribute(out, "height", bottom - top);
  out += "/><path class=\"ld\" d=\"M";
  append_pixel(out, kColumnRight);
  out += ' ';
  append_pixel(out, (top + bottom) / 2.0);
  out += 'L';
  append_pixel(out, kLabelLeft - 4.0);
  out += ' ';
  append_pixel(out, label_line);
  out += "\"/>";
}

void append_label(std::string& out, const Layer& layer, double line) {
  out += "<text class=\"pl\"";
  append_number_attribute(out, "x", kLabelLeft);
  append_number_attribute(out, "y", line);
  out += ">Layer " + std::to_string(layer.number) + ", bottom " +
         (drawable(layer.bottom) ? readable(layer.bottom) : std::string("not a number")) +
         "</text>";
}

void append_depth_ticks(std::string& out, const Axis& depth) {
  for (int t = depth.first_tick(); t <= depth.last_tick(); ++t) {
    out += "<text class=\"yt\"";
    append_number_attribute(out, "x", kColumnLeft - 6.0);
    append_number_attribute(out, "y", depth.pixel(depth.tick_value(t)));
    out += '>' + depth.tick_label(t) + "</text><path class=\"g\" d=\"M";
    append_pixel(out, kColumnLeft - 4.0);
    out += ' ';
    append_pixel(out, depth.pixel(depth.tick_value(t)));
    out += "h4\"/>";
  }
}

}  // namespace

void append_soil_profile(std::string& out, const std::vector<double>& layer_bottoms) {
  const std::vector<Layer> layers = layers_of(layer_bottoms);
  const double column_bottom =
      kTop + std::max(kSmallestColumn, kLabelGap * static_cast<double>(layers.size() + 1));
  const Axis depth = depth_axis(layers, column_bottom);
  const std::vector<double> lines = label_lines(layers, depth, column_bottom);

  out += "<svg class=\"profile\" viewBox=\"0 0 ";
  append_pixel(out, kWidth);
  out += ' ';
  append_pixel(out, column_bottom + kBottomMargin);
  out += "\" role=\"img\"><text class=\"at\"";
  append_number_attribute(out, "x", kColumnLeft);
  append_number_attribute(out, "y", kTop - 10.0);
  out += ">depth below mudline</text>";
  append_depth_ticks(out, depth);
  for (std::size_t i = 0; i < layers.size(); ++i) {
    if (layers[i].drawn) append_layer(out, layers[i], depth, lines[i]);
  }
  for (std::size_t i = 0; i < layers.size(); ++i) append_label(out, layers[i], lines[i]);
  out += "<path class=\"z\" d=\"M";
  append_pixel(out, kColumnLeft - 4.0);
  out += ' ';
  append_pixel(out, depth.pixel(0.0));
  out += 'H';
  append_pixel(out, kColumnRight + 4.0);
  out += "\"/></svg>";
}

}  // namespace view
