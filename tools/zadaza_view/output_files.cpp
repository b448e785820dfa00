#include "output_files.hpp"

#include <filesystem>
#include <system_error>

#include "os/files.hpp"
#include "os/staged_files.hpp"

namespace view {
namespace {

// The viewer writes one file at a time, in a place of the staged files no unit number uses.
constexpr int kOutputPlace = 0;

os::FileIdentity zadaza_file;

os::FileIdentity identity_of(const std::string& path) {
  os::FileFacts facts;
  if (os::facts_of(path.c_str(), facts)) return {};
  return facts.identity;
}

}  // namespace

void protect_zadaza_file(const std::string& path) { zadaza_file = identity_of(path); }

bool is_zadaza_file(const std::string& path) { return zadaza_file.same_as(identity_of(path)); }

std::string write_output_file(const std::string& path, std::string_view content) {
  if (is_zadaza_file(path)) return "it is the ZADAZA file";
  os::FileHandle file = os::kNoFile;
  if (const os::Error refused = os::stage_file(kOutputPlace, path.c_str(), file)) {
    return std::string(refused.text());
  }
  os::Error error = os::write_all(file, content.data(), content.size());
  os::close_file(file);
  if (!error) error = os::commit_staged_file(kOutputPlace);
  if (error) {
    os::discard_staged_file(kOutputPlace);
    return std::string(error.text());
  }
  return {};
}

std::string make_folder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) return error.message();
  if (!std::filesystem::is_directory(path)) return "not a folder";
  return {};
}

}  // namespace view
