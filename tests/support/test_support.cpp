#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace test_support {

TempDir::TempDir() {
  const std::filesystem::path temporary = std::filesystem::temp_directory_path();
  std::random_device seed;
  std::mt19937_64 draw(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path made = temporary / ("zadaza-test-" + std::to_string(draw() % 1000000000));
    // Made here and by nobody else: a folder that already exists is not taken.
    if (std::filesystem::create_directory(made)) {
      dir_ = made.generic_string();
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (std::filesystem::remove_all(dir_, ignored) != static_cast<std::uintmax_t>(-1)) return;
  // Windows keeps a read-only file from being removed; a test may have left one.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(dir_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();  // a read error, as on a folder, ends the text instead of throwing
  return all.str();
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  const std::string text = read_file(path);
  return {text.begin(), text.end()};
}

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  write_file(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> file_names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> found;
  bool in_word = false;
  bool quoted = false;
  for (const char c : line) {
    if (c == ' ' && !quoted) {
      in_word = false;
      continue;
    }
    if (!in_word) found.emplace_back();
    in_word = true;
    if (c == '\'') {
      quoted = !quoted;
    } else {
      found.back() += c;
    }
  }
  return found;
}

void make_zadaza(const std::string& arguments) {
  std::vector<std::string> command = words(arguments);
  command.insert(command.begin(), ZZ_MAKE_TOOL);
  const ProgramRun made = run_program({command});
  ASSERT_EQ(made.exit_status, 0) << arguments << "\n" << made.errors;
}

ProgramRun run_program(const Launch& launch) {
  return RunningProgram(launch, Input::Ended).finish();
}

ProgramRun run_converter(const std::string& folder, const std::string& answers,
                         Console console) {
  return run_program({{ZZ_CONVERTER}, folder, answers, console});
}

}  // namespace test_support
