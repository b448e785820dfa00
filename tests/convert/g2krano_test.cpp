#include "convert/g2krano.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "output_capture.hpp"

namespace {

using convert_test::joined;
using convert_test::kOutputUnit;
using convert_test::OutputCapture;
using Lines = std::vector<std::string>;

const std::string k25(25, ' ');

struct Settings {
  std::int32_t diameters = 1;
  std::int32_t format = 1;
  std::int32_t offset = 0;
  double coord = -1.0;
  double mudline = 0.0;
  double force = 1.0;
  double length = 1.0;
};

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& m = model();
    for (auto* curve : {&m.PY_P, &m.PY_DELTA, &m.TZ_P, &m.TZ_DELTA, &m.QZ_P, &m.QZ_DELTA}) {
      curve->element.fill(0.0);
    }
    m.DIAM.element.fill(0.0);
    m.ZBOT.element.fill(0.0);
    m.NUM_LAYERS = 0;
  }

  static zadaza::SoilModel& model() {
    static zadaza::SoilModel soil;
    return soil;
  }

  // Points from k on take the value of point k.
  static void set_from(zadaza::CurveArray& p, zadaza::CurveArray& d, int slot, int layer, int k,
                       double stress, double delta) {
    for (int i = k; i <= 23; ++i) {
      p(i, slot, layer) = stress;
      d(i, slot, layer) = delta;
    }
  }

  // One diameter of 2.0 over two layers, curves chosen to exercise the thinning.
  static void small_model() {
    auto& m = model();
    m.NUM_LAYERS = 2;
    m.ZBOT(1) = 5.0;
    m.ZBOT(2) = 12.0;
    m.DIAM(1) = 2.0;
    set_from(m.PY_P, m.PY_DELTA, 1, 1, 2, 10.0, 0.01);
    set_from(m.PY_P, m.PY_DELTA, 1, 1, 3, 20.0, 0.02);
    set_from(m.TZ_P, m.TZ_DELTA, 1, 1, 2, 1.0, 0.005);
    set_from(m.QZ_P, m.QZ_DELTA, 1, 1, 2, 1.0, 0.1);
    set_from(m.TZ_P, m.TZ_DELTA, 1, 2, 1, -1.0, -0.01);
    set_from(m.TZ_P, m.TZ_DELTA, 1, 2, 2, 1.0, 0.01);
    set_from(m.QZ_P, m.QZ_DELTA, 1, 2, 1, 100.0, 1.0);
    set_from(m.QZ_P, m.QZ_DELTA, 1, 2, 2, 100.5, 1.0);
    set_from(m.QZ_P, m.QZ_DELTA, 1, 2, 3, 101.5, 1.0);
  }

  // Layers 1..layers with bottoms 1, 2, ... and one non-zero point per curve.
  static void plain_layers(int layers, int slots) {
    auto& m = model();
    m.NUM_LAYERS = layers;
    for (int j = 1; j <= layers; ++j) {
      m.ZBOT(j) = j;
      for (int i = 1; i <= slots; ++i) m.PY_P(2, i, j) = 1.0;
    }
  }

  // Converts the model; `converted` receives what G2KRANO returns.
  static Lines run(const Settings& s, bool& converted) {
    convert::ConversionSettings settings;
    settings.ACTIVE_DIAMETERS = s.diameters;
    settings.OUTPUT_FORMAT = s.format;
    settings.ID_OFFSET = s.offset;
    settings.COORD_FACTOR = s.coord;
    settings.MUDLINE_Z = s.mudline;
    settings.FORCE_SCALE = s.force;
    settings.LENGTH_SCALE = s.length;
    OutputCapture out;
    converted = convert::G2KRANO(model(), settings, convert_test::workspace(), kOutputUnit);
    return out.lines();
  }

  static Lines run(const Settings& s) {
    bool converted = false;
    return run(s, converted);
  }

  static const convert::MaterialStore& store() {
    return convert_test::workspace().MATERIAL_STORE;
  }
};

const Lines kSmallModelBlock{
    "'",
    "'            Soil_ID  Type  Z_mud      D_ref     F_Fac     L_Fac ",
    " SOILCHAR    2000      1     0.000     2.000     1.000     1.000",
    "'",
    "'                           Z_top      Z_bott    P-Y       T-Z       Q-Z ",
    "                            0.00       -5.00   2000011   2000012   2000013",
    "                           -5.00      -12.00   2000021   2000022   2000023"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::size_t count_starting(const Lines& lines, const std::string& start) {
  return static_cast<std::size_t>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; }));
}

TEST_F(Conversion, SmallModelInSesamRecords) {
  small_model();
  bool converted = false;
  const Lines lines = run({.format = 1}, converted);
  EXPECT_TRUE(converted);
  const Lines materials{
      "MISOPL    0.20000110E+07  0.40000000E+01  0.00000000E+00  0.00000000E+00",
      "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
      "               3",
      "          0.00000000E+00  0.00000000E+00",
      "          0.20000000E+02  0.10000000E-01",
      "          0.40000000E+02  0.20000000E-01",
      "MISOPL    0.20000120E+07  0.40000000E+01  0.00000000E+00  0.00000000E+00",
      "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
      "               2",
      "          0.00000000E+00  0.00000000E+00",
      "          0.62831802E+01  0.50000000E-02",
      "MISOPL    0.20000130E+07  0.20000000E+01  0.00000000E+00  0.00000000E+00",
      "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
      "               2",
      "          0.00000000E+00  0.00000000E+00",
      "          0.31415901E+01  0.10000000E+00",
      "MISOPL    0.20000210E+07  0.40000000E+01  0.00000000E+00  0.00000000E+00",
      "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
      "               1",
      "          0.00000000E+00  0.00000000E+00",
      "MISOPL    0.20000220E+07  0.40000000E+01  0.00000000E+00  0.00000000E+00",
      "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
      "               2",
      "         -0.62831802E+01 -0.10000000E-01",
      "          0.62831802E+01  0.10000000E-01",
      "MISOPL    0.20000230E+07  0.20000000E+01  0.00000000E+00  0.00000000E+00",
      "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
      "               2",
      "          0.31415901E+03  0.10000000E+01",
      "          0.31887140E+03  0.10000000E+01"};
  EXPECT_EQ(lines, concat(kSmallModelBlock, materials)) << joined(lines);
}

TEST_F(Conversion, SmallModelInKnf) {
  small_model();
  bool converted = false;
  const Lines lines = run({.format = 2}, converted);
  EXPECT_TRUE(converted);
  const Lines materials{"'",
                        "'            Mat  ID               P           Delta ",
                        " ELPLCURV   2000011",
                        k25 + "    0.00000E+00    0.00000E+00",
                        k25 + "    2.00000E+01    1.00000E-02",
                        k25 + "    4.00000E+01    2.00000E-02",
                        " ELPLCURV   2000012",
                        k25 + "    0.00000E+00    0.00000E+00",
                        k25 + "    6.28318E+00    5.00000E-03",
                        " HYPELAST   2000013",
                        k25 + "    0.00000E+00    0.00000E+00",
                        k25 + "    3.14159E+00    1.00000E-01",
                        " ELPLCURV   2000021",
                        k25 + "    0.00000E+00    0.00000E+00",
                        " ELPLCURV   2000022",
                        k25 + "   -6.28318E+00   -1.00000E-02",
                        k25 + "    6.28318E+00    1.00000E-02",
                        " HYPELAST   2000023",
                        k25 + "    3.14159E+02    1.00000E+00",
                        k25 + "    3.18871E+02    1.00000E+00"};
  EXPECT_EQ(lines, concat(kSmallModelBlock, materials)) << joined(lines);
}

TEST_F(Conversion, UnknownFormatsWriteBlocksThenBothBanners) {
  small_model();
  for (const std::int32_t format : {0, 3}) {
    bool converted = false;
    const Lines lines = run({.format = format}, converted);
    EXPECT_FALSE(converted);
    EXPECT_EQ(lines, concat(kSmallModelBlock, {"", "  *** ERROR IN G2K_WMAT ***", "",
                                               "  *** ERROR IN G2KRANO ***"}))
        << joined(lines);
  }
}

TEST_F(Conversion, NoDiameterWritesNothingUnlessTheFormatIsUnknown) {
  small_model();
  for (const std::int32_t format : {1, 2}) {
    bool converted = false;
    EXPECT_TRUE(run({.diameters = 0, .format = format}, converted).empty());
    EXPECT_TRUE(converted);
  }
  EXPECT_EQ(run({.diameters = 0, .format = 3}),
            (Lines{"", "  *** ERROR IN G2K_WMAT ***", "", "  *** ERROR IN G2KRANO ***"}));
}

TEST_F(Conversion, NoLayersGivesBareBlocksAndNoMaterials) {
  model().DIAM(1) = 1.5;
  model().DIAM(2) = 0.9;
  const Lines lines = run({.diameters = 2, .format = 2});
  ASSERT_EQ(lines.size(), 10U) << joined(lines);
  EXPECT_EQ(lines[2], " SOILCHAR    1500      1     0.000     1.500     1.000     1.000");
  EXPECT_EQ(lines[7], " SOILCHAR     900      1     0.000     0.900     1.000     1.000");
  EXPECT_EQ(store().NMAT, 0);
}

TEST_F(Conversion, SecondDiameterContinuesTheStore) {
  plain_layers(10, 2);
  model().DIAM(1) = 1.5;
  model().DIAM(2) = 0.9;
  const Lines lines = run({.diameters = 2, .format = 1});
  const auto& materials = store();
  EXPECT_EQ(materials.NMAT, 60);
  EXPECT_EQ(materials.MATID(30), 1500103);
  EXPECT_EQ(materials.MATID(31), 900011);
  ASSERT_GT(lines.size(), 30U);
  EXPECT_EQ(lines[20], "                            0.00       -1.00    900011    900012    900013");
  EXPECT_EQ(count_starting(lines, "MISOPL"), 60U);
}

TEST_F(Conversion, DiameterReusingIdentifiersIsSkippedInBothFormats) {
  const struct {
    double first, second;
    const char* second_shown;
  } cases[] = {{1.5, 1.5004, "  1.500E+00"},  // same soil identifier and diameter code
               {10.5, 10.6, "  1.060E+01"},   // soil identifier 11 twice, codes differ
               {1.0, 1.0004, "  1.000E+00"}};
  for (const auto& c : cases) {
    for (const std::int32_t format : {1, 2}) {
      plain_layers(1, 2);
      model().DIAM(1) = c.first;
      model().DIAM(2) = c.second;
      bool converted = true;
      const Lines lines = run({.diameters = 2, .format = format}, converted);
      EXPECT_FALSE(converted) << c.second;
      EXPECT_EQ(count_starting(lines, " SOILCHAR"), 1U) << joined(lines);
      EXPECT_EQ(store().NMAT, 3);
      EXPECT_EQ(convert_test::workspace().skipped_diameters, 1);
      const Lines banner{"", "  *** ERROR IN G2KRANO ***", "",
                         std::string("  *** Identifiers already used by another diameter") +
                             c.second_shown};
      EXPECT_NE(std::search(lines.begin(), lines.end(), banner.begin(), banner.end()),
                lines.end())
          << joined(lines);
    }
  }
}

TEST_F(Conversion, IdentifiersBeyondThirtyTwoBitsSkipTheDiameter) {
  plain_layers(2, 2);
  model().DIAM(1) = 1.5;
  bool converted = false;
  const Lines lines = run({.format = 2, .offset = 2147000000}, converted);
  EXPECT_FALSE(converted);
  EXPECT_EQ(lines, (Lines{"", "  *** ERROR IN G2KRANO ***", "",
                          "  *** Identifiers out of range for diameter  1.500E+00"}))
      << joined(lines);
  EXPECT_EQ(store().NMAT, 0);
}

TEST_F(Conversion, NonFiniteDiameterIsSkippedAndTheNextConverted) {
  plain_layers(1, 2);
  model().DIAM(1) = std::numeric_limits<double>::infinity();
  model().DIAM(2) = 0.9;
  bool converted = false;
  const Lines lines = run({.diameters = 2, .format = 2}, converted);
  EXPECT_FALSE(converted);
  ASSERT_GE(lines.size(), 10U) << joined(lines);
  EXPECT_EQ(lines[1], "  *** ERROR IN G2KRANO ***");
  EXPECT_EQ(lines[3].substr(0, 43), "  *** Identifiers out of range for diameter");
  EXPECT_EQ(lines[3].size(), 43U + 11U) << lines[3];
  EXPECT_EQ(lines[6], " SOILCHAR     900      1     0.000     0.900     1.000     1.000");
  EXPECT_EQ(count_starting(lines, " ELPLCURV    900011"), 1U);
  EXPECT_EQ(store().NMAT, 3);
}

TEST_F(Conversion, StoreLimitStopsBeforeADiameterThatWouldNotFit) {
  plain_layers(80, 9);
  for (int i = 1; i <= 9; ++i) model().DIAM(i) = i;
  bool converted = false;
  const Lines lines = run({.diameters = 9, .format = 1}, converted);
  EXPECT_FALSE(converted);
  EXPECT_EQ(count_starting(lines, " SOILCHAR"), 8U);
  EXPECT_EQ(count_starting(lines, "MISOPL"), 0U);
  EXPECT_EQ(Lines(lines.end() - 4, lines.end()),
            (Lines{"", "  *** ERROR IN G2KRANO ***", "",
                   "  *** Number of Materials Exceeds Max of 2000"}));
  EXPECT_EQ(store().NMAT, 1920);
}

TEST_F(Conversion, TableLimitAfterAllBlocks) {
  plain_layers(80, 5);
  for (int i = 1; i <= 5; ++i) model().DIAM(i) = i;
  bool converted = false;
  const Lines lines = run({.diameters = 5, .format = 2}, converted);
  EXPECT_FALSE(converted);
  EXPECT_EQ(count_starting(lines, " SOILCHAR"), 5U);
  EXPECT_EQ(lines.size(), 5U * 85U + 6U);
  EXPECT_EQ(Lines(lines.end() - 6, lines.end()),
            (Lines{"", "  *** ERROR IN G2K_WMAT ***", "",
                   "  *** Number of Materials Exceeds Max of 1000", "",
                   "  *** ERROR IN G2KRANO ***"}));
}

}  // namespace
