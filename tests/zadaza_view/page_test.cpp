// The viewer's page and tables against the converter's own KNF output: what is drawn is what
// is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>
#include <sstream>
#include <tuple>

#include "charts_read_back.hpp"
#include "page_reader.hpp"
#include "runs.hpp"
#include "table_reader.hpp"

namespace view_test {
namespace {

constexpr int kCurvePoints = 23;
// KNF writes six significant digits (1PE15.5).
constexpr double kKnfRelative = 5.0001e-6;
// The page writes pixels with two decimals; ticks and markers each round.
constexpr double kPixelSlack = 0.02;
constexpr double kLargestDrawable = 1.0e150;

// Layer 1: a zero P-y curve, a T-z curve of three points (so its zero tail runs backwards), a
// Q-z curve whose points lie within 1 % of each other; layer 2: clean curves; layer 3: a P-y
// curve with values that cannot be drawn.
std::string special_description() {
  std::ostringstream d;
  d << "label Special curves <&> \"quoted\" caf\xE9\n"
    << "diameters 1.0\n"
    << "layer 5.0 0 0 0 0 0 0 0 0 0 0\n"
    << "tz 1 3 2 0 0 0 -10 -0.01 0 0 10 0.01\n"
    << "qz 1 23 1 0 0 0";
  for (int k = 0; k < kCurvePoints; ++k) d << ' ' << 100 + 0.3 * k << " 0.01";
  d << "\nlayer 9.0 0 0 0 0 0 0 0 0 0 0\n";
  for (const char* curve : {"py", "tz", "qz"}) {
    d << curve << " 1 23 12 0 0 0";
    for (int k = -11; k <= 11; ++k) d << ' ' << 10 * k << ' ' << 0.001 * k;
    d << '\n';
  }
  d << "layer 12.0 0 0 0 0 0 0 0 0 0 0\n"
    << "py 1 5 3 0 0 0 -1 -0.1 nan 0 0 0 inf 0.1 1e200 0.2\n";
  return d.str();
}

struct Case {
  const char* name;
  std::string make_arguments;  // for zadaza-make; empty: the special description
  bool old_generation;
  int id_offset;
  std::string mudline = "0";
  std::string orientation = "NEG";
};

std::vector<Case> cases() {
  return {
      {"Example", shell_quoted(ZZ_SOURCE_DIR "/examples/soil.txt"), false, 0, "-20"},
      {"Synthetic", "--synthetic --layers 12 --diameters 4 --in-use 3 --dsp 0 --seed 7", false, 0},
      {"OldWithOffset", "--synthetic --old --layers 5 --diameters 4 --in-use 2 --dsp 1 --seed 3",
       true, 25, "3", "POS"},
      {"Largest", "--synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1", false, 0},
      {"Special", "", false, 0},
  };
}

bool drawable(double v) { return std::fabs(v) <= kLargestDrawable; }

bool close(double read, double written, double per_pixel) {
  return std::fabs(read - written) <= kPixelSlack * per_pixel + kKnfRelative * std::fabs(written);
}

class ViewedFile : public ::testing::TestWithParam<Case> {
 protected:
  static void SetUpTestSuite() { viewed_ = new std::map<std::string, Viewed>; }
  static void TearDownTestSuite() {
    delete viewed_;
    viewed_ = nullptr;
  }

  struct Viewed {
    std::string page;
    Element root;
    std::vector<const Element*> charts;
    std::string knf_text;
    std::map<std::int32_t, Points> knf;
    std::string table;
    std::string json;
  };

  // Made once per case: the file, its KNF conversion, the page and the tables.
  const Viewed& viewed() {
    const Case& c = GetParam();
    auto found = viewed_->find(c.name);
    if (found != viewed_->end()) return found->second;
    Viewed& v = (*viewed_)[c.name];
    if (c.make_arguments.empty()) {
      write_file(folder_ / "special.txt", special_description());
      make_zadaza(folder_, "special.txt in.zdz");
    } else {
      make_zadaza(folder_, c.make_arguments + " in.zdz");
    }
    const Outcome converted =
        run(folder_, shell_quoted(kConverter),
            knf_answers("in.zdz", "in.knf", c.old_generation, c.id_offset, c.mudline, c.orientation));
    EXPECT_EQ(converted.status, 0) << converted.err;
    v.knf_text = read_file(folder_ / "in.knf");
    v.knf = knf_spring_curves(v.knf_text);

    const Outcome shown =
        run(folder_, shell_quoted(kViewer) + (c.old_generation ? " --old" : "") + " --offset " +
                         std::to_string(c.id_offset) + " --mudline " + c.mudline +
                         " --orientation " + c.orientation +
                         " --table in.csv --json in.json -o in.zdz.html in.zdz");
    EXPECT_EQ(shown.status, 0) << shown.err;
    v.page = read_file(folder_ / "in.zdz.html");
    v.table = read_file(folder_ / "in.csv");
    v.json = read_file(folder_ / "in.json");
    EXPECT_EQ(parse_document(v.page, v.root), "");
    collect(v.root, [](const Element& e) { return e.name == "svg" && e.has_class("chart"); },
            v.charts);
    return v;
  }

  static inline std::map<std::string, Viewed>* viewed_ = nullptr;
  static inline TempDir folder_;
};

TEST_P(ViewedFile, MarkersReadBackAsTheWrittenMaterialPoints) {
  const Viewed& v = viewed();
  for (const Element* svg : v.charts) {
    const std::string id = svg->attribute("data-material");
    ASSERT_FALSE(id.empty());
    const Points& written = v.knf.at(std::stoi(id));
    Points expected;
    for (const auto& [force, displacement] : written) {
      if (drawable(force) && drawable(displacement)) expected.emplace_back(displacement, force);
    }
    const ChartReading chart = read_chart(*svg);
    ASSERT_EQ(chart.written.size(), expected.size()) << "material " << id;
    for (std::size_t p = 0; p < expected.size(); ++p) {
      EXPECT_TRUE(close(chart.written[p].first, expected[p].first, chart.displacement.per_pixel()))
          << "material " << id << " point " << p + 1 << " displacement "
          << chart.written[p].first << " written " << expected[p].first;
      EXPECT_TRUE(close(chart.written[p].second, expected[p].second, chart.force.per_pixel()))
          << "material " << id << " point " << p + 1 << " force " << chart.written[p].second
          << " written " << expected[p].second;
    }
    // The line runs through every written point: it is the same curve, scaled alike.
    for (const auto& point : chart.written) {
      const double x = point.first;
      const double y = point.second;
      EXPECT_TRUE(std::any_of(chart.line.begin(), chart.line.end(), [&](const auto& vertex) {
        return close(vertex.first, x, chart.displacement.per_pixel()) &&
               close(vertex.second, y, chart.force.per_pixel());
      })) << "material " << id << " point (" << x << ", " << y << ") off the line";
    }
    // Every ZADAZA point the thinning dropped is drawn as such, unless it cannot be drawn.
    if (chart.line.size() == kCurvePoints) {
      EXPECT_EQ(chart.dropped.size(), kCurvePoints - written.size()) << "material " << id;
    }
  }
}

TEST_P(ViewedFile, AxesContainEveryPoint) {
  const Viewed& v = viewed();
  for (const Element* svg : v.charts) {
    const ChartReading chart = read_chart(*svg);
    std::vector<std::pair<double, double>> points = chart.line;
    points.insert(points.end(), chart.written.begin(), chart.written.end());
    points.insert(points.end(), chart.dropped.begin(), chart.dropped.end());
    for (const auto& [x, y] : points) {
      const double x_slack = kPixelSlack * chart.displacement.per_pixel();
      const double y_slack = kPixelSlack * chart.force.per_pixel();
      EXPECT_TRUE(chart.displacement.contains(x - x_slack) ||
                  chart.displacement.contains(x + x_slack))
          << svg->attribute("data-material") << " displacement " << x;
      EXPECT_TRUE(chart.force.contains(y - y_slack) || chart.force.contains(y + y_slack))
          << svg->attribute("data-material") << " force " << y;
    }
  }
}

TEST_P(ViewedFile, OneChartPerMaterialThatIsLayerCurveTypeAndDiameter) {
  const Viewed& v = viewed();
  std::set<std::int32_t> materials;
  std::set<std::tuple<std::string, std::string, std::string>> places;
  for (const Element* svg : v.charts) {
    EXPECT_TRUE(materials.insert(std::stoi(svg->attribute("data-material"))).second);
    EXPECT_TRUE(places
                    .emplace(svg->attribute("data-diameter"), svg->attribute("data-layer"),
                             svg->attribute("data-curve"))
                    .second);
  }
  std::set<std::int32_t> knf_materials;
  for (const auto& entry : v.knf) knf_materials.insert(entry.first);
  EXPECT_EQ(materials, knf_materials);
}

// The table's kept points of every material are its ELPLCURV or HYPELAST record, and its
// levels and identifiers the SOILCHAR layer lines, each value as the soil file writes it.
TEST_P(ViewedFile, TableHoldsEveryPointAsTheSoilFileWritesIt) {
  const Viewed& v = viewed();
  const std::vector<TableRow> rows = table_rows(v.table);
  EXPECT_EQ(rows.size(), kCurvePoints * v.knf.size());
  std::map<std::int32_t, std::vector<std::string>> kept;
  std::map<std::int32_t, std::vector<std::string>> layers;  // by soil identifier
  std::map<std::pair<std::string, std::string>, std::vector<std::int32_t>> materials;
  for (const TableRow& r : rows) {
    const std::int32_t id = std::stoi(r.at("material_id"));
    if (r.at("kept") == "1") {
      kept[id].push_back(render(kCurvePairLine, {real(r.at("force")), real(r.at("displacement"))}));
    } else {
      EXPECT_EQ(r.at("kept"), "0");
    }
    if (r.at("point") == "1") materials[{r.at("soil_id"), r.at("layer")}].push_back(id);
  }
  for (const TableRow& r : rows) {
    if (r.at("point") != "1" || r.at("curve") != "P-y") continue;
    const std::vector<std::int32_t>& ids = materials[{r.at("soil_id"), r.at("layer")}];
    ASSERT_EQ(ids.size(), 3U);
    layers[std::stoi(r.at("soil_id"))].push_back(
        render(kLayerLine, {real(r.at("level_top")), real(r.at("level_bottom")), ids[0], ids[1], ids[2]}));
  }
  EXPECT_EQ(kept, knf_point_lines(v.knf_text));
  EXPECT_EQ(layers, soilchar_layer_lines(v.knf_text));
}

// The JSON holds the table's rows, read with Python's own json and csv modules.
TEST_P(ViewedFile, JsonHoldsTheTablesRows) {
  const Viewed& v = viewed();
  expect_json_holds_csv_rows(folder_.dir(), v.table, v.json,
                             {"label", "generation", "layers", "displacement_rows",
                              "diameter_blocks", "diameters_in_use", "settings"});
}

TEST_P(ViewedFile, PageIsWellFormedSelfContainedAndFinite) {
  const Viewed& v = viewed();
  for (const char* outside : {"http:", "https:", "src=", "url(", "@import", "<script", "<link",
                              "<iframe", "<object", "<img"}) {
    EXPECT_EQ(v.page.find(outside), std::string::npos) << outside;
  }
  std::vector<const Element*> links;
  collect(v.root, [](const Element& e) { return e.attributes.contains("href"); }, links);
  for (const Element* link : links) EXPECT_EQ(link->attribute("href").substr(0, 1), "#");

  for (const std::string& value : coordinate_attributes(v.root)) {
    for (const std::string& n : numbers_in(value)) {
      char* end = nullptr;
      const double number = std::strtod(n.c_str(), &end);
      EXPECT_TRUE(*end == '\0' && std::isfinite(number)) << value;
    }
    std::string lower;
    for (const char c : value) lower += static_cast<char>(std::tolower(c));
    EXPECT_EQ(lower.find("nan"), std::string::npos) << value;
    EXPECT_EQ(lower.find("inf"), std::string::npos) << value;
  }
}

TEST_P(ViewedFile, PageParsesAsXmlInPython) {
  if (test_support::kOnWindows) GTEST_SKIP() << "Python runs in the Linux build";
  if (run(folder_, "python3 -c ''").status != 0) GTEST_SKIP() << "python3 is not installed";
  const Viewed& v = viewed();
  write_file(folder_ / "check.html", v.page);
  const Outcome parsed =
      run(folder_, "python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' "
                   "check.html");
  EXPECT_EQ(parsed.status, 0) << parsed.err;
}

INSTANTIATE_TEST_SUITE_P(Files, ViewedFile, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Notes stand next to the chart they concern and in the list of notes, which links to it.
TEST(ViewerNotes, StandByTheirChartsAndInTheList) {
  TempDir folder;
  write_file(folder / "special.txt", special_description());
  make_zadaza(folder, "special.txt in.zdz");
  ASSERT_EQ(run(folder, shell_quoted(kViewer) + " in.zdz").status, 0);
  Element root;
  ASSERT_EQ(parse_document(read_file(folder / "in.zdz.html"), root), "");
  std::map<std::string, std::string> notes;
  for (const Element* cell : with_class(root, "cell")) {
    std::string text;
    for (const Element* p : named(*cell, "p")) text += p->text + "|";
    notes[cell->attribute("id")] = text;
    EXPECT_EQ(cell->has_class("noted"), !text.empty()) << cell->attribute("id");
  }
  std::set<std::string> listed;
  for (const Element* a : named(root, "a")) listed.insert(a->attribute("href").substr(1));

  const std::vector<std::pair<std::string, std::string>> expected{
      {"d1l1p", "all points are zero"},
      {"d1l1t", "displacements out of order: point 4"},
      {"d1l1q", "the thinning dropped 17 of 23 points"},
      {"d1l2p", ""},
      {"d1l2t", ""},
      {"d1l3p", "not drawn, not a finite number or beyond 1e150: point 2, 4, 5"},
  };
  for (const auto& [cell, note] : expected) {
    if (note.empty()) {
      EXPECT_EQ(notes[cell], "") << cell;
      EXPECT_FALSE(listed.contains(cell)) << cell;
    } else {
      EXPECT_NE(notes[cell].find(note), std::string::npos) << cell << ": " << notes[cell];
      EXPECT_TRUE(listed.contains(cell)) << cell;
    }
  }
}

// The largest file the limits allow: 4 diameters in use, 80 layers, 960 charts.
TEST(ViewerSpeed, LargestFileGivesItsPageInWellUnderASecondAndUnder6MB) {
  TempDir folder;
  make_zadaza(folder, "--synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1 in.zdz");
  const auto start = std::chrono::steady_clock::now();
  const Outcome shown = run(folder, shell_quoted(kViewer) + " in.zdz");
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_LT(took, std::chrono::milliseconds(1000));
  EXPECT_LT(fs::file_size(folder / "in.zdz.html"), 6U * 1000 * 1000);
}

}  // namespace
}  // namespace view_test
