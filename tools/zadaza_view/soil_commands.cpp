#include "soil_commands.hpp"

#include <algorithm>
#include <optional>

#include "converter_adapter.hpp"
#include "common/input_text.hpp"
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

enum class SoilRead { Read, Unreadable, NotASoilFile };

// The whole soil file, or nothing (reported, and why in `outcome`) when it cannot be read or
// is not a soil file: binary, or text that holds no SOILCHAR block and no material.
std::optional<soil::SoilFile> read_soil(const std::string& path, SoilRead& outcome) {
  std::string text;
  if (const os::Error refused = tools::read_input_text(path, text)) {
    report("cannot read '" + path + "': " + std::string(refused.text()) +
           "; check the name and that it is a readable file");
    outcome = SoilRead::Unreadable;
    return std::nullopt;
  }
  if (!soil::looks_like_soil_file(std::string_view(text).substr(0, kKindSniffLength))) {
    report("'" + path + "' is not a soil file (it is not text); a ZADAZA file is drawn alone: "
           "zadaza-view FILE");
    outcome = SoilRead::NotASoilFile;
    return std::nullopt;
  }
  soil::SoilFile file = soil::read_soil_file(text);
  if (file.blocks.empty() && file.materials.empty()) {
    report("'" + path + "' is neither a ZADAZA file nor a soil file: it is text that holds no "
           "SOILCHAR block and no material; give a ZADAZA file or a soil file the converter wrote");
    outcome = SoilRead::NotASoilFile;
    return std::nullopt;
  }
  outcome = SoilRead::Read;
  return file;
}

// The first kListedAtMost of `lines` through `write`, then how many more there are.
template <class Write>
void list_capped(const std::vector<std::string>& lines, Write write, const std::string& more) {
  const std::size_t shown = std::min(lines.size(), kListedAtMost);
  for (std::size_t i = 0; i < shown; ++i) write(lines[i]);
  if (shown < lines.size()) {
    write(" ... and " + std::to_string(lines.size() - shown) + " more" + more);
  }
}

// The file's unreadable lines on standard error, so that a script sees them too.
void report_problems(const std::string& path, const ViewModel& view, const std::string& more) {
  std::vector<std::string> lines;
  for (const soil::Problem& p : view.problems) {
    lines.push_back(path + ": line " + std::to_string(p.line) + ": " + p.what);
  }
  list_capped(lines, [](const std::string& line) { report(line); }, more);
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
bool write_soil_tables(const std::string& path, const ViewModel& view,
                       const TableRequest& tables) {
  for (const std::string& note : layer_material_notes(view)) {
    report(path + ": " + note + "; the table has no rows for it");
  }
  const SoilTableHeader header{path, soil::format_name(view.table_format), view.blocks.size(),
                               view.materials.size()};
  return write_tables(tables, table_rows(view), table_json_header(header));
}

// What a soil file's model holds, as the summary names it: "3 blocks, 12 materials, KNF".
std::string holdings(const ViewModel& view) {
  return std::to_string(view.blocks.size()) + " blocks, " +
         std::to_string(view.materials.size()) + " materials, " +
         std::string(soil::format_name(view.table_format));
}

void print_summary(const CompareRequest& o, const ViewModel& a, const ViewModel& b,
                   const SoilComparison& c) {
  say(" Compared A: " + o.files[0] + " (" + holdings(a) + ")");
  say("     with B: " + o.files[1] + " (" + holdings(b) + ")");
  say(" Matched: " + std::to_string(c.matched_blocks) + " blocks, " +
      std::to_string(c.matched_layers) + " layers, " + std::to_string(c.matched_materials) +
      " materials; relative tolerance " + shortest(o.tolerance));
  say(" Differences: " + std::to_string(c.differences.size()));
  list_capped(c.differences, say,
              o.page.empty() ? " (-o PAGE.html lists them all)" : " (the page lists them all)");
}

}  // namespace

int run_comparison(const CompareRequest& o) {
  SoilRead outcome = SoilRead::Read;
  const std::optional<soil::SoilFile> a = read_soil(o.files[0], outcome);
  const std::optional<soil::SoilFile> b = a ? read_soil(o.files[1], outcome) : std::nullopt;
  if (!a || !b) return kSoilFileUnreadable;
  const ViewModel view_a = soil_view_model(*a);
  const ViewModel view_b = soil_view_model(*b);
  report_problems(o.files[0], view_a, " unreadable lines or fields");
  report_problems(o.files[1], view_b, " unreadable lines or fields");
  const SoilComparison comparison = compare_soil_views(view_a, view_b, o.tolerance);
  print_summary(o, view_a, view_b, comparison);
  if (!o.page.empty()) {
    const ComparedFiles files{o.files[0], o.files[1], view_a, view_b, o.tolerance};
    if (!outputs_spare_soil_files({o.page}, o.files) ||
        !write_reported(o.page, make_comparison_page(files, comparison), " Page written : ")) {
      return kSoilFileUnreadable;
    }
  }
  return comparison.differences.empty() ? kSoilFilesEqual : kSoilFilesDiffer;
}

int run_soil_file_view(const std::string& path, const soil::SoilFile& file,
                       const std::string& page, const TableRequest& tables) {
  const ViewModel view = soil_view_model(file);
  const std::string page_path = page_file(page, path, tables);
  const std::string more = " unreadable lines or fields";
  report_problems(path, view,
                  page_path.empty() ? more : more + " (the page's Notes list them all)");
  if (!outputs_spare_soil_files({page_path, tables.table_file, tables.json_file}, {path})) {
    return kUsageOrOutputFailure;
  }
  if (!page_path.empty() &&
      !write_reported(page_path, make_soil_page(path, view), " Page written : ")) {
    return kUsageOrOutputFailure;
  }
  if (tables.wanted() && !write_soil_tables(path, view, tables)) return kUsageOrOutputFailure;
  if (!view.problems.empty() || !view.banners.empty()) {
    report(path + ": the file holds " + std::to_string(view.problems.size()) +
           " unreadable lines or fields and " + std::to_string(view.banners.size()) +
           " error banners" + (page_path.empty() ? "" : ", listed in the page's Notes"));
    return kLimitOrConversionFailure;
  }
  return kCompleted;
}

}  // namespace view
