#include "zadaza_files.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "io/units.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza_test {

TempDir::TempDir() {
  char pattern[] = "/tmp/zadaza-test-XXXXXX";
  const char* made = ::mkdtemp(pattern);
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = made;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void write_file(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  const std::string text = read_file(path);
  return {text.begin(), text.end()};
}

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  write_file(path, std::string(bytes.begin(), bytes.end()));
}

void make_zadaza(const std::string& arguments) {
  const std::string command = std::string("\"") + ZZ_MAKE_TOOL + "\" " + arguments;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void reset_model() {
  static const zadaza::SoilModel zero{};
  zadaza::SOIL_MODEL = zero;
}

ReadOutcome read_model(const std::string& path, zadaza::Generation generation) {
  reset_model();
  ReadOutcome outcome;
  if (zadaza::open_zadaza_file(path) != 0) {
    ADD_FAILURE() << "cannot open " << path;
    return outcome;
  }
  io::flush_all();
  testing::internal::CaptureStdout();
  outcome.limits_met = zadaza::read_zadaza_file(generation);
  io::flush_all();
  outcome.console = testing::internal::GetCapturedStdout();
  return outcome;
}

}  // namespace zadaza_test
