// Running the real programs for the viewer's tests: a fresh folder per test, ZADAZA files made
// by zadaza-make, the converter's KNF output and the viewer's page.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.hpp"

namespace view_test {

namespace fs = std::filesystem;

using test_support::read_file;
using test_support::TempDir;
using test_support::write_file;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the command in `folder`, with `input` on standard input: its words as a shell splits
// them, but no shell between; ended after `seconds`.
Outcome run(const fs::path& folder, const std::string& command, const std::string& input = "",
            unsigned seconds = 10);
inline Outcome run(const TempDir& folder, const std::string& command,
                   const std::string& input = "", unsigned seconds = 10) {
  return run(fs::path(folder.dir()), command, input, seconds);
}

std::string shell_quoted(const fs::path& path);

// zadaza-make with `arguments`, in the folder; fails the test when it does not succeed.
void make_zadaza(const TempDir& folder, const std::string& arguments);

// The converter's answers for a conversion of `zadaza` into `output` in output format 1
// (SESAM) or 2 (KNF), without echo.
std::string conversion_answers(const std::string& zadaza, const std::string& output,
                               bool old_generation, std::int32_t id_offset, int output_format,
                               const std::string& mudline = "0.0",
                               const std::string& orientation = "NEG");

// The converter's answers for a KNF conversion of `zadaza` into `knf`, without echo.
std::string knf_answers(const std::string& zadaza, const std::string& knf, bool old_generation,
                        std::int32_t id_offset, const std::string& mudline = "0.0",
                        const std::string& orientation = "NEG");

// (P, Delta) points of every spring curve material of a KNF file, by identifier. Values beyond
// three exponent digits ("1.00000+200") read as they are meant.
using Points = std::vector<std::pair<double, double>>;
std::map<std::int32_t, Points> knf_spring_curves(const std::string& knf);

// Whether the JSON table holds the CSV table's rows and a header with at least these keys,
// read with Python's own json and csv modules; the test is skipped without Python.
void expect_json_holds_csv_rows(const fs::path& folder, const std::string& csv,
                                const std::string& json,
                                const std::vector<std::string>& header_keys);

// Whether two texts (tables, soil files, bytes) are the same, line by line; else the first line
// that differs, with its number, in both. Never a diff of the whole: tables run to megabytes.
::testing::AssertionResult same_lines(const std::string& actual, const std::string& expected);

// The viewer, the converter and the file tool.
inline const std::string kViewer = ZZ_VIEW_TOOL;
inline const std::string kConverter = ZZ_CONVERTER;
inline const std::string kMaker = ZZ_MAKE_TOOL;

}  // namespace view_test
