// The reader on files the converter's own writers produce: every material kind read back with
// its values, and each kind of damage reported at its line rather than passed over.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "convert/material_store.hpp"
#include "convert/material_table.hpp"
#include "convert/output_capture.hpp"
#include "convert/record_layouts.hpp"
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

// The title line of a heading layout, as the writers write it.
template <class L>
std::string heading_title_of(const L&) {
  const typename L::Values none{};
  std::string text(L::size(none), ' ');
  L::render(none, text.data());
  const std::size_t first_end = text.find("\r\n");
  return text.substr(first_end + 2, text.size() - first_end - 4);
}

// The line holding exactly `text`, numbered from 1.
int line_holding(const std::vector<std::string>& lines, const std::string& text) {
  const auto found = std::find(lines.begin(), lines.end(), text);
  if (found == lines.end()) ADD_FAILURE() << "no line '" << text << "'";
  return static_cast<int>(found - lines.begin()) + 1;
}

// Puts `text` into the line's columns of field `k` of `shape`; returns the line's number.
int put_in_field(std::vector<std::string>& lines, int n, const format::LineShape& shape,
                 std::size_t k, const std::string& text) {
  const format::FieldPlace& place = shape.field[k];
  const std::string field = std::string(place.width - text.size(), ' ') + text;
  lines[static_cast<std::size_t>(n - 1)].replace(place.column, place.width, field);
  return n;
}

constexpr format::LineShape kMisoplLine1 = format::line_shape(convert::kMisoplLine1);
constexpr format::LineShape kMisoplLine2 = format::line_shape(convert::kMisoplLine2);
constexpr format::LineShape kMisoplCount = format::line_shape(convert::kMisoplCount);
constexpr format::LineShape kLayerLine = format::line_shape(convert::kLayerLine);

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
      {"SESAM identifier with a fraction", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL", 2), kMisoplLine1, 1, "0.90001149E+06");
       },
       "identifier '0.90001149E+06' in columns 9-24 is not a whole number"},
      {"SESAM identifier beyond 8 digits", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL", 3), kMisoplLine1, 1, "0.90001100E+16");
       },
       "identifier '0.90001100E+16' in columns 9-24 has more than 8 digits"},
      {"SESAM identifier of an infinity", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL"), kMisoplLine1, 1, "Infinity");
       },
       "identifier 'Infinity' in columns 9-24 has more than 8 digits"},
      {"unreadable material of a layer", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, " SOILCHAR") + 3, kLayerLine, 2, "9000x1");
       },
       "unreadable P-y material '9000x1' in columns 45-54"},
      {"unreadable identifier of a KNF record", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, " HYPELAST");
         l[static_cast<std::size_t>(n - 1)].replace(10, 9, "  9000y13");
         return n;
       },
       "unreadable identifier '9000y13' in columns 11-19"},
      {"text in the last field of a MISOPL record's line 1", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL", 2), kMisoplLine1, 4, "garbage");
       },
       "unreadable field 5 'garbage' in columns 57-72"},
      {"a number in a field of line 1 the record holds as 0", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL"), kMisoplLine1, 3, "0.10000000E+01");
       },
       "field 4 '0.10000000E+01' in columns 41-56: the record holds 0 there"},
      {"text on a MISOPL record's line 2", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL") + 1, kMisoplLine2, 0, "garbage");
       },
       "unreadable line 2 field 1 'garbage' in columns 9-24"},
      {"a number on a MISOPL record's line 2", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         const int n = line_starting(l, "MISOPL", 3) + 1;
         return put_in_field(l, n, kMisoplLine2, 3, "-0.25000000E+00");
       },
       "line 2 field 4 '-0.25000000E+00' in columns 57-72: the record holds 0 there"},
      {"a negative point count", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         return put_in_field(l, line_starting(l, "MISOPL") + 2, kMisoplCount, 0, "-1");
       },
       "a point count of -1"},
      {"a KNF record under another kind's heading", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         const int title = line_holding(l, heading_title_of(convert::kSpringCurveHeading));
         l[static_cast<std::size_t>(title - 1)] = heading_title_of(convert::kElasticHeading);
         return title + 1;
       },
       "ELPLCURV record outside the kind block that holds its kind"},
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

// Sets RMAT(1..) of material m.
void set_reals(convert::MaterialStore& store, std::int32_t m, const std::vector<double>& reals) {
  for (std::size_t i = 0; i < reals.size(); ++i) store.RMAT(static_cast<int>(i) + 1, m) = reals[i];
}

// An identifier that cannot be read names nothing: not 0, and no material whose own
// identifier cannot be read either.
TEST(SoilFileReader, AnUnreadableIdentifierNamesNothing) {
  const auto first_layer_py = [](const soil::SoilFile& f) {
    return f.blocks.at(0).layers.at(0).materials[0];
  };
  const auto first_material = [](const soil::SoilFile& f) { return f.materials.at(0).id; };
  struct Case {
    std::string name;
    std::int32_t format;
    std::function<void(std::vector<std::string>&)> damage;
    std::function<std::int32_t(const soil::SoilFile&)> identifier;
  };
  const std::vector<Case> cases{
      {"a layer's material", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         put_in_field(l, line_starting(l, " SOILCHAR") + 3, kLayerLine, 2, "9000x1");
       },
       first_layer_py},
      {"a soil identifier", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         l[static_cast<std::size_t>(line_starting(l, " SOILCHAR") - 1)].replace(11, 7, "  15x0 ");
       },
       [](const soil::SoilFile& f) { return f.blocks.at(0).soil_id; }},
      {"a KNF record's identifier", convert::kKnfFormat,
       [](std::vector<std::string>& l) {
         l[static_cast<std::size_t>(line_starting(l, " ELPLCURV") - 1)].replace(10, 9, "       0.");
       },
       first_material},
      {"a SESAM identifier with a fraction", convert::kSesamFormat,
       [](std::vector<std::string>& l) {
         put_in_field(l, line_starting(l, "MISOPL"), kMisoplLine1, 1, "0.15000115E+07");
       },
       first_material},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store_three_curves();
    std::vector<std::string> lines = written_file(c.format);
    c.damage(lines);
    const soil::SoilFile file = soil::read_soil_file(text_of(lines));
    EXPECT_EQ(c.identifier(file), soil::kUnreadableIdentifier);
    EXPECT_EQ(soil::identifier_text(c.identifier(file)), "(unreadable)");
    EXPECT_FALSE(file.problems.empty());
  }
  // A layer's P-y material and the material it names, both unreadable: no spring is drawn.
  store_three_curves();
  std::vector<std::string> lines = written_file(convert::kKnfFormat);
  cases[0].damage(lines);
  cases[2].damage(lines);
  const soil::SoilFile file = soil::read_soil_file(text_of(lines));
  EXPECT_EQ(first_material(file), soil::kUnreadableIdentifier);
  EXPECT_EQ(soil::find_spring_curve(file, first_layer_py(file)), nullptr);
}

// The lines of both formats' files with every material kind: what the one-character tests cut.
std::vector<std::vector<std::string>> files_of_every_record() {
  std::vector<std::vector<std::string>> files;
  for (const std::int32_t output_format : {convert::kSesamFormat, convert::kKnfFormat}) {
    store_three_curves();
    convert::MaterialStore& store = convert_test::workspace().MATERIAL_STORE;
    if (output_format == convert::kKnfFormat) {
      add_material(store, convert::kElasticKind, 1, {2.1e11, 0.3, 0, 7850, 1.2e-5});
      add_material(store, convert::kMisoiepKind, 2, {2.1e11, 0.3, 3.55e8, 7850, 1.2e-5});
      const std::int32_t matrix = add_material(store, convert::kSpringMatrixKind, 3);
      set_reals(store, matrix, std::vector<double>(36, 1.0));
      add_material(store, convert::kSpringMatrixKind, 4, {1e5});
      add_material(store, convert::kSpringReferenceKind, 5, {1, 2, 0, 0, -3, 0});
      add_material(store, convert::kCompsKind, 6, {1, 2, 3, 4, 5, 6, 7});
      add_material(store, convert::kBearingKind, 7, {1, 1e5, 2e5, 3e5, 4e6, 5e6, 6e6});
    }
    files.push_back(written_file(output_format));
  }
  return files;
}

// A record line losing its last character loses the end of its last field: a problem at the
// line, whichever record and line it is.
TEST(SoilFileReader, ALineOneCharacterShortIsAProblemAtIt) {
  std::size_t cut = 0;
  for (const std::vector<std::string>& lines : files_of_every_record()) {
    const soil::SoilFile whole = soil::read_soil_file(text_of(lines));
    ASSERT_TRUE(whole.problems.empty()) << whole.problems.front().what;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty() || lines[i].starts_with("'") || lines[i].starts_with("  ***")) continue;
      SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + lines[i]);
      std::vector<std::string> damaged = lines;
      damaged[i].pop_back();
      const soil::SoilFile file = soil::read_soil_file(text_of(damaged));
      ASSERT_FALSE(file.problems.empty());
      EXPECT_EQ(file.problems[0].line, static_cast<int>(i) + 1) << file.problems[0].what;
      EXPECT_NE(file.problems[0].what.find("short record"), std::string::npos)
          << file.problems[0].what;
      ++cut;
    }
  }
  EXPECT_GT(cut, 30U);
}

// A record holds as many points as the store's record: at that limit it reads; one more is a
// problem at the MISOPL record's count, whatever lines follow, or at the KNF pair beyond it.
TEST(SoilFileReader, PointCountUpToTheLimit) {
  struct Case {
    std::int32_t format;
    std::int32_t count;
    bool problem;
  };
  const std::int32_t limit = convert::kMaxRecordPairs;
  const std::vector<Case> cases{{convert::kSesamFormat, limit, false},
                                {convert::kSesamFormat, limit + 1, true},
                                {convert::kKnfFormat, limit, false},
                                {convert::kKnfFormat, limit + 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.format) + ": " + std::to_string(c.count));
    std::vector<double> reals{4, 0, 0, 0, 0, 0, 0, static_cast<double>(limit)};
    for (int k = 1; k <= limit; ++k) reals.insert(reals.end(), {10.0 * k, 0.01 * k});
    convert::MaterialStore& store = empty_store();
    set_reals(store, add_material(store, convert::kSpringCurveKind, 1500011), reals);
    std::vector<std::string> lines = written_file(c.format);
    const bool sesam = c.format == convert::kSesamFormat;
    const int first_pair =
        sesam ? line_starting(lines, "MISOPL") + 3 : line_starting(lines, " ELPLCURV") + 1;
    if (sesam) put_in_field(lines, first_pair - 1, kMisoplCount, 0, std::to_string(c.count));
    if (c.count > limit) {  // one pair more, a copy of the last
      const auto pairs_end = lines.begin() + first_pair - 1 + limit;
      lines.insert(pairs_end, *(pairs_end - 1));
    }
    const soil::SoilFile file = soil::read_soil_file(text_of(lines));
    ASSERT_EQ(file.problems.empty(), !c.problem) << file.problems.front().what;
    EXPECT_EQ(file.materials.at(0).points.size(), static_cast<std::size_t>(c.count));
    if (c.problem) {
      EXPECT_EQ(file.problems[0].line, sesam ? first_pair - 1 : first_pair + limit);
      const std::string said = "than the " + std::to_string(limit) + " a record holds";
      EXPECT_NE(file.problems[0].what.find(said), std::string::npos) << file.problems[0].what;
    }
  }
}

// LF, CR LF and CR alone each end a line: the same file read from each reads the same.
TEST(SoilFileReader, ReadsTheLineEndsOfEverySystem) {
  store_three_curves();
  for (const std::int32_t output_format : {convert::kSesamFormat, convert::kKnfFormat}) {
    const std::vector<std::string> lines = written_file(output_format);
    const soil::SoilFile crlf = soil::read_soil_file(text_of(lines));
    for (const std::string line_end : {"\n", "\r", "\r\n"}) {
      SCOPED_TRACE(static_cast<int>(line_end.back()));
      std::string text;
      for (const std::string& line : lines) text += line + line_end;
      text.resize(text.size() - line_end.size());  // the last line's end is not needed
      const soil::SoilFile file = soil::read_soil_file(text);
      EXPECT_TRUE(file.problems.empty()) << file.problems.front().what;
      ASSERT_EQ(file.blocks.size(), 1U);
      EXPECT_EQ(file.blocks[0].layers.size(), crlf.blocks[0].layers.size());
      EXPECT_EQ(file.blocks[0].layers[0].line, crlf.blocks[0].layers[0].line);
      ASSERT_EQ(file.materials.size(), 3U);
      EXPECT_EQ(file.materials[2].line, crlf.materials[2].line);
      EXPECT_EQ(file.materials[2].points.size(), crlf.materials[2].points.size());
    }
  }
  // An empty line between two CR LF ends stays an empty line.
  const soil::SoilFile file = soil::read_soil_file("'\r\n\r\n");
  ASSERT_EQ(file.problems.size(), 1U);
  EXPECT_EQ(file.problems[0].line, 2);
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
