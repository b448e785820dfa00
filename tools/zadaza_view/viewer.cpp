#include "viewer.hpp"

#include <algorithm>
#include <cmath>

#include "check_command.hpp"
#include "converter_adapter.hpp"
#include "curve_table.hpp"
#include "io/binary_records.hpp"
#include "format/layout.hpp"
#include "io/units.hpp"
#include "markup.hpp"
#include "options.hpp"
#include "output_files.hpp"
#include "page.hpp"
#include "soil_commands.hpp"
#include "soil_file/soil_file.hpp"
#include "view_model.hpp"
#include "zadaza/plausibility.hpp"

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

// The model of what is shown, with the converter's warnings for the same settings, which also
// go to standard error as the converter writes them.
ViewModel view_of(const std::vector<ConvertedDiameter>& converted, const Selection& s,
                  const TableRequest& request) {
  const ZadazaSelection selection{s.slots, s.first_layer, s.last_layer,
                                  request.mudline.value_or(0.0), request.orientation_factor()};
  ViewModel view = zadaza_view_model(converted, selection, soil_model());
  const zadaza::Findings findings = zadaza::find_implausible(
      soil_model(), active_diameters(), selection.mudline, selection.coord_factor);
  for (std::size_t f = 0; f < findings.count; ++f) {
    view.warnings.emplace_back(findings.found[f].text());
  }
  zadaza::warn_implausible(soil_model(), active_diameters(), selection.mudline,
                           selection.coord_factor);
  return view;
}

bool write_zadaza_tables(const Options& options, const Selection& s, const ViewModel& view) {
  const TableRequest& request = options.tables;
  const TableHeader header{options.zadaza_file, options.old_generation, diameters_in_use(),
                           options.diameters,   s.first_layer,          s.last_layer,
                           options.id_offset};
  return write_tables(request, table_rows(view),
                      table_json_header(header, *view.zadaza_facts, request));
}

// Every diameter the converter skips, shown or not, fails the converter's run; so it fails
// this run, with the converter's reason.
// A diameter only a SESAM conversion skips is a warning: the drawing and the status are KNF's.
bool none_skipped(const std::vector<ConvertedDiameter>& converted) {
  bool none = true;
  for (const ConvertedDiameter& d : converted) {
    if (d.outcome == convert::DiameterOutcome::Built) {
      if (d.sesam_outcome == convert::DiameterOutcome::Built) continue;
      report("warning: diameter " + shortest(d.diameter) +
             " is skipped by a conversion into a SESAM soil file (output format 1): " +
             skip_text(d.sesam_outcome) + "; a KNF soil file writes it as drawn");
      continue;
    }
    report("diameter " + shortest(d.diameter) + " is skipped by the converter: " +
           skip_text(d.outcome) + "; it writes no springs for it and its run fails");
    none = false;
  }
  return none;
}

enum class InputKind { SoilFile, ZadazaFile, Neither };

// Text is taken for a soil file (which its reader then checks); binary data for a ZADAZA file
// when it starts with the ZADAZA file's first byte. An empty file is neither.
InputKind kind_of(std::string_view start) {
  if (start.empty()) return InputKind::Neither;
  if (soil::looks_like_soil_file(start)) return InputKind::SoilFile;
  if (static_cast<std::uint8_t>(start.front()) == io::kFileStartByte) return InputKind::ZadazaFile;
  return InputKind::Neither;
}

int refuse_neither_kind(const std::string& path, std::string_view start) {
  report("'" + path + "' is neither a ZADAZA file nor a soil file: it is " +
         (start.empty() ? "empty" : "binary data without the ZADAZA file's first byte") +
         "; give a ZADAZA file or a KRANO soil file");
  return kUsageOrOutputFailure;
}

// Of the options, a soil file takes only the page and the tables: its levels and identifiers
// are as written. The file is open, nothing of it read yet; text with no SOILCHAR block and no
// material is no soil file.
int view_soil_file(const Options& options) {
  const soil::SoilFile file = soil::read_soil_file(input_text());
  if (file.blocks.empty() && file.materials.empty()) {
    report("'" + options.zadaza_file + "' is neither a ZADAZA file nor a soil file: it is text "
           "with no SOILCHAR block and no material; give a ZADAZA file or a KRANO soil file");
    return kUsageOrOutputFailure;
  }
  const bool zadaza_options = options.old_generation || !options.diameters.empty() ||
                              options.first_layer || options.id_offset != 0 ||
                              options.tables.mudline || options.tables.coord_factor;
  if (zadaza_options) {
    report("'" + options.zadaza_file + "' is a soil file, whose levels and identifiers are as "
           "written: --old, --diameter, --layers, --offset, --mudline and --orientation are for "
           "ZADAZA files; a soil file takes -o, --table and --json");
    return kUsageOrOutputFailure;
  }
  return run_soil_file_view(options.zadaza_file, file, options.page, options.tables);
}

}  // namespace

// The console lines written so far come first, then the message on standard error.
void report(const std::string& message) { io::report_error({message}); }

void say(const std::string& line) {
  constexpr auto kLine = format::layout<"(A)">;
  io::write(io::kConsoleOut, kLine, {std::string_view(line)});
}

int run_viewer(std::span<const char* const> arguments) {
  const ViewCommand command = parse_command_line(arguments);
  switch (command.action) {
    case io::CommandAction::Help:
      write_help();
      return kCompleted;
    case io::CommandAction::Version:
      write_version();
      return kCompleted;
    case io::CommandAction::Refused:
      report_usage_error(command.error);
      return io::kUsageErrorExit;
    case io::CommandAction::Run:
      break;
  }
  const Options& options = command.options;
  if (options.compare) {
    return run_comparison({options.files, options.tolerance.value_or(0.0), options.page});
  }
  if (!options.check_profile.empty()) return run_check(options);
  if (!open_input(options.zadaza_file)) return kNotOpened;
  const std::string_view start = input_start(kKindSniffLength);
  switch (kind_of(start)) {
    case InputKind::SoilFile: return view_soil_file(options);
    case InputKind::Neither: return refuse_neither_kind(options.zadaza_file, start);
    case InputKind::ZadazaFile: break;
  }
  if (const io::UsageError wrong = table_request_error(options.tables)) {
    report_usage_error(wrong);
    return kUsageOrOutputFailure;
  }

  switch (read_opened_zadaza(options.zadaza_file, options.old_generation)) {
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

  const std::vector<ConvertedDiameter> converted = convert_diameters(options.id_offset);
  const ViewModel view = view_of(converted, selection, options.tables);
  const PageFacts facts{options.zadaza_file,   options.old_generation, options.id_offset,
                        diameters_in_use(),    selection.first_layer,  selection.last_layer};
  const std::string page_path = page_file(options.page, options.zadaza_file, options.tables);
  if (!outputs_spare_input({page_path, options.tables.table_file, options.tables.json_file},
                           "the ZADAZA file")) {
    return kUsageOrOutputFailure;
  }
  if (!page_path.empty() &&
      !write_reported(page_path, make_page(facts, view), " Page written : ")) {
    return kUsageOrOutputFailure;
  }
  if (options.tables.wanted() && !write_zadaza_tables(options, selection, view)) {
    return kUsageOrOutputFailure;
  }
  return none_skipped(converted) ? kCompleted : kLimitOrConversionFailure;
}

}  // namespace view
