#include "converter_adapter.hpp"

#include <algorithm>
#include <cstring>

#include "app/run.hpp"
#include "convert/curve_materials.hpp"
#include "convert/curve_scaling.hpp"
#include "convert/identifiers.hpp"
#include "convert/material_store.hpp"
#include "io/units.hpp"
#include "zadaza/reader.hpp"

namespace view {
namespace {

// No file is bound to this unit: G2K_MATR writes only for curves beyond 100 points, which
// the soil data model cannot hold.
constexpr int kNoUnit = 98;

convert::ScaledCurves PYCRV;
convert::ScaledCurves TZCRV;
convert::ScaledCurves QZCRV;
convert::MaterialStore STORE;

// The converter's words for a ZADAZA file it cannot open.
void report_unopened(std::string_view name, int error) {
  io::report_error({"cannot open ZADAZA file '", name, "': ", std::strerror(error)});
}

int layer_count() { return std::clamp(zadaza::SOIL_MODEL.NUM_LAYERS, 0, zadaza::MAX_LAYERS); }

void copy_scaled(const convert::ScaledCurves& curves, int layer, ConvertedCurve& to) {
  for (int k = 1; k <= kCurvePoints; ++k) {
    to.scaled[static_cast<std::size_t>(k - 1)] = {curves(1, k, layer), curves(2, k, layer)};
  }
}

void copy_material(std::int32_t m, ConvertedCurve& to) {
  to.material_id = STORE.MATID(m);
  to.law_code = STORE.RMAT(1, m);
  const auto n = static_cast<int>(STORE.RMAT(8, m));
  for (int p = 1; p <= n; ++p) {
    to.written.push_back({STORE.RMAT(9 + 2 * (p - 1), m), STORE.RMAT(10 + 2 * (p - 1), m)});
  }
}

}  // namespace

ReadOutcome read_zadaza(std::string_view path, bool old_generation) {
  if (const int error = zadaza::open_zadaza_file(path); error != 0) {
    report_unopened(path, error);
    return ReadOutcome::NotOpened;
  }
  std::int32_t status = 0;
  const zadaza::Generation generation =
      old_generation ? zadaza::Generation::Old : zadaza::Generation::New;
  return zadaza::read_zadaza_file(generation, status) ? ReadOutcome::Read
                                                      : ReadOutcome::LimitsBroken;
}

const zadaza::SoilModel& soil_model() { return zadaza::SOIL_MODEL; }

int active_diameters() { return app::count_active_diameters(zadaza::SOIL_MODEL.DIAM); }

ConvertedDiameter convert_diameter(int slot, std::int32_t id_offset) {
  const zadaza::SoilModel& model = zadaza::SOIL_MODEL;
  const int layers = layer_count();
  ConvertedDiameter result;
  result.slot = slot;
  result.diameter = model.DIAM(slot);
  result.built = convert::identifiers_fit(result.diameter, layers, id_offset);
  result.layers.resize(static_cast<std::size_t>(layers));

  convert::G2K_SCAL(slot, layers, result.diameter, kCurvePoints, model.PY_P, model.PY_DELTA,
                    model.TZ_P, model.TZ_DELTA, model.QZ_P, model.QZ_DELTA, PYCRV, TZCRV, QZCRV);
  const std::array<const convert::ScaledCurves*, kCurveTypes> curves{&PYCRV, &TZCRV, &QZCRV};
  for (int j = 1; j <= layers; ++j) {
    for (int c = 0; c < kCurveTypes; ++c) {
      copy_scaled(*curves[static_cast<std::size_t>(c)], j,
                  result.layers[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(c)]);
    }
  }
  if (!result.built) return result;

  result.soil_id = convert::soil_id(result.diameter);
  STORE.NMAT = 0;
  std::int32_t status = 0;
  convert::G2K_MATR(STORE, layers, kCurvePoints, id_offset, PYCRV, TZCRV, QZCRV,
                    result.diameter, kNoUnit, status);
  // G2K_MATR appends P-y, T-z and Q-z of layer 1, then of layer 2, and so on.
  for (std::int32_t m = 1; m <= STORE.NMAT; ++m) {
    const int j = (m - 1) / kCurveTypes;
    const int c = (m - 1) % kCurveTypes;
    copy_material(m, result.layers[static_cast<std::size_t>(j)][static_cast<std::size_t>(c)]);
  }
  return result;
}

}  // namespace view
