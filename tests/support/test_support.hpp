// What every test folder needs around the code under test: temporary folders, whole files read
// and written, and the real programs run as a user runs them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace test_support {

// A fresh folder in the system's temporary folder, removed with its files at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string path(const std::string& file) const { return dir_ + "/" + file; }
  std::filesystem::path operator/(const std::string& file) const {
    return std::filesystem::path(dir_) / file;
  }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

// The whole file; what cannot be read (a missing file, a folder) reads as nothing.
std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& content);
std::vector<std::uint8_t> read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The names of the files in a folder.
std::vector<std::string> file_names(const std::string& folder);

// Runs zadaza-make with the arguments, words as in a shell (its console output dropped); fails
// the test when it does not succeed.
void make_zadaza(const std::string& arguments);

// Runs the converter in `folder` with `answers` as its console input. A run that takes more
// than ten seconds is ended.
ProgramRun run_converter(const std::string& folder, const std::string& answers,
                         Console console = Console::Kept);

}  // namespace test_support
