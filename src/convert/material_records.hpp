// The lines one material becomes, in SESAM records and in KNF, and the KNF kind headings.
#pragma once

#include <cstdint>

#include "convert/material_store.hpp"

namespace convert {

// The MISOPL record of spring curve material m.
void write_sesam_record(const MaterialStore& store, std::int32_t m, int unit);

// The two comment lines that open the KNF block of a known kind; nothing for any other kind.
void write_knf_heading(std::int32_t kind, int unit);

// The KNF record of material m in the layout of `kind`, whatever kind m itself has; nothing
// for an unknown kind. A bearing material is written whatever its option.
void write_knf_record(const MaterialStore& store, std::int32_t m, std::int32_t kind, int unit);

}  // namespace convert
