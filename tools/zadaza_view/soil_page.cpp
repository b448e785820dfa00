#include "soil_page.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "convert/material_store.hpp"
#include "markup.hpp"
#include "page.hpp"
#include "svg_chart.hpp"

namespace view {
namespace {

const soil::Material* material_named(const ViewModel& view, std::int32_t id) {
  if (id == soil::kUnreadableIdentifier) return nullptr;
  for (const soil::Material& m : view.materials) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

std::string material_at(const soil::Material& m) {
  return "material " + soil::identifier_text(m.id) + " (" + m.keyword + ", line " +
         std::to_string(m.line) + ")";
}

// A soil file's block without a readable identifier has none in the model.
std::string soil_id_text(const ModelBlock& block) {
  return soil::identifier_text(block.soil_id.value_or(soil::kUnreadableIdentifier));
}

std::string layer_place(const ModelBlock& block, const ModelLayer& layer) {
  return "SOILCHAR " + soil_id_text(block) + ", layer " + std::to_string(layer.number);
}

std::set<std::int32_t> named_identifiers(const ViewModel& view) {
  std::set<std::int32_t> named;
  for (const ModelBlock& block : view.blocks) {
    for (const ModelLayer& layer : block.layers) {
      for (const Chart& spring : layer.springs) named.insert(spring.material_id);
    }
  }
  for (const soil::Material& m : view.materials) {
    if (m.kind != convert::kSpringReferenceKind) continue;
    for (const soil::Written& r : m.values) {
      if (soil::readable(r)) named.insert(static_cast<std::int32_t>(r.value));
    }
  }
  return named;
}

void add_material_notes(const ViewModel& view, std::vector<std::string>& notes) {
  std::map<std::int32_t, std::vector<int>> lines_of;
  for (const soil::Material& m : view.materials) {
    if (m.id != soil::kUnreadableIdentifier) lines_of[m.id].push_back(m.line);
  }
  for (const auto& [id, lines] : lines_of) {
    if (lines.size() < 2) continue;
    std::string list;
    for (const int line : lines) list += (list.empty() ? "" : ", ") + std::to_string(line);
    notes.push_back("identifier " + std::to_string(id) + " is used by " +
                    std::to_string(lines.size()) + " materials (lines " + list + ")");
  }
  const std::set<std::int32_t> named = named_identifiers(view);
  for (const soil::Material& m : view.materials) {
    if (!named.contains(m.id)) notes.push_back(material_at(m) + ": no layer names it");
    for (std::size_t k = 1; k < m.points.size(); ++k) {
      const soil::Written& now = m.points[k].displacement;
      const soil::Written& before = m.points[k - 1].displacement;
      if (now.value < before.value) {
        notes.push_back(material_at(m) + ": the displacement of point " + std::to_string(k + 1) +
                        " goes back (" + now.text + " after " + before.text + ")");
        break;
      }
    }
  }
}

std::vector<CurvePair> points_of(const soil::Material* m) {
  std::vector<CurvePair> points;
  if (m == nullptr) return points;
  for (const soil::Point& p : m->points) points.push_back({p.force.value, p.displacement.value});
  return points;
}



void append_list(std::string& out, const std::vector<std::string>& items, std::string_view none) {
  if (items.empty()) {
    out += "<p>";
    out += none;
    out += "</p>\r\n";
    return;
  }
  out += "<ul>\r\n";
  for (const std::string& item : items) out += "<li>" + escaped(item) + "</li>\r\n";
  out += "</ul>\r\n";
}

void append_layer_cell(std::string& out, const ModelBlock& block, const Chart& spring) {
  const std::string id = soil::identifier_text(spring.material_id);
  SpringChart chart;
  chart.type = spring.type;
  chart.title = std::string(curve_name(spring.type)) + "  material " + id +
                (spring.has_material ? "  " + std::to_string(spring.written.size()) + " points"
                                     : std::string("  missing"));
  chart.attributes = " data-soil=\"" + soil_id_text(block) +
                     "\" data-layer=\"" + std::to_string(spring.layer) + "\" data-material=\"" +
                     id + "\"";
  if (spring.has_material) chart.series.push_back({spring.keyword + " as written", spring.written, SpringMarker::Dot, {}});
  out += spring.has_material ? "<div class=\"cell\">" : "<div class=\"cell noted\">";
  append_spring_chart_svg(out, chart);
  if (!spring.has_material) out += "<p>not in the material table</p>";
  out += "</div>\r\n";
}

void append_block(std::string& out, const ModelBlock& block) {
  const WrittenSoilchar& soilchar = block.written.value_or(WrittenSoilchar{});
  out += "<section><h2>SOILCHAR " + soil_id_text(block) + ": diameter " +
         escaped(soilchar.diameter.text) + ", mudline " + escaped(soilchar.mudline.text) +
         "</h2>\r\n";
  out += "<p>Type " + std::to_string(soilchar.type) + ", force factor " +
         escaped(soilchar.force_factor.text) + ", length factor " +
         escaped(soilchar.length_factor.text) + ", " + std::to_string(block.layers.size()) +
         " layers; line " + std::to_string(soilchar.line) + ".</p>\r\n";
  for (const ModelLayer& layer : block.layers) {
    out += "<div class=\"row\"><h3>Layer " + std::to_string(layer.number) + ", level " +
           escaped(layer.top_written) + " to " + escaped(layer.bottom_written) + "</h3>\r\n";
    for (const Chart& spring : layer.springs) append_layer_cell(out, block, spring);
    out += "</div>\r\n";
  }
  out += "</section>\r\n";
}

std::string holdings(std::size_t blocks, std::size_t layers, std::size_t materials,
                     std::string_view format) {
  return std::to_string(blocks) + " SOILCHAR blocks, " + std::to_string(layers) + " layers, " +
         std::to_string(materials) + " materials (" + std::string(format) + ")";
}

std::string model_summary(const ViewModel& view) {
  std::size_t layers = 0;
  for (const ModelBlock& block : view.blocks) layers += block.layers.size();
  return holdings(view.blocks.size(), layers, view.materials.size(),
                  soil::format_name(view.table_format));
}

// The curve type a file's layers name a material for; P-y when no layer names it.
CurveType type_named(const ViewModel& view, std::int32_t id) {
  for (const ModelBlock& block : view.blocks) {
    for (const ModelLayer& layer : block.layers) {
      for (const Chart& spring : layer.springs) {
        if (spring.material_id == id) return spring.type;
      }
    }
  }
  return CurveType::PY;
}

// A's points as rings, B's as smaller dots inside them, and each point where they part ringed
// in both.
void append_overlay(std::string& out, const ComparedFiles& files, std::int32_t id,
                    const std::set<std::size_t>& differing) {
  const soil::Material* a = find_spring_curve(files.a, id);
  const soil::Material* b = find_spring_curve(files.b, id);
  if (a == nullptr && b == nullptr) return;  // an unreadable identifier: listed, not drawn
  SpringChart chart;
  chart.type = type_named(a != nullptr ? files.a : files.b, id);
  chart.title = "material " + std::to_string(id) + " (" + (a != nullptr ? a : b)->keyword + ")";
  chart.attributes = " data-material=\"" + std::to_string(id) + "\"";
  chart.series.push_back({a != nullptr ? "A " + files.a_name : "A: none", points_of(a),
                          SpringMarker::Ring, differing});
  if (b != nullptr) {
    chart.series.push_back({"B " + files.b_name, points_of(b), SpringMarker::SmallDot, differing});
  }
  out += "<div class=\"cell\">";
  append_spring_chart_svg(out, chart);
  out += "</div>\r\n";
}

}  // namespace

std::vector<std::string> layer_material_notes(const ViewModel& view) {
  std::vector<std::string> notes;
  for (const ModelBlock& block : view.blocks) {
    for (const ModelLayer& layer : block.layers) {
      for (const Chart& spring : layer.springs) {
        if (spring.has_material) continue;
        const std::string what = layer_place(block, layer) + ": the " +
                                 std::string(curve_name(spring.type)) + " material " +
                                 soil::identifier_text(spring.material_id);
        const soil::Material* named = material_named(view, spring.material_id);
        notes.push_back(named == nullptr
                            ? what + " is not in the material table"
                            : what + " is a " + named->keyword + " material, not a spring curve");
      }
    }
  }
  return notes;
}

std::vector<std::string> soil_file_notes(const ViewModel& view) {
  std::vector<std::string> notes;
  for (const soil::Problem& p : view.problems) {
    notes.push_back("line " + std::to_string(p.line) + ": " + p.what);
  }
  for (const soil::Banner& b : view.banners) {
    notes.push_back("line " + std::to_string(b.line) + ": the file holds \"" + b.text + "\"");
  }
  const std::vector<std::string> layer_notes = layer_material_notes(view);
  notes.insert(notes.end(), layer_notes.begin(), layer_notes.end());
  add_material_notes(view, notes);
  return notes;
}

std::string make_soil_page(const std::string& name, const ViewModel& view) {
  std::string out;
  append_page_head(out, "Soil file " + name);
  out += "<table class=\"facts\">\r\n";
  append_fact(out, "Soil file", escaped(name));
  append_fact(out, "Holds", escaped(model_summary(view)));
  append_fact(out, "Error banners", std::to_string(view.banners.size()));
  append_fact(out, "Unreadable lines and fields", std::to_string(view.problems.size()));
  out += "</table>\r\n<p>Each chart shows the points of one spring material as the file writes "
         "them, joined in the order written.</p>\r\n<div class=\"notes\"><h2>Notes</h2>\r\n";
  append_list(out, view.notes,
              "None: every line reads, every layer's materials are in the table and used, and "
              "every spring's displacements go forward.");
  out += "</div>\r\n";
  for (const ModelBlock& block : view.blocks) append_block(out, block);
  out += "</body></html>\r\n";
  return out;
}

std::string make_comparison_page(const ComparedFiles& files, const SoilComparison& comparison) {
  std::string out;
  append_page_head(out, "Comparison of " + files.a_name + " and " + files.b_name, kSpringRingStyle);
  out += "<table class=\"facts\">\r\n";
  append_fact(out, "A", escaped(files.a_name + ": " + model_summary(files.a)));
  append_fact(out, "B", escaped(files.b_name + ": " + model_summary(files.b)));
  append_fact(out, "Relative tolerance", shortest(files.tolerance));
  append_fact(out, "Matched", std::to_string(comparison.matched_blocks) + " blocks, " +
                                  std::to_string(comparison.matched_layers) + " layers, " +
                                  std::to_string(comparison.matched_materials) + " materials");
  append_fact(out, "Differences", std::to_string(comparison.differences.size()));
  out += "</table>\r\n<h2>Differences</h2>\r\n";
  append_list(out, comparison.differences, "None: the two files say the same.");
  out += "<h2>Springs that differ</h2>\r\n<p>Blue rings: A as written; orange dots, dashed: B; "
         "magenta rings: the points where A and B differ.</p>\r\n<div class=\"row\">";
  static const std::set<std::size_t> kNone;
  for (const auto& key : comparison.differing_materials) {
    if (key.second != convert::kSpringCurveKind) continue;
    const auto points = comparison.differing_points.find(key);
    append_overlay(out, files, key.first,
                   points == comparison.differing_points.end() ? kNone : points->second);
  }
  out += "</div>\r\n</body></html>\r\n";
  return out;
}

}  // namespace view
