// Reading a profile: what is refused and where it says the fault is; the layers it is cut
// into; the stress and strength at a depth.
#include "families/profile.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/csv.hpp"
#include "families/layers.hpp"

namespace {

constexpr const char* kHeader =
    "top,bottom,soil,unit_weight,su_top,su_bottom,eps50,J,t_res,phi,k,beta,f_lim,Nq,q_lim\n";
constexpr const char* kClay = "0,4,clay,6,10,30,0.02,0.5,0.8,,,,,,\n";
constexpr const char* kSand = "4,10,sand,9,,,,,,33,16000,0.29,15,12,600\n";

families::Profile read(const std::string& text) {
  return families::profile_of(tools::read_csv(text));
}

struct Refusal {
  const char* why;
  std::string table;
  const char* names;  // the start of the message: the row and the column
};

const Refusal kRefusals[] = {
    {"first unit below the mudline", std::string(kHeader) + "1,4,clay,6,10,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column top"},
    {"a gap between units",
     std::string(kHeader) + kClay + "5,10,sand,9,,,,,,33,16000,0.29,15,12,600\n",
     "row 3, column top"},
    {"bottom above top", std::string(kHeader) + "0,0,clay,6,10,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column bottom"},
    {"unknown soil", std::string(kHeader) + "0,4,silt,6,10,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column soil"},
    {"clay without its strength", std::string(kHeader) + "0,4,clay,6,,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column su_top"},
    {"sand without k", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,33,,0.29,15,12,600\n",
     "row 3, column k"},
    {"a column the soil needs is missing",
     "top,bottom,soil,unit_weight,phi,k,beta,f_lim,Nq\n0,4,sand,9,33,16000,0.29,15,12\n",
     "row 2, column q_lim"},
    {"text for a number", std::string(kHeader) + "0,4,clay,6,10,30,0.02,half,0.8,,,,,,\n",
     "row 2, column J"},
    {"number with a unit after it",
     std::string(kHeader) + "0,4,clay,6 kN,10,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column unit_weight"},
    {"not a finite number", std::string(kHeader) + "0,4,clay,6,inf,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column su_top"},
    {"unit weight 0", std::string(kHeader) + "0,4,clay,0,10,30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column unit_weight"},
    {"strength below 0", std::string(kHeader) + "0,4,clay,6,10,-30,0.02,0.5,0.8,,,,,,\n",
     "row 2, column su_bottom"},
    {"eps50 of 0", std::string(kHeader) + "0,4,clay,6,10,30,0,0.5,0.8,,,,,,\n",
     "row 2, column eps50"},
    {"eps50 above 0.1", std::string(kHeader) + "0,4,clay,6,10,30,0.11,0.5,0.8,,,,,,\n",
     "row 2, column eps50"},
    {"J below 0", std::string(kHeader) + "0,4,clay,6,10,30,0.02,-0.1,0.8,,,,,,\n",
     "row 2, column J"},
    {"t_res below 0.7", std::string(kHeader) + "0,4,clay,6,10,30,0.02,0.5,0.69,,,,,,\n",
     "row 2, column t_res"},
    {"t_res above 1", std::string(kHeader) + "0,4,clay,6,10,30,0.02,0.5,1.01,,,,,,\n",
     "row 2, column t_res"},
    {"phi below 20", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,19.9,16000,0.29,15,12,600\n",
     "row 3, column phi"},
    {"phi above 45", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,45.5,16000,0.29,15,12,600\n",
     "row 3, column phi"},
    {"stiffness 0", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,33,0,0.29,15,12,600\n",
     "row 3, column k"},
    {"beta 0", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,33,16000,0,15,12,600\n",
     "row 3, column beta"},
    {"limit below 0", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,33,16000,0.29,-15,12,600\n",
     "row 3, column f_lim"},
    {"Nq 0", std::string(kHeader) + kClay + "4,10,sand,9,,,,,,33,16000,0.29,15,0,600\n",
     "row 3, column Nq"},
    {"end bearing limit 0",
     std::string(kHeader) + kClay + "4,10,sand,9,,,,,,33,16000,0.29,15,12,0\n",
     "row 3, column q_lim"},
};

TEST(Profile, RefusesNamingRowAndColumn) {
  for (const Refusal& r : kRefusals) {
    SCOPED_TRACE(r.why);
    try {
      read(r.table);
      ADD_FAILURE() << "read";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(r.names, 0), 0U) << e.what();
    }
  }
}

TEST(Profile, BoundsAreAllowed) {
  const families::Profile p = read(std::string(kHeader) + "0,4,clay,6,10,30,0.1,0,0.7,,,,,,\n" +
                                   "4,10,sand,9,,,,,,20,16000,0.29,15,12,600\n" +
                                   "10,12,sand,9,,,,,,45,16000,0.29,15,12,600\n" +
                                   "12,13,clay,6,10,30,0.02,0.5,1.0,,,,,,\n");
  ASSERT_EQ(p.units.size(), 4U);
  EXPECT_EQ(p.units[2].row, 4);
  EXPECT_EQ(p.bottom(), 13.0);
}

struct StressCase {
  double x;
  double s;   // sum of unit weight times thickness above x
  double su;  // linear within the clay unit
  families::Soil soil;
};

TEST(Profile, StressAndStrengthAtDepth) {
  const families::Profile p = read(std::string(kHeader) + kClay + kSand);
  const StressCase kCases[] = {
      {1.0, 6.0, 15.0, families::Soil::Clay},
      {4.0, 24.0, 30.0, families::Soil::Clay},
      {5.0, 24.0 + 9.0, 0.0, families::Soil::Sand},
      {10.0, 24.0 + 54.0, 0.0, families::Soil::Sand},
  };
  for (const StressCase& c : kCases) {
    SCOPED_TRACE(c.x);
    const families::SoilAt at = families::soil_at(p, c.x);
    ASSERT_NE(at.unit, nullptr);
    EXPECT_DOUBLE_EQ(at.s, c.s);
    EXPECT_DOUBLE_EQ(at.su, c.su);
    EXPECT_EQ(at.unit->soil, c.soil);
  }
  EXPECT_EQ(families::soil_at(p, 10.5).unit, nullptr);
  EXPECT_EQ(families::soil_at(p, -0.5).unit, nullptr);
}

struct CutCase {
  const char* why;
  std::vector<double> thicknesses;
  double spacing;
  std::vector<int> layers_per_unit;
};

std::string profile_of_thicknesses(const std::vector<double>& thicknesses) {
  std::string text = kHeader;
  double top = 0.0;
  for (const double t : thicknesses) {
    text +=
        std::to_string(top) + "," + std::to_string(top + t) + ",clay,6,10,30,0.02,0.5,0.8,,,,,,\n";
    top += t;
  }
  return text;
}

TEST(Layers, FewestEqualLayersNoThickerThanTheSpacing) {
  const CutCase kCases[] = {
      {"whole spacings", {4.0, 6.0}, 1.0, {4, 6}},
      {"a part spacing takes one more", {4.5, 0.25}, 1.0, {5, 1}},
      {"decimal spacing", {3.0, 0.6}, 0.1, {30, 6}},
      {"thick spacing", {4.0}, 10.0, {1}},
      {"exactly the limit", {40.0, 40.0}, 1.0, {40, 40}},
  };
  for (const CutCase& c : kCases) {
    SCOPED_TRACE(c.why);
    const families::Profile p = read(profile_of_thicknesses(c.thicknesses));
    const std::vector<families::LayerCut> cuts = families::cut_layers(p, c.spacing);
    std::size_t at = 0;
    for (std::size_t u = 0; u < p.units.size(); ++u) {
      const families::SoilUnit& unit = p.units[u];
      const int n = c.layers_per_unit[u];
      ASSERT_LE(at + static_cast<std::size_t>(n), cuts.size());
      EXPECT_EQ(cuts[at].top, unit.top);
      EXPECT_EQ(cuts[at + static_cast<std::size_t>(n) - 1].bottom, unit.bottom);
      for (int i = 0; i < n; ++i) {
        const families::LayerCut& cut = cuts[at + static_cast<std::size_t>(i)];
        EXPECT_NEAR(cut.bottom - cut.top, (unit.bottom - unit.top) / n, 1e-12);
        EXPECT_LE(cut.bottom - cut.top, c.spacing + 1e-12);
        EXPECT_DOUBLE_EQ(cut.mid(), (cut.top + cut.bottom) / 2.0);
      }
      at += static_cast<std::size_t>(n);
    }
    EXPECT_EQ(at, cuts.size());
  }
}

TEST(Layers, MoreThanTheConverterReadsIsRefusedWithAHint) {
  const families::Profile p = read(profile_of_thicknesses({40.0, 40.5}));
  try {
    families::cut_layers(p, 1.0);
    ADD_FAILURE() << "cut";
  } catch (const families::ProfileError& e) {
    EXPECT_NE(std::string(e.what()).find(std::to_string(families::kMaxLayers)), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("--spacing"), std::string::npos) << e.what();
  }
  EXPECT_EQ(families::cut_layers(p, 2.0).size(), 41U);
}

}  // namespace
