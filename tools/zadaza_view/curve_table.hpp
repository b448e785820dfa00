// One tidy table of every drawn curve point: as CSV (RFC 4180, UTF-8, a header row) and as
// JSON ({"header": {...}, "rows": [...]}, each row an object keyed by the CSV's columns).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "charts.hpp"
#include "table_options.hpp"
#include "zadaza/soil_model.hpp"

namespace view {

// The columns, in their order.
inline constexpr std::string_view kTableColumns[] = {
    "diameter", "soil_id", "layer",        "z_bottom", "level_top", "level_bottom", "curve",
    "material_id", "point", "displacement", "stress",  "force",     "kept"};

struct TableRow {
  double diameter = 0.0;
  std::optional<std::int32_t> soil_id;  // none for a diameter the converter builds nothing for
  int layer = 0;
  double z_bottom = 0.0;
  double level_top = 0.0;
  double level_bottom = 0.0;
  CurveType curve = CurveType::PY;
  std::optional<std::int32_t> material_id;
  int point = 0;
  double displacement = 0.0;
  double stress = 0.0;  // as in the ZADAZA file
  double force = 0.0;   // scaled for the diameter, as the converter scales it
  bool kept = false;    // written into the soil file
};

// One row per point of every chart, with the levels for the request's mudline and orientation.
std::vector<TableRow> table_rows(const std::vector<DiameterCharts>& diameters,
                                 const zadaza::SoilModel& model, const TableRequest& request);

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

// The same rows as JSON; a number that is not finite is null, as JSON has no such number.
std::string table_json(const TableHeader& header, const zadaza::SoilModel& model,
                       const TableRequest& request, const std::vector<TableRow>& rows);

}  // namespace view
