// The command line of zadaza-view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "table_options.hpp"

namespace view {

struct Options {
  bool help = false;
  bool version = false;
  bool old_generation = false;
  std::vector<double> diameters;  // empty: every diameter in use
  std::optional<int> first_layer;
  std::optional<int> last_layer;
  std::int32_t id_offset = 0;
  std::string page;  // empty: the ZADAZA name with ".html" added, or none with a table
  TableRequest tables;
  std::string zadaza_file;
};

inline constexpr const char* kUsage =
    "usage: zadaza-view [--old] [--diameter D]... [--layers FIRST-LAST] [--offset N]\n"
    "                   [-o FILE.html] [--table FILE.csv] [--json FILE.json]\n"
    "                   [--mudline Z] [--orientation pos|neg] ZADAZA_FILE\n"
    "       zadaza-view --help | --version\n";

// The usage with every option explained, for --help.
inline constexpr const char* kHelp =
    "\n"
    "Draws every P-y, T-z and Q-z curve of a ZADAZA file before and after conversion on one\n"
    "self-contained HTML page: each curve scaled to forces for its diameter, the points of the\n"
    "spring material the converter writes, and the points its thinning drops. Or writes\n"
    "every curve point in one table, as CSV or JSON.\n"
    "\n"
    "Options:\n"
    "  --old                the ZADAZA file is of the Old generation (default: New)\n"
    "  --diameter D         draw only the diameter in use equal to D; may be repeated\n"
    "                       (default: every diameter in use)\n"
    "  --layers FIRST-LAST  draw only these layers (default: every layer)\n"
    "  --offset N           number added to material identifiers, as the converter's\n"
    "                       \"Number to be added to ID\" (default: 0)\n"
    "  -o FILE.html         the page (default: ZADAZA_FILE with .html added; no page\n"
    "                       when a table is asked for without -o)\n"
    "  --table FILE.csv     write one row per curve point of every drawn diameter and\n"
    "                       layer: the file's values, the scaled forces, the levels and\n"
    "                       whether the soil file keeps the point\n"
    "  --json FILE.json     the same table as JSON (both also for a soil file: below)\n"
    "  --mudline Z          z of the mudline, as the converter's --mudline (required with\n"
    "                       --table and --json; not with a soil file)\n"
    "  --orientation pos|neg  orientation of the soil axis, as the converter's (default:\n"
    "                       neg)\n"
    "  -h, --help           show this help and exit\n"
    "  --version            show the program name and version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  page or tables written\n"
    "  1  the ZADAZA file could not be opened\n"
    "  2  a damaged ZADAZA file, a usage error, or an output that cannot be written\n"
    "  3  the ZADAZA file exceeds the size limits, or the converter skips a diameter in use\n"
    "\n"
    "The user guide: docs/guide.md, installed as share/doc/zadaza2krano/guide.md;\n"
    "man zadaza-view.\n";

// Reads the arguments after the program name. Returns the options, or sets `error` to what is
// wrong with them.
Options parse_options(const std::vector<std::string>& arguments, std::string& error);

}  // namespace view
