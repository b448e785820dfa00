#include "convert/material_records.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output_capture.hpp"

namespace {

using convert::write_knf_heading;
using convert::write_knf_record;
using convert::write_sesam_record;
using convert_test::add_material;
using convert_test::empty_store;
using convert_test::kOutputUnit;
using convert_test::OutputCapture;
using Lines = std::vector<std::string>;

const std::string k25 = std::string(25, ' ');

Lines knf_record_of(const convert::MaterialStore& store, std::int32_t m, std::int32_t kind) {
  OutputCapture out;
  write_knf_record(store, m, kind, kOutputUnit);
  return out.lines();
}

Lines sesam_record_of(const convert::MaterialStore& store, std::int32_t m) {
  OutputCapture out;
  write_sesam_record(store, m, kOutputUnit);
  return out.lines();
}

TEST(SpringCurveRecord, SesamAndKnfOfTheSameMaterial) {
  auto& store = empty_store();
  const auto m = add_material(store, 2, 1500011, {4.0, 0, 0, 0, 0, 0, 0, 2.0, 100.0, 0.001, 250.0, 0.01});
  EXPECT_EQ(sesam_record_of(store, m),
            (Lines{"MISOPL    0.15000110E+07  0.40000000E+01  0.00000000E+00  0.00000000E+00",
                   "          0.00000000E+00  0.00000000E+00  0.00000000E+00  0.00000000E+00",
                   "               2", "          0.10000000E+03  0.10000000E-02",
                   "          0.25000000E+03  0.10000000E-01"}));
  EXPECT_EQ(knf_record_of(store, m, 2),
            (Lines{" ELPLCURV   1500011", k25 + "    1.00000E+02    1.00000E-03",
                   k25 + "    2.50000E+02    1.00000E-02"}));
}

class CurveLawCode : public ::testing::TestWithParam<std::pair<double, const char*>> {};

TEST_P(CurveLawCode, IntegerPartFourIsElastoPlastic) {
  auto& store = empty_store();
  const auto m = add_material(store, 2, 12, {GetParam().first});
  EXPECT_EQ(knf_record_of(store, m, 2), (Lines{GetParam().second}));
}

INSTANTIATE_TEST_SUITE_P(Codes, CurveLawCode,
                         ::testing::Values(std::pair{4.0, " ELPLCURV        12"},
                                           std::pair{4.7, " ELPLCURV        12"},
                                           std::pair{2.0, " HYPELAST        12"},
                                           std::pair{3.0, " HYPELAST        12"},
                                           std::pair{5.0, " HYPELAST        12"},
                                           std::pair{0.0, " HYPELAST        12"},
                                           std::pair{-4.5, " HYPELAST        12"}));

TEST(SpringCurveRecord, PointCountRoundsInSesamAndTruncatesInKnf) {
  auto& store = empty_store();
  const auto m = add_material(store, 2, 5, {2.0, 0, 0, 0, 0, 0, 0, 2.5, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0});
  const Lines sesam = sesam_record_of(store, m);
  ASSERT_EQ(sesam.size(), 6U);
  EXPECT_EQ(sesam[2], "               3");
  EXPECT_EQ(sesam[5], "          0.50000000E+01  0.60000000E+01");
  EXPECT_EQ(knf_record_of(store, m, 2).size(), 3U);
}

TEST(SpringCurveRecord, NoPointsStillWritesTheHeadLines) {
  auto& store = empty_store();
  const auto none = add_material(store, 2, 5, {4.0});
  const auto negative = add_material(store, 2, 6, {4.0, 0, 0, 0, 0, 0, 0, -3.0});
  EXPECT_EQ(sesam_record_of(store, none).size(), 3U);
  EXPECT_EQ(sesam_record_of(store, none)[2], "               0");
  EXPECT_EQ(sesam_record_of(store, negative)[2], "              -3");
  EXPECT_EQ(sesam_record_of(store, negative).size(), 3U);
  EXPECT_EQ(knf_record_of(store, none, 2), (Lines{" ELPLCURV         5"}));
}

TEST(SpringCurveRecord, CountBeyondTheRecordIsHeldToItsRoom) {
  auto& store = empty_store();
  const auto m = add_material(store, 2, 5, {4.0, 0, 0, 0, 0, 0, 0, 40.0});
  add_material(store, 2, 6, {9.0});
  const Lines sesam = sesam_record_of(store, m);
  EXPECT_EQ(sesam.size(), 3U + 25U);
  EXPECT_EQ(sesam[2], "              25");
  EXPECT_EQ(knf_record_of(store, m, 2).size(), 1U + 25U);
}

TEST(SpringCurveRecord, LargeIdentifiers) {
  auto& store = empty_store();
  const auto m = add_material(store, 2, 123456789, {4.0});
  EXPECT_EQ(sesam_record_of(store, m)[0].substr(8, 16), "  0.12345679E+09");
  store.MATID(m) = 1000000000;
  EXPECT_EQ(knf_record_of(store, m, 2)[0], " ELPLCURV *********");
  store.MATID(m) = -100000000;
  EXPECT_EQ(knf_record_of(store, m, 2)[0], " ELPLCURV *********");
  store.MATID(m) = -99999999;
  EXPECT_EQ(knf_record_of(store, m, 2)[0], " ELPLCURV -99999999");
}

TEST(ReferenceRecord, PositionsBecomeIdentifiers) {
  auto& store = empty_store();
  add_material(store, 2, 1500011);
  add_material(store, 2, 1500012);
  add_material(store, 2, 1500013);
  const auto m = add_material(store, 3, 1500014, {1.0, 2.0, 0.0, 0.0, 0.0, 0.0});
  EXPECT_EQ(knf_record_of(store, m, 3),
            (Lines{" MREF       1500014  1500011  1500012        0        0        0        0"}));
  const auto rounded = add_material(store, 3, 9, {2.5, -2.6, 0.4, 0.6, -0.5, 1.49});
  EXPECT_EQ(knf_record_of(store, rounded, 3),
            (Lines{" MREF             9  1500013       -3        0  1500011       -1  1500011"}));
}

TEST(ReferenceRecord, PositionBeyondTheStoreIsWrittenAsItStands) {
  auto& store = empty_store();
  const auto m = add_material(store, 3, 9, {2.0, 5000.0, 1.0e12});
  EXPECT_EQ(knf_record_of(store, m, 3),
            (Lines{" MREF             9        2     5000*********        0        0        0"}));
}

TEST(SpringMatrixRecord, DiagonalRecordWhenTheProbedEntriesVanish) {
  auto& store = empty_store();
  const auto m = add_material(store, 5, 7);
  const double diagonal[] = {1.0E5, 2.0E5, 3.0E5, 4.0E6, 5.0E6, 6.0E6};
  for (int i = 0; i < 6; ++i) store.RMAT(1 + 7 * i, m) = diagonal[i];
  const Lines diag{" SPRIDIAG         7    1.00000E+05    2.00000E+05    3.00000E+05",
                   std::string(19, ' ') + "    4.00000E+06    5.00000E+06    6.00000E+06"};
  EXPECT_EQ(knf_record_of(store, m, 5), diag);
  for (const int i : {18, 21, 23, 28, 30, 35}) {
    store.RMAT(i, m) = 55.0;  // off-diagonal, but outside the probe
    EXPECT_EQ(knf_record_of(store, m, 5), diag) << i;
  }
  store.RMAT(2, m) = 1.0E-6;  // exactly 1.0E-6 lies above the single-precision threshold
  EXPECT_EQ(knf_record_of(store, m, 5).size(), 7U);
  store.RMAT(2, m) = 9.99999999E-7;  // below 1.0E-6, above its single-precision value
  EXPECT_EQ(knf_record_of(store, m, 5).size(), 7U);
  store.RMAT(2, m) = 0.0;
  store.RMAT(9, m) = 4.0E-7;
  store.RMAT(17, m) = -5.0E-7;  // sum of magnitudes 9.0E-7
  EXPECT_EQ(knf_record_of(store, m, 5), diag);
}

TEST(SpringMatrixRecord, FullRecordHasSixRowsOfSix) {
  auto& store = empty_store();
  const auto m = add_material(store, 5, 8);
  for (int i = 1; i <= 36; ++i) store.RMAT(i, m) = i;
  store.RMAT(20, m) = -0.5;
  const Lines lines = knf_record_of(store, m, 5);
  ASSERT_EQ(lines.size(), 7U);
  EXPECT_EQ(lines[0], " SPRIFULL         8");
  EXPECT_EQ(lines[1], "          1.00000E+00  2.00000E+00  3.00000E+00  4.00000E+00  5.00000E+00  6.00000E+00");
  EXPECT_EQ(lines[4], "          1.90000E+01 -5.00000E-01  2.10000E+01  2.20000E+01  2.30000E+01  2.40000E+01");
  EXPECT_EQ(lines[6], "          3.10000E+01  3.20000E+01  3.30000E+01  3.40000E+01  3.50000E+01  3.60000E+01");
}

TEST(OtherKinds, OneLineRecordsOfElasticMisoiepAndComps) {
  auto& store = empty_store();
  const auto elastic = add_material(store, 10, 20, {2.1E11, 0.3, 0.0, 7850.0, 1.2E-5, 99.0});
  const auto misoiep = add_material(store, 1, 30, {2.1E11, 0.3, 2.5E8, 7850.0, 1.2E-5, 99.0});
  const auto comps = add_material(store, 12, 40, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(knf_record_of(store, elastic, 10),
            (Lines{" MATERIAL        20  Elastic  2.100E+11  3.000E-01  0.000E+00  7.850E+03  1.200E-05"}));
  EXPECT_EQ(knf_record_of(store, misoiep, 1),
            (Lines{" MISOIEP         30   2.100E+11   3.000E-01   2.500E+08   7.850E+03   1.200E-05"}));
  EXPECT_EQ(knf_record_of(store, comps, 12),
            (Lines{" MATERIAL        40  CompS    1.000E+00  2.000E+00  3.000E+00  4.000E+00  "
                   "5.000E+00  6.000E+00  7.000E+00"}));
}

TEST(OtherKinds, BearingRecordPutsTheSecondRowUnderTheFirst) {
  auto& store = empty_store();
  const auto m = add_material(store, 18, 50, {1.0, 1.0E5, 2.0E5, 3.0E5, 4.0E6, 5.0E6, 0.0});
  EXPECT_EQ(knf_record_of(store, m, 18),
            (Lines{" MATERIAL        50  Bearing Lin    1.000E+05  2.000E+05  3.000E+05",
                   std::string(34, ' ') + "  4.000E+06  5.000E+06  0.000E+00"}));
}

TEST(KnfHeadings, TwoCommentLinesPerKind) {
  const std::pair<int, std::string> headings[] = {
      {10, "'            Mat  ID  MaTyp    E-mod       Poiss     Dummy      Density   ThermX  "},
      {1, "'            Mat  ID     E-mod       Poiss     Yield      Density     ThermX  "},
      {5, "'            Mat  ID          S P R I N G    C H A R."},
      {2, "'            Mat  ID               P           Delta "},
      {3, "'            Mat  ID          S P R I N G    R E F S."},
      {12, "'            Mat  ID  MaTyp    { Data ............ }"},
      {18, "'            Mat  ID  MaTyp  Opt     S11/S44    S22/S55    S33/S66"}};
  for (const auto& [kind, second] : headings) {
    OutputCapture out;
    write_knf_heading(kind, kOutputUnit);
    EXPECT_EQ(out.lines(), (Lines{"'", second})) << kind;
  }
  OutputCapture out;
  write_knf_heading(7, kOutputUnit);
  EXPECT_TRUE(out.lines().empty());
}

}  // namespace
