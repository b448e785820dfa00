#include "runs.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <sstream>

#include "table_reader.hpp"

namespace view_test {

std::string shell_quoted(const fs::path& path) {
  std::string quoted(1, '\'');
  quoted += path.generic_string();
  quoted += '\'';
  return quoted;
}

namespace {

// A line as a failure shows it: at most 200 characters, control characters escaped.
std::string shown(std::string_view line) {
  std::string text;
  for (const char c : line.substr(0, 200)) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      constexpr char kHex[] = "0123456789abcdef";
      const auto byte = static_cast<unsigned char>(c);
      text += std::string("\\x") + kHex[byte >> 4U] + kHex[byte & 0xFU];
    } else {
      text += c;
    }
  }
  return line.size() > 200 ? text + "..." : text;
}

}  // namespace

::testing::AssertionResult same_lines(const std::string& actual, const std::string& expected) {
  std::size_t a = 0;
  std::size_t e = 0;
  for (int line = 1;; ++line) {
    const std::size_t a_end = std::min(actual.find('\n', a), actual.size());
    const std::size_t e_end = std::min(expected.find('\n', e), expected.size());
    const std::string_view got(actual.data() + a, a_end - a);
    const std::string_view want(expected.data() + e, e_end - e);
    const bool a_over = a_end == actual.size();
    const bool e_over = e_end == expected.size();
    if (got != want || a_over != e_over) {
      return ::testing::AssertionFailure()
             << "line " << line << " differs\n  actual:   "
             << shown(got) << (a_over ? " (the last line)" : "")
             << "\n  expected: " << shown(want) << (e_over ? " (the last line)" : "");
    }
    if (a_over) return ::testing::AssertionSuccess();
    a = a_end + 1;
    e = e_end + 1;
  }
}

Outcome run(const fs::path& folder, const std::string& command, const std::string& input,
            unsigned seconds) {
  test_support::Launch launch{test_support::words(command), folder.string(), input};
  launch.seconds = seconds;
  const test_support::ProgramRun ran = test_support::run_program(launch);
  return {ran.exited ? ran.exit_status : -1, ran.console, ran.errors};
}

void make_zadaza(const TempDir& folder, const std::string& arguments) {
  const Outcome made = run(folder, shell_quoted(kMaker) + " " + arguments);
  ASSERT_EQ(made.status, 0) << arguments << "\n" << made.err;
}

std::string conversion_answers(const std::string& zadaza, const std::string& output,
                               bool old_generation, std::int32_t id_offset, int output_format,
                               const std::string& mudline, const std::string& orientation) {
  return std::string(old_generation ? "O" : "N") + "\n" + zadaza + "\n" + orientation + "\n" +
         mudline + "\n1.0\n1.0\n" + std::to_string(id_offset) + "\n" +
         std::to_string(output_format) + "\n" + output + "\nN\n";
}

std::string knf_answers(const std::string& zadaza, const std::string& knf, bool old_generation,
                        std::int32_t id_offset, const std::string& mudline,
                        const std::string& orientation) {
  return conversion_answers(zadaza, knf, old_generation, id_offset, 2, mudline, orientation);
}

void expect_json_holds_csv_rows(const fs::path& folder, const std::string& csv,
                                const std::string& json,
                                const std::vector<std::string>& header_keys) {
  if (test_support::kOnWindows) GTEST_SKIP() << "Python runs in the Linux build";
  if (run(folder, "python3 -c ''").status != 0) GTEST_SKIP() << "python3 is not installed";
  write_file(folder / "check.csv", csv);
  write_file(folder / "check.json", json);
  std::string keys;
  for (const std::string& key : header_keys) keys += "\"" + key + "\", ";
  write_file(folder / "check.py", R"(import csv, json, math, sys
data = json.load(open("check.json"))
rows = list(csv.DictReader(open("check.csv", newline="")))
assert len(rows) == len(data["rows"]), (len(rows), len(data["rows"]))
assert set(data["header"]) >= {)" + keys + R"(}, list(data["header"])
for row, obj in zip(rows, data["rows"]):
    assert list(row) == list(obj), (list(row), list(obj))
    for key, text in row.items():
        value = obj[key]
        if key == "curve":
            assert text == value, (key, text, value)
        elif value is None:
            assert text == "" or not math.isfinite(float(text)), (key, text)
        else:
            assert float(text) == value, (key, text, value)
)");
  const Outcome checked = run(folder, "python3 check.py");
  EXPECT_EQ(checked.status, 0) << checked.err;
}

namespace {

// A real field of a KNF line; a three-digit exponent is written without its E.
double knf_real(std::string field) {
  const std::size_t first = field.find_first_not_of(' ');
  field = first == std::string::npos ? "" : field.substr(first);
  const std::size_t sign = field.find_last_of("+-");
  const bool exponent_without_e =
      sign != std::string::npos && sign > 0 && field.find('E') == std::string::npos;
  std::string number = field.substr(0, exponent_without_e ? sign : field.size());
  if (exponent_without_e) {
    number += 'E';
    number += field.substr(sign);
  }
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace

std::map<std::int32_t, Points> knf_spring_curves(const std::string& knf) {
  std::map<std::int32_t, Points> curves;
  for (const auto& [id, lines] : knf_point_lines(knf)) {
    for (const std::string& line : lines) {
      curves[id].emplace_back(knf_real(line.substr(25, 15)), knf_real(line.substr(40, 15)));
    }
  }
  return curves;
}

}  // namespace view_test
