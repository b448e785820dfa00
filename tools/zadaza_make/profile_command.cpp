#include "profile_command.hpp"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>

#include "common/csv.hpp"
#include "common/input_text.hpp"
#include "common/staged_output.hpp"
#include "families/layers.hpp"
#include "profile_model.hpp"
#include "zadaza/soil_model.hpp"
#include "zadaza_writer.hpp"

namespace zadaza_make {
namespace {

constexpr std::size_t kLabelLength = std::tuple_size_v<decltype(zadaza::SoilModel::ANALYSIS_LABEL)>;

std::string profile_text(const std::string& path) {
  std::string text;
  if (const os::Error refused = tools::read_input_text(path, text)) {
    throw std::runtime_error("cannot read '" + path + "': " + std::string(refused.text()));
  }
  return text;
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

ProfileRequest request_of(const Options& o) {
  ProfileRequest request;
  request.diameters = o.pile_diameters;
  request.loading = o.loading.value_or(families::Loading::Static);
  request.spacing = o.spacing.value_or(families::kDefaultSpacing);
  // An empty --label, as none, takes the profile's name.
  request.label = o.label.value_or("");
  if (request.label.empty()) request.label = default_label(o.profile);
  return request;
}

}  // namespace

void write_profile_file(const Options& o) {
  const std::string& output = o.files.back();
  const ProfileRequest request = request_of(o);
  // The output staged before the profile is read, so that a refused name costs no reading.
  tools::protect_input(o.profile);
  std::optional<tools::StagedOutput> staged;
  if (std::string refused = tools::stage_output(staged, output, "the profile"); !refused.empty()) {
    throw std::runtime_error(refused);
  }
  const ToolModel model = [&] {
    try {
      return profile_model(families::profile_of(tools::read_csv(profile_text(o.profile))), request);
    } catch (const std::runtime_error& e) {
      throw std::runtime_error(o.profile + ": " + e.what());
    }
  }();
  const std::string bytes = zadaza_file_bytes(model, BlockStyle::Full);
  if (std::string refused = tools::write_staged(*staged, output, bytes); !refused.empty()) {
    throw std::runtime_error(refused);
  }
}

}  // namespace zadaza_make
