#include "options.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "io/units.hpp"

#ifndef ZADAZA2KRANO_VERSION
#error "ZADAZA2KRANO_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace view {
namespace {

constexpr std::string_view kUsages[] = {
    "[--old] [--diameter D]... [--layers FIRST-LAST] [--offset N]\n"
    "[-o FILE.html] [--table FILE.csv] [--json FILE.json]\n"
    "[--mudline Z] [--orientation pos|neg] ZADAZA_FILE",
    "[-o FILE.html] [--table FILE.csv] [--json FILE.json] SOIL_FILE",
    "--compare A B [--tolerance R] [-o PAGE.html]",
    "--check PROFILE.csv --loading static|cyclic [--tolerance R] [--old]\n"
    "ZADAZA_FILE [-o PAGE.html]",
};

constexpr std::string_view kAbout[] = {
    "Draws every P-y, T-z and Q-z curve of a ZADAZA file before and after conversion on one",
    "self-contained HTML page: each curve scaled to forces for its diameter, the points of the",
    "spring material the converter writes, and the points its thinning drops. Or writes",
    "every curve point in one table, as CSV or JSON.",
};

constexpr std::string_view kAfterOptions[] = {
    "Soil files:",
    "  Given a KRANO soil file (.fem or .knf, SESAM or KNF, recognised by its content), the",
    "  page shows what the file holds: each SOILCHAR block, its layers with their levels, and",
    "  per layer the P-y, T-z and Q-z materials it names with their points as written. The",
    "  Notes list unreadable lines and fields of asterisks (with their line numbers), error",
    "  banners, missing, unused and repeated materials, and springs whose displacements go",
    "  back. --table and --json write the table of what the file holds: the columns of a ZADAZA",
    "  file's table, one row per point as written of every spring a layer names, kept 1;",
    "  z_bottom and stress, which a soil file does not hold, are empty (null in JSON). Exit",
    "  status 1 when the file cannot be read; 2 when it holds no SOILCHAR block and no",
    "  material (nothing is written); 3 when the page or table is written and the file holds",
    "  an unreadable line or an error banner. Standard error lists the first 100 unreadable",
    "  lines.",
    "",
    "Checking a ZADAZA file against the standard curve families (--check):",
    "  For every layer and diameter in use, the family curves (P-y, T-z, Q-z) of the profile",
    "  at the layer's mid-depth, from the file's own layer bottoms; the profile as zadaza-make",
    "  --profile reads it (m, kN, kPa, kN/m3). A curve's deviation is the largest",
    "  |file stress - family stress| at the file's displacements, over the family's ultimate",
    "  stress. Standard output lists every curve beyond R, naming the diameter, layer and",
    "  curve type. With -o, a page with the worst deviation per layer and curve type and the",
    "  family curve over every chart. A diameter the converter skips is checked too, and",
    "  named on standard error and on the page.",
};

constexpr std::string_view kExitStatuses[] = {
    "0  page or tables written; --compare: the files are equal; --check: every curve",
    "   within R",
    "1  the ZADAZA file could not be opened; --compare: the files differ; --check: some",
    "   curve beyond R",
    "2  a damaged ZADAZA file, a file of neither kind, a usage error, or an output that",
    "   cannot be written;",
    "   --compare: a file unreadable or not a soil file;",
    "   --check: a layer below the profile, a file without curves, a profile or ZADAZA",
    "   file that cannot be read",
    "3  the ZADAZA file exceeds the size limits, or the converter skips a diameter in use",
};

constexpr std::string_view kClosing[] = {
    "The user guide: docs/guide.md, installed as share/doc/zadaza2krano/guide.md;",
    "man zadaza-view.",
};

constexpr io::ProgramText kProgram{
    .name = "zadaza-view",
    .version = ZADAZA2KRANO_VERSION,
    .usages = kUsages,
    .about = kAbout,
    .after_options = kAfterOptions,
    .exit_statuses = kExitStatuses,
    .closing = kClosing,
};

template <typename Number>
bool read_number(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

// "FIRST-LAST", or one layer "N".
bool take_layers(Options& o, std::string_view text) {
  const std::size_t dash = text.find('-');
  int first = 0;
  int last = 0;
  if (dash == std::string_view::npos) {
    if (!read_number(text, first)) return false;
    last = first;
  } else if (!read_number(text.substr(0, dash), first) ||
             !read_number(text.substr(dash + 1), last)) {
    return false;
  }
  if (first < 1 || last < first) return false;
  o.first_layer = first;
  o.last_layer = last;
  return true;
}

bool take_diameter(Options& o, std::string_view text) {
  double d = 0.0;
  if (!read_number(text, d) || !(d > 0.0) || d > std::numeric_limits<double>::max()) {
    return false;
  }
  o.diameters.push_back(d);
  return true;
}

bool take_tolerance(Options& o, std::string_view text) {
  double tolerance = 0.0;
  if (!read_number(text, tolerance) || !(tolerance >= 0.0) || !std::isfinite(tolerance)) {
    return false;
  }
  o.tolerance = tolerance;
  return true;
}

bool take_text(std::string_view text, std::string& to) {
  if (text.empty()) return false;
  to = text;
  return true;
}

constexpr io::OptionRule kCheckLoading{
    .name = "--loading",
    .value_name = "static|cyclic",
    .form = "static or cyclic",
    .help = "with --check: the loading of the P-y curves, as the file was\nmade for; required"};

bool take_loading(Options& o, std::string_view value) {
  if (value != "static" && value != "cyclic") return false;
  o.loading = value == "static" ? families::Loading::Static : families::Loading::Cyclic;
  return true;
}

constexpr io::Option<Options> kOptions[] = {
    {{.name = "--old", .help = "the ZADAZA file is of the Old generation (default: New)"},
     [](Options& o, std::string_view) { return o.old_generation = true; }},
    {{.name = "--diameter",
      .value_name = "D",
      .repeats = io::Repeats::Many,
      .form = "a diameter above 0, such as 1.5",
      .help = "draw only the diameter in use equal to D; may be repeated\n"
              "(default: every diameter in use)"},
     take_diameter},
    {{.name = "--layers",
      .value_name = "FIRST-LAST",
      .form = "FIRST-LAST or one layer N, such as 2-5",
      .help = "draw only these layers (default: every layer)"},
     take_layers},
    {{.name = "--offset",
      .value_name = "N",
      .form = "a whole number within 32 bits, such as 500",
      .help = "number added to material identifiers, as the converter's\n"
              "\"Number to be added to ID\" (default: 0)"},
     [](Options& o, std::string_view v) { return read_number(v, o.id_offset); }},
    {{.name = "-o",
      .value_name = "FILE.html",
      .form = "a page file name",
      .help = "the page (default: ZADAZA_FILE with .html added; no page\n"
              "when a table is asked for without -o); with --compare, a\n"
              "page with every difference and the differing springs of A\n"
              "and B drawn over each other"},
     [](Options& o, std::string_view v) { return take_text(v, o.page); }},
    {{.name = "--table",
      .value_name = "FILE.csv",
      .form = "a CSV file name",
      .help = "write one row per curve point of every drawn diameter and\n"
              "layer: the file's values, the scaled forces, the levels and\n"
              "whether the soil file keeps the point"},
     [](Options& o, std::string_view v) { return take_text(v, o.tables.table_file); }},
    {{.name = "--json",
      .value_name = "FILE.json",
      .form = "a JSON file name",
      .help = "the same table as JSON (both also for a soil file: below)"},
     [](Options& o, std::string_view v) { return take_text(v, o.tables.json_file); }},
    {{.name = "--mudline",
      .value_name = "Z",
      .form = "a real number, such as -20.5",
      .help = "z of the mudline, as the converter's --mudline (required with\n"
              "--table and --json; not with a soil file)"},
     [](Options& o, std::string_view v) { return read_mudline(v, o.tables); }},
    {{.name = "--orientation",
      .value_name = "pos|neg",
      .form = "pos or neg",
      .help = "orientation of the soil axis, as the converter's (default:\nneg)"},
     [](Options& o, std::string_view v) { return read_orientation(v, o.tables); }},
    {{.name = "--compare",
      .help = "compare the two soil files A and B: blocks by soil identifier,\n"
              "layers by number, materials by identifier and kind; prints a\n"
              "summary and the first 100 differences"},
     [](Options& o, std::string_view) { return o.compare = true; }},
    {{.name = "--tolerance",
      .value_name = "R",
      .form = "a relative tolerance, 0 or more",
      .help = "relative tolerance of --compare (default 0: equal as written);\n"
              "with --check, the largest deviation allowed, over the family's\n"
              "ultimate stress (default 0.05)"},
     take_tolerance},
    {{.name = "--check",
      .value_name = "PROFILE.csv",
      .form = "a CSV file name",
      .help = "check the ZADAZA file's curves against the standard curve\n"
              "families of the soil profile (below)"},
     [](Options& o, std::string_view v) { return take_text(v, o.check_profile); }},
    {kCheckLoading, take_loading},
};

// ZADAZA_FILE or SOIL_FILE, or the two files of --compare, wherever --compare stands.
io::UsageError take_file(Options& o, std::string_view file) {
  if (o.files.size() == 2) return io::stray_argument(file, "give one file, or two with --compare");
  o.files.emplace_back(file);
  return {};
}

// Options that choose what of a ZADAZA file is drawn or tabulated, and how.
bool selection_options(const Options& o) {
  return !o.diameters.empty() || o.first_layer || o.id_offset != 0 || o.tables.wanted() ||
         o.tables.mudline || o.tables.coord_factor;
}

io::UsageError one_zadaza_file(Options& o) {
  if (o.files.empty()) {
    return io::refusal("the ZADAZA file is missing", "give ZADAZA_FILE after the options");
  }
  if (o.files.size() > 1) return io::stray_argument(o.files[1], "give one ZADAZA_FILE");
  o.zadaza_file = o.files.front();
  return {};
}

io::UsageError checked_comparison(const Options& o) {
  if (o.files.size() != 2) return io::refusal("--compare needs two soil files", "give --compare A B");
  if (o.old_generation || selection_options(o) || o.loading) {
    return io::refusal("--compare takes only --tolerance and -o",
                       "draw or tabulate each soil file on its own");
  }
  return {};
}

// Every diameter and layer is checked; --old tells how to read the file.
io::UsageError checked_check(Options& o) {
  if (selection_options(o)) {
    return io::refusal("--check takes only --loading, --tolerance, --old and -o",
                       "draw or tabulate the file on its own");
  }
  if (!o.loading) return io::missing_option(kCheckLoading);
  return one_zadaza_file(o);
}

// What the whole command line asks, once every option is read.
io::UsageError checked(Options& o) {
  const bool check = !o.check_profile.empty();
  if (o.compare && check) {
    return io::refusal("--compare and --check exclude each other", "give one of them");
  }
  if (o.compare) return checked_comparison(o);
  if (check) return checked_check(o);
  if (o.tolerance) {
    return io::refusal("--tolerance is for --compare and --check",
                       "give --compare A B or --check PROFILE.csv");
  }
  if (o.loading) return io::refusal("--loading is for --check", "give --check PROFILE.csv");
  return one_zadaza_file(o);
}

// An option of earlier versions, refused with what replaced it.
constexpr std::string_view kRetiredCsv = "--csv";

}  // namespace

ViewCommand parse_command_line(std::span<const char* const> arguments) {
  ViewCommand command = io::read_command(arguments, kOptions, take_file, checked);
  if (command.action == io::CommandAction::Refused && command.error.culprit == kRetiredCsv) {
    command.error = io::refusal("--csv is replaced by --table FILE.csv",
                                "one table of every diameter");
  }
  return command;
}

void write_help() { io::write_help(io::kConsoleOut, kProgram, kOptions); }

void write_version() { io::write_version(io::kConsoleOut, kProgram); }

void report_usage_error(const io::UsageError& error) { io::report_usage_error(kProgram, error); }

}  // namespace view
