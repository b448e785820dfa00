#include "convert/identifiers.hpp"
#include "convert/settings.hpp"

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

constexpr std::int32_t kSesam = convert::kSesamFormat;
constexpr std::int32_t kKnf = convert::kKnfFormat;

struct RangeCase {
  double D;
  std::int32_t layers;
  std::int32_t offset;
  std::int32_t format;
  bool fits;
};

class IdentifierRange : public ::testing::TestWithParam<RangeCase> {};

// A diameter is converted only when every identifier shows exactly in its field: Soil_ID in
// I7, material identifiers in KNF's I9 or as SESAM's reals of 8 significant digits.
TEST_P(IdentifierRange, EveryIdentifierOfTheDiameterMustFitItsField) {
  const RangeCase& c = GetParam();
  EXPECT_EQ(identifiers_fit(c.D, c.layers, c.offset, c.format), c.fits)
      << c.D << " " << c.layers << " " << c.offset << " " << c.format;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Limits, IdentifierRange,
    ::testing::Values(
        RangeCase{1.5, 80, 0, kSesam, true},
        RangeCase{1.5, 1, 998499986, kKnf, true},    // 1500013 + offset = 999999999
        RangeCase{1.5, 1, 998499987, kKnf, false},   // ten digits in I9
        RangeCase{1.5, 1, 1000000000, kKnf, false},
        RangeCase{1.5, 1, 99000000, kKnf, true},
        RangeCase{1.5, 1, 98499986, kSesam, true},   // 99999999, eight digits
        RangeCase{1.5, 1, 98499987, kSesam, false},  // nine digits would be rounded
        RangeCase{1.5, 1, 99000000, kSesam, false},
        RangeCase{1.5, 1, 98499987, 3, true},        // no material table: the SOILCHAR fields
        RangeCase{1.5, 2, -101500010, kSesam, true},  // 1500011 + offset = -99999999
        RangeCase{1.5, 2, -101500011, kKnf, false},
        RangeCase{1.5, 2, -101500011, kSesam, false},
        RangeCase{1.5, 1, kMin, kKnf, false},
        RangeCase{1.5, 0, 2147000000, kKnf, true},   // no layer, no material identifier
        RangeCase{9999999.4, 0, 0, kKnf, true},      // Soil_ID 9999999 fills I7
        RangeCase{9999999.5, 0, 0, kKnf, false},
        RangeCase{99.4, 80, 599196, kSesam, true},   // layer 80 Q-z: 99400803 + offset
        RangeCase{99.4, 80, 599197, kSesam, false},
        RangeCase{3.0e9, 0, 0, kKnf, false}, RangeCase{1.0e300, 1, 0, kKnf, false},
        RangeCase{kInf, 1, 0, kKnf, false}, RangeCase{-kInf, 0, 0, kKnf, false},
        RangeCase{kNaN, 1, 0, kSesam, false}));

}  // namespace
