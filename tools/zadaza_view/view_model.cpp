#include "view_model.hpp"

#include <algorithm>
#include <string_view>

#include "convert/diameter_step.hpp"
#include "soil_page.hpp"

namespace view {
namespace {

bool selected(const ZadazaSelection& selection, int slot) {
  return std::find(selection.slots.begin(), selection.slots.end(), slot) != selection.slots.end();
}

ModelLayer zadaza_layer(const ConvertedDiameter& d, int j, const ZadazaSelection& selection,
                        const zadaza::SoilModel& model) {
  ModelLayer layer;
  layer.number = j;
  layer.z_top = j == 1 ? 0.0 : model.ZBOT(j - 1);
  layer.z_bottom = model.ZBOT(j);
  const LayerLevels levels = layer_levels(j, selection.mudline, selection.coord_factor);
  layer.level_top = levels.top;
  layer.level_bottom = levels.bottom;
  const auto& curves = d.layers[static_cast<std::size_t>(j - 1)];
  for (const CurveType type : kCurveTypeOrder) {
    layer.springs.push_back(make_chart(j, type, curves[static_cast<std::size_t>(type)]));
  }
  return layer;
}

// The spring curve material a layer names; none found: a spring without material.
Chart soil_spring(std::size_t j, CurveType type, std::int32_t id, const soil::Material* m) {
  Chart chart;
  chart.layer = static_cast<int>(j + 1);
  chart.type = type;
  chart.has_material = m != nullptr;
  chart.material_id = id;
  if (m == nullptr) return chart;
  chart.keyword = m->keyword;
  for (const soil::Point& p : m->points) {
    chart.written.push_back({p.force.value, p.displacement.value});
  }
  return chart;
}

WrittenSoilchar written_soilchar(const soil::Block& b) {
  return {b.line, b.type, b.diameter, b.mudline, b.force_factor, b.length_factor};
}

ZadazaFileFacts facts_of(const zadaza::SoilModel& model) {
  ZadazaFileFacts facts;
  facts.label.assign(model.ANALYSIS_LABEL.data(), model.ANALYSIS_LABEL.size());
  facts.layers = model.NUM_LAYERS;
  facts.displacement_rows = model.NUM_DSP;
  facts.diameter_blocks = model.NUM_DIAMETERS;
  for (int j = 1; j <= zadaza::layers_held(model.NUM_LAYERS); ++j) {
    facts.layer_bottoms.push_back(model.ZBOT(j));
  }
  return facts;
}

}  // namespace

std::string skip_text(convert::DiameterOutcome outcome) {
  std::string_view reason = convert::skip_reason(outcome);
  constexpr std::string_view kMark = "*** ";
  if (reason.starts_with(kMark)) reason.remove_prefix(kMark.size());
  return std::string(reason);
}

ViewModel zadaza_view_model(const std::vector<ConvertedDiameter>& converted,
                            const ZadazaSelection& selection, const zadaza::SoilModel& model) {
  ViewModel view;
  view.zadaza_facts = facts_of(model);
  for (const ConvertedDiameter& d : converted) {
    if (!selected(selection, d.slot)) continue;
    ModelBlock& block = view.blocks.emplace_back();
    block.slot = d.slot;
    block.diameter = d.diameter;
    if (d.outcome != convert::DiameterOutcome::Built) {
      block.skipped = skip_text(d.outcome);
      continue;
    }
    block.soil_id = d.soil_id;
    if (d.sesam_outcome != convert::DiameterOutcome::Built) {
      block.skipped_in_sesam = skip_text(d.sesam_outcome);
    }
    for (int j = selection.first_layer; j <= selection.last_layer; ++j) {
      block.layers.push_back(zadaza_layer(d, j, selection, model));
    }
  }
  return view;
}

ViewModel soil_view_model(const soil::SoilFile& file) {
  ViewModel view;
  for (const soil::Block& b : file.blocks) {
    ModelBlock& block = view.blocks.emplace_back();
    block.diameter = b.diameter.value;
    if (b.soil_id != soil::kUnreadableIdentifier) block.soil_id = b.soil_id;
    block.written = written_soilchar(b);
    for (std::size_t j = 0; j < b.layers.size(); ++j) {
      ModelLayer& layer = block.layers.emplace_back();
      layer.number = static_cast<int>(j + 1);
      layer.level_top = b.layers[j].top.value;
      layer.level_bottom = b.layers[j].bottom.value;
      layer.top_written = b.layers[j].top.text;
      layer.bottom_written = b.layers[j].bottom.text;
      for (const CurveType type : kCurveTypeOrder) {
        const std::int32_t id = b.layers[j].materials[static_cast<std::size_t>(type)];
        layer.springs.push_back(soil_spring(j, type, id, soil::find_spring_curve(file, id)));
      }
    }
  }
  view.materials = file.materials;
  view.problems = file.problems;
  view.banners = file.banners;
  view.notes = soil_file_notes(view);
  view.table_format = file.format;
  return view;
}

const soil::Material* find_spring_curve(const ViewModel& view, std::int32_t id) {
  return soil::find_spring_curve(view.materials, id);
}

soil::Written top_level(const ModelLayer& layer) { return {layer.level_top, layer.top_written}; }

soil::Written bottom_level(const ModelLayer& layer) {
  return {layer.level_bottom, layer.bottom_written};
}

}  // namespace view
