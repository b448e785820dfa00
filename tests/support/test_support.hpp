// What every test folder needs around the code under test: temporary folders, whole files read
// and written, and the real programs run as a user runs them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// A fresh folder under /tmp, removed with its files at the end of the test.
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

// Runs zadaza-make with the arguments (its console output dropped); fails the test when it
// does not succeed.
void make_zadaza(const std::string& arguments);

// What a run of the converter left: how it ended and what it wrote on its console and on
// standard error.
struct ProgramRun {
  bool exited = false;   // ended through exit, not by a signal
  int exit_status = -1;  // when it exited
  int signal = 0;        // when a signal ended it
  std::string console;
  std::string errors;
};

enum class Console {
  Kept,  // standard output captured
  Gone,  // standard output a pipe whose reader has already gone
};

// Runs the converter in `folder` with `answers` as its console input. A run that takes more
// than ten seconds is ended by SIGALRM.
ProgramRun run_converter(const std::string& folder, const std::string& answers,
                         Console console = Console::Kept);

}  // namespace test_support
