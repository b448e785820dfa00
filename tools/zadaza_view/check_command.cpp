#include "check_command.hpp"

#include <string>
#include <string_view>

#include "check.hpp"
#include "common/csv.hpp"
#include "common/input_text.hpp"
#include "converter_adapter.hpp"
#include "io/units.hpp"
#include "markup.hpp"
#include "output_files.hpp"
#include "viewer.hpp"

namespace view {
namespace {

std::optional<families::Profile> read_profile(const std::string& path) {
  std::string text;
  if (const os::Error refused = tools::read_input_text(path, text)) {
    report("cannot read the profile '" + path + "': " + std::string(refused.text()) +
           "; check the name and that it is a readable file");
    return std::nullopt;
  }
  try {
    return families::profile_of(tools::read_csv(text));
  } catch (const std::runtime_error& e) {
    report(path + ": " + e.what());
    return std::nullopt;
  }
}

std::string curve_line(const CurveCheck& c) {
  return " diameter " + shortest(c.diameter) + ", layer " + std::to_string(c.layer) + ", " +
         std::string(curve_name(c.type)) + ": " +
         (c.has_curve ? "deviation " + shortest(c.deviation) : "no point off the origin");
}

std::string_view loading_name(families::Loading loading) {
  return loading == families::Loading::Cyclic ? "cyclic" : "static";
}

// Every curve beyond the tolerance, then the count; returns how many are beyond.
std::size_t print_deviations(const Options& o, double tolerance, const CheckResult& result) {
  std::size_t beyond = 0;
  double worst = 0.0;
  for (const CurveCheck& c : result.curves) {
    if (!(c.deviation <= tolerance)) {
      say(curve_line(c));
      ++beyond;
    }
    if (!(c.deviation <= worst)) worst = c.deviation;
  }
  say(" Checked " + std::to_string(result.curves.size()) + " curves of " + o.zadaza_file +
      " against " + o.check_profile + " (" + std::string(loading_name(*o.loading)) +
      "): " + std::to_string(beyond) + " beyond the tolerance " + shortest(tolerance) +
      "; the largest deviation " + shortest(worst));
  return beyond;
}

// A diameter the converter skips has no springs to scale its curves to: its charts show the
// file's stresses, which were checked all the same.
void report_skipped(const CheckResult& result) {
  for (const SkippedDiameter& d : result.skipped) {
    report("diameter " + shortest(d.diameter) + " is skipped by the converter: " + d.reason +
           "; it writes no springs for it, and its curves are checked as the file holds them");
  }
}

}  // namespace

int run_check(const Options& o) {
  const double tolerance = o.tolerance.value_or(kDefaultCheckTolerance);
  const std::optional<families::Profile> profile = read_profile(o.check_profile);
  if (!profile) return kCheckError;
  if (read_zadaza(o.zadaza_file, o.old_generation) != ReadOutcome::Read) return kCheckError;

  const families::Loading loading = *o.loading;
  CheckResult result = check_curves(soil_model(), active_diameters(), *profile, loading);
  if (result.outside_profile) {
    const LayerSpan& l = *result.outside_profile;
    report("layer " + std::to_string(l.layer) + " of " + o.zadaza_file + " (" + shortest(l.top) +
           " to " + shortest(l.bottom) + " m) has its mid-depth " + shortest(l.mid()) +
           " m outside the profile, which runs from 0 to " + shortest(profile->bottom()) +
           " m; check against the profile the file was made from");
    return kCheckError;
  }
  if (result.curves.empty()) {
    report(o.zadaza_file + " holds no curve to check (" + std::to_string(result.layers.size()) +
           " layers, " + std::to_string(active_diameters()) +
           " diameters in use); check the file's counts");
    return kCheckError;
  }
  const std::size_t beyond = print_deviations(o, tolerance, result);
  scale_to_forces(result, convert_diameters(0));
  report_skipped(result);
  if (!o.page.empty()) {
    const CheckFacts facts{o.zadaza_file, o.check_profile, loading, tolerance};
    protect_zadaza_file(o.zadaza_file);
    const bool spares_zadaza_file = outputs_spare_input({o.page}, "the ZADAZA file");
    protect_zadaza_file(o.check_profile);
    if (!spares_zadaza_file || !outputs_spare_input({o.page}, "the profile") ||
        !write_reported(o.page, make_check_page(facts, result), " Page written : ")) {
      return kCheckError;
    }
  }
  return beyond == 0 ? kCheckWithin : kCheckBeyond;
}

}  // namespace view
