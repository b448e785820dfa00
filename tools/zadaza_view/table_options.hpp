// The options of the curve table and its JSON twin, and the two settings that change the
// table's values besides the offset: the mudline and the orientation, as the converter takes
// them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace view {

struct TableRequest {
  std::string table_file;         // --table FILE.csv; empty: none
  std::string json_file;          // --json FILE.json; empty: none
  std::optional<double> mudline;  // --mudline Z: required with either, as in the converter
  double coord_factor = -1.0;     // --orientation neg (the converter's default) or pos
  bool wanted() const { return !table_file.empty() || !json_file.empty(); }
  std::string_view orientation() const { return coord_factor > 0.0 ? "pos" : "neg"; }
};

// Reads the value of --table, --json, --mudline or --orientation into `request` by the converter's rules (a mudline as a typed
// real, pos or neg in any case); false when the value is bad.
bool read_table_option(std::string_view option, std::string_view value, TableRequest& request);

// What is wrong with the request as a whole, or an empty text.
std::string table_request_error(const TableRequest& request);

}  // namespace view
