#include "soil_commands.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>

#include "converter_adapter.hpp"
#include "format/layout.hpp"
#include "io/units.hpp"
#include "markup.hpp"
#include "curve_table.hpp"
#include "output_files.hpp"
#include "soil_compare.hpp"
#include "soil_file/soil_file.hpp"
#include "soil_page.hpp"
#include "view_model.hpp"
#include "viewer.hpp"

namespace view {
namespace {

constexpr auto kLine = format::layout<"(A)">;
constexpr std::size_t kDifferencesShown = 20;

void say(const std::string& line) { io::write(io::kConsoleOut, kLine, {std::string_view(line)}); }

// The file's text, or its first `most` characters; nothing when it cannot be opened or read.
std::optional<std::string> read_text(const std::string& path, std::size_t most) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  if (most == std::string::npos) {
    text.assign(std::istreambuf_iterator<char>(in), {});
  } else {
    text.resize(most);
    in.read(text.data(), static_cast<std::streamsize>(most));
    text.resize(static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return text;
}

// The whole soil file, or nothing (reported) when it cannot be read or is not a soil file.
std::optional<soil::SoilFile> read_soil(const std::string& path) {
  const std::optional<std::string> text = read_text(path, std::string::npos);
  if (!text) {
    report("cannot read '" + path + "': check the name and that it is a readable file");
    return std::nullopt;
  }
  if (!soil::looks_like_soil_file(std::string_view(*text).substr(0, kKindSniffLength))) {
    report("'" + path + "' is not a soil file (it is not text); a ZADAZA file is drawn alone: "
           "zadaza-view FILE");
    return std::nullopt;
  }
  return soil::read_soil_file(*text);
}

// The file's unreadable lines on standard error, so that a script sees them too.
void report_problems(const std::string& path, const soil::SoilFile& file) {
  for (const soil::Problem& p : file.problems) {
    report(path + ": line " + std::to_string(p.line) + ": " + p.what);
  }
}

// Nothing is written when any output would replace one of the soil files read.
bool outputs_spare_soil_files(const std::vector<std::string>& outputs,
                              const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    protect_zadaza_file(input);
    if (!outputs_spare_input(outputs, "the soil file " + input)) return false;
  }
  return true;
}

// A layer's spring that the table lacks is said on standard error, as the table has no rows
// for it and a script reads no page.
bool write_soil_tables(const std::string& path, const soil::SoilFile& file,
                       const ViewModel& view, const TableRequest& tables) {
  for (const std::string& note : layer_material_notes(file)) {
    report(path + ": " + note + "; the table has no rows for it");
  }
  const SoilTableHeader header{path, soil::format_name(file.format), file.blocks.size(),
                               file.materials.size()};
  return write_tables(tables, table_rows(view), table_json_header(header));
}

struct CompareOptions {
  std::vector<std::string> files;
  double tolerance = 0.0;
  std::string page;
};

bool read_tolerance(const std::string& text, double& tolerance) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, tolerance);
  return result.ec == std::errc() && result.ptr == end && tolerance >= 0.0 &&
         std::isfinite(tolerance);
}

std::string parse_compare_options(const std::vector<std::string>& arguments, CompareOptions& o) {
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string& argument = arguments[a];
    if (argument == "--compare") {
      if (a + 2 >= arguments.size()) return "--compare needs two soil files";
      o.files = {arguments[a + 1], arguments[a + 2]};
      a += 2;
    } else if (argument == "--tolerance" || argument == "-o") {
      if (a + 1 >= arguments.size()) return argument + " needs a value";
      const std::string& value = arguments[++a];
      if (argument == "-o") {
        if (value.empty()) return "bad value '' for -o";
        o.page = value;
      } else if (!read_tolerance(value, o.tolerance)) {
        return "bad value '" + value + "' for --tolerance (a relative tolerance, 0 or more)";
      }
    } else {
      return "with --compare, unexpected " + argument;
    }
  }
  if (o.files.empty()) return "--compare needs two soil files";
  return {};
}

void print_summary(const CompareOptions& o, const soil::SoilFile& a, const soil::SoilFile& b,
                   const SoilComparison& c) {
  say(" Compared A: " + o.files[0] + " (" + std::to_string(a.blocks.size()) + " blocks, " +
      std::to_string(a.materials.size()) + " materials, " +
      std::string(soil::format_name(a.format)) + ")");
  say("     with B: " + o.files[1] + " (" + std::to_string(b.blocks.size()) + " blocks, " +
      std::to_string(b.materials.size()) + " materials, " +
      std::string(soil::format_name(b.format)) + ")");
  say(" Matched: " + std::to_string(c.matched_blocks) + " blocks, " +
      std::to_string(c.matched_layers) + " layers, " + std::to_string(c.matched_materials) +
      " materials; relative tolerance " + shortest(o.tolerance));
  say(" Differences: " + std::to_string(c.differences.size()));
  const std::size_t shown = std::min(c.differences.size(), kDifferencesShown);
  for (std::size_t i = 0; i < shown; ++i) say(c.differences[i]);
  if (shown < c.differences.size()) {
    say(" ... and " + std::to_string(c.differences.size() - shown) + " more" +
        (o.page.empty() ? " (-o PAGE.html lists them all)" : " (the page lists them all)"));
  }
}

}  // namespace

bool asks_for_comparison(const std::vector<std::string>& arguments) {
  return std::find(arguments.begin(), arguments.end(), "--compare") != arguments.end();
}

int run_comparison(const std::vector<std::string>& arguments) {
  CompareOptions o;
  if (const std::string error = parse_compare_options(arguments, o); !error.empty()) {
    report(error);
    return kSoilFileUnreadable;
  }
  const std::optional<soil::SoilFile> a = read_soil(o.files[0]);
  const std::optional<soil::SoilFile> b = a ? read_soil(o.files[1]) : std::nullopt;
  if (!a || !b) return kSoilFileUnreadable;
  report_problems(o.files[0], *a);
  report_problems(o.files[1], *b);
  const SoilComparison comparison = compare_soil_files(*a, *b, o.tolerance);
  print_summary(o, *a, *b, comparison);
  if (!o.page.empty()) {
    const ComparedFiles files{o.files[0], o.files[1], *a, *b, o.tolerance};
    if (!outputs_spare_soil_files({o.page}, o.files) ||
        !write_reported(o.page, make_comparison_page(files, comparison), " Page written : ")) {
      return kSoilFileUnreadable;
    }
  }
  return comparison.differences.empty() ? kSoilFilesEqual : kSoilFilesDiffer;
}

int run_soil_file_view(const std::string& path, const soil::SoilFile& file,
                       const std::string& page, const TableRequest& tables) {
  report_problems(path, file);
  const ViewModel view = soil_view_model(file);
  const std::string page_path = page_file(page, path, tables);
  if (!outputs_spare_soil_files({page_path, tables.table_file, tables.json_file}, {path})) {
    return kUsageOrOutputFailure;
  }
  if (!page_path.empty() &&
      !write_reported(page_path, make_soil_page(path, view), " Page written : ")) {
    return kUsageOrOutputFailure;
  }
  if (tables.wanted() && !write_soil_tables(path, file, view, tables)) return kUsageOrOutputFailure;
  if (!file.problems.empty() || !file.banners.empty()) {
    report(path + ": the file holds " + std::to_string(file.problems.size()) +
           " unreadable lines or fields and " + std::to_string(file.banners.size()) +
           " error banners" + (page_path.empty() ? "" : ", listed in the page's Notes"));
    return kLimitOrConversionFailure;
  }
  return kCompleted;
}

}  // namespace view
