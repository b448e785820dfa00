// The material table: every material of the store, written after the last SOILCHAR block as
// SESAM records (format 1) or KNF kind blocks (format 2).
#pragma once

#include <cstdint>
#include <span>

#include "convert/workspace.hpp"

namespace convert {

// Writes the materials 1..NMAT of the workspace's store on OUTPUT_UNIT in OUTPUT_FORMAT. On
// failure (too many materials, an unknown format, a KNF kind with identifier 0 or a repeated
// identifier) writes its error lines and sets `error` to -1; on success leaves `error`
// untouched.
void G2K_WMAT(ConversionWorkspace& workspace, std::int32_t OUTPUT_FORMAT, int OUTPUT_UNIT,
              std::int32_t& error);

// Puts the places 0..ids.size()-1 of `ids` into `places` in writing order: positive
// identifiers ascending, then negative ones from -1 downward, equal identifiers in list order.
// Returns how many leading places of that order can be written: 0 when some identifier is 0,
// else up to (not including) the second occurrence of the first repeated identifier.
std::int32_t order_identifiers(std::span<const std::int32_t> ids, std::span<std::int32_t> places);

// The first material 1..store.NMAT holding identifier `id`, of any kind; 0 if none.
std::int32_t find_material(const MaterialStore& store, std::int32_t id);

}  // namespace convert
