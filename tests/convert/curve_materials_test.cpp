#include "convert/curve_materials.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "output_capture.hpp"

namespace {

using convert::CRV_THIN;
using convert::G2K_MATR;
using convert::SAME_REL;
using convert::ScaledCurves;
using convert_test::add_material;
using convert_test::empty_store;
using convert_test::OutputCapture;

constexpr double kTol = static_cast<double>(0.01F);

struct SameRelCase {
  double x;
  double r;
  bool same;
};

class SameRel : public ::testing::TestWithParam<SameRelCase> {};

TEST_P(SameRel, RatioOfReferenceOverCandidateWithinOpenBand) {
  const SameRelCase& c = GetParam();
  EXPECT_EQ(SAME_REL(c.x, c.r, kTol), c.same) << c.x << " vs " << c.r;
}

// The band edges are those of the single-precision tolerance: 1 -/+ 0.00999999977648258...
const double kUpperEdge = 1.0 + kTol;
const double kLowerEdge = 1.0 - kTol;

INSTANTIATE_TEST_SUITE_P(
    Cases, SameRel,
    ::testing::Values(SameRelCase{100.5, 100.0, true}, SameRelCase{101.5, 100.0, false},
                      SameRelCase{0.012, 0.010, false}, SameRelCase{0.0, 0.0, true},
                      SameRelCase{1.0E-100, 0.0, true}, SameRelCase{0.0, 1.0E-100, true},
                      SameRelCase{-1.0E-100, 1.0E-100, true}, SameRelCase{5.0, -5.0, false},
                      SameRelCase{0.0, 1.0, false}, SameRelCase{1.0, 0.0, false},
                      SameRelCase{1.0E-99, 0.0, false},
                      SameRelCase{1.0, kUpperEdge, false},
                      SameRelCase{1.0, std::nextafter(kUpperEdge, 0.0), true},
                      SameRelCase{1.0, kLowerEdge, false},
                      SameRelCase{1.0, std::nextafter(kLowerEdge, 2.0), true},
                      // 1.0099999998 lies outside the band of the single-precision tolerance
                      // but inside that of a double-precision 0.01.
                      SameRelCase{1.0, 1.0099999998, false}, SameRelCase{1.0, 1.0099999997, true}));

using Pairs = std::vector<std::pair<double, double>>;

Pairs thinned(const Pairs& curve) {
  std::vector<double> flat;
  for (const auto& [x, d] : curve) {
    flat.push_back(x);
    flat.push_back(d);
  }
  std::array<double, 200> buffer{};
  auto n = static_cast<std::int32_t>(curve.size());
  CRV_THIN(flat, buffer, n);
  Pairs kept;
  for (int p = 0; p < n; ++p) kept.emplace_back(buffer[2 * p], buffer[2 * p + 1]);
  return kept;
}

Pairs repeated(Pairs head, std::pair<double, double> tail, std::size_t total) {
  while (head.size() < total) head.push_back(tail);
  return head;
}

TEST(CurveThinning, DropsPairsEqualToTheLastKeptPair) {
  EXPECT_EQ(thinned(repeated({}, {5.0, 0.1}, 23)), (Pairs{{5.0, 0.1}}));
  EXPECT_EQ(thinned(repeated({}, {0.0, 0.0}, 23)), (Pairs{{0.0, 0.0}}));
  const Pairs head{{10.0, 0.1}, {20.0, 0.2}, {30.0, 0.3}, {40.0, 0.4}, {50.0, 0.5}};
  Pairs expected = head;
  expected.emplace_back(0.0, 0.0);
  EXPECT_EQ(thinned(repeated(head, {0.0, 0.0}, 23)), expected);
  EXPECT_EQ(thinned({{100.0, 1.0}, {100.5, 1.0}, {101.5, 1.0}}),
            (Pairs{{100.0, 1.0}, {101.5, 1.0}}));
  EXPECT_EQ(thinned({{7.0, 0.010}, {7.0, 0.012}}), (Pairs{{7.0, 0.010}, {7.0, 0.012}}));
  EXPECT_EQ(thinned({{3.0, -1.0}}), (Pairs{{3.0, -1.0}}));
}

TEST(CurveThinning, SlowDriftIsKeptOnceItExceedsTheTolerance) {
  // Each step is 0.6 %, so comparing with the direct predecessor would drop all of them.
  EXPECT_EQ(thinned({{100.0, 1.0}, {100.6, 1.0}, {101.2, 1.0}, {101.8, 1.0}}),
            (Pairs{{100.0, 1.0}, {101.2, 1.0}}));
}

TEST(CurveThinning, BothForceAndDisplacementMustMatch) {
  EXPECT_EQ(thinned({{1.0, 1.0}, {1.0, -1.0}, {-1.0, -1.0}}),
            (Pairs{{1.0, 1.0}, {1.0, -1.0}, {-1.0, -1.0}}));
}

class CurveMaterials : public ::testing::Test {
 protected:
  static void fill_layer(int layer, double base) {
    for (int k = 1; k <= 23; ++k) {
      py(1, k, layer) = base + k;  // every point distinct by far more than 1 %
      py(2, k, layer) = 0.1 * k;
      tz(1, k, layer) = base;
      tz(2, k, layer) = 0.5;
      qz(1, k, layer) = k <= 2 ? base * k : 2 * base;
      qz(2, k, layer) = k <= 2 ? -1.0 * k : -2.0;
    }
  }
  static inline ScaledCurves& py = convert_test::workspace().PYCRV;
  static inline ScaledCurves& tz = convert_test::workspace().TZCRV;
  static inline ScaledCurves& qz = convert_test::workspace().QZCRV;
};

TEST_F(CurveMaterials, BuildsThreeMaterialsPerLayerInCurveOrder) {
  fill_layer(1, 100.0);
  fill_layer(2, 200.0);
  auto& store = empty_store();
  add_material(store, 2, 77);  // materials already in store are kept
  std::int32_t status = 0;
  OutputCapture out;
  G2K_MATR(convert_test::workspace(), 2, 23, 0, 0.9, convert_test::kOutputUnit, status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(out.lines().empty());
  ASSERT_EQ(store.NMAT, 7);
  const std::array<std::int32_t, 6> ids{900011, 900012, 900013, 900021, 900022, 900023};
  const std::array<double, 6> laws{4.0, 4.0, 2.0, 4.0, 4.0, 2.0};
  const std::array<double, 6> counts{23.0, 1.0, 2.0, 23.0, 1.0, 2.0};
  for (int i = 0; i < 6; ++i) {
    const int m = i + 2;
    EXPECT_EQ(store.MATID(m), ids[i]);
    EXPECT_EQ(store.MATTYP(m), 2);
    EXPECT_EQ(store.RMAT(1, m), laws[i]);
    for (int v = 2; v <= 7; ++v) EXPECT_EQ(store.RMAT(v, m), 0.0);
    EXPECT_EQ(store.RMAT(8, m), counts[i]);
  }
  EXPECT_EQ(store.MATID(1), 77);
  // P-y of layer 2 keeps all 23 points in stored order.
  EXPECT_EQ(store.RMAT(9, 5), 201.0);
  EXPECT_EQ(store.RMAT(10, 5), 0.1);
  EXPECT_EQ(store.RMAT(9 + 2 * 22, 5), 223.0);
  EXPECT_EQ(store.RMAT(10 + 2 * 22, 5), 0.1 * 23);
  // Q-z of layer 1: (100, -1), (200, -2), then repeats of the last pair dropped.
  EXPECT_EQ(store.RMAT(9, 4), 100.0);
  EXPECT_EQ(store.RMAT(10, 4), -1.0);
  EXPECT_EQ(store.RMAT(11, 4), 200.0);
  EXPECT_EQ(store.RMAT(12, 4), -2.0);
}

// The store holds its last material in place: nothing spills into the materials before it or
// into the curves stored after it.
TEST_F(CurveMaterials, FillTheStoreToItsLastPlace) {
  fill_layer(1, 100.0);
  auto& store = empty_store();
  store.MATID(1) = 77;
  store.MATTYP(1) = 5;
  store.RMAT(1, 1) = 6.5;
  store.NMAT = convert::kMaxMaterials - 3;
  const double first_force = py(1, 1, 1);
  std::int32_t status = 0;
  G2K_MATR(convert_test::workspace(), 1, 23, 0, 0.9, convert_test::kOutputUnit, status);
  const int last = convert::kMaxMaterials;
  ASSERT_EQ(store.NMAT, last);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(store.MATID(last), 900013);
  EXPECT_EQ(store.RMAT(1, last), 2.0);
  EXPECT_EQ(store.MATID(1), 77);
  EXPECT_EQ(store.MATTYP(1), 5);
  EXPECT_EQ(store.RMAT(1, 1), 6.5);
  EXPECT_EQ(py(1, 1, 1), first_force);
}

TEST_F(CurveMaterials, OffsetIsAddedToEveryIdentifier) {
  fill_layer(1, 1.0);
  auto& store = empty_store();
  std::int32_t status = 0;
  G2K_MATR(convert_test::workspace(), 1, 23, 5, 0.9, convert_test::kOutputUnit, status);
  ASSERT_EQ(store.NMAT, 3);
  EXPECT_EQ(store.MATID(1), 900016);
  EXPECT_EQ(store.MATID(2), 900017);
  EXPECT_EQ(store.MATID(3), 900018);
}

TEST_F(CurveMaterials, NoLayersBuildsNothing) {
  auto& store = empty_store();
  std::int32_t status = 0;
  G2K_MATR(convert_test::workspace(), 0, 23, 0, 1.5, convert_test::kOutputUnit, status);
  EXPECT_EQ(store.NMAT, 0);
  EXPECT_EQ(status, 0);
}

TEST_F(CurveMaterials, MoreThanHundredPointsFailsWithoutBuilding) {
  fill_layer(1, 1.0);
  auto& store = empty_store();
  std::int32_t status = 0;
  OutputCapture out;
  G2K_MATR(convert_test::workspace(), 1, 100, 0, 1.5, convert_test::kOutputUnit, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(store.NMAT, 3);
  G2K_MATR(convert_test::workspace(), 1, 101, 0, 1.5, convert_test::kOutputUnit, status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(store.NMAT, 3);
  EXPECT_EQ(out.lines(), (std::vector<std::string>{
                             "", "  *** ERROR IN G2K_MATR ***", "",
                             "  *** Number of Points Exceeds Max of  100"}));
}

}  // namespace
