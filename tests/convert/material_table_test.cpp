#include "convert/material_table.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "output_capture.hpp"

namespace {

using convert::G2K_WMAT;
using convert::order_identifiers;
using convert_test::add_material;
using convert_test::empty_store;
using convert_test::joined;
using convert_test::kOutputUnit;
using convert_test::OutputCapture;
using Lines = std::vector<std::string>;

// The writing order by its defining rule: the place (1-based) written k-th, or 0.
int select_position(const std::vector<std::int32_t>& list, int k) {
  const int n = static_cast<int>(list.size());
  if (k > n) return 0;
  int positives = 0;
  int negatives = 0;
  for (const auto v : list) {
    positives += v > 0 ? 1 : 0;
    negatives += v < 0 ? 1 : 0;
  }
  if (positives + negatives != n) return 0;
  for (int p = 0; p < n; ++p) {
    int rank = 0;
    if (k <= positives && list[p] > 0) {
      rank = 1;
      for (const auto q : list) rank += (q >= 0 && q < list[p]) ? 1 : 0;
    } else if (k > positives && list[p] < 0) {
      rank = positives + 1;
      for (const auto q : list) rank += (list[p] < q && q < 0) ? 1 : 0;
    }
    if (rank == k) return p + 1;
  }
  return 0;
}

TEST(IdentifierOrdering, MatchesTheSelectionRuleOnRandomLists) {
  std::mt19937 random(12345);
  for (int trial = 0; trial < 2000; ++trial) {
    const int n = 1 + static_cast<int>(random() % 12);
    const int spread = 1 + static_cast<int>(random() % 20);
    std::vector<std::int32_t> list(static_cast<std::size_t>(n));
    for (auto& v : list) v = static_cast<std::int32_t>(random() % (2 * spread + 1)) - spread;
    std::vector<std::int32_t> places(list.size());
    const std::int32_t writable = order_identifiers(list, places);
    int expected_writable = 0;
    while (expected_writable < n && select_position(list, expected_writable + 1) != 0) {
      ++expected_writable;
    }
    ASSERT_EQ(writable, expected_writable) << ::testing::PrintToString(list);
    for (int k = 1; k <= writable; ++k) {
      ASSERT_EQ(places[static_cast<std::size_t>(k - 1)] + 1, select_position(list, k))
          << ::testing::PrintToString(list) << " k=" << k;
    }
  }
}

TEST(IdentifierOrdering, PositivesAscendingThenNegativesFromMinusOne) {
  const std::vector<std::int32_t> ids{7, -2, 3, -1};
  std::vector<std::int32_t> places(4);
  EXPECT_EQ(order_identifiers(ids, places), 4);
  EXPECT_EQ(places, (std::vector<std::int32_t>{2, 0, 3, 1}));
}

// Runs the table writer and returns its lines and error flag.
struct Table {
  Lines lines;
  std::int32_t error = 0;
};

// The store is the one of convert_test::workspace(), as empty_store() hands it out.
Table write_table(const convert::MaterialStore& store, std::int32_t format) {
  EXPECT_EQ(&store, &convert_test::workspace().MATERIAL_STORE);
  OutputCapture out;
  Table t;
  G2K_WMAT(convert_test::workspace(), format, kOutputUnit, t.error);
  t.lines = out.lines();
  return t;
}

const std::string kCurveHeading = "'            Mat  ID               P           Delta ";
const std::string kElasticHeading =
    "'            Mat  ID  MaTyp    E-mod       Poiss     Dummy      Density   ThermX  ";
const std::string kBearingHeading =
    "'            Mat  ID  MaTyp  Opt     S11/S44    S22/S55    S33/S66";
const Lines kKwrmatFailure{"", "  *** ERROR IN KWRMAT ***", "", "  *** ERROR IN G2K_WMAT ***"};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(KnfTable, IdentifiersAscendWithinAKind) {
  auto& store = empty_store();
  add_material(store, 2, 1500013, {2.0});
  add_material(store, 2, 1500011, {4.0});
  add_material(store, 2, 1500012, {4.0});
  const Table t = write_table(store, 2);
  EXPECT_EQ(t.error, 0);
  EXPECT_EQ(t.lines, (Lines{"'", kCurveHeading, " ELPLCURV   1500011", " ELPLCURV   1500012",
                            " HYPELAST   1500013"}))
      << joined(t.lines);
}

TEST(KnfTable, NegativeIdentifiersFollowFromMinusOneDown) {
  auto& store = empty_store();
  for (const int id : {7, -2, 3, -1}) add_material(store, 2, id, {4.0});
  const Table t = write_table(store, 2);
  EXPECT_EQ(t.lines, (Lines{"'", kCurveHeading, " ELPLCURV         3", " ELPLCURV         7",
                            " ELPLCURV        -1", " ELPLCURV        -2"}));
}

TEST(KnfTable, KindsInTheFixedOrder) {
  auto& store = empty_store();
  add_material(store, 18, 6, {1.0, 1, 2, 3, 4, 5, 6});
  add_material(store, 12, 5, {1.0});
  add_material(store, 3, 4, {1.0});
  add_material(store, 2, 3, {4.0});
  add_material(store, 5, 2, {1.0});
  add_material(store, 1, 1, {1.0});
  add_material(store, 10, 11, {1.0});
  const Table t = write_table(store, 2);
  EXPECT_EQ(t.error, 0);
  // Heading titles and record keywords with identifiers, in the order written.
  std::vector<std::string> starts;
  for (const auto& line : t.lines) {
    if (line.size() > 1 && line[0] == '\'') starts.push_back(line);
    if (line.size() >= 19 && line[0] == ' ' && line[1] != ' ') starts.push_back(line.substr(0, 19));
  }
  EXPECT_EQ(starts,
            (Lines{kElasticHeading, " MATERIAL        11",
                   "'            Mat  ID     E-mod       Poiss     Yield      Density     ThermX  ",
                   " MISOIEP          1", "'            Mat  ID          S P R I N G    C H A R.",
                   " SPRIDIAG         2", kCurveHeading, " ELPLCURV         3",
                   "'            Mat  ID          S P R I N G    R E F S.", " MREF             4",
                   "'            Mat  ID  MaTyp    { Data ............ }", " MATERIAL         5",
                   kBearingHeading, " MATERIAL         6"}))
      << joined(t.lines);
}

TEST(KnfTable, RepeatedIdentifierStopsAfterItsFirstRecord) {
  auto& store = empty_store();
  add_material(store, 10, 1, {1.0});
  add_material(store, 2, 4, {4.0});
  add_material(store, 2, 9, {4.0});
  add_material(store, 2, 4, {2.0});
  add_material(store, 18, 8, {1.0});
  const Table t = write_table(store, 2);
  EXPECT_EQ(t.error, -1);
  EXPECT_EQ(t.lines, concat({"'", kElasticHeading,
                             " MATERIAL         1  Elastic  1.000E+00  0.000E+00  0.000E+00  "
                             "0.000E+00  0.000E+00",
                             "'", kCurveHeading, " ELPLCURV         4"},
                            kKwrmatFailure))
      << joined(t.lines);
}

TEST(KnfTable, ZeroIdentifierFailsRightAfterTheKindHeading) {
  auto& store = empty_store();
  add_material(store, 2, 5, {4.0});
  add_material(store, 10, 1, {1.0});
  add_material(store, 2, 0, {4.0});
  const Table t = write_table(store, 2);
  EXPECT_EQ(t.error, -1);
  ASSERT_EQ(t.lines.size(), 3U + 2U + kKwrmatFailure.size()) << joined(t.lines);
  EXPECT_EQ(t.lines[3], "'");
  EXPECT_EQ(t.lines[4], kCurveHeading);
  EXPECT_EQ(Lines(t.lines.begin() + 5, t.lines.end()), kKwrmatFailure);
}

TEST(KnfTable, LookupTakesTheFirstMaterialOfAnyKind) {
  auto& store = empty_store();
  add_material(store, 10, 3, {2.0E11});
  add_material(store, 2, 3, {4.0, 0, 0, 0, 0, 0, 0, 1.0, 5.0, 6.0});
  const Table t = write_table(store, 2);
  // The kind-2 record is written from the elastic material found first.
  EXPECT_EQ(Lines(t.lines.begin() + 3, t.lines.end()),
            (Lines{"'", kCurveHeading, " HYPELAST         3"}));
}

TEST(KnfTable, BearingWrittenForOptionOneOnly) {
  auto& store = empty_store();
  add_material(store, 18, 8, {2.0, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(write_table(store, 2).lines, (Lines{"'", kBearingHeading}));
  add_material(store, 18, 9, {0.5, 1, 2, 3, 4, 5, 6});
  const Table t = write_table(store, 2);
  ASSERT_EQ(t.lines.size(), 4U);
  EXPECT_EQ(t.lines[2].substr(0, 20), " MATERIAL         9 ");
}

TEST(KnfTable, UnknownKindsGiveOneWarningAndAreLeftOut) {
  auto& store = empty_store();
  add_material(store, 7, 1);
  add_material(store, 0, 2);
  const Lines warning{" WARNING from KWRMAT: Materials missing ! "};
  Table t = write_table(store, 2);
  EXPECT_EQ(t.lines, warning);
  EXPECT_EQ(t.error, 0);
  add_material(store, 2, 3, {4.0});
  t = write_table(store, 2);
  EXPECT_EQ(t.lines, concat(warning, {"'", kCurveHeading, " ELPLCURV         3"}));
}

TEST(SesamTable, SpringCurvesInStoreOrderWhateverTheirIdentifiers) {
  auto& store = empty_store();
  add_material(store, 2, 9, {4.0});
  add_material(store, 10, 5, {4.0});
  add_material(store, 2, 0, {2.0});
  add_material(store, 2, 9, {4.0});
  const Table t = write_table(store, 1);
  EXPECT_EQ(t.error, 0);
  ASSERT_EQ(t.lines.size(), 9U) << joined(t.lines);
  EXPECT_EQ(t.lines[0].substr(0, 24), "MISOPL    0.90000000E+01");
  EXPECT_EQ(t.lines[3].substr(0, 40), "MISOPL    0.00000000E+00  0.20000000E+01");
  EXPECT_EQ(t.lines[6].substr(0, 24), "MISOPL    0.90000000E+01");
}

TEST(MaterialTable, EmptyStoreWritesNothingInEitherFormat) {
  auto& store = empty_store();
  for (const int format : {1, 2}) {
    const Table t = write_table(store, format);
    EXPECT_TRUE(t.lines.empty());
    EXPECT_EQ(t.error, 0);
  }
}

TEST(MaterialTable, UnknownFormatGivesTheBanner) {
  auto& store = empty_store();
  add_material(store, 2, 1, {4.0});
  for (const int format : {0, 3, -1}) {
    const Table t = write_table(store, format);
    EXPECT_EQ(t.lines, (Lines{"", "  *** ERROR IN G2K_WMAT ***"}));
    EXPECT_EQ(t.error, -1);
  }
}

TEST(MaterialTable, AThousandMaterialsAreTheLimit) {
  auto& store = empty_store();
  for (int i = 1; i <= 1000; ++i) add_material(store, 2, 2000 - i, {4.0});
  Table t = write_table(store, 2);
  EXPECT_EQ(t.error, 0);
  ASSERT_EQ(t.lines.size(), 1002U);
  EXPECT_EQ(t.lines[2], " ELPLCURV      1000");
  EXPECT_EQ(t.lines[1001], " ELPLCURV      1999");
  add_material(store, 2, 5000, {4.0});
  for (const int format : {1, 2}) {
    t = write_table(store, format);
    EXPECT_EQ(t.error, -1);
    EXPECT_EQ(t.lines, (Lines{"", "  *** ERROR IN G2K_WMAT ***", "",
                              "  *** Number of Materials Exceeds Max of 1000"}));
  }
}

}  // namespace
