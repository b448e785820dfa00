// Helpers shared by the ZADAZA tests: temporary folders, the file-making tool, reading a file
// into a fresh SOIL_MODEL and capturing the console.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zadaza/reader.hpp"

namespace zadaza_test {

// A fresh folder under /tmp, removed with its files at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string path(const std::string& file) const { return dir_ + "/" + file; }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

void write_file(const std::string& path, const std::string& content);
std::string read_file(const std::string& path);
std::vector<std::uint8_t> read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Runs zadaza-make with the arguments; fails the test when it does not succeed.
void make_zadaza(const std::string& arguments);

// Zeroes SOIL_MODEL, opens the file on the ZADAZA unit and reads it. Returns what the reader
// returns; the console lines it wrote go to `console` when given.
struct ReadOutcome {
  bool limits_met = false;
  std::string console;
};
ReadOutcome read_model(const std::string& path, zadaza::Generation generation);

void reset_model();

}  // namespace zadaza_test
