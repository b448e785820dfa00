// The comparison of two soil files at its edges: infinities, the tolerance and which value it
// is taken of, fields without a value, and what only one file could read.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "convert/material_store.hpp"
#include "soil_compare.hpp"
#include "view_model.hpp"

namespace {

constexpr std::int32_t kId = 1500011;

// Two soil files compared as the viewer compares them: through their view models.
view::SoilComparison compare_soil_files(const soil::SoilFile& a, const soil::SoilFile& b,
                                        double tolerance) {
  return view::compare_soil_views(view::soil_view_model(a), view::soil_view_model(b), tolerance);
}

soil::Written written(const std::string& text) {
  if (text.starts_with("*")) return {std::numeric_limits<double>::quiet_NaN(), text};
  return {std::strtod(text.c_str(), nullptr), text};
}

// One spring of two points, the second (force, displacement) as given.
soil::SoilFile one_spring(const std::string& force, const std::string& displacement) {
  soil::SoilFile file;
  file.format = soil::TableFormat::Knf;
  soil::Material m;
  m.id = kId;
  m.kind = convert::kSpringCurveKind;
  m.keyword = "ELPLCURV";
  m.elastoplastic = true;
  m.points = {{written("0.0"), written("0.0")}, {written(force), written(displacement)}};
  file.materials.push_back(m);
  return file;
}

TEST(SoilCompare, ValuesAtTheEdges) {
  struct Case {
    std::string name;
    std::string a_force;
    std::string a_displacement;
    std::string b_force;
    std::string b_displacement;
    double tolerance;
    std::string difference;  // empty: equal
  };
  const std::vector<Case> cases{
      {"infinity against minus infinity", "Infinity", "1.0", "-Infinity", "1.0", 0.1,
       "point 2 force: Infinity vs -Infinity"},
      {"minus infinity against 1", "-Infinity", "1.0", "1.0", "1.0", 0.1,
       "point 2 force: -Infinity vs 1.0"},
      {"1 against infinity", "1.0", "1.0", "Infinity", "1.0", 0.5,
       "point 2 force: 1.0 vs Infinity"},
      {"infinity against itself, within a tolerance", "Infinity", "-Infinity", "Infinity",
       "-Infinity", 0.1, ""},
      {"infinity against itself, exactly", "Infinity", "1.0", "Infinity", "1.0", 0.0, ""},
      // 0.1 apart: within 0.095 of 1.1, the larger, but not of 1.0, the smaller.
      {"within the tolerance of the larger value", "1.0", "1.0", "1.1", "1.0", 0.095, ""},
      {"within the tolerance of the larger magnitude", "-1.1", "1.0", "-1.0", "1.0", 0.095, ""},
      {"beyond the tolerance of the larger value", "1.0", "1.0", "1.1", "1.0", 0.09,
       "point 2 force: 1.0 vs 1.1"},
      {"a difference in displacement only", "5.0", "0.01", "5.0", "0.02", 0.0,
       "point 2 displacement: 0.01 vs 0.02"},
      {"a displacement beyond the tolerance", "5.0", "0.01", "5.0", "0.02", 0.4,
       "point 2 displacement: 0.01 vs 0.02"},
      {"written otherwise, the same number", "1.0", "2.50000E-02", "1.00000E+00", "0.025", 0.0, ""},
      {"asterisks against a number", "***************", "1.0", "1.0", "1.0", 0.5,
       "point 2 force: *************** vs 1.0"},
      {"asterisks against the same asterisks", "1.0", "*****", "1.0", "*****", 0.0, ""},
      {"NaN against NaN", "NaN", "1.0", "NaN", "1.0", 0.1, ""},
      {"NaN against a number", "NaN", "1.0", "0.0", "1.0", 0.1, "point 2 force: NaN vs 0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const view::SoilComparison result =
        compare_soil_files(one_spring(c.a_force, c.a_displacement),
                                 one_spring(c.b_force, c.b_displacement), c.tolerance);
    const std::pair<std::int32_t, std::int32_t> key{kId, convert::kSpringCurveKind};
    if (c.difference.empty()) {
      EXPECT_TRUE(result.differences.empty()) << result.differences.front();
      EXPECT_TRUE(result.differing_points.empty());
      continue;
    }
    ASSERT_EQ(result.differences.size(), 1U);
    EXPECT_EQ(result.differences[0], "material 1500011 (ELPLCURV) " + c.difference);
    EXPECT_TRUE(result.differing_materials.contains(key));
    EXPECT_EQ(result.differing_points.at(key), std::set<std::size_t>{1});
  }
}

// What a file holds besides the values of its points.
TEST(SoilCompare, EveryFieldAndEveryUnreadableLine) {
  using Edit = std::function<void(soil::SoilFile&)>;
  const Edit none = [](soil::SoilFile&) {};
  const auto zero_field = [](const std::string& text) {
    return [text](soil::SoilFile& f) {
      f.materials[0].keyword = "MISOPL";
      f.materials[0].zero_fields = {{"field 4", written("0.00000000E+00")},
                                    {"line 2 field 1", written(text)}};
    };
  };
  const auto problem = [](int line, const std::string& what, const std::string& text) {
    return [=](soil::SoilFile& f) { f.problems.push_back({line, what, text}); };
  };
  const auto extra_point = [](soil::SoilFile& f) {
    f.materials[0].points.push_back({written("9.0"), written("0.5")});
  };
  struct Case {
    std::string name;
    Edit a;
    Edit b;
    std::vector<std::string> differences;
    std::set<std::size_t> points;
  };
  const std::string unreadable = "unreadable P-y material '9000x1' in columns 45-54";
  const std::string unreadable_y = "unreadable P-y material '9000y1' in columns 45-54";
  const std::vector<Case> cases{
      {"a field the record holds as 0", zero_field("0.00000000E+00"), zero_field("0.10000000E+01"),
       {"material 1500011 (MISOPL) line 2 field 1: 0.00000000E+00 vs 0.10000000E+01"}, {}},
      {"two unreadable identifiers that differ", problem(7, unreadable, "   9000x1"),
       problem(7, unreadable_y, "   9000y1"),
       {"unreadable 1: A line 7: " + unreadable + " vs B line 7: " + unreadable_y}, {}},
      {"two unknown lines that differ", problem(3, "unknown line", "abc"),
       problem(3, "unknown line", "abd"),
       {"unreadable 1: unknown line: A line 3 'abc' vs B line 3 'abd'"}, {}},
      {"the same unreadable line in both", problem(7, unreadable, "   9000x1"),
       problem(7, unreadable, "   9000x1"), {}, {}},
      {"an unreadable line in B only", none, problem(9, "unknown line", "?"),
       {"unreadable in B only: line 9: unknown line"}, {}},
      {"a point only in A", extra_point, none,
       {"material 1500011 (ELPLCURV) point count: 3 vs 2"}, {2}},
      {"the material only in B", [](soil::SoilFile& f) { f.materials.clear(); }, none,
       {"material 1500011 (ELPLCURV) only in B"}, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    soil::SoilFile a = one_spring("1.0", "1.0");
    soil::SoilFile b = a;
    c.a(a);
    c.b(b);
    const view::SoilComparison result = compare_soil_files(a, b, 0.0);
    EXPECT_EQ(result.differences, c.differences);
    const auto points = result.differing_points.find({kId, convert::kSpringCurveKind});
    EXPECT_EQ(points == result.differing_points.end() ? std::set<std::size_t>{} : points->second,
              c.points);
  }
}

// What the view model carries for the compare besides the spring points: the SOILCHAR line and
// the levels with their values and text, the layers' material identifiers, and the material
// table whole, kinds other than spring curves and materials no layer names included.
TEST(SoilCompare, BlocksLayersAndEveryMaterialKindThroughTheModel) {
  constexpr std::int32_t kSoil = 900001;
  constexpr std::int32_t kElasticId = 1500012;
  constexpr std::int32_t kUnnamed = 4500011;
  const auto model_file = [] {
    soil::SoilFile file = one_spring("1.0", "1.0");
    soil::Block block;
    block.soil_id = kSoil;
    block.type = 1;
    block.mudline = written("-10.0");
    block.diameter = written("1.5");
    block.force_factor = written("1.0");
    block.length_factor = written("1.0");
    block.layers.push_back({0, written("0.0"), written("-5.0"), {kId, kElasticId, kId}});
    file.blocks.push_back(block);
    soil::Material elastic;
    elastic.id = kElasticId;
    elastic.kind = convert::kElasticKind;
    elastic.keyword = "Elastic";
    elastic.values = {written("1.0"), written("0.3"), written("2.0")};
    file.materials.push_back(elastic);
    return file;
  };
  using Edit = std::function<void(soil::SoilFile&)>;
  const Edit none = [](soil::SoilFile&) {};
  const auto mudline = [](const std::string& text) {
    return [text](soil::SoilFile& f) { f.blocks[0].mudline = written(text); };
  };
  const auto force_factor = [](const std::string& text) {
    return [text](soil::SoilFile& f) { f.blocks[0].force_factor = written(text); };
  };
  const auto bottom = [](const std::string& text) {
    return [text](soil::SoilFile& f) { f.blocks[0].layers[0].bottom = written(text); };
  };
  struct Case {
    std::string name;
    Edit a;
    Edit b;
    double tolerance;
    std::vector<std::string> differences;
    int matched_layers = 1;
  };
  const std::vector<Case> cases{
      {"the same files", none, none, 0.0, {}},
      {"a mudline written otherwise, the same number", mudline("-1.00000E+01"), none, 0.0, {}},
      {"a mudline that differs", none, mudline("-11.0"), 0.0,
       {"SOILCHAR 900001 mudline level: -10.0 vs -11.0"}},
      {"a force factor within the tolerance", none, force_factor("1.05"), 0.1, {}},
      {"a mudline of asterisks", none, mudline("**********"), 0.5,
       {"SOILCHAR 900001 mudline level: -10.0 vs **********"}},
      {"a layer level within the tolerance", none, bottom("-5.2"), 0.05, {}},
      {"a layer level beyond the tolerance", bottom("-5.2"), none, 0.01,
       {"SOILCHAR 900001 layer 1 bottom level: -5.2 vs -5.0"}},
      {"a layer's material that cannot be read", none,
       [](soil::SoilFile& f) {
         f.blocks[0].layers[0].materials[2] = soil::kUnreadableIdentifier;
       },
       0.0, {"SOILCHAR 900001 layer 1 Q-z material: 1500011 vs (unreadable)"}},
      {"a value of a material that is no spring curve", none,
       [](soil::SoilFile& f) { f.materials[1].values[2] = written("3.0"); }, 0.0,
       {"material 1500012 (Elastic) value 3: 2.0 vs 3.0"}},
      {"a spring curve no layer names, only in B", none,
       [](soil::SoilFile& f) {
         f.materials.push_back(f.materials[0]);
         f.materials.back().id = kUnnamed;
       },
       0.0, {"material 4500011 (ELPLCURV) only in B"}},
      {"the block only in A", none, [](soil::SoilFile& f) { f.blocks.clear(); }, 0.0,
       {"SOILCHAR 900001 only in A"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    soil::SoilFile a = model_file();
    soil::SoilFile b = a;
    c.a(a);
    c.b(b);
    const view::SoilComparison result =
        view::compare_soil_views(view::soil_view_model(a), view::soil_view_model(b), c.tolerance);
    EXPECT_EQ(result.differences, c.differences);
    EXPECT_EQ(result.matched_layers, c.matched_layers);
    EXPECT_EQ(result.matched_materials, 2) << "the spring curve and the Elastic material";
  }
}

}  // namespace
