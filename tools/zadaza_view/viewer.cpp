#include "viewer.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "charts.hpp"
#include "check_command.hpp"
#include "converter_adapter.hpp"
#include "curve_table.hpp"
#include "io/units.hpp"
#include "markup.hpp"
#include "options.hpp"
#include "output_files.hpp"
#include "page.hpp"
#include "soil_commands.hpp"

namespace view {
namespace {

constexpr double kDiameterMatch = 1.0e-6;  // relative: a typed 0.9 finds a stored 0.9000001

struct Selection {
  std::vector<int> slots;
  int first_layer = 1;
  int last_layer = 0;
  std::string error;
};

std::vector<double> diameters_in_use() {
  std::vector<double> in_use;
  for (int slot = 1; slot <= active_diameters(); ++slot) {
    in_use.push_back(soil_model().DIAM(slot));
  }
  return in_use;
}

bool matches(double wanted, double diameter) {
  return std::fabs(diameter - wanted) <= kDiameterMatch * std::fabs(wanted);
}

void select_diameters(const Options& options, Selection& s) {
  const std::vector<double> in_use = diameters_in_use();
  for (int slot = 1; slot <= static_cast<int>(in_use.size()); ++slot) {
    const double d = in_use[static_cast<std::size_t>(slot - 1)];
    const bool wanted = options.diameters.empty() ||
                        std::any_of(options.diameters.begin(), options.diameters.end(),
                                    [d](double w) { return matches(w, d); });
    if (wanted) s.slots.push_back(slot);
  }
  for (const double w : options.diameters) {
    if (std::none_of(in_use.begin(), in_use.end(), [w](double d) { return matches(w, d); })) {
      s.error = "no diameter " + shortest(w) + " in use (in use: " + number_list(in_use) + ")";
    }
  }
}

void select_layers(const Options& options, Selection& s) {
  const int layers = zadaza::layers_held(soil_model().NUM_LAYERS);
  s.first_layer = options.first_layer.value_or(1);
  s.last_layer = std::min(options.last_layer.value_or(layers), layers);
  if (options.first_layer && s.first_layer > layers) {
    s.error = "no layer " + std::to_string(s.first_layer) + " (the file has " +
              std::to_string(layers) + ")";
  }
}

std::vector<DiameterCharts> convert_selection(const Selection& s, std::int32_t id_offset) {
  std::vector<DiameterCharts> diameters;
  for (const int slot : s.slots) {
    diameters.push_back(
        make_diameter_charts(convert_diameter(slot, id_offset), s.first_layer, s.last_layer));
  }
  return diameters;
}

bool write_zadaza_tables(const Options& options, const Selection& s,
                         const std::vector<DiameterCharts>& diameters) {
  const TableRequest& request = options.tables;
  const TableHeader header{options.zadaza_file, options.old_generation, diameters_in_use(),
                           options.diameters,   s.first_layer,          s.last_layer,
                           options.id_offset};
  return write_tables(request, table_rows(diameters, soil_model(), request),
                      table_json_header(header, soil_model(), request));
}

// The converter refuses a diameter whose identifiers do not fit; so does this run's status.
bool all_built(const std::vector<DiameterCharts>& diameters) {
  bool built = true;
  for (const DiameterCharts& d : diameters) {
    if (d.built) continue;
    report("diameter " + shortest(d.diameter) +
           ": material identifiers out of range; the converter builds no materials for it");
    built = false;
  }
  return built;
}

// Of the options, a soil file takes only the page and the tables: its levels and identifiers
// are as written.
int view_soil_file(const Options& options) {
  const bool zadaza_options = options.old_generation || !options.diameters.empty() ||
                              options.first_layer || options.id_offset != 0 ||
                              options.tables.mudline || options.tables.coord_factor;
  if (zadaza_options) {
    report("'" + options.zadaza_file + "' is a soil file, whose levels and identifiers are as "
           "written: --old, --diameter, --layers, --offset, --mudline and --orientation are for "
           "ZADAZA files; a soil file takes -o, --table and --json");
    return kUsageOrOutputFailure;
  }
  return run_soil_file_view(options.zadaza_file, options.page, options.tables);
}

}  // namespace

// The console lines written so far come first, then the message on standard error.
void report(const std::string& message) { io::report_error({message}); }

int run_viewer(const std::vector<std::string>& arguments) {
  std::string error;
  const Options options = parse_options(arguments, error);
  if (options.help) {
    std::cout << kUsage << kSoilFileUsage << kCheckUsage << kHelp << kSoilFileHelp << kCheckHelp;
    return kCompleted;
  }
  if (options.version) {
    std::cout << "zadaza-view " ZADAZA2KRANO_VERSION "\n";
    return kCompleted;
  }
  if (asks_for_comparison(arguments)) return run_comparison(arguments);
  if (asks_for_check(arguments)) return run_check(arguments);
  if (!error.empty()) {
    report(error);
    std::cerr << kUsage << kSoilFileUsage;
    return kUsageOrOutputFailure;
  }
  if (is_soil_file(options.zadaza_file)) return view_soil_file(options);
  if (const std::string wrong = table_request_error(options.tables); !wrong.empty()) {
    report(wrong);
    std::cerr << kUsage << kSoilFileUsage;
    return kUsageOrOutputFailure;
  }

  switch (read_zadaza(options.zadaza_file, options.old_generation)) {
    case ReadOutcome::NotOpened: return kNotOpened;
    case ReadOutcome::LimitsBroken: return kLimitOrConversionFailure;
    case ReadOutcome::Read: break;
  }
  protect_zadaza_file(options.zadaza_file);

  Selection selection;
  select_diameters(options, selection);
  select_layers(options, selection);
  if (!selection.error.empty()) {
    report(selection.error);
    return kUsageOrOutputFailure;
  }

  const std::vector<DiameterCharts> diameters = convert_selection(selection, options.id_offset);
  const PageFacts facts{options.zadaza_file,   options.old_generation, options.id_offset,
                        diameters_in_use(),    selection.first_layer,  selection.last_layer};
  const std::string page_path = page_file(options.page, options.zadaza_file, options.tables);
  if (!outputs_spare_input({page_path, options.tables.table_file, options.tables.json_file},
                           "the ZADAZA file")) {
    return kUsageOrOutputFailure;
  }
  if (!page_path.empty() &&
      !write_reported(page_path, make_page(facts, soil_model(), diameters), " Page written : ")) {
    return kUsageOrOutputFailure;
  }
  if (options.tables.wanted() && !write_zadaza_tables(options, selection, diameters)) {
    return kUsageOrOutputFailure;
  }
  return all_built(diameters) ? kCompleted : kLimitOrConversionFailure;
}

}  // namespace view
