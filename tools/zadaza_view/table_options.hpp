// The options of the curve table and its JSON twin, and the two settings that change the
// table's values besides the offset: the mudline and the orientation, as the converter takes
// them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "io/command_options.hpp"

namespace view {

struct TableRequest {
  std::string table_file;         // --table FILE.csv; empty: none
  std::string json_file;          // --json FILE.json; empty: none
  std::optional<double> mudline;  // --mudline Z: required with either for a ZADAZA file
  std::optional<double> coord_factor;  // --orientation pos (1) or neg (-1); none: neg
  bool wanted() const { return !table_file.empty() || !json_file.empty(); }
  // The converter's default when --orientation is not given.
  double orientation_factor() const { return coord_factor.value_or(-1.0); }
  std::string_view orientation() const { return orientation_factor() > 0.0 ? "pos" : "neg"; }
};

// The values of --mudline and --orientation, read by the converter's rules (a mudline as a
// typed real, pos or neg in any case); false when the value is bad.
bool read_mudline(std::string_view value, TableRequest& request);
bool read_orientation(std::string_view value, TableRequest& request);

// What is wrong with the request for a ZADAZA file's table, or no problem. A soil file's
// table needs no mudline: its levels are as written.
io::UsageError table_request_error(const TableRequest& request);

}  // namespace view
