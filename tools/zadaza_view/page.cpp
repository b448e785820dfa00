#include "page.hpp"

#include <algorithm>
#include <string_view>

#include "markup.hpp"
#include "soil_profile.hpp"
#include "svg_chart.hpp"

namespace view {
namespace {

constexpr std::string_view kStyle = R"(
@page{size:A4;margin:10mm}
body{font:13px/1.4 sans-serif;color:#111;margin:16px auto;max-width:1180px;padding:0 12px}
h1{font-size:20px;margin:0 0 8px}
h2{font-size:16px;margin:18px 0 6px;border-bottom:1px solid #999}
h3{font-size:13px;margin:0;grid-column:1/-1}
table.facts{border-collapse:collapse}
table.facts th{text-align:left;font-weight:normal;color:#555;padding:1px 14px 1px 0}
table.facts td{padding:1px 0}
.top{display:flex;flex-wrap:wrap;gap:12px 24px;align-items:flex-start}
.soil{flex:0 1 420px}
svg.profile{display:block;width:100%;height:auto}
.notes{flex:1;min-width:280px}
.notes li{margin:2px 0}
.row{display:grid;grid-template-columns:repeat(3,1fr);gap:6px;margin:0 0 10px;break-inside:avoid;page-break-inside:avoid}
.cell{border:1px solid #ccc}
.cell.noted{border-color:#c22}
.cell p{margin:0 4px 4px;color:#b00;font-size:11px}
svg.chart{display:block;width:100%;height:auto}
svg text{font-family:sans-serif;font-size:8px;fill:#222}
text.t{font-weight:bold;font-size:9.5px}
text.n{text-anchor:end;fill:#555}
text.xt{text-anchor:middle;font-size:8px}
text.yt{text-anchor:end;dominant-baseline:central;font-size:8px}
text.at{font-size:8.5px;fill:#444}
text.l{font-size:7.5px}
svg.chart text.at{text-anchor:middle}
.g{stroke:#e3e3e3;stroke-width:.6;fill:none}
.z{stroke:#888;stroke-width:.7;fill:none}
.f{stroke:#666;stroke-width:.7;fill:none}
.c{stroke:#7a7a7a;stroke-width:1.1;fill:none}
.k{fill:#1d4f9c}
.d{fill:none;stroke:#d23c2a;stroke-width:1.1}
.s1{fill:#eadcb8;stroke:#8a7a55;stroke-width:.6}
.s2{fill:#d2c196;stroke:#8a7a55;stroke-width:.6}
.ld{stroke:#999;stroke-width:.5;fill:none}
.s{stroke:#1d4f9c;stroke-width:1;fill:none}
.s2{stroke:#d2691e;stroke-width:1;fill:none;stroke-dasharray:3 2}
.k2{fill:#d2691e}
svg.profile text{font-size:10px}
text.pl{dominant-baseline:central}
@media print{body{max-width:none;margin:0;padding:0;font-size:10px}.row{gap:3px;margin-bottom:4px}section h2{break-before:page;page-break-before:always}}
)";

constexpr std::string_view kHowToRead =
    "Each chart shows one layer's curve for one pile diameter: the grey line is the ZADAZA "
    "curve scaled to forces for that diameter, the blue dots are the points of the spring "
    "material written to the soil file, and the red rings are the points the thinning dropped "
    "(within 1 % of the point kept before them).";

std::string label_of(const ZadazaFileFacts& file) {
  std::string_view label(file.label);
  while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.remove_suffix(1);
  return escaped(label);
}

std::string cell_id(const ModelBlock& diameter, const Chart& chart) {
  std::string id = "d";
  id += std::to_string(diameter.slot);
  id += 'l';
  id += std::to_string(chart.layer);
  id += "ptq"[static_cast<int>(chart.type)];
  return id;
}

// Every spring of the model, with the block it belongs to, in the page's order.
template <typename Visit>
void for_each_spring(const ViewModel& view, Visit visit) {
  for (const ModelBlock& block : view.blocks) {
    for (const ModelLayer& layer : block.layers) {
      for (const Chart& spring : layer.springs) visit(block, spring);
    }
  }
}

std::size_t chart_count(const ViewModel& view) {
  std::size_t count = 0;
  for_each_spring(view, [&count](const ModelBlock&, const Chart&) { ++count; });
  return count;
}

std::string written_points(const ViewModel& view) {
  std::size_t written = 0;
  std::size_t total = 0;
  for_each_spring(view, [&](const ModelBlock&, const Chart& chart) {
    written += chart.written.size();
    total += kCurvePoints;
  });
  return std::to_string(written) + " of " + std::to_string(total);
}

void append_header(std::string& out, const PageFacts& facts, const ZadazaFileFacts& file,
                   const ViewModel& view) {
  out += "<h1>Spring curves of ";
  out += escaped(facts.zadaza_name);
  out += "</h1>\r\n<table class=\"facts\">\r\n";
  append_fact(out, "Analysis label", label_of(file));
  append_fact(out, "ZADAZA file", escaped(facts.zadaza_name));
  append_fact(out, "Generation", facts.old_generation ? "Old" : "New");
  append_fact(out, "Layers", std::to_string(file.layers));
  append_fact(out, "Displacement rows", std::to_string(file.displacement_rows));
  append_fact(out, "Diameter blocks per layer", std::to_string(file.diameter_blocks));
  append_fact(out, "Diameters in use", number_list(facts.diameters_in_use));
  std::vector<double> shown;
  for (const ModelBlock& d : view.blocks) shown.push_back(d.diameter);
  std::string layers = facts.last_layer < facts.first_layer
                           ? std::string("none")
                           : std::to_string(facts.first_layer) + " to " +
                                 std::to_string(facts.last_layer);
  append_fact(out, "Shown", "layers " + layers + ", diameters " + number_list(shown) + ": " +
                                std::to_string(chart_count(view)) + " charts");
  append_fact(out, "Identifier offset", std::to_string(facts.id_offset));
  append_fact(out, "Points written", written_points(view));
  out += "</table>\r\n<p>";
  out += kHowToRead;
  out += "</p>\r\n";
}

std::string block_id(const ModelBlock& diameter) {
  std::string id = "d";
  id += std::to_string(diameter.slot);
  return id;
}

void append_notes(std::string& out, const ViewModel& view) {
  out += "<div class=\"notes\"><h2>Notes</h2>\r\n";
  std::string items;
  for (const std::string& warning : view.warnings) {
    items += "<li>The converter warns: " + escaped(warning) + "</li>\r\n";
  }
  for (const ModelBlock& d : view.blocks) {
    const std::string diameter =
        "<li><a href=\"#" + block_id(d) + "\">Diameter " + shortest(d.diameter) + "</a>: ";
    if (!d.skipped.empty()) {
      items += diameter + "skipped by the converter (" + escaped(d.skipped) +
               "); it writes no springs for it and the conversion fails</li>\r\n";
    } else if (!d.skipped_in_sesam.empty()) {
      items += diameter + "a SESAM soil file (output format 1) skips it (" +
               escaped(d.skipped_in_sesam) + ") and that conversion fails; a KNF soil file "
               "writes it as drawn</li>\r\n";
    }
  }
  for_each_spring(view, [&items](const ModelBlock& d, const Chart& chart) {
    for (const std::string& note : chart.notes) {
      items += "<li><a href=\"#" + cell_id(d, chart) + "\">Diameter " + shortest(d.diameter) +
               ", layer " + std::to_string(chart.layer) + ", " +
               std::string(curve_name(chart.type)) + "</a>: " + escaped(note) + "</li>\r\n";
    }
  });
  out += items.empty() ? "<p>None: every curve has points, is in order and kept at least half "
                         "its points.</p>\r\n"
                       : "<ul>\r\n" + items + "</ul>\r\n";
  out += "</div>\r\n";
}

void append_cell(std::string& out, const ModelBlock& diameter, const Chart& chart) {
  out += chart.notes.empty() ? "<div class=\"cell\" id=\"" : "<div class=\"cell noted\" id=\"";
  out += cell_id(diameter, chart);
  out += "\">";
  append_chart_svg(out, chart, diameter.diameter);
  for (const std::string& note : chart.notes) out += "<p>" + escaped(note) + "</p>";
  out += "</div>\r\n";
}

std::string layer_heading(const ModelLayer& layer) {
  return "<h3>Layer " + std::to_string(layer.number) + ", depth " +
         readable(layer.z_top.value_or(0.0)) + " to " + readable(layer.z_bottom.value_or(0.0)) +
         "</h3>\r\n";
}

std::string diameter_heading(const ModelBlock& diameter) {
  std::string heading = "<section id=\"" + block_id(diameter) + "\"><h2>Pile diameter " +
                        shortest(diameter.diameter);
  if (diameter.soil_id) {
    heading += ", soil characteristic " + std::to_string(*diameter.soil_id);
  } else {
    heading += ", skipped by the converter: " + escaped(diameter.skipped);
  }
  return heading + "</h2>\r\n";
}

void append_diameter(std::string& out, const ModelBlock& diameter) {
  out += diameter_heading(diameter);
  if (!diameter.skipped.empty()) {
    out += "<p>The converter writes no springs for this diameter and ends its run failed.</p>\r\n";
  }
  for (const ModelLayer& layer : diameter.layers) {
    out += "<div class=\"row\">";
    out += layer_heading(layer);
    for (const Chart& spring : layer.springs) append_cell(out, diameter, spring);
    out += "</div>\r\n";
  }
  out += "</section>\r\n";
}

}  // namespace

void append_page_head(std::string& out, std::string_view title, std::string_view more_style) {
  out += "<!DOCTYPE html>\r\n<html lang=\"en\"><head><meta charset=\"utf-8\"/><title>";
  out += escaped(title);
  out += "</title><style>";
  out += kStyle;
  out += more_style;
  out += "</style></head>\r\n<body>\r\n<h1>";
  out += escaped(title);
  out += "</h1>\r\n";
}

void append_fact(std::string& out, std::string_view name, const std::string& value) {
  out += "<tr><th>";
  out += name;
  out += "</th><td>";
  out += value;
  out += "</td></tr>\r\n";
}

std::string make_page(const PageFacts& facts, const ViewModel& view) {
  const ZadazaFileFacts file = view.zadaza_facts.value_or(ZadazaFileFacts{});
  std::string out;
  out.reserve(4096 + 4096 * chart_count(view));
  out += "<!DOCTYPE html>\r\n<html lang=\"en\"><head><meta charset=\"utf-8\"/><title>";
  out += "Spring curves of " + escaped(facts.zadaza_name);
  out += "</title><style>";
  out += kStyle;
  out += "</style></head>\r\n<body>\r\n";
  append_header(out, facts, file, view);
  out += "<div class=\"top\"><div class=\"soil\"><h2>Soil profile</h2>";
  append_soil_profile(out, file.layer_bottoms);
  out += "</div>\r\n";
  append_notes(out, view);
  out += "</div>\r\n";
  for (const ModelBlock& d : view.blocks) append_diameter(out, d);
  out += "</body></html>\r\n";
  return out;
}

}  // namespace view
