// zadaza-view on KRANO soil files: drawing one, and comparing two.
#pragma once

#include <string>
#include <vector>

#include "soil_file/soil_file.hpp"
#include "table_options.hpp"

namespace view {

inline constexpr const char* kSoilFileUsage =
    "       zadaza-view [-o FILE.html] [--table FILE.csv] [--json FILE.json] SOIL_FILE\n"
    "       zadaza-view --compare A B [--tolerance R] [-o PAGE.html]\n";

inline constexpr const char* kSoilFileHelp =
    "\n"
    "Soil files:\n"
    "  Given a KRANO soil file (.fem or .knf, SESAM or KNF, recognised by its content), the\n"
    "  page shows what the file holds: each SOILCHAR block, its layers with their levels, and\n"
    "  per layer the P-y, T-z and Q-z materials it names with their points as written. The\n"
    "  Notes list unreadable lines and fields of asterisks (with their line numbers), error\n"
    "  banners, missing, unused and repeated materials, and springs whose displacements go\n"
    "  back. --table and --json write the table of what the file holds: the columns of a ZADAZA\n"
    "  file's table, one row per point as written of every spring a layer names, kept 1;\n"
    "  z_bottom and stress, which a soil file does not hold, are empty (null in JSON). Exit\n"
    "  status 1 when the file cannot be read; 3 when the page or table is written and the\n"
    "  file holds an unreadable line or an error banner.\n"
    "\n"
    "  --compare A B        compare two soil files: blocks by soil identifier, layers by\n"
    "                       number, materials by identifier and kind; prints a summary and\n"
    "                       the first 20 differences. Exit status 0 equal, 1 different,\n"
    "                       2 a file unreadable or a usage error\n"
    "  --tolerance R        relative tolerance of the comparison (default 0: equal as written)\n"
    "  -o PAGE.html         with --compare: also write a page with every difference and the\n"
    "                       differing springs of A and B drawn over each other\n";

inline constexpr int kSoilFilesEqual = 0;
inline constexpr int kSoilFilesDiffer = 1;
inline constexpr int kSoilFileUnreadable = 2;

// Whether the arguments ask for a comparison.
bool asks_for_comparison(const std::vector<std::string>& arguments);

// Runs a comparison and returns its exit status.
int run_comparison(const std::vector<std::string>& arguments);

// Draws the soil file `path`, read as `file`, on the page (empty: the soil file's name with
// ".html" added, or none when a table is asked for) and writes the tables asked for; returns
// the exit status.
int run_soil_file_view(const std::string& path, const soil::SoilFile& file,
                       const std::string& page, const TableRequest& tables);

}  // namespace view
