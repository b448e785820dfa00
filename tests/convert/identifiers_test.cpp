#include "convert/identifiers.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using convert::diameter_code;
using convert::identifiers_fit;
using convert::MAT_ID;
using convert::soil_id;

struct DiameterCase {
  double D;
  std::int32_t soil;
  std::int32_t code;
};

class DiameterIdentifiers : public ::testing::TestWithParam<DiameterCase> {};

TEST_P(DiameterIdentifiers, SoilIdUsesThresholdFiveAndCodeThresholdHundred) {
  const DiameterCase& c = GetParam();
  EXPECT_EQ(soil_id(c.D), c.soil) << c.D;
  EXPECT_EQ(diameter_code(c.D), c.code) << c.D;
}

INSTANTIATE_TEST_SUITE_P(
    Diameters, DiameterIdentifiers,
    ::testing::Values(DiameterCase{1.5, 1500, 1500}, DiameterCase{1500.0, 1500, 1500},
                      DiameterCase{4.5, 5, 4500}, DiameterCase{4.4, 4400, 4400},
                      DiameterCase{762.0, 762, 762}, DiameterCase{10.0, 10, 10000},
                      DiameterCase{0.9, 900, 900}, DiameterCase{99.4, 99, 99400},
                      DiameterCase{99.5, 100, 100}, DiameterCase{2.0, 2000, 2000}));

TEST(MaterialIdentifier, CombinesCodeLayerCurveTypeAndOffset) {
  EXPECT_EQ(MAT_ID(1.5, 1, 1, 0), 1500011);
  EXPECT_EQ(MAT_ID(1.5, 1, 3, 0), 1500013);
  EXPECT_EQ(MAT_ID(0.9, 2, 3, 0), 900023);
  EXPECT_EQ(MAT_ID(0.9, 1, 1, 5), 900016);
  EXPECT_EQ(MAT_ID(0.9, 80, 3, 0), 900803);
  EXPECT_EQ(MAT_ID(10.0, 1, 2, 0), 10000012);
  EXPECT_EQ(MAT_ID(1.5, 1, 1, -1500011), 0);
  EXPECT_EQ(MAT_ID(1.5, 1, 1, -1600000), -99989);
}

struct RangeCase {
  double D;
  std::int32_t layers;
  std::int32_t offset;
  bool fits;
};

class IdentifierRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(IdentifierRange, EveryIdentifierOfTheDiameterMustFitThirtyTwoBits) {
  const RangeCase& c = GetParam();
  EXPECT_EQ(identifiers_fit(c.D, c.layers, c.offset), c.fits)
      << c.D << " " << c.layers << " " << c.offset;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Limits, IdentifierRange,
    ::testing::Values(RangeCase{1.5, 80, 0, true}, RangeCase{1.5, 1, 2147000000, false},
                      RangeCase{1.5, 1, 2145983634, true},   // 1500013 + offset = 2^31 - 1
                      RangeCase{1.5, 1, 2145983635, false},  // one beyond
                      RangeCase{1.5, 0, 2147000000, true},   // no layer, no material identifier
                      RangeCase{2147483.0, 1, 0, true}, RangeCase{2147483.0, 80, 0, false},
                      RangeCase{2147484.0, 0, 0, true}, RangeCase{2147484.0, 1, 0, false},
                      RangeCase{2147483647.0, 0, 0, true}, RangeCase{2147483648.0, 0, 0, false},
                      RangeCase{3.0e9, 0, 0, false}, RangeCase{-3.0e9, 0, 0, false},
                      RangeCase{1.0e300, 1, 0, false}, RangeCase{kInf, 1, 0, false},
                      RangeCase{-kInf, 0, 0, false}, RangeCase{kNaN, 1, 0, false},
                      RangeCase{1.5, 1, kMin, true}, RangeCase{-1.5, 1, -2147000000, false}));

}  // namespace
