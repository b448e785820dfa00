#include "check.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "markup.hpp"
#include "page.hpp"
#include "svg_chart.hpp"
#include "view_model.hpp"

namespace view {
namespace {

using families::CurveKind;

CurveKind kind_of(CurveType type) {
  switch (type) {
    case CurveType::PY:
      return CurveKind::PY;
    case CurveType::TZ:
      return CurveKind::TZ;
    case CurveType::QZ:
      return CurveKind::QZ;
  }
  return CurveKind::PY;
}

struct FileCurve {
  const zadaza::CountTable& npts;
  const zadaza::CurveArray& stress;
  const zadaza::CurveArray& displacement;
};

FileCurve file_curve(const zadaza::SoilModel& m, CurveType type) {
  switch (type) {
    case CurveType::PY:
      return {m.NPTS_PY, m.PY_P, m.PY_DELTA};
    case CurveType::TZ:
      return {m.NPTS_TZ, m.TZ_P, m.TZ_DELTA};
    case CurveType::QZ:
      return {m.NPTS_QZ, m.QZ_P, m.QZ_DELTA};
  }
  return {m.NPTS_PY, m.PY_P, m.PY_DELTA};
}

std::vector<LayerSpan> layer_spans(const zadaza::SoilModel& m) {
  std::vector<LayerSpan> spans;
  double top = 0.0;
  for (int j = 1; j <= zadaza::layers_held(m.NUM_LAYERS); ++j) {
    spans.push_back({j, top, m.ZBOT(j)});
    top = m.ZBOT(j);
  }
  return spans;
}

CurveCheck check_curve(const zadaza::SoilModel& m, const LayerSpan& span, int slot, CurveType type,
                       const families::FamilyCurve& family) {
  CurveCheck c{span.layer, slot, m.DIAM(slot), type, 0.0, false, {}, {}};
  const FileCurve file = file_curve(m, type);
  const int points = std::clamp(file.npts(slot, span.layer), 0, zadaza::MAX_CURVE_POINTS);
  for (int k = 1; k <= points; ++k) {
    const double stress = file.stress(k, slot, span.layer);
    const double displacement = file.displacement(k, slot, span.layer);
    c.file_points.push_back({stress, displacement});
    if (displacement != 0.0) c.has_curve = true;
    const double off = std::fabs(stress - family.stress_at(displacement)) / family.ultimate();
    // A NaN is as far off as can be.
    c.deviation = std::isnan(off) ? off : std::max(c.deviation, off);
    if (std::isnan(c.deviation)) break;
  }
  if (!c.has_curve) c.deviation = std::numeric_limits<double>::infinity();
  for (const families::FamilyPoint& p : family.points()) {
    c.family_points.push_back({p.stress, p.displacement});
  }
  return c;
}

}  // namespace

CheckResult check_curves(const zadaza::SoilModel& model, int diameters,
                         const families::Profile& profile, families::Loading loading) {
  CheckResult result;
  result.layers = layer_spans(model);
  for (const LayerSpan& span : result.layers) {
    if (!families::soil_at(profile, span.mid()).unit) {
      result.outside_profile = span;
      return result;
    }
  }
  for (const LayerSpan& span : result.layers) {
    for (int slot = 1; slot <= diameters; ++slot) {
      const families::Station at =
          families::station_at(profile, span.mid(), model.DIAM(slot)).value();
      for (const CurveType type : kCurveTypeOrder) {
        const families::FamilyCurve family = families::curve_of(kind_of(type), at, loading);
        result.curves.push_back(check_curve(model, span, slot, type, family));
      }
    }
  }
  return result;
}

namespace {

// The factor from the file's value to the scaled one, taken at the file's largest value; 1
// when the file's values are all 0.
template <class Value>
double scale_factor(const std::vector<CurvePair>& file, const ConvertedCurve& scaled, Value value) {
  double largest = 0.0;
  double factor = 1.0;
  for (std::size_t k = 0; k < file.size() && k < scaled.scaled.size(); ++k) {
    if (std::fabs(value(file[k])) > largest) {
      largest = std::fabs(value(file[k]));
      factor = value(scaled.scaled[k]) / value(file[k]);
    }
  }
  return factor;
}

void scale_curve(CurveCheck& c, const ConvertedCurve& scaled) {
  const double force =
      scale_factor(c.file_points, scaled, [](const CurvePair& p) { return p.force; });
  const double length =
      scale_factor(c.file_points, scaled, [](const CurvePair& p) { return p.displacement; });
  for (std::size_t k = 0; k < c.file_points.size(); ++k) c.file_points[k] = scaled.scaled[k];
  for (CurvePair& p : c.family_points) p = {p.force * force, p.displacement * length};
}

}  // namespace

void scale_to_forces(CheckResult& result, const std::vector<ConvertedDiameter>& converted) {
  for (const ConvertedDiameter& d : converted) {
    if (d.outcome == convert::DiameterOutcome::Built) continue;
    result.skipped.push_back({d.slot, d.diameter, skip_text(d.outcome)});
  }
  for (CurveCheck& c : result.curves) {
    const auto slot = static_cast<std::size_t>(c.slot - 1);
    const auto layer = static_cast<std::size_t>(c.layer - 1);
    if (slot >= converted.size() || layer >= converted[slot].layers.size()) continue;
    scale_curve(c, converted[slot].layers[layer][static_cast<std::size_t>(c.type)]);
  }
}

namespace {

bool beyond(double deviation, double tolerance) { return !(deviation <= tolerance); }

std::string percent(double deviation) {
  return std::isnan(deviation) ? "not a number" : readable(deviation * 100.0) + " %";
}

std::string deviation_text(const CurveCheck& c) {
  return c.has_curve ? percent(c.deviation) : "no point off the origin";
}

void append_head(std::string& out, const CheckFacts& facts) {
  // The deviation tables have several value columns: room between them.
  const std::string style = "table.facts td{padding:1px 14px 1px 0}" + std::string(kSpringRingStyle);
  append_page_head(out, "Check of " + facts.zadaza_name + " against " + facts.profile_name, style);
  out += "<table class=\"facts\">\r\n";
  append_fact(out, "Loading", facts.loading == families::Loading::Cyclic ? "cyclic" : "static");
  append_fact(out, "Tolerance",
              escaped(percent(facts.tolerance)) + " of the family's ultimate stress");
  out += "</table>\r\n";
}

// The worst deviation of each layer and curve type over the diameters.
void append_worst_table(std::string& out, const CheckFacts& facts, const CheckResult& result) {
  out +=
      "<h2>Worst deviation per layer and curve type</h2>\r\n<table class=\"facts\"><tr>"
      "<th>layer</th><th>top</th><th>bottom</th><th>mid-depth</th><th>P-y</th><th>T-z</th>"
      "<th>Q-z</th></tr>\r\n";
  for (const LayerSpan& span : result.layers) {
    out += "<tr><td>" + std::to_string(span.layer) + "</td><td>" + readable(span.top) +
           "</td><td>" + readable(span.bottom) + "</td><td>" + readable(span.mid()) + "</td>";
    for (const CurveType type : kCurveTypeOrder) {
      const CurveCheck* worst = nullptr;
      for (const CurveCheck& c : result.curves) {
        if (c.layer != span.layer || c.type != type) continue;
        if (!worst || beyond(c.deviation, worst->deviation)) worst = &c;
      }
      if (!worst) {
        out += "<td></td>";
        continue;
      }
      // Beyond the tolerance in bold.
      const bool marked = beyond(worst->deviation, facts.tolerance);
      out += marked ? "<td><strong>" : "<td>";
      out += escaped(deviation_text(*worst)) + " (D " + shortest(worst->diameter) + ")";
      out += marked ? "</strong></td>" : "</td>";
    }
    out += "</tr>\r\n";
  }
  out += "</table>\r\n";
}

void append_chart(std::string& out, const CheckFacts& facts, const CurveCheck& c) {
  SpringChart chart;
  chart.type = c.type;
  chart.title =
      std::string(curve_name(c.type)) + (c.has_curve ? "  deviation " : "  ") + deviation_text(c);
  chart.attributes = " data-diameter=\"" + shortest(c.diameter) + "\" data-layer=\"" +
                     std::to_string(c.layer) + "\" data-deviation=\"" + shortest(c.deviation) +
                     "\"";
  chart.series.push_back({"in the file", c.file_points, SpringMarker::Ring, {}});
  chart.series.push_back({"family", c.family_points, SpringMarker::SmallDot, {}});
  out +=
      beyond(c.deviation, facts.tolerance) ? "<div class=\"cell noted\">" : "<div class=\"cell\">";
  append_spring_chart_svg(out, chart);
  out += "</div>\r\n";
}

void append_deviation_cell(std::string& out, const CheckFacts& facts, const CurveCheck& c) {
  const bool marked = beyond(c.deviation, facts.tolerance);
  out += marked ? "<td><strong>" : "<td>";
  out += escaped(deviation_text(c));
  out += marked ? "</strong></td>" : "</td>";
}

// A diameter the converter skips: why, and its deviations layer by layer. Its curves are not
// drawn, as there are no springs to scale them to.
void append_skipped_diameter(std::string& out, const CheckFacts& facts,
                             const CheckResult& result, const SkippedDiameter& skipped) {
  out += "<section data-skipped-diameter=\"" + shortest(skipped.diameter) + "\"><h2>Diameter " +
         shortest(skipped.diameter) + ", skipped by the converter: " + escaped(skipped.reason) +
         "</h2>\r\n<p>The converter writes no springs for this diameter, so its curves are not "
         "scaled to forces nor drawn. They are checked all the same, on the stresses the file "
         "holds:</p>\r\n<table class=\"facts\"><tr><th>layer</th><th>P-y</th><th>T-z</th>"
         "<th>Q-z</th></tr>\r\n";
  int row_layer = 0;
  for (const CurveCheck& c : result.curves) {
    if (c.slot != skipped.slot) continue;
    if (c.layer != row_layer) {
      if (row_layer != 0) out += "</tr>\r\n";
      out += "<tr><td>" + std::to_string(c.layer) + "</td>";
      row_layer = c.layer;
    }
    append_deviation_cell(out, facts, c);
  }
  if (row_layer != 0) out += "</tr>\r\n";
  out += "</table>\r\n</section>\r\n";
}

// One diameter's charts, a row per layer.
void append_diameter(std::string& out, const CheckFacts& facts, const CheckResult& result,
                     int slot) {
  const auto skipped = std::find_if(result.skipped.begin(), result.skipped.end(),
                                    [slot](const SkippedDiameter& d) { return d.slot == slot; });
  if (skipped != result.skipped.end()) {
    append_skipped_diameter(out, facts, result, *skipped);
    return;
  }
  int row_layer = 0;
  for (const CurveCheck& c : result.curves) {
    if (c.slot != slot) continue;
    if (row_layer == 0) {
      out += "<section><h2>Diameter " + shortest(c.diameter) +
             ": the file's curves scaled as the converter scales them, the family's over "
             "them</h2>\r\n";
    }
    if (c.layer != row_layer) {
      if (row_layer != 0) out += "</div>\r\n";
      out += "<div class=\"row\"><h3>Layer " + std::to_string(c.layer) + "</h3>\r\n";
      row_layer = c.layer;
    }
    append_chart(out, facts, c);
  }
  if (row_layer != 0) out += "</div>\r\n</section>\r\n";
}

}  // namespace

std::string make_check_page(const CheckFacts& facts, const CheckResult& result) {
  std::string out;
  append_head(out, facts);
  append_worst_table(out, facts, result);
  std::vector<int> slots;
  for (const CurveCheck& c : result.curves) {
    if (std::find(slots.begin(), slots.end(), c.slot) == slots.end()) slots.push_back(c.slot);
  }
  for (const int slot : slots) append_diameter(out, facts, result, slot);
  out += "</body></html>\r\n";
  return out;
}

}  // namespace view
