#include "zadaza/reader.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "zadaza/soil_model.hpp"
#include "support/test_support.hpp"
#include "zadaza_files.hpp"

namespace {

using zadaza::Generation;
using zadaza::SOIL_MODEL;
using test_support::make_zadaza;
using zadaza_test::read_model;
using test_support::TempDir;

// A distinct value for every element, so that any misplaced item shows.
enum Kind { kZbot = 1, kSoil, kPyP, kPyD, kTzP, kTzD, kQzP, kQzD, kPyPar, kTzPar, kQzPar,
            kDiam, kDspZ, kDspVal };
double value(Kind kind, int a, int b = 0, int c = 0) {
  return static_cast<int>(kind) * 1.0e6 + c * 1.0e4 + b * 100.0 + a + 0.25;
}
// Point counts above 23 make the tool's --unchecked needed.
int npts(int curve, int i, int j) { return 100 * curve + 10 * i + j; }
int iorg(int curve, int i, int j) { return -npts(curve, i, j); }

struct Size {
  int layers, diameters, dsp;
};

std::string curve_line(const char* key, int curve, Kind p, Kind d, Kind par, int i, int j) {
  std::ostringstream out;
  out.precision(17);
  out << key << ' ' << i << ' ' << npts(curve, i, j) << ' ' << iorg(curve, i, j);
  for (int m = 1; m <= 3; ++m) out << ' ' << value(par, m, i, j);
  for (int k = 1; k <= 23; ++k) out << ' ' << value(p, k, i, j) << ' ' << value(d, k, i, j);
  return out.str() + "\n";
}

std::string description(const Size& s) {
  std::ostringstream out;
  out.precision(17);
  out << "label   Round trip: every member\n";
  out << "diameters";
  for (int i = 1; i <= s.diameters; ++i) out << ' ' << value(kDiam, i);
  out << '\n';
  for (int j = 1; j <= s.layers; ++j) {
    out << "layer " << value(kZbot, j);
    for (int v = 1; v <= 10; ++v) out << ' ' << value(kSoil, v, j);
    out << '\n';
    for (int i = 1; i <= s.diameters; ++i) {
      out << curve_line("py", 1, kPyP, kPyD, kPyPar, i, j);
      out << curve_line("tz", 2, kTzP, kTzD, kTzPar, i, j);
      out << curve_line("qz", 3, kQzP, kQzD, kQzPar, i, j);
    }
  }
  out << "scour -1.75\nmodulus 5000.5 1500.25 0.35\n";
  for (int r = 1; r <= s.dsp; ++r) {
    out << "dsp " << value(kDspZ, r);
    for (int v = 1; v <= 15; ++v) out << ' ' << value(kDspVal, v, r);
    out << '\n';
  }
  return out.str();
}

// Every element within the counts holds its value; every other element is still zero.
void expect_model_holds(const Size& s) {
  const zadaza::SoilModel& m = SOIL_MODEL;
  EXPECT_EQ(std::string(m.ANALYSIS_LABEL.begin(), m.ANALYSIS_LABEL.end()),
            "Round trip: every member" + std::string(56, ' '));
  EXPECT_EQ(m.NUM_LAYERS, s.layers);
  EXPECT_EQ(m.NUM_DSP, s.dsp);
  EXPECT_EQ(m.NUM_DIAMETERS, s.diameters);
  for (int j = 1; j <= zadaza::MAX_LAYERS; ++j) {
    const bool layer = j <= s.layers;
    ASSERT_EQ(m.ZBOT(j), layer ? value(kZbot, j) : 0.0) << j;
    for (int v = 1; v <= 10; ++v) ASSERT_EQ(m.LAYER_SOIL(v, j), layer ? value(kSoil, v, j) : 0.0);
    for (int i = 1; i <= zadaza::MAX_PILES; ++i) {
      const bool in = layer && i <= s.diameters;
      ASSERT_EQ(m.NPTS_PY(i, j), in ? npts(1, i, j) : 0) << i << ' ' << j;
      ASSERT_EQ(m.NPTS_TZ(i, j), in ? npts(2, i, j) : 0);
      ASSERT_EQ(m.NPTS_QZ(i, j), in ? npts(3, i, j) : 0);
      ASSERT_EQ(m.IORG_PY(i, j), in ? iorg(1, i, j) : 0);
      ASSERT_EQ(m.IORG_TZ(i, j), in ? iorg(2, i, j) : 0);
      ASSERT_EQ(m.IORG_QZ(i, j), in ? iorg(3, i, j) : 0);
      for (int k = 1; k <= zadaza::MAX_CURVE_POINTS; ++k) {
        ASSERT_EQ(m.PY_P(k, i, j), in ? value(kPyP, k, i, j) : 0.0) << k << ' ' << i << ' ' << j;
        ASSERT_EQ(m.PY_DELTA(k, i, j), in ? value(kPyD, k, i, j) : 0.0);
        ASSERT_EQ(m.TZ_P(k, i, j), in ? value(kTzP, k, i, j) : 0.0);
        ASSERT_EQ(m.TZ_DELTA(k, i, j), in ? value(kTzD, k, i, j) : 0.0);
        ASSERT_EQ(m.QZ_P(k, i, j), in ? value(kQzP, k, i, j) : 0.0);
        ASSERT_EQ(m.QZ_DELTA(k, i, j), in ? value(kQzD, k, i, j) : 0.0);
      }
      for (int par = 1; par <= 3; ++par) {
        ASSERT_EQ(m.PY_PAR(par, i, j), in ? value(kPyPar, par, i, j) : 0.0);
        ASSERT_EQ(m.TZ_PAR(par, i, j), in ? value(kTzPar, par, i, j) : 0.0);
        ASSERT_EQ(m.QZ_PAR(par, i, j), in ? value(kQzPar, par, i, j) : 0.0);
      }
    }
  }
  for (int i = 1; i <= zadaza::MAX_PILES; ++i) {
    EXPECT_EQ(m.DIAM(i), i <= s.diameters ? value(kDiam, i) : 0.0);
  }
  EXPECT_EQ(m.SCOUR_Z, -1.75);
  EXPECT_EQ(m.SOIL_E0, 5000.5);
  EXPECT_EQ(m.SOIL_EZ, 1500.25);
  EXPECT_EQ(m.SOIL_NU, 0.35);
  for (int r = 1; r <= zadaza::DSP_ROWS; ++r) {
    const bool row = r <= s.dsp;
    EXPECT_EQ(m.DSP_Z(r), row ? value(kDspZ, r) : 0.0);
    for (int v = 1; v <= zadaza::MAX_PILES; ++v) {
      EXPECT_EQ(m.DSP_VAL(v, r), row ? value(kDspVal, v, r) : 0.0);
    }
  }
}

struct RoundTrip {
  bool old_generation;
  const char* blocks;
};

class ReaderRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(ReaderRoundTrip, EveryMemberArrivesInItsPlace) {
  const RoundTrip p = GetParam();
  const Size size{3, p.old_generation ? 4 : 3, 2};
  TempDir dir;
  test_support::write_file(dir.path("soil.txt"), description(size));
  make_zadaza(std::string("--unchecked ") + (p.old_generation ? "--old " : "") + "--blocks " + p.blocks + " " +
              dir.path("soil.txt") + " " + dir.path("soil.zdz"));
  const auto outcome =
      read_model(dir.path("soil.zdz"), p.old_generation ? Generation::Old : Generation::New);
  EXPECT_TRUE(outcome.limits_met);
  expect_model_holds(size);
}

INSTANTIATE_TEST_SUITE_P(GenerationsAndBlocks, ReaderRoundTrip,
                         testing::Values(RoundTrip{false, "full"}, RoundTrip{false, "led0"},
                                         RoundTrip{true, "full"}, RoundTrip{true, "led0"}));

TEST(Reader, WritesTheProgressAndHeadingLines) {
  TempDir dir;
  test_support::write_file(dir.path("soil.txt"), description({2, 1, 1}));
  make_zadaza("--unchecked " + dir.path("soil.txt") + " " + dir.path("soil.zdz"));
  const auto outcome = read_model(dir.path("soil.zdz"), Generation::New);
  EXPECT_EQ(outcome.console,
            "\r\n Reading  Label ..... \r\n"
            " From Unit    : 89\r\n"
            "\r\n Analysis Label     : Round trip: every member\r\n"
            " Number of layers   :    2\r\n"
            " Number of DSP      :    1\r\n"
            " Number of diameters:    1\r\n"
            "\r\n");
}

TEST(Reader, NewFileWithFourDiametersReadsAlikeAsOld) {
  const Size size{2, 4, 1};
  TempDir dir;
  test_support::write_file(dir.path("soil.txt"), description(size));
  make_zadaza("--unchecked " + dir.path("soil.txt") + " " + dir.path("soil.zdz"));
  EXPECT_TRUE(read_model(dir.path("soil.zdz"), Generation::Old).limits_met);
  expect_model_holds(size);
}

TEST(Reader, OldFileReadAsNewEndsAtTheCounts) {
  TempDir dir;
  test_support::write_file(dir.path("soil.txt"), description({1, 4, 0}));
  make_zadaza("--unchecked --old " + dir.path("soil.txt") + " " + dir.path("soil.zdz"));
  EXPECT_EXIT(read_model(dir.path("soil.zdz"), Generation::New), testing::ExitedWithCode(2),
              "too many bytes read from unformatted record, unit 89, file .*soil.zdz");
}

TEST(Reader, CountsOfZeroOrBelowSkipTheirRecords) {
  TempDir dir;
  // No layers and no displacement rows, but a displacement record the counts do not ask for.
  test_support::write_file(dir.path("zero.txt"),
                          "label\ndiameters 1.5\nscour 2\ndsp 1 2 3\ncounts 0 0 1\n");
  make_zadaza("--unchecked " + dir.path("zero.txt") + " " + dir.path("zero.zdz"));
  auto outcome = read_model(dir.path("zero.zdz"), Generation::New);
  EXPECT_TRUE(outcome.limits_met);
  EXPECT_EQ(SOIL_MODEL.DIAM(1), 1.5);
  EXPECT_EQ(SOIL_MODEL.SCOUR_Z, 2.0);
  EXPECT_EQ(SOIL_MODEL.DSP_Z(1), 0.0);
  EXPECT_NE(outcome.console.find(" Analysis Label     : \r\n"), std::string::npos);

  test_support::write_file(dir.path("negative.txt"), "label x\ndiameters 0.9\ncounts -5 -3 -2\n");
  make_zadaza("--unchecked " + dir.path("negative.txt") + " " + dir.path("negative.zdz"));
  outcome = read_model(dir.path("negative.zdz"), Generation::New);
  EXPECT_TRUE(outcome.limits_met);
  EXPECT_EQ(SOIL_MODEL.NUM_LAYERS, -5);
  EXPECT_EQ(SOIL_MODEL.DIAM(1), 0.9);
}

// Sizes at and beyond the limits, with the console lines the reader must end with.
struct Limit {
  const char* name;
  int layers, dsp, diameters;
  const char* error;  // nullptr: accepted
};

class ReaderLimits : public testing::TestWithParam<Limit> {};

TEST_P(ReaderLimits, AcceptsOrRejectsWithTheErrorLines) {
  const Limit l = GetParam();
  TempDir dir;
  make_zadaza("--synthetic --layers " + std::to_string(l.layers) + " --diameters " +
              std::to_string(l.diameters) + " --in-use 1 --dsp " + std::to_string(l.dsp) + " " +
              dir.path("soil.zdz"));
  const auto outcome = read_model(dir.path("soil.zdz"), Generation::New);
  if (l.error == nullptr) {
    EXPECT_TRUE(outcome.limits_met);
    EXPECT_EQ(SOIL_MODEL.ZBOT(l.layers) > 0.0, true);
    EXPECT_EQ(SOIL_MODEL.NUM_DSP, l.dsp);
    return;
  }
  EXPECT_FALSE(outcome.limits_met);
  const std::string head = "\r\n Reading  Label ..... \r\n From Unit    : 89\r\n";
  EXPECT_EQ(outcome.console, head + l.error);
  // Nothing past the counts was read.
  EXPECT_EQ(SOIL_MODEL.ZBOT(1), 0.0);
  EXPECT_EQ(SOIL_MODEL.DIAM(1), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ReaderLimits,
    testing::Values(
        Limit{"EightyLayers", 80, 15, 1, nullptr},
        Limit{"FifteenDiameters", 2, 0, 15, nullptr},
        Limit{"EightyOneLayers", 81, 1, 1,
              "***Error: Max Layers exeeded! \r\n"
              "          Max availabe       : 80\r\n"
              "          Actual layers      : 81\r\n"},
        Limit{"SixteenDisplacementRows", 2, 16, 1,
              "***Error: Max NumDsp exeeded! \r\n"
              "          Max availabe       : 15\r\n"
              "          Actual layers      : 16\r\n"},
        Limit{"BothLimitsOnlyLayers", 81, 16, 1,
              "***Error: Max Layers exeeded! \r\n"
              "          Max availabe       : 80\r\n"
              "          Actual layers      : 81\r\n"},
        Limit{"SixteenDiameters", 2, 1, 16,
              "***Error: Max Diameters exceeded!\r\n"
              "          Max available      : 15\r\n"
              "          Actual diameters   : 16\r\n"}),
    [](const testing::TestParamInfo<Limit>& info) { return info.param.name; });

TEST(Reader, HugeLayerCountShowsAsterisks) {
  TempDir dir;
  test_support::write_file(dir.path("huge.txt"), "label\ncounts 2147483647 0 1\n");
  make_zadaza("--unchecked " + dir.path("huge.txt") + " " + dir.path("huge.zdz"));
  const auto outcome = read_model(dir.path("huge.zdz"), Generation::New);
  EXPECT_FALSE(outcome.limits_met);
  EXPECT_NE(outcome.console.find("          Actual layers      :***\r\n"), std::string::npos);
}

TEST(Reader, OpeningRefusesMissingFilesAndFolders) {
  TempDir dir;
  EXPECT_EQ(zadaza::open_zadaza_file(dir.path("none.zdz")), ENOENT);
  EXPECT_EQ(zadaza::open_zadaza_file(dir.dir()), EISDIR);
}

}  // namespace
