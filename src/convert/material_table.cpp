#include "convert/material_table.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "convert/banners.hpp"
#include "convert/material_records.hpp"
#include "convert/record_layouts.hpp"
#include "convert/rounding.hpp"
#include "convert/settings.hpp"
#include "io/units.hpp"

namespace convert {

namespace {

constexpr std::string_view kTableBanner = "*** ERROR IN G2K_WMAT ***";
constexpr std::array<std::int32_t, 7> kKnfKindOrder{
    kElasticKind,         kMisoiepKind, kSpringMatrixKind, kSpringCurveKind,
    kSpringReferenceKind, kCompsKind,   kBearingKind};

// Positive identifiers come first, ascending; negative ones follow, -1 first.
bool written_before(std::int32_t a, std::int32_t b) {
  if ((a > 0) != (b > 0)) return a > 0;
  return a > 0 ? a < b : a > b;
}

std::int32_t count_of_kind(const MaterialStore& store, std::int32_t kind) {
  std::int32_t count = 0;
  for (std::int32_t m = 1; m <= store.NMAT; ++m) count += store.MATTYP(m) == kind ? 1 : 0;
  return count;
}

std::int32_t collect_identifiers(ConversionWorkspace& workspace, std::int32_t kind) {
  const MaterialStore& store = workspace.MATERIAL_STORE;
  auto& ordering_list = workspace.ordering_list;
  std::int32_t c = 0;
  for (std::int32_t m = 1; m <= store.NMAT; ++m) {
    if (store.MATTYP(m) == kind) ordering_list[static_cast<std::size_t>(c++)] = store.MATID(m);
  }
  return c;
}

bool is_written_in_knf(const MaterialStore& store, std::int32_t m, std::int32_t kind) {
  constexpr std::int32_t kLinearBearing = 1;
  return kind != kBearingKind || NINT(store.RMAT(1, m)) == kLinearBearing;
}

// Writes one kind block; false when it meets an identifier it cannot place.
bool write_kind_block(ConversionWorkspace& workspace, std::int32_t kind, std::int32_t c,
                      int unit) {
  const MaterialStore& store = workspace.MATERIAL_STORE;
  const auto& ordering_list = workspace.ordering_list;
  auto& ordered_places = workspace.ordered_places;
  write_knf_heading(kind, unit);
  const auto count = static_cast<std::size_t>(c);
  const std::int32_t writable = order_identifiers({ordering_list.data(), count},
                                                  {ordered_places.data(), count});
  for (std::int32_t k = 1; k <= c; ++k) {
    if (k > writable) return false;
    const std::int32_t p = ordered_places[static_cast<std::size_t>(k - 1)];
    const std::int32_t m = find_material(store, ordering_list[static_cast<std::size_t>(p)]);
    if (m == 0) return false;
    if (is_written_in_knf(store, m, kind)) write_knf_record(store, m, kind, unit);
  }
  return true;
}

// The MISOPL records of the spring curve materials in store order; other kinds are passed
// over.
void write_sesam_materials(const MaterialStore& store, int OUTPUT_UNIT) {
  for (std::int32_t m = 1; m <= store.NMAT; ++m) {
    if (store.MATTYP(m) == kSpringCurveKind) write_sesam_record(store, m, OUTPUT_UNIT);
  }
}

// The KNF kind blocks in the kind order 10, 1, 5, 2, 3, 12, 18, identifiers ordered within a
// kind. Sets `error` to -1 and stops at a zero or repeated identifier. NMAT is at most 1000.
void KWRMAT(ConversionWorkspace& workspace, int OUTPUT_UNIT, std::int32_t& error) {
  const MaterialStore& store = workspace.MATERIAL_STORE;
  std::array<std::int32_t, kKnfKindOrder.size()> counts{};
  std::int32_t known = 0;
  for (std::size_t i = 0; i < kKnfKindOrder.size(); ++i) {
    counts[i] = count_of_kind(store, kKnfKindOrder[i]);
    known += counts[i];
  }
  if (known < store.NMAT) {
    io::write(OUTPUT_UNIT, kWarning, {kMaterialsMissing});
  }
  for (std::size_t i = 0; i < kKnfKindOrder.size(); ++i) {
    if (counts[i] < 1) continue;
    const std::int32_t c = collect_identifiers(workspace, kKnfKindOrder[i]);
    if (!write_kind_block(workspace, kKnfKindOrder[i], c, OUTPUT_UNIT)) {
      write_banner(OUTPUT_UNIT, "*** ERROR IN KWRMAT ***");
      error = -1;
      return;
    }
  }
}

}  // namespace

void G2K_WMAT(ConversionWorkspace& workspace, std::int32_t OUTPUT_FORMAT, int OUTPUT_UNIT,
              std::int32_t& error) {
  const MaterialStore& store = workspace.MATERIAL_STORE;
  if (store.NMAT > kMaxTableMaterials) {
    write_limit_banner(OUTPUT_UNIT, kTableBanner, "*** Number of Materials Exceeds Max of ",
                       kMaxTableMaterials);
    error = -1;
    return;
  }
  if (OUTPUT_FORMAT == kSesamFormat) {
    write_sesam_materials(store, OUTPUT_UNIT);
    return;
  }
  if (OUTPUT_FORMAT == kKnfFormat) {
    std::int32_t knf_error = 0;
    KWRMAT(workspace, OUTPUT_UNIT, knf_error);
    if (knf_error == 0) return;
  }
  write_banner(OUTPUT_UNIT, kTableBanner);
  error = -1;
}

std::int32_t order_identifiers(std::span<const std::int32_t> ids, std::span<std::int32_t> places) {
  const auto n = static_cast<std::int32_t>(ids.size());
  if (std::find(ids.begin(), ids.end(), 0) != ids.end()) return 0;
  for (std::int32_t p = 0; p < n; ++p) places[static_cast<std::size_t>(p)] = p;
  const auto first = places.begin();
  std::sort(first, first + n, [&](std::int32_t a, std::int32_t b) {
    const std::int32_t ia = ids[static_cast<std::size_t>(a)];
    const std::int32_t ib = ids[static_cast<std::size_t>(b)];
    return ia == ib ? a < b : written_before(ia, ib);
  });
  auto id_at = [&](std::int32_t k) {
    return ids[static_cast<std::size_t>(places[static_cast<std::size_t>(k)])];
  };
  std::int32_t writable = n > 0 ? 1 : 0;
  while (writable < n && id_at(writable) != id_at(writable - 1)) ++writable;
  return writable;
}

std::int32_t find_material(const MaterialStore& store, std::int32_t id) {
  for (std::int32_t m = 1; m <= store.NMAT; ++m) {
    if (store.MATID(m) == id) return m;
  }
  return 0;
}

}  // namespace convert
