// One tidy table of every curve point, of a ZADAZA file or of a soil file: as CSV (RFC 4180,
// UTF-8, a header row) and as JSON ({"header": {...}, "rows": [...]}, each row an object keyed
// by the CSV's columns). Both sources write the same columns, so that their tables line up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "charts.hpp"
#include "table_options.hpp"
#include "view_model.hpp"

namespace view {

// The columns, in their order.
inline constexpr std::string_view kTableColumns[] = {
    "diameter", "soil_id", "layer",        "z_bottom", "level_top", "level_bottom", "curve",
    "material_id", "point", "displacement", "stress",  "force",     "kept"};

struct TableRow {
  double diameter = 0.0;
  std::optional<std::int32_t> soil_id;  // none for a diameter the converter skips
  int layer = 0;
  std::optional<double> z_bottom;  // none from a soil file, which does not hold it
  double level_top = 0.0;
  double level_bottom = 0.0;
  CurveType curve = CurveType::PY;
  std::optional<std::int32_t> material_id;
  int point = 0;
  double displacement = 0.0;
  std::optional<double> stress;  // as in the ZADAZA file; none from a soil file
  double force = 0.0;            // scaled for the diameter, as the converter scales it
  bool kept = false;             // written into the soil file
};

// The rows of the model: per spring with a ZADAZA curve one row per point of the curve, kept or
// not; per spring read from a soil file one row per point as written, every one kept. A
// skipped diameter has no rows.
std::vector<TableRow> table_rows(const ViewModel& model);

// Numbers in the shortest form that reads back to the same value; lines end CR LF.
std::string table_csv(const std::vector<TableRow>& rows);

// What the JSON header tells besides the rows.
struct TableHeader {
  std::string zadaza_file;
  bool old_generation = false;
  std::vector<double> diameters_in_use;
  std::vector<double> diameters_selected;  // empty: every diameter in use
  int first_layer = 1;
  int last_layer = 0;
  std::int32_t id_offset = 0;
};

// The JSON header of a ZADAZA file's table: the file's facts and the request's settings.
std::string table_json_header(const TableHeader& header, const ZadazaFileFacts& file,
                              const TableRequest& request);

// The JSON header of a soil file's table.
struct SoilTableHeader {
  std::string soil_file;
  std::string_view format;  // "SESAM", "KNF", or "none" without a material table
  std::size_t blocks = 0;
  std::size_t materials = 0;
};
std::string table_json_header(const SoilTableHeader& header);

// The rows as JSON under the header (a JSON object); a number that is not finite is null, as
// JSON has no such number.
std::string table_json(std::string_view header, const std::vector<TableRow>& rows);

}  // namespace view
