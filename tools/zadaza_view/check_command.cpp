#include "check_command.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>

#include "check.hpp"
#include "common/csv.hpp"
#include "converter_adapter.hpp"
#include "format/layout.hpp"
#include "io/units.hpp"
#include "markup.hpp"
#include "output_files.hpp"
#include "viewer.hpp"

namespace view {
namespace {

constexpr auto kLine = format::layout<"(A)">;

void say(const std::string& line) { io::write(io::kConsoleOut, kLine, {std::string_view(line)}); }

struct CheckOptions {
  std::string profile;
  std::string zadaza_file;
  std::string page;
  std::string loading;
  double tolerance = kDefaultCheckTolerance;
  bool old_generation = false;
};

bool read_tolerance(const std::string& text, double& tolerance) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, tolerance);
  return result.ec == std::errc() && result.ptr == end && tolerance >= 0.0 &&
         std::isfinite(tolerance);
}

std::string value_error(const std::string& option, const std::string& value,
                        std::string_view form) {
  return "bad value '" + value + "' for " + option + "; " + option + " takes " + std::string(form);
}

std::string parse_check_options(const std::vector<std::string>& arguments, CheckOptions& o) {
  std::vector<std::string> given;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string& argument = arguments[a];
    if (argument == "--old") {
      if (o.old_generation) return "option given twice '--old'; give each option once";
      o.old_generation = true;
      continue;
    }
    if (argument.size() < 2 || argument[0] != '-') {
      if (!o.zadaza_file.empty()) return "stray argument '" + argument + "'; give one ZADAZA_FILE";
      o.zadaza_file = argument;
      continue;
    }
    if (argument != "--check" && argument != "--loading" && argument != "--tolerance" &&
        argument != "-o") {
      return "with --check, unexpected " + argument +
             "; the options are --loading, --tolerance, --old and -o";
    }
    if (std::find(given.begin(), given.end(), argument) != given.end()) {
      return "option given twice '" + argument + "'; give each option once";
    }
    given.push_back(argument);
    if (a + 1 >= arguments.size()) return argument + " needs a value";
    const std::string& value = arguments[++a];
    if (argument == "--tolerance" && !read_tolerance(value, o.tolerance)) {
      return value_error(argument, value, "a relative deviation of 0 or more, such as 0.05");
    }
    if (argument == "--loading" && value != "static" && value != "cyclic") {
      return value_error(argument, value, "static or cyclic");
    }
    if (value.empty()) return value_error(argument, value, "a file name");
    if (argument == "--check") o.profile = value;
    if (argument == "--loading") o.loading = value;
    if (argument == "-o") o.page = value;
  }
  if (o.loading.empty()) return "--loading is missing; give --loading static or --loading cyclic";
  if (o.zadaza_file.empty()) return "the ZADAZA file is missing; give ZADAZA_FILE";
  return {};
}

std::optional<families::Profile> read_profile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  if (!in && !in.eof()) {
    report("cannot read the profile '" + path + "': check the name and that it is a readable file");
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

// Every curve beyond the tolerance, then the count; returns how many are beyond.
std::size_t print_deviations(const CheckOptions& o, const CheckResult& result) {
  std::size_t beyond = 0;
  double worst = 0.0;
  for (const CurveCheck& c : result.curves) {
    if (!(c.deviation <= o.tolerance)) {
      say(curve_line(c));
      ++beyond;
    }
    if (!(c.deviation <= worst)) worst = c.deviation;
  }
  say(" Checked " + std::to_string(result.curves.size()) + " curves of " + o.zadaza_file +
      " against " + o.profile + " (" + o.loading + "): " + std::to_string(beyond) +
      " beyond the tolerance " + shortest(o.tolerance) + "; the largest deviation " +
      shortest(worst));
  return beyond;
}

}  // namespace

bool asks_for_check(const std::vector<std::string>& arguments) {
  return std::find(arguments.begin(), arguments.end(), "--check") != arguments.end();
}

int run_check(const std::vector<std::string>& arguments) {
  CheckOptions o;
  if (const std::string error = parse_check_options(arguments, o); !error.empty()) {
    report(error);
    return kCheckError;
  }
  const std::optional<families::Profile> profile = read_profile(o.profile);
  if (!profile) return kCheckError;
  if (read_zadaza(o.zadaza_file, o.old_generation) != ReadOutcome::Read) return kCheckError;

  const families::Loading loading =
      o.loading == "cyclic" ? families::Loading::Cyclic : families::Loading::Static;
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
  const std::size_t beyond = print_deviations(o, result);
  if (!o.page.empty()) {
    const CheckFacts facts{o.zadaza_file, o.profile, loading, o.tolerance};
    scale_to_forces(result, convert_diameters(0));
    protect_zadaza_file(o.zadaza_file);
    const bool spares_zadaza_file = outputs_spare_input({o.page}, "the ZADAZA file");
    protect_zadaza_file(o.profile);
    if (!spares_zadaza_file || !outputs_spare_input({o.page}, "the profile") ||
        !write_reported(o.page, make_check_page(facts, result), " Page written : ")) {
      return kCheckError;
    }
  }
  return beyond == 0 ? kCheckWithin : kCheckBeyond;
}

}  // namespace view
