#include "converter_adapter.hpp"


#include "app/explanations.hpp"
#include "app/run.hpp"
#include "convert/curve_materials.hpp"
#include "convert/curve_scaling.hpp"
#include "convert/identifiers.hpp"
#include "convert/material_store.hpp"
#include "convert/settings.hpp"
#include "convert/soil_records.hpp"
#include "convert/workspace.hpp"
#include "io/units.hpp"
#include "zadaza/reader.hpp"

namespace view {
namespace {

// No file is bound to this unit: G2K_MATR writes only for curves beyond 100 points, which
// the soil data model cannot hold.
constexpr int kNoUnit = 98;

// Large: static, as in the converter.
convert::ConversionWorkspace WORKSPACE;

void copy_scaled(const convert::ScaledCurves& curves, int layer, ConvertedCurve& to) {
  for (int k = 1; k <= kCurvePoints; ++k) {
    to.scaled[static_cast<std::size_t>(k - 1)] = {curves(1, k, layer), curves(2, k, layer)};
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

ReadOutcome read_zadaza(std::string_view path, bool old_generation) {
  if (const int error = zadaza::open_zadaza_file(path); error != 0) {
    app::explain_unopened_input(path, error);
    return ReadOutcome::NotOpened;
  }
  // As in the converter, nothing is written before the file is read, so a failure while
  // reading says that no output was written.
  io::stage_replaced_files();
  const zadaza::Generation generation =
      old_generation ? zadaza::Generation::Old : zadaza::Generation::New;
  if (zadaza::read_zadaza_file(generation)) return ReadOutcome::Read;
  app::explain_size_limit(path);
  return ReadOutcome::LimitsBroken;
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

ConvertedDiameter convert_diameter(int slot, std::int32_t id_offset) {
  const zadaza::SoilModel& model = zadaza::SOIL_MODEL;
  const int layers = zadaza::layers_held(model.NUM_LAYERS);
  ConvertedDiameter result;
  result.slot = slot;
  result.diameter = model.DIAM(slot);
  // The page names the materials as KNF does, so KNF's identifier fields decide.
  result.built = convert::identifiers_fit(result.diameter, layers, id_offset, convert::kKnfFormat);
  result.layers.resize(static_cast<std::size_t>(layers));

  convert::G2K_SCAL(model, slot, result.diameter, WORKSPACE.PYCRV, WORKSPACE.TZCRV,
                    WORKSPACE.QZCRV);
  const std::array<const convert::ScaledCurves*, kCurveTypes> curves{
      &WORKSPACE.PYCRV, &WORKSPACE.TZCRV, &WORKSPACE.QZCRV};
  for (int j = 1; j <= layers; ++j) {
    for (int c = 0; c < kCurveTypes; ++c) {
      copy_scaled(*curves[static_cast<std::size_t>(c)], j,
                  result.layers[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(c)]);
    }
  }
  if (!result.built) return result;

  result.soil_id = convert::soil_id(result.diameter);
  WORKSPACE.MATERIAL_STORE.NMAT = 0;
  std::int32_t status = 0;
  convert::G2K_MATR(WORKSPACE, layers, kCurvePoints, id_offset, result.diameter, kNoUnit, status);
  // G2K_MATR appends P-y, T-z and Q-z of layer 1, then of layer 2, and so on.
  for (std::int32_t m = 1; m <= WORKSPACE.MATERIAL_STORE.NMAT; ++m) {
    const int j = (m - 1) / kCurveTypes;
    const int c = (m - 1) % kCurveTypes;
    copy_material(m, result.layers[static_cast<std::size_t>(j)][static_cast<std::size_t>(c)]);
  }
  return result;
}

}  // namespace view
