// The table of a soil file against the table of the ZADAZA file it was converted from: the
// rows the soil file keeps, in their order, each value as the soil file's format rounds it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "runs.hpp"
#include "table_reader.hpp"

namespace view_test {
namespace {

struct Conversion {
  std::string name;
  std::string make_arguments;
  std::string viewer_settings;  // the converter's answers below, as the viewer takes them
  bool old_generation;
  std::int32_t id_offset;
  std::string mudline;
  std::string orientation;
};

struct Format {
  std::string extension;
  int answer;              // the converter's output format
  double relative_digits;  // half a unit in the last significant digit written
};

// SESAM writes 8 significant digits (E16.8), KNF 6 (1PE15.5); levels 2 decimals, diameters 3.
const Format kFormats[] = {{"fem", 1, 5.0001e-8}, {"knf", 2, 5.0001e-6}};
constexpr double kLevelRounding = 0.005 + 1e-9;
constexpr double kDiameterRounding = 0.0005 + 1e-12;

struct Tables {
  std::string name;
  Format format;
  std::string zadaza_csv;
  std::string soil_csv;
  std::string soil_json;
};

// Each conversion in both formats, with the viewer's tables of the ZADAZA and the soil file.
const std::vector<Tables>& converted() {
  static const TempDir folder;
  static const std::vector<Tables> tables = [] {
    const Conversion conversions[] = {
        {"Example", shell_quoted(ZZ_SOURCE_DIR "/examples/soil.txt"), "--mudline -20", false, 0,
         "-20", "NEG"},
        {"OldWithOffset", "--synthetic --old --layers 5 --diameters 4 --in-use 2 --dsp 1 --seed 3",
         "--old --offset 25 --mudline 3 --orientation pos", true, 25, "3", "POS"},
    };
    std::vector<Tables> made;
    for (const Conversion& c : conversions) {
      make_zadaza(folder, c.make_arguments + " " + c.name + ".zdz");
      const Outcome zadaza = run(folder, shell_quoted(kViewer) + " " + c.viewer_settings +
                                             " --table " + c.name + ".csv " + c.name + ".zdz");
      EXPECT_EQ(zadaza.status, 0) << zadaza.err;
      for (const Format& f : kFormats) {
        const std::string soil = c.name + "." + f.extension;
        const Outcome conversion =
            run(folder, shell_quoted(kConverter),
                conversion_answers(c.name + ".zdz", soil, c.old_generation, c.id_offset, f.answer,
                                   c.mudline, c.orientation));
        EXPECT_EQ(conversion.status, 0) << conversion.err;
        const Outcome viewed = run(folder, shell_quoted(kViewer) + " --table " + soil +
                                               ".csv --json " + soil + ".json " + soil);
        EXPECT_EQ(viewed.status, 0) << viewed.err;
        EXPECT_FALSE(fs::exists(folder / (soil + ".html")));
        made.push_back({soil, f, read_file(folder / (c.name + ".csv")),
                        read_file(folder / (soil + ".csv")), read_file(folder / (soil + ".json"))});
      }
    }
    return made;
  }();
  return tables;
}

void expect_within(const TableRow& soil, const TableRow& zadaza, const std::string& column,
                   double absolute, double relative) {
  const double written = real(soil.at(column));
  const double value = real(zadaza.at(column));
  EXPECT_LE(std::fabs(written - value), absolute + relative * std::fabs(value))
      << column << ": " << soil.at(column) << " for " << zadaza.at(column);
}

TEST(SoilTable, HoldsTheZadazaTablesKeptRowsAsWritten) {
  for (const Tables& t : converted()) {
    SCOPED_TRACE(t.name);
    std::vector<TableRow> kept;
    for (const TableRow& row : table_rows(t.zadaza_csv)) {
      if (row.at("kept") == "1") kept.push_back(row);
    }
    const std::vector<TableRow> soil = table_rows(t.soil_csv);
    ASSERT_FALSE(kept.empty());
    ASSERT_EQ(soil.size(), kept.size());
    std::map<std::string, int> points;  // by material
    for (std::size_t i = 0; i < soil.size(); ++i) {
      const TableRow& s = soil[i];
      SCOPED_TRACE("row " + std::to_string(i + 2));
      for (const char* same : {"soil_id", "layer", "curve", "material_id", "kept"}) {
        EXPECT_EQ(s.at(same), kept[i].at(same)) << same;
      }
      EXPECT_EQ(s.at("point"), std::to_string(++points[s.at("material_id")]));
      EXPECT_EQ(s.at("z_bottom") + s.at("stress"), "");
      expect_within(s, kept[i], "diameter", kDiameterRounding, 0.0);
      expect_within(s, kept[i], "level_top", kLevelRounding, 0.0);
      expect_within(s, kept[i], "level_bottom", kLevelRounding, 0.0);
      expect_within(s, kept[i], "displacement", 0.0, t.format.relative_digits);
      expect_within(s, kept[i], "force", 0.0, t.format.relative_digits);
    }
  }
}

TEST(SoilTable, JsonHoldsTheCsvRows) {
  const TempDir folder;
  for (const Tables& t : converted()) {
    SCOPED_TRACE(t.name);
    expect_json_holds_csv_rows(folder.dir(), t.soil_csv, t.soil_json,
                               {"soil_file", "format", "soilchar_blocks", "materials"});
  }
}

}  // namespace
}  // namespace view_test
