#include "converter_adapter.hpp"

#include "app/explanations.hpp"
#include "app/run.hpp"
#include "convert/diameter_step.hpp"
#include "convert/material_store.hpp"
#include "convert/settings.hpp"
#include "convert/soil_records.hpp"
#include "convert/workspace.hpp"
#include "io/binary_records.hpp"
#include "io/units.hpp"
#include "zadaza/reader.hpp"

namespace view {
namespace {

// No file is bound to this unit: the conversion step writes only for curves beyond 100 points,
// which the soil data model cannot hold.
constexpr int kNoUnit = 98;

// Large: static, as in the converter.
convert::ConversionWorkspace WORKSPACE;

const zadaza::CurveArray& stresses_of(int curve_type) {
  const zadaza::SoilModel& model = zadaza::SOIL_MODEL;
  const std::array<const zadaza::CurveArray*, kCurveTypes> stresses{&model.PY_P, &model.TZ_P,
                                                                     &model.QZ_P};
  return *stresses[static_cast<std::size_t>(curve_type)];
}

void copy_scaled(const convert::ScaledCurves& curves, const zadaza::CurveArray& stress, int slot,
                 int layer, ConvertedCurve& to) {
  for (int k = 1; k <= kCurvePoints; ++k) {
    const auto at = static_cast<std::size_t>(k - 1);
    to.scaled[at] = {curves(1, k, layer), curves(2, k, layer)};
    to.stress[at] = stress(k, slot, layer);
  }
}

void copy_material(std::int32_t m, ConvertedCurve& to) {
  const convert::MaterialStore& store = WORKSPACE.MATERIAL_STORE;
  to.material_id = store.MATID(m);
  to.law_code = store.RMAT(convert::kRmatLaw, m);
  const auto n = static_cast<int>(store.RMAT(convert::kRmatPointCount, m));
  for (int p = 1; p <= n; ++p) {
    const int force = convert::rmat_force_of_pair(p);
    to.written.push_back({store.RMAT(force, m), store.RMAT(force + 1, m)});
  }
}

}  // namespace

bool open_input(std::string_view path) {
  const int error = zadaza::open_zadaza_file(path);
  if (error != 0) app::explain_unopened_input(path, error);
  return error == 0;
}

std::string_view input_start(std::size_t count) {
  return io::peek_start(zadaza::ZADAZA_UNIT, count);
}

ReadOutcome read_opened_zadaza(std::string_view path, bool old_generation) {
  // As in the converter, nothing is written before the file is read, so a failure while
  // reading says that no output was written.
  io::stage_replaced_files();
  const zadaza::Generation generation =
      old_generation ? zadaza::Generation::Old : zadaza::Generation::New;
  if (zadaza::read_zadaza_file(generation)) return ReadOutcome::Read;
  app::explain_size_limit(path);
  return ReadOutcome::LimitsBroken;
}

ReadOutcome read_zadaza(std::string_view path, bool old_generation) {
  if (!open_input(path)) return ReadOutcome::NotOpened;
  return read_opened_zadaza(path, old_generation);
}

std::string input_text() {
  std::string text;
  for (std::string_view bytes = io::next_bytes(zadaza::ZADAZA_UNIT); !bytes.empty();
       bytes = io::next_bytes(zadaza::ZADAZA_UNIT)) {
    text += bytes;
  }
  io::close_binary_file(zadaza::ZADAZA_UNIT);
  return text;
}

const zadaza::SoilModel& soil_model() { return zadaza::SOIL_MODEL; }

int active_diameters() { return app::count_active_diameters(zadaza::SOIL_MODEL.DIAM); }

LayerLevels layer_levels(int j, double mudline, double coord_factor) {
  convert::ConversionSettings settings;
  settings.MUDLINE_Z = mudline;
  settings.COORD_FACTOR = coord_factor;
  const zadaza::LayerReals& ZBOT = zadaza::SOIL_MODEL.ZBOT;
  return {convert::layer_top_level(ZBOT, j, settings), convert::layer_bottom_level(ZBOT, j, settings)};
}

namespace {

// The diameter just built by the conversion step: its scaled curves and its materials, which
// the step appended from `first` on, P-y, T-z and Q-z of layer 1, then of layer 2, and so on.
void copy_built(std::int32_t first, ConvertedDiameter& to) {
  const int layers = zadaza::layers_held(zadaza::SOIL_MODEL.NUM_LAYERS);
  to.layers.resize(static_cast<std::size_t>(layers));
  const std::array<const convert::ScaledCurves*, kCurveTypes> curves{
      &WORKSPACE.PYCRV, &WORKSPACE.TZCRV, &WORKSPACE.QZCRV};
  for (int j = 1; j <= layers; ++j) {
    for (int c = 0; c < kCurveTypes; ++c) {
      ConvertedCurve& curve =
          to.layers[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(c)];
      copy_scaled(*curves[static_cast<std::size_t>(c)], stresses_of(c), to.slot, j, curve);
      copy_material(first + kCurveTypes * (j - 1) + c, curve);
    }
  }
}

// Each diameter's outcome in a conversion into OUTPUT_FORMAT.
std::vector<convert::DiameterOutcome> outcomes_in(std::int32_t OUTPUT_FORMAT,
                                                  std::int32_t id_offset) {
  convert::ConversionSettings settings;
  settings.ID_OFFSET = id_offset;
  settings.OUTPUT_FORMAT = OUTPUT_FORMAT;
  convert::begin_conversion(WORKSPACE);
  std::vector<convert::DiameterOutcome> outcomes;
  for (int slot = 1; slot <= active_diameters(); ++slot) {
    std::int32_t status = 0;
    outcomes.push_back(
        convert::convert_diameter(zadaza::SOIL_MODEL, settings, slot, WORKSPACE, kNoUnit, status)
            .outcome);
  }
  return outcomes;
}

}  // namespace

std::vector<ConvertedDiameter> convert_diameters(std::int32_t id_offset) {
  const std::vector<convert::DiameterOutcome> sesam = outcomes_in(convert::kSesamFormat, id_offset);
  convert::ConversionSettings settings;
  settings.ID_OFFSET = id_offset;
  // The page names the materials as KNF does, so KNF's identifier fields decide.
  settings.OUTPUT_FORMAT = convert::kKnfFormat;
  convert::begin_conversion(WORKSPACE);
  std::vector<ConvertedDiameter> diameters;
  for (int slot = 1; slot <= active_diameters(); ++slot) {
    ConvertedDiameter& d = diameters.emplace_back();
    d.slot = slot;
    d.diameter = zadaza::SOIL_MODEL.DIAM(slot);
    std::int32_t status = 0;
    const convert::ConvertedDiameterStep step =
        convert::convert_diameter(zadaza::SOIL_MODEL, settings, slot, WORKSPACE, kNoUnit, status);
    d.outcome = step.outcome;
    d.sesam_outcome = sesam[static_cast<std::size_t>(slot - 1)];
    if (step.outcome != convert::DiameterOutcome::Built) continue;
    d.soil_id = step.Soil_ID;
    copy_built(step.first_material, d);
  }
  return diameters;
}

}  // namespace view
