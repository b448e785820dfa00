// Plausibility warnings: each doubtful kind of data gives its one line, sound data none.
#include "zadaza/plausibility.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

using zadaza::SoilModel;

// Two layers, two diameters in use, every curve's displacements rising from -11 to 11 over
// its 23 points.
SoilModel& sound_model() {
  static SoilModel m;
  m = SoilModel{};
  m.NUM_LAYERS = 2;
  m.ZBOT(1) = 2.0;
  m.ZBOT(2) = 5.0;
  m.DIAM(1) = 0.9;
  m.DIAM(2) = 1.2;
  for (zadaza::CurveArray* delta : {&m.PY_DELTA, &m.TZ_DELTA, &m.QZ_DELTA}) {
    for (int i = 1; i <= 2; ++i) {
      for (int j = 1; j <= 2; ++j) {
        for (int k = 1; k <= zadaza::MAX_CURVE_POINTS; ++k) (*delta)(k, i, j) = k - 12;
      }
    }
  }
  return m;
}

struct Doubt {
  const char* name;
  std::function<void(SoilModel&)> change;
  const char* warning;  // empty: none expected
  double mudline = 0.0;
};

// The curve (diameter i, layer j) given as points up to `last` and (0, 0) after them.
void end_in_zeros(zadaza::CurveArray& P, zadaza::CurveArray& DELTA, int i, int j, int last) {
  for (int k = last + 1; k <= zadaza::MAX_CURVE_POINTS; ++k) P(k, i, j) = DELTA(k, i, j) = 0.0;
}

class Plausibility : public ::testing::TestWithParam<Doubt> {};

TEST_P(Plausibility, WarnsOnceForEachDoubt) {
  SoilModel& m = sound_model();
  GetParam().change(m);
  ::testing::internal::CaptureStderr();
  zadaza::warn_implausible(m, 2, GetParam().mudline, -1.0);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  const std::string expected = GetParam().warning;
  EXPECT_EQ(errors, expected.empty() ? "" : "zadaza2krano: warning: " + expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Data, Plausibility,
    ::testing::Values(
        Doubt{"SoundData", [](SoilModel&) {}, ""},
        Doubt{"DiameterNotInUseMayRepeat", [](SoilModel& m) { m.DIAM(3) = 0.9; }, ""},
        Doubt{"LayerBottomsGoUp",
              [](SoilModel& m) {
                m.NUM_LAYERS = 3;
                m.ZBOT(2) = 2.0;
                m.ZBOT(3) = 1.0;
              },
              "layer bottoms do not increase in depth: layer 2 at 2 follows layer 1 at 2 (2 "
              "such layers); check the ZADAZA file"},
        Doubt{"DiameterRepeated", [](SoilModel& m) { m.DIAM(2) = 0.9; },
              "diameter 2 (0.9) repeats diameter 1; check the ZADAZA file"},
        Doubt{"DisplacementsOutOfOrder",
              [](SoilModel& m) {
                m.TZ_DELTA(2, 2, 1) = 5.0;
                m.QZ_DELTA(2, 2, 2) = -20.0;
              },
              "displacements not in increasing order: T-z curve of diameter 2, layer 1, point "
              "3 (2 such curves); check the ZADAZA file"},
        Doubt{"ForceAtZeroDisplacementIsNoTail",
              [](SoilModel& m) { m.PY_P(23, 1, 1) = 5.0, m.PY_DELTA(23, 1, 1) = 0.0; },
              "displacements not in increasing order: P-y curve of diameter 1, layer 1, point "
              "23 (1 such curves); check the ZADAZA file"},
        Doubt{"RepeatedLastPairIsInOrder",
              [](SoilModel& m) { m.TZ_DELTA(23, 1, 2) = m.TZ_DELTA(22, 1, 2); }, ""},
        Doubt{"ZeroTails",
              [](SoilModel& m) {
                end_in_zeros(m.PY_P, m.PY_DELTA, 1, 2, 5);
                end_in_zeros(m.QZ_P, m.QZ_DELTA, 2, 1, 22);
              },
              "curves ending in (0, 0) points: P-y curve of diameter 1, layer 2, after point 5 "
              "(2 such curves); the spring written for each ends in the point (0, 0); check the "
              "ZADAZA file"},
        Doubt{"CurveOfZerosOnlyIsNoTail",
              [](SoilModel& m) { end_in_zeros(m.TZ_P, m.TZ_DELTA, 1, 1, 0); }, ""},
        Doubt{"LayersAboveTheMudline", [](SoilModel&) {},
              "layer 1 has its bottom at 2, not below the mudline depth 20: its bottom level "
              "becomes 18 (2 such layers); check the mudline answer and the ZADAZA file",
              -20.0},
        Doubt{"BottomAtTheMudlineDepth", [](SoilModel&) {},
              "layer 1 has its bottom at 2, not below the mudline depth 2: its bottom level "
              "becomes 0 (1 such layers); check the mudline answer and the ZADAZA file",
              2.0},
        Doubt{"ValuesNotFinite",
              [](SoilModel& m) {
                m.TZ_P(2, 2, 1) = std::numeric_limits<double>::quiet_NaN();
                m.QZ_P(3, 1, 2) = -std::numeric_limits<double>::infinity();
                m.PY_P(1, 3, 1) = std::numeric_limits<double>::quiet_NaN();  // not in use
              },
              "values not finite (NaN or Infinity): Q-z curve of diameter 1, layer 2, point 3 "
              "(2 such curves), written into the soil file as they are; check the ZADAZA file"},
        Doubt{"LayersBelowTheMudline", [](SoilModel&) {}, "", -1.5}),
    [](const ::testing::TestParamInfo<Doubt>& info) { return info.param.name; });

}  // namespace
