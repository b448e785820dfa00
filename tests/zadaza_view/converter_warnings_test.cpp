// The converter's warnings for a file and its settings are the viewer's: on standard error as
// the converter writes them, and in the page's notes.
#include <gtest/gtest.h>

#include <sstream>

#include "page_reader.hpp"
#include "runs.hpp"

namespace view_test {
namespace {

struct WarningCase {
  const char* name;
  std::string layers;  // the description after its diameters line
  std::string mudline;
  std::string orientation;
  std::size_t warnings;  // how many lines the converter writes
};

const std::string kLayer = "layer 5.0 0 0 0 0 0 0 0 0 0 0\n";

// A P-y curve of 23 points, displacements rising from -0.11 to 0.11 but where `point` (1 to
// 23) is given as `value`.
std::string py_curve(int point = 0, const std::string& value = "") {
  std::string curve = "py 1 23 12 0 0 0";
  for (int k = 1; k <= 23; ++k) {
    const std::string delta = k == point ? value : std::to_string(0.01 * (k - 12));
    curve += ' ';
    curve += std::to_string(k - 12);
    curve += ' ';
    curve += delta;
  }
  return curve + "\n";
}

const std::string kRising = py_curve();

const WarningCase kCases[] = {
    {"Sound", kLayer + kRising, "0", "NEG", 0},
    {"LayersAboveTheMudline", kLayer + kRising + "layer 9.0 0 0 0 0 0 0 0 0 0 0\n" + kRising, "-85",
     "NEG", 1},
    {"LayersAboveTheMudlineFacingUp", kLayer + kRising, "6", "POS", 1},
    {"ZeroTail", kLayer + "py 1 2 1 0 0 0 0 0 1 0.01\n", "0", "NEG", 1},
    {"DisplacementsGoBack", kLayer + py_curve(5, "0.5"), "0", "NEG", 1},
    {"NotFinite", kLayer + py_curve(7, "nan"), "0", "NEG", 1},
    {"LayersUpward", kLayer + kRising + "layer 4.0 0 0 0 0 0 0 0 0 0 0\n" + kRising, "0", "NEG", 1},
};

std::vector<std::string> warning_lines(const std::string& err, const std::string& program) {
  std::vector<std::string> lines;
  std::istringstream in(err);
  const std::string mark = program + ": warning: ";
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(mark, 0) == 0) lines.push_back(line.substr(mark.size()));
  }
  return lines;
}

class ConverterWarnings : public ::testing::TestWithParam<WarningCase> {};

TEST_P(ConverterWarnings, AppearOnStandardErrorAndOnThePage) {
  const WarningCase& c = GetParam();
  TempDir folder;
  write_file(folder / "d.txt", "diameters 1.0\n" + c.layers);
  make_zadaza(folder, "d.txt in.zdz");
  const Outcome converted =
      run(folder, shell_quoted(kConverter),
          knf_answers("in.zdz", "in.knf", false, 0, c.mudline, c.orientation));
  const std::vector<std::string> expected = warning_lines(converted.err, "zadaza2krano");
  ASSERT_EQ(expected.size(), c.warnings) << converted.err;

  const Outcome shown =
      run(folder, shell_quoted(kViewer) + " --mudline " + c.mudline + " --orientation " +
                      c.orientation + " --table t.csv -o p.html in.zdz");
  EXPECT_EQ(warning_lines(shown.err, "zadaza-view"), expected) << shown.err;

  Element root;
  ASSERT_EQ(parse_document(read_file(folder / "p.html"), root), "");
  std::vector<std::string> noted;
  for (const Element* notes : with_class(root, "notes")) {
    for (const Element* item : named(*notes, "li")) {
      const std::string mark = "The converter warns: ";
      if (item->text.rfind(mark, 0) == 0) noted.push_back(item->text.substr(mark.size()));
    }
  }
  EXPECT_EQ(noted, expected);
}

INSTANTIATE_TEST_SUITE_P(Viewer, ConverterWarnings, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace view_test
