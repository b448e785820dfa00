#include "zadaza/echo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "io/units.hpp"
#include "zadaza/reader.hpp"
#include "zadaza/soil_model.hpp"
#include "support/test_support.hpp"
#include "zadaza_files.hpp"

namespace {

using zadaza::SOIL_MODEL;
using test_support::TempDir;

// Writes the report of the current model into a file and returns its lines, each of which
// must end in CR LF.
std::vector<std::string> echo_lines(const TempDir& dir) {
  const std::string path = dir.path("report.echo");
  EXPECT_EQ(io::bind_text_file(zadaza::ECHO_UNIT, path, false, false, true), 0);
  zadaza::WRITE_ECHO();
  io::close_unit(zadaza::ECHO_UNIT);
  const std::string text = test_support::read_file(path);
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF";
      break;
    }
    lines.push_back(text.substr(at, end - at));
    EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "bare line feed in line " << lines.size();
    at = end + 2;
  }
  return lines;
}

void set_label(const std::string& label) {
  auto& l = SOIL_MODEL.ANALYSIS_LABEL;
  std::fill(l.begin(), l.end(), ' ');
  std::copy(label.begin(), label.end(), l.begin());
}

TEST(EchoReport, WithoutLayersHasEveryFixedLineInItsColumns) {
  zadaza_test::reset_model();
  set_label("No layers");
  auto& m = SOIL_MODEL;
  m.NUM_DIAMETERS = 2;
  m.DIAM(1) = 0.9;
  m.DIAM(2) = 1.2;
  m.SCOUR_Z = 1.5;
  m.SOIL_E0 = 5000.0;
  m.SOIL_EZ = 1500.0;
  m.SOIL_NU = 0.3;
  m.NUM_DSP = 1;
  m.DSP_Z(1) = 2.0;
  m.DSP_VAL(1, 1) = 0.05;
  m.DSP_VAL(2, 1) = -0.005;
  m.DSP_VAL(4, 1) = 1.2;
  m.DSP_VAL(5, 1) = 99.0;  // never shown

  std::vector<std::string> expected{
      "No layers" + std::string(71, ' '),
      "",
      "   0 soil layers defined",
      "         Depth ",
      " Layer   below    Effective   Frict.   Undrai.    Poiss    Shear",
      " number  mudline    unit      angle    shear     ratio    modulus",
      "        (bottom     weight    (deg.)  strength",
      "         of layer)",
      "   2 pile diameters.  Diameters  9.000E-01  1.200E+00  0.000E+00  0.000E+00",
      ""};
  expected.push_back(" Data for diameter  9.000E-01");
  expected.push_back("");
  expected.push_back(" Data for diameter  1.200E+00");
  expected.push_back("");
  for (int i = 3; i <= 15; ++i) {
    expected.push_back(" Data for diameter  0.000E+00");
    expected.push_back("");
  }
  for (const char* line :
       {"  General scour line z-level :   1.50E+00", "  Soil modulus for pile soil interaction : ",
        "E(z) = 5.000E+03  +  z * 1.500E+03", "Nu   = 0.30",
        "  Soil displacement values :      Open hole",
        "z-level    x-disp    y-disp     z-disp     diameter",
        "   2.000E+00  5.000E-02 -5.000E-03  0.000E+00  1.200E+00"}) {
    expected.push_back(line);
  }
  TempDir dir;
  const auto lines = echo_lines(dir);
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t n = 0; n < lines.size(); ++n) EXPECT_EQ(lines[n], expected[n]) << n;
}

TEST(EchoReport, LayerRowAndCurveBlockColumns) {
  zadaza_test::reset_model();
  set_label("");
  auto& m = SOIL_MODEL;
  m.NUM_LAYERS = 1;
  m.NUM_DIAMETERS = 1;
  m.DIAM(1) = 1.5;
  m.ZBOT(1) = 12.5;
  for (int v = 1; v <= 10; ++v) m.LAYER_SOIL(v, 1) = v;
  m.LAYER_SOIL(2, 1) = 30.0;
  m.LAYER_SOIL(5, 1) = 100.0;  // too wide for its field
  m.NPTS_PY(1, 1) = 23;
  m.NPTS_TZ(1, 1) = 5;
  m.NPTS_QZ(1, 1) = 12;
  m.IORG_PY(1, 1) = 12;
  m.IORG_TZ(1, 1) = 1;
  m.IORG_QZ(1, 1) = -3;
  m.PY_P(1, 1, 1) = -150.0;
  m.PY_DELTA(1, 1, 1) = -0.02;
  m.QZ_DELTA(23, 1, 1) = 0.125;
  for (int par = 1; par <= 3; ++par) {
    m.PY_PAR(par, 1, 1) = 10.0 * par;
    m.TZ_PAR(par, 1, 1) = 100.0 * par;
    m.QZ_PAR(par, 1, 1) = 1000.0 * par;
  }

  TempDir dir;
  const auto lines = echo_lines(dir);
  ASSERT_EQ(lines.size(), 1U + 2 + 5 + 1 + 2 + 15 * (2 + 37 * 1) + 1 + 3);
  EXPECT_EQ(lines[0], std::string(80, ' '));
  EXPECT_EQ(lines[8],
            "   1  1.250E+01  1.000E+00   30.0  3.000E+00  4.000E+00*****  6.000E+00  7.000E+00"
            "  8.000E+00  9.000E+00  1.000E+01");
  const std::vector<std::string> block(lines.begin() + 11, lines.begin() + 11 + 39);
  EXPECT_EQ(block[0], " Data for diameter  1.500E+00");
  EXPECT_EQ(block[1], "");
  EXPECT_EQ(block[2], "  Layer    Number of points in P-delta curves :");
  EXPECT_EQ(block[3], " number     P-y       T-z       Q-z");
  EXPECT_EQ(block[4], "   1        23         5        12");
  EXPECT_EQ(block[5], "  Layer    Point number defining origo in curves :");
  EXPECT_EQ(block[7], "   1        12         1        -3");
  EXPECT_EQ(block[8], "  __________P-y_______  __________T-z_______  __________Q-z_______");
  EXPECT_EQ(block[9], "       P       delta         P       delta          P       delta");
  EXPECT_EQ(block[10], " -1.500E+02 -2.000E-02  0.000E+00  0.000E+00  0.000E+00  0.000E+00");
  EXPECT_EQ(block[32], "  0.000E+00  0.000E+00  0.000E+00  0.000E+00  0.000E+00  1.250E-01");
  EXPECT_EQ(block[33], "  P-y                 T-z                           Q-z");
  EXPECT_EQ(block[37], "                    (f/L^2)             (f/L^2)   (f/L^2)            (f/L^2)");
  EXPECT_EQ(block[38],
            "   1.000E+01  2.000E+01  1.000E+02  2.000E+02  3.000E+02  1.000E+03  2.000E+03"
            "  3.000E+03");
  // The other fourteen slots repeat the block with zeros.
  EXPECT_EQ(lines[11 + 39], " Data for diameter  0.000E+00");
  EXPECT_EQ(lines[11 + 39 + 4], "   1         0         0         0");
}

TEST(EchoReport, ExampleHasTheLineCountAndColumnWidthsOfEveryTable) {
  TempDir dir;
  test_support::make_zadaza(std::string(ZZ_SOURCE_DIR) + "/examples/soil.txt " +
                           dir.path("example.zdz"));
  ASSERT_TRUE(zadaza_test::read_model(dir.path("example.zdz"), zadaza::Generation::New).limits_met);
  const int layers = SOIL_MODEL.NUM_LAYERS;
  const int dsp = SOIL_MODEL.NUM_DSP;
  ASSERT_EQ(layers, 10);
  ASSERT_EQ(dsp, 3);
  const auto lines = echo_lines(dir);
  ASSERT_EQ(lines.size(),
            std::size_t(1 + 2 + 5 + layers + 2 + 15 * (2 + 37 * layers) + 1 + 3 + 2 + dsp));

  for (int j = 0; j < layers; ++j) EXPECT_EQ(lines[8 + j].size(), 115U) << j;
  EXPECT_EQ(lines[8 + layers].size(), 75U);
  std::size_t at = 10 + layers;
  for (int i = 1; i <= 15; ++i) {
    EXPECT_EQ(lines[at].size(), 29U);
    at += 2;
    for (int j = 1; j <= layers; ++j) {
      EXPECT_EQ(lines[at + 2].size(), 34U);
      for (int k = 0; k < 23; ++k) ASSERT_EQ(lines[at + 8 + k].size(), 66U) << i << ' ' << j;
      EXPECT_EQ(lines[at + 36].size(), 89U);
      at += 37;
    }
  }
  EXPECT_EQ(lines[at].size(), 41U);
  EXPECT_EQ(lines[at + 2].size(), 34U);
  EXPECT_EQ(lines[at + 3].size(), 11U);
  for (int r = 0; r < dsp; ++r) EXPECT_EQ(lines[at + 6 + r].size(), 56U);
}

}  // namespace
