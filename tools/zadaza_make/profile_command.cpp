#include "profile_command.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "common/csv.hpp"
#include "common/staged_output.hpp"
#include "families/layers.hpp"
#include "io/units.hpp"
#include "profile_model.hpp"
#include "zadaza/soil_model.hpp"
#include "zadaza_writer.hpp"

namespace zadaza_make {
namespace {

constexpr int kRefusedExit = 1;
constexpr int kUsageExit = 2;
constexpr std::size_t kLabelLength = std::tuple_size_v<decltype(zadaza::SoilModel::ANALYSIS_LABEL)>;

constexpr std::string_view kOptionList =
    "with --profile the options are --diameters, --loading, --spacing and --label";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ProfileOptions {
  std::string profile;
  std::string output;
  ProfileRequest request;
  bool loading_given = false;
};

std::string in_quotes(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text).push_back('\'');
  return quoted;
}

bool read_real(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc{} && stop == end && std::isfinite(value);
}

// "1.5,2.0": each above 0, different, at most as many as the file has diameter slots.
bool read_diameters(std::string_view text, std::vector<double>& diameters) {
  for (std::size_t from = 0; from <= text.size();) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    double d = 0.0;
    if (!read_real(text.substr(from, comma - from), d) || !(d > 0.0)) return false;
    if (std::find(diameters.begin(), diameters.end(), d) != diameters.end()) return false;
    diameters.push_back(d);
    from = comma + 1;
  }
  return static_cast<int>(diameters.size()) <= zadaza::MAX_PILES;
}

bool read_loading(std::string_view text, ProfileOptions& o) {
  o.loading_given = true;
  o.request.loading = text == "cyclic" ? families::Loading::Cyclic : families::Loading::Static;
  return text == "static" || text == "cyclic";
}

struct ProfileOption {
  std::string_view name;
  std::string_view form;
  bool (*read)(std::string_view, ProfileOptions&);
};

const ProfileOption kOptions[] = {
    {"--profile", "a CSV file name",
     [](std::string_view v, ProfileOptions& o) { return !(o.profile = v).empty(); }},
    {"--diameters", "diameters above 0 in m, different, at most 15, such as 1.5,2.0",
     [](std::string_view v, ProfileOptions& o) { return read_diameters(v, o.request.diameters); }},
    {"--loading", "static or cyclic", read_loading},
    {"--spacing", "a thickness above 0 in m, such as 0.5",
     [](std::string_view v, ProfileOptions& o) {
       return read_real(v, o.request.spacing) && o.request.spacing > 0.0;
     }},
    {"--label", "a text of at most 80 characters",
     [](std::string_view v, ProfileOptions& o) {
       o.request.label = v;
       return v.size() <= kLabelLength;
     }},
};

ProfileOptions parse(std::span<const char* const> arguments) {
  ProfileOptions o;
  o.request.spacing = families::kDefaultSpacing;
  std::vector<std::string_view> given;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string_view arg = arguments[a];
    if (!arg.starts_with("-") || arg.size() == 1) {
      if (!o.output.empty()) {
        throw UsageError("stray argument " + in_quotes(arg) + "; give one OUTPUT.zdz");
      }
      o.output = arg;
      continue;
    }
    const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [&](const ProfileOption& p) { return p.name == arg; });
    if (option == std::end(kOptions)) {
      throw UsageError("unknown option " + in_quotes(arg) + "; " + std::string(kOptionList));
    }
    const std::string takes = std::string(arg) + " takes " + std::string(option->form);
    if (std::find(given.begin(), given.end(), arg) != given.end()) {
      throw UsageError("option given twice " + in_quotes(arg) + "; give each option once");
    }
    given.push_back(option->name);
    if (a + 1 >= arguments.size()) {
      throw UsageError("missing value for option " + in_quotes(arg) + "; " + takes);
    }
    const std::string_view value = arguments[++a];
    if (!option->read(value, o)) {
      throw UsageError("bad value for option " + in_quotes(arg) + ": " + in_quotes(value) + "; " +
                       takes);
    }
  }
  if (o.request.diameters.empty()) {
    throw UsageError(
        "--diameters is missing; give the pile diameters, such as --diameters 1.5,2.0");
  }
  if (!o.loading_given) {
    throw UsageError("--loading is missing; give --loading static or --loading cyclic");
  }
  if (o.output.empty()) {
    throw UsageError("the OUTPUT.zdz file is missing; give it after the options");
  }
  return o;
}

std::string profile_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) throw std::runtime_error("cannot read " + in_quotes(path));
  return text.str();
}

std::string default_label(const std::string& profile) {
  // Names are UTF-8 on every system (os/arguments.hpp).
  const std::u8string name =
      std::filesystem::path(std::u8string(profile.begin(), profile.end())).filename().u8string();
  if (name.size() > kLabelLength) {
    throw std::runtime_error(
        "the profile's file name is longer than the 80 characters of a "
        "label; give --label");
  }
  return std::string(name.begin(), name.end());
}

int write_file(const ProfileOptions& o) {
  ProfileRequest request = o.request;
  if (request.label.empty()) request.label = default_label(o.profile);
  // The output staged before the profile is read, so that a refused name costs no reading.
  tools::protect_input(o.profile);
  if (std::string refused = tools::refused_outputs({o.output}, "the profile"); !refused.empty()) {
    throw std::runtime_error(refused);
  }
  tools::StagedOutput staged(o.output);
  if (!staged.refusal().empty()) {
    throw std::runtime_error("cannot write " + in_quotes(o.output) + ": " + staged.refusal());
  }
  const ToolModel model = [&] {
    try {
      return profile_model(families::profile_of(tools::read_csv(profile_text(o.profile))), request);
    } catch (const std::runtime_error& e) {
      throw std::runtime_error(o.profile + ": " + e.what());
    }
  }();
  const std::string bytes = zadaza_file_bytes(model, BlockStyle::Full);
  if (!staged.write(bytes) || !staged.commit()) {
    throw std::runtime_error("cannot write " + in_quotes(o.output) + ": " + staged.refusal());
  }
  return EXIT_SUCCESS;
}

}  // namespace

bool asks_for_profile(std::span<const char* const> arguments) {
  const auto given = [&](std::string_view name) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [name](std::string_view a) { return a == name; });
  };
  // Help and version come first, whatever else is asked.
  return given("--profile") && !given("-h") && !given("--help") && !given("--version");
}

int run_profile(std::span<const char* const> arguments) {
  try {
    return write_file(parse(arguments));
  } catch (const UsageError& e) {
    io::report_error({e.what()});
    io::report_error({"'zadaza-make --help' lists the options"});
    return kUsageExit;
  } catch (const std::exception& e) {
    io::report_error({e.what()});
    return kRefusedExit;
  }
}

}  // namespace zadaza_make
