// The reader on files the converter's own writers produce: every material kind read back with
// its values, and each kind of damage reported at its line rather than passed over.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "convert/material_table.hpp"
#include "convert/output_capture.hpp"
#include "convert/soil_records.hpp"
#include "soil_file/soil_file.hpp"

namespace {

using convert_test::add_material;
using convert_test::empty_store;
using convert_test::OutputCapture;

std::string text_of(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// One SOILCHAR block of one layer and the material table, in the given format.
std::vector<std::string> written_file(std::int32_t output_format) {
  static zadaza::LayerReals zbot;
  zbot(1) = 5.0;
  convert::ConversionSettings settings;
  settings.MUDLINE_Z = -2.0;
  settings.COORD_FACTOR = 1.0;
  settings.FORCE_SCALE = 1.0;
  settings.LENGTH_SCALE = 1.0;
  const OutputCapture capture;
  const std::vector<std::int32_t> ids{1500011, 1500012, 1500013};
  convert::G2K_WSOI(1500, 1.5, settings, zbot, ids, 1, convert_test::kOutputUnit);
  std::int32_t error = 0;
  convert::G2K_WMAT(convert_test::workspace(), output_format, convert_test::kOutputUnit, error);
  EXPECT_EQ(error, 0);
  return capture.lines();
}

void store_three_curves() {
  convert::MaterialStore& store = empty_store();
  add_material(store, convert::kSpringCurveKind, 1500011, {4, 0, 0, 0, 0, 0, 0, 2, -250, -0.01, 250, 0.01});
  add_material(store, convert::kSpringCurveKind, 1500012, {4, 0, 0, 0, 0, 0, 0, 1, 12.5, 0.002});
  add_material(store, convert::kSpringCurveKind, 1500013, {2, 0, 0, 0, 0, 0, 0, 2, 0, 0, 900, 0.12});
}

TEST(SoilFileReader, ReadsEveryKnfKindWithItsValues) {
  struct Case {
    std::int32_t kind;
    std::vector<double> reals;  // RMAT(1..)
    std::string keyword;
    std::vector<double> values;  // as read back
  };
  std::vector<double> full(36, 0.0);
  full[0] = 1.0e5;
  full[1] = 2.5;
  full[35] = 6.0e6;
  std::vector<double> diagonal(36, 0.0);
  diagonal[0] = 1.0e5;
  diagonal[7] = 2.0e5;
  diagonal[35] = 6.0e6;
  const std::vector<Case> cases{
      {convert::kElasticKind, {2.1e11, 0.3, 0, 7850, 1.2e-5}, "Elastic", {2.1e11, 0.3, 0, 7850, 1.2e-5}},
      {convert::kMisoiepKind, {2.1e11, 0.3, 3.55e8, 7850, 1.2e-5}, "MISOIEP", {2.1e11, 0.3, 3.55e8, 7850, 1.2e-5}},
      {convert::kSpringMatrixKind, full, "SPRIFULL", full},
      {convert::kSpringMatrixKind, diagonal, "SPRIDIAG", diagonal},
      // References are store positions, written as the identifiers found there.
      {convert::kSpringReferenceKind, {1, 2, 0, 0, -3, 0}, "MREF", {1, 2, 0, 0, -3, 0}},
      {convert::kCompsKind, {1, 2, 3, 4, 5, 6, 7}, "CompS", {1, 2, 3, 4, 5, 6, 7}},
      {convert::kBearingKind, {1, 1e5, 2e5, 3e5, 4e6, 5e6, 6e6}, "Bearing", {1e5, 2e5, 3e5, 4e6, 5e6, 6e6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyword);
    convert::MaterialStore& store = empty_store();
    for (const std::int32_t id : {1, 2}) {
      const std::int32_t m = add_material(store, c.kind, id);
      for (std::size_t i = 0; i < c.reals.size(); ++i) store.RMAT(static_cast<int>(i) + 1, m) = c.reals[i];
    }
    const soil::SoilFile file = soil::read_soil_file(text_of(written_file(convert::kKnfFormat)));
    ASSERT_TRUE(file.problems.empty()) << file.problems.front().what;
    EXPECT_EQ(file.format, soil::TableFormat::Knf);
    ASSERT_EQ(file.materials.size(), 2U);
    const soil::Material& m = file.materials[1];
    EXPECT_EQ(m.id, 2);
    EXPECT_EQ(m.kind, c.kind);
    EXPECT_EQ(m.keyword, c.keyword);
    ASSERT_EQ(m.values.size(), c.values.size());
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_DOUBLE_EQ(m.values[i].value, c.values[i]) << "value " << i + 1;
    }
  }
}

TEST(SoilFileReader, ReadsTheBlockAndItsLayers) {
  store_three_curves();
  for (const std::int32_t output_format : {convert::kSesamFormat, convert::kKnfFormat}) {
    const soil::SoilFile file = soil::read_soil_file(text_of(written_file(output_format)));
    ASSERT_EQ(file.blocks.size(), 1U);
    const soil::Block& block = file.blocks[0];
    EXPECT_EQ(block.soil_id, 1500);
    EXPECT_EQ(block.mudline.value, -2.0);
    EXPECT_EQ(block.diameter.value, 1.5);
    ASSERT_EQ(block.layers.size(), 1U);
    EXPECT_EQ(block.layers[0].bottom.value, 3.0);
    EXPECT_EQ(block.layers[0].materials[2], 1500013);
    ASSERT_EQ(file.materials.size(), 3U);
    EXPECT_EQ(file.materials[0].points[1].force.text,
              output_format == convert::kKnfFormat ? "2.50000E+02" : "0.25000000E+03");
    EXPECT_FALSE(file.materials[2].elastoplastic);
  }
}

// The number of the first line that starts with `start`, from 1.
int line_starting(const std::vector<std::string>& lines, std::string_view start, int nth = 1) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].starts_with(start) && --nth == 0) return static_cast<int>(i) + 1;
  }
  ADD_FAILURE() << "no line starts with '" << start << "'";
  return 1;
}

TEST(SoilFileReader, ReportsDamageAtItsLine) {
  struct Case {
    std::string name;
    std::int32_t format;
    // Damages the file; returns the line the problem must name.
    std::function<int(std::vector<std::string>&)> damage;
    std::string said;
  };
  const std::vector<Case> cases{
      {"asterisks in a force", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, " ELPLCURV") + 1;
         l[n - 1].replace(26, 14, std::string(14, '*'));
         return n;
       },
       "asterisks in columns 26-40"},
      {"asterisks in a level", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, " SOILCHAR") + 3;
         l[n - 1].replace(32, 12, std::string(12, '*'));
         return n;
       },
       "asterisks in columns 33-44 (bottom level)"},
      {"unknown line", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, " HYPELAST");
         l.insert(l.begin() + n - 1, "MATERIAL 1 Elastic");
         return n;
       },
       "unknown line"},
      {"pair line cut short", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, " ELPLCURV") + 2;
         l[n - 1].resize(l[n - 1].size() - 3);
         return n;
       },
       "short record"},
      {"SESAM record missing a pair", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, "MISOPL") + 4;
         l.erase(l.begin() + n - 1);
         return n;
       },
       "short record"},
      {"number shifted in its field", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, " ELPLCURV");
         l[n - 1] = l[n - 1].substr(1) + " ";
         return n;
       },
       "unknown line"},
      {"empty line alone", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         l.emplace_back();
         return static_cast<int>(l.size());
       },
       "empty line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store_three_curves();
    std::vector<std::string> lines = written_file(c.format);
    const int line = c.damage(lines);
    const soil::SoilFile file = soil::read_soil_file(text_of(lines));
    ASSERT_FALSE(file.problems.empty());
    EXPECT_EQ(file.problems[0].line, line) << file.problems[0].what;
    EXPECT_NE(file.problems[0].what.find(c.said), std::string::npos) << file.problems[0].what;
  }
}

TEST(SoilFileReader, TakesHeadingsWhoseTrailingBlanksAnEditorRemoved) {
  store_three_curves();
  std::vector<std::string> lines = written_file(convert::kKnfFormat);
  for (std::string& line : lines) {
    if (line.starts_with("'")) line.erase(line.find_last_not_of(' ') + 1);
  }
  const soil::SoilFile file = soil::read_soil_file(text_of(lines));
  EXPECT_TRUE(file.problems.empty()) << file.problems.front().what;
  EXPECT_EQ(file.blocks.at(0).layers.size(), 1U);
  EXPECT_EQ(file.materials.size(), 3U);
}

TEST(SoilFileReader, KeepsBannersAndTheMissingMaterialsWarning) {
  convert::MaterialStore& store = empty_store();
  add_material(store, convert::kSpringCurveKind, 0, {4, 0, 0, 0, 0, 0, 0, 0});
  add_material(store, 7, 9);
  const OutputCapture capture;
  std::int32_t error = 0;
  convert::G2K_WMAT(convert_test::workspace(), convert::kKnfFormat, convert_test::kOutputUnit, error);
  const soil::SoilFile file = soil::read_soil_file(text_of(capture.lines()));
  EXPECT_TRUE(file.problems.empty()) << file.problems.front().what;
  ASSERT_EQ(file.banners.size(), 3U);
  EXPECT_EQ(file.banners[0].text, "WARNING from KWRMAT: Materials missing !");
  EXPECT_EQ(file.banners[2].text, "*** ERROR IN G2K_WMAT ***");
}

TEST(SoilFileReader, TellsTextFromABinaryZadazaFile) {
  EXPECT_TRUE(soil::looks_like_soil_file("'\r\n' Soil_ID \xc3\xa9\r\n"));
  EXPECT_FALSE(soil::looks_like_soil_file(std::string("\x81\x01\0\0", 4)));
  EXPECT_FALSE(soil::looks_like_soil_file(""));
}

}  // namespace
