#include "convert/soil_records.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "output_capture.hpp"

namespace {

using convert::G2K_WSOI;
using convert_test::OutputCapture;
using Lines = std::vector<std::string>;

const std::string kHeading1 = "'";
const std::string kHeading2 = "'            Soil_ID  Type  Z_mud      D_ref     F_Fac     L_Fac ";
const std::string kLayerHeading2 =
    "'                           Z_top      Z_bott    P-Y       T-Z       Q-Z ";

struct Block {
  double mudline = 0.0;
  double force = 1.0;
  double length = 1.0;
  double coord = -1.0;
  int layers = 2;
};

Lines write_block(const Block& b) {
  static zadaza::LayerReals zbot;
  zbot(1) = 5.0;
  zbot(2) = 12.0;
  const std::array<std::int32_t, 6> ids{1500011, 1500012, 1500013, 1500021, 1500022, 1500023};
  OutputCapture out;
  convert::ConversionSettings settings;
  settings.MUDLINE_Z = b.mudline;
  settings.FORCE_SCALE = b.force;
  settings.LENGTH_SCALE = b.length;
  settings.COORD_FACTOR = b.coord;
  G2K_WSOI(1500, 1.5, settings, zbot, ids, b.layers, convert_test::kOutputUnit);
  return out.lines();
}

TEST(SoilBlock, FixedFormWithLayerLevelsAndIdentifiers) {
  EXPECT_EQ(write_block({}),
            (Lines{kHeading1, kHeading2,
                   " SOILCHAR    1500      1     0.000     1.500     1.000     1.000", kHeading1,
                   kLayerHeading2,
                   "                            0.00       -5.00   1500011   1500012   1500013",
                   "                           -5.00      -12.00   1500021   1500022   1500023"}));
}

TEST(SoilBlock, SmallFactorSelectsTheExponentForm) {
  const Lines lines = write_block({.mudline = -100.0, .force = 0.0001});
  EXPECT_EQ(lines[2],
            " SOILCHAR    1500      1  -0.100E+03   0.150E+01   0.100E-03   0.100E+01");
}

struct FormCase {
  double force;
  double length;
  std::string line;
};

class SoilcharForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(SoilcharForm, ThresholdIsTheSinglePrecisionThousandth) {
  const FormCase& c = GetParam();
  EXPECT_EQ(write_block({.force = c.force, .length = c.length})[2], c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Factors, SoilcharForm,
    ::testing::Values(
        FormCase{0.0011, 1.0, " SOILCHAR    1500      1     0.000     1.500     0.001     1.000"},
        FormCase{0.001, 1.0,
                 " SOILCHAR    1500      1   0.000E+00   0.150E+01   0.100E-02   0.100E+01"},
        FormCase{1.0, 0.001,
                 " SOILCHAR    1500      1   0.000E+00   0.150E+01   0.100E+01   0.100E-02"},
        FormCase{0.0, 1.0,
                 " SOILCHAR    1500      1   0.000E+00   0.150E+01   0.000E+00   0.100E+01"},
        FormCase{-2.0, 1.0,
                 " SOILCHAR    1500      1   0.000E+00   0.150E+01  -0.200E+01   0.100E+01"},
        FormCase{1.0, 1.0E7,
                 " SOILCHAR    1500      1     0.000     1.500     1.000**********"}));

TEST(SoilBlock, OnlyTheMudlineMagnitudeEntersTheLevels) {
  for (const double mudline : {-2.0, 2.0}) {
    const Lines lines = write_block({.mudline = mudline, .coord = 1.0, .layers = 1});
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[5],
              "                            0.00        3.00   1500011   1500012   1500013");
  }
  EXPECT_EQ(write_block({.mudline = -2.0})[2].substr(24, 10), "    -2.000");
  EXPECT_EQ(write_block({.mudline = 2.0})[2].substr(24, 10), "     2.000");
}

TEST(SoilBlock, LevelRoundingToZeroShowsNoSign) {
  const Lines lines = write_block({.mudline = 5.001, .coord = 1.0, .layers = 1});
  EXPECT_EQ(lines[5], "                            0.00        0.00   1500011   1500012   1500013");
}

TEST(SoilBlock, NoLayersGivesOnlyTheFiveHeadLines) {
  EXPECT_EQ(write_block({.layers = 0}).size(), 5U);
}

}  // namespace
