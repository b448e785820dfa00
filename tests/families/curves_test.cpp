// The curve families against points worked out apart from the code, by
// tests/families/expected_curves.py from the families' formulas and tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "common/csv.hpp"
#include "families/curves.hpp"
#include "support/test_support.hpp"

namespace {

using families::CurveKind;
using families::Loading;

// The profile the script works with.
constexpr const char* kProfile =
    "top,bottom,soil,unit_weight,su_top,su_bottom,eps50,J,t_res,phi,k,beta,f_lim,Nq,q_lim\n"
    "0,4,clay,6,10,30,0.02,0.5,0.8,,,,,,\n"
    "4,10,sand,9,,,,,,33,16000,0.29,15,12,600\n"
    "10,20,clay,8,15,120,0.005,0.25,0.9,,,,,,\n";

struct WorkedCurve {
  const char* name;
  CurveKind kind;
  Loading loading;
  double x, diameter;
  std::array<double, 3> par;
  std::array<std::array<double, 2>, families::kSidePoints> positive;  // displacement, stress
};

// Output of expected_curves.py.
const WorkedCurve kCases[] = {
    {"soft clay P-y static, pu from depth", CurveKind::PY, Loading::Static, 1.5, 2.0,
     {68.0625, 1565.4374999999998, 68.0625},
     {{{0.010000000000000002, 15.654375}, {0.03, 22.460625}, {0.1, 34.03125}, {0.2, 41.518125}, {0.30000000000000004, 49.004999999999995}, {0.5, 56.628}, {0.8, 68.0625}, {1.0, 68.0625}, {1.2000000000000002, 68.0625}, {1.5, 68.0625}, {2.0, 68.0625}}}},
    {"soft clay P-y cyclic, reduced near the mudline", CurveKind::PY, Loading::Cyclic, 1.5, 2.0,
     {68.0625, 1565.4374999999998, 68.0625},
     {{{0.010000000000000002, 15.654375}, {0.03, 22.460625}, {0.1, 34.03125}, {0.2, 41.518125}, {0.30000000000000004, 49.004999999999995}, {0.5, 42.048040178571426}, {0.8, 31.612600446428573}, {1.0, 24.655640625}, {1.2000000000000002, 17.69868080357143}, {1.5, 7.263241071428575}, {2.0, 7.2632410714285705}}}},
    {"stiff clay P-y static, pu = 9 su", CurveKind::PY, Loading::Static, 19.5, 0.5,
     {1032.75, 380051.99999999994, 1032.75},
     {{{0.0006250000000000001, 237.5325}, {0.001875, 340.8075}, {0.00625, 516.375}, {0.0125, 629.9775}, {0.018750000000000003, 743.5799999999999}, {0.03125, 859.2479999999999}, {0.05, 1032.75}, {0.0625, 1032.75}, {0.07500000000000001, 1032.75}, {0.09375, 1032.75}, {0.125, 1032.75}}}},
    {"stiff clay P-y cyclic, below the reduced zone", CurveKind::PY, Loading::Cyclic, 19.5, 0.5,
     {1032.75, 380051.99999999994, 1032.75},
     {{{0.0006250000000000001, 237.5325}, {0.001875, 340.8075}, {0.00625, 516.375}, {0.0125, 629.9775}, {0.018750000000000003, 743.5799999999999}, {0.03125, 743.5799999999999}, {0.05, 743.5799999999999}, {0.0625, 743.5799999999999}, {0.07500000000000001, 743.5799999999999}, {0.09375, 743.5799999999999}, {0.125, 743.5799999999999}}}},
    {"sand P-y static, A above 0.9, wedge pu", CurveKind::PY, Loading::Static, 5.0, 2.0,
     {307.74586973891655, 39966.699966303975, 307.74586973891655},
     {{{0.0003846823371736457, 15.374483552155679}, {0.0007693646743472914, 30.672413690990684}, {0.0015387293486945827, 60.741439587610245}, {0.0026927763602155198, 103.51818445068604}, {0.003846823371736457, 142.21464648225736}, {0.005770235057604685, 195.46446676618743}, {0.007693646743472914, 234.3774559126829}, {0.01154047011520937, 278.5556365606009}, {0.015387293486945827, 296.6755060827353}, {0.02308094023041874, 306.22399061116624}, {0.03846823371736457, 307.7179277257403}}}},
    {"sand P-y cyclic, wedge pu", CurveKind::PY, Loading::Cyclic, 5.0, 2.0,
     {276.9712827650249, 39966.699966303975, 276.9712827650249},
     {{{0.00034621410345628116, 13.837035196940114}, {0.0006924282069125623, 27.605172321891622}, {0.0013848564138251246, 54.667295628849224}, {0.002423498724193968, 93.16636600561745}, {0.0034621410345628116, 127.99318183403165}, {0.0051932115518442176, 175.9180200895687}, {0.006924282069125623, 210.93971032141462}, {0.010386423103688435, 250.70007290454078}, {0.013848564138251246, 267.00795547446177}, {0.02077284620737687, 275.60159155004965}, {0.034621410345628115, 276.9461349531663}}}},
    {"sand P-y static, A = 0.9, flow-around pu", CurveKind::PY, Loading::Static, 9.5, 0.5,
     {2760.1425631084708, 303746.91974391026, 2760.1425631084708},
     {{{0.00045397081630073533, 137.89223710497689}, {0.0009079416326014707, 275.0978741440068}, {0.0018158832652029413, 544.7840222599217}, {0.003177795714105147, 928.444457111491}, {0.004539708163007353, 1275.5092348960436}, {0.006809562244511029, 1753.1016573979073}, {0.009079416326014706, 2102.1084456681774}, {0.013619124489022059, 2498.3382208084977}, {0.018158832652029413, 2660.853555777722}, {0.027238248978044118, 2746.49297827416}, {0.045397081630073534, 2759.8919539291105}}}},
    {"soft clay T-z, psi above 1", CurveKind::TZ, Loading::Static, 1.5, 2.0,
     {7.409845763664633, 694.6730403435593, 7.409845763664633},
     {{{0.0032, 2.2229537290993897}, {0.0062, 3.7049228818323163}, {0.0114, 5.557384322748474}, {0.016, 6.66886118729817}, {0.02, 7.409845763664633}, {0.03, 6.66886118729817}, {0.04, 5.9278766109317065}, {0.06, 5.9278766109317065}, {0.1, 5.9278766109317065}, {0.15, 5.9278766109317065}, {0.2, 5.9278766109317065}}}},
    {"stiff clay T-z, psi below 1", CurveKind::TZ, Loading::Static, 19.5, 0.5,
     {66.46709712331358, 24925.161421242592, 66.46709712331358},
     {{{0.0008, 19.940129136994074}, {0.00155, 33.23354856165679}, {0.00285, 49.850322842485184}, {0.004, 59.82038741098222}, {0.005, 66.46709712331358}, {0.0075, 63.14374226714791}, {0.01, 59.82038741098222}, {0.015, 59.82038741098222}, {0.025, 59.82038741098222}, {0.0375, 59.82038741098222}, {0.05, 59.82038741098222}}}},
    {"stiff clay T-z, alpha at most 1", CurveKind::TZ, Loading::Static, 10.5, 0.5,
     {20.25, 7593.75, 20.25},
     {{{0.0008, 6.075}, {0.00155, 10.125}, {0.00285, 15.1875}, {0.004, 18.225}, {0.005, 20.25}, {0.0075, 19.2375}, {0.01, 18.225}, {0.015, 18.225}, {0.025, 18.225}, {0.0375, 18.225}, {0.05, 18.225}}}},
    {"sand T-z, beta s", CurveKind::TZ, Loading::Static, 5.0, 2.0,
     {9.569999999999999, 3767.71653543307, 9.569999999999999},
     {{{0.000635, 2.3924999999999996}, {0.00127, 4.784999999999999}, {0.001905, 7.177499999999998}, {0.00254, 9.569999999999999}, {0.00508, 9.569999999999999}, {0.01016, 9.569999999999999}, {0.02032, 9.569999999999999}, {0.03048, 9.569999999999999}, {0.04064, 9.569999999999999}, {0.06096, 9.569999999999999}, {0.10160000000000001, 9.569999999999999}}}},
    {"sand T-z, f_lim", CurveKind::TZ, Loading::Static, 9.5, 0.5,
     {15.0, 5905.511811023622, 15.0},
     {{{0.000635, 3.75}, {0.00127, 7.5}, {0.001905, 11.25}, {0.00254, 15.0}, {0.00508, 15.0}, {0.01016, 15.0}, {0.02032, 15.0}, {0.03048, 15.0}, {0.04064, 15.0}, {0.06096, 15.0}, {0.10160000000000001, 15.0}}}},
    {"clay Q-z", CurveKind::QZ, Loading::Static, 19.5, 0.5,
     {1032.75, 258187.5, 0.0},
     {{{0.001, 258.1875}, {0.0025, 328.60227272727275}, {0.0065, 516.375}, {0.0125, 623.2112068965517}, {0.021, 774.5625}, {0.03, 864.5116935483871}, {0.0365, 929.475}, {0.05, 1032.75}, {0.075, 1032.75}, {0.1, 1032.75}, {0.15, 1032.75}}}},
    {"sand Q-z, Nq s", CurveKind::QZ, Loading::Static, 5.0, 2.0,
     {396.0, 24750.0, 0.0},
     {{{0.004, 99.0}, {0.01, 126.0}, {0.026, 198.0}, {0.05, 238.9655172413793}, {0.084, 297.0}, {0.12, 331.49032258064517}, {0.146, 356.40000000000003}, {0.2, 396.0}, {0.3, 396.0}, {0.4, 396.0}, {0.6, 396.0}}}},
    {"sand Q-z, q_lim", CurveKind::QZ, Loading::Static, 9.5, 0.5,
     {600.0, 150000.0, 0.0},
     {{{0.001, 150.0}, {0.0025, 190.9090909090909}, {0.0065, 300.0}, {0.0125, 362.0689655172414}, {0.021, 450.0}, {0.03, 502.2580645161291}, {0.0365, 540.0}, {0.05, 600.0}, {0.075, 600.0}, {0.1, 600.0}, {0.15, 600.0}}}},
};

constexpr double kRelative = 1.0e-12;

void expect_close(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, kRelative * std::fabs(expected)) << what;
}

families::Profile test_profile() { return families::profile_of(tools::read_csv(kProfile)); }

families::FamilyCurve curve_for(const families::Profile& profile, const WorkedCurve& c) {
  const std::optional<families::Station> at = families::station_at(profile, c.x, c.diameter);
  if (!at) throw std::runtime_error("no station");
  return families::curve_of(c.kind, *at, c.loading);
}

TEST(Families, WrittenPointsAndParametersAreTheWorkedOutOnes) {
  const families::Profile profile = test_profile();
  for (const WorkedCurve& c : kCases) {
    SCOPED_TRACE(c.name);
    const families::FamilyCurve curve = curve_for(profile, c);
    expect_close(curve.ultimate(), c.par[0], "PAR 1");
    expect_close(curve.initial_slope(), c.par[1], "PAR 2");
    expect_close(curve.tension_ultimate(), c.par[2], "PAR 3");
    const auto points = curve.points();
    const auto origin = static_cast<std::size_t>(families::kOriginPoint - 1);
    EXPECT_EQ(points[origin].displacement, 0.0);
    EXPECT_EQ(points[origin].stress, 0.0);
    for (std::size_t i = 0; i < c.positive.size(); ++i) {
      const std::string at = "positive point " + std::to_string(i + 1);
      const families::FamilyPoint& up = points[origin + 1 + i];
      const families::FamilyPoint& down = points[origin - 1 - i];
      expect_close(up.displacement, c.positive[i][0], at + " displacement");
      expect_close(up.stress, c.positive[i][1], at + " stress");
      // The mirror: P-y and T-z negated, Q-z without tension.
      EXPECT_EQ(down.displacement, -up.displacement) << at;
      EXPECT_EQ(down.stress, c.kind == CurveKind::QZ ? 0.0 : -up.stress) << at;
      // Between the written points, the check reads the family where the file's points are.
      expect_close(curve.stress_at(up.displacement), up.stress, at + " read back");
      expect_close(curve.stress_at(down.displacement), down.stress, at + " read back below");
    }
  }
}

TEST(Families, SandCoefficientsAtThirtyDegrees) {
  const families::SandCoefficients c = families::sand_coefficients(30.0);
  EXPECT_NEAR(c.C1, 1.912, 0.0005);
  EXPECT_NEAR(c.C2, 2.667, 0.0005);
  EXPECT_NEAR(c.C3, 28.745, 0.0005);
}

// At the published tables' points the written stress over the ultimate is the table's value.
struct TablePoint {
  std::size_t case_index;  // into kCases
  int positive_point;      // counted from 1 on the positive side
  double fraction;
};

const TablePoint kTablePoints[] = {
    {0, 1, 0.23}, {0, 2, 0.33}, {0, 3, 0.50}, {0, 5, 0.72}, {0, 7, 1.00}, {0, 11, 1.00},
    {1, 5, 0.72}, {3, 5, 0.72}, {3, 9, 0.72}, {3, 11, 0.72},
    {7, 1, 0.30}, {7, 2, 0.50}, {7, 3, 0.75}, {7, 4, 0.90}, {7, 5, 1.00}, {7, 7, 0.8},
    {7, 11, 0.8}, {8, 7, 0.9},
    {10, 4, 1.00}, {10, 11, 1.00},
    {12, 1, 0.25}, {12, 3, 0.50}, {12, 5, 0.75}, {12, 7, 0.90}, {12, 8, 1.00}, {12, 11, 1.00},
};

TEST(Families, StressOverUltimateIsTheTableAtItsPoints) {
  const families::Profile profile = test_profile();
  for (const TablePoint& t : kTablePoints) {
    const WorkedCurve& c = kCases[t.case_index];
    SCOPED_TRACE(std::string(c.name) + ", point " + std::to_string(t.positive_point));
    const families::FamilyCurve curve = curve_for(profile, c);
    const auto at = static_cast<std::size_t>(families::kOriginPoint - 1 + t.positive_point);
    expect_close(curve.points()[at].stress / curve.ultimate(), t.fraction, "stress / ultimate");
  }
}

}  // namespace

namespace {

// The table above is the script's output as it stands: worked out again, the numbers agree.
TEST(Families, TheWorkedOutTableIsTheScriptsOutput) {
  if (test_support::kOnWindows) GTEST_SKIP() << "Python runs in the Linux build";
  const test_support::ProgramRun worked = test_support::run_program(
      test_support::Launch({"python3", ZZ_SOURCE_DIR "/tests/families/expected_curves.py"}));
  if (!worked.exited || worked.exit_status != 0) {
    GTEST_SKIP() << "python3 did not run the script: " << worked.errors;
  }
  const std::string source =
      test_support::read_file(ZZ_SOURCE_DIR "/tests/families/curves_test.cpp");
  const std::string cases = worked.console.substr(worked.console.find('\n') + 1);
  EXPECT_NE(source.find(cases), std::string::npos) << "run expected_curves.py and paste:\n"
                                                   << cases;
}

}  // namespace
