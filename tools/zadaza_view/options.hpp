// The command line of zadaza-view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace view {

struct Options {
  bool help = false;
  bool old_generation = false;
  std::vector<double> diameters;  // empty: every diameter in use
  std::optional<int> first_layer;
  std::optional<int> last_layer;
  std::int32_t id_offset = 0;
  std::string page;        // empty: the ZADAZA name with ".html" added
  std::string csv_folder;  // empty: no tables
  std::string zadaza_file;
};

inline constexpr const char* kUsage =
    "usage: zadaza-view [--old] [--diameter D]... [--layers FIRST-LAST] [--offset N]\n"
    "                   [-o FILE.html] [--csv FOLDER] ZADAZA_FILE\n";

// Reads the arguments after the program name. Returns the options, or sets `error` to what is
// wrong with them.
Options parse_options(const std::vector<std::string>& arguments, std::string& error);

}  // namespace view
