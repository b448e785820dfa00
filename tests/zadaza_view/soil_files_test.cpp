// zadaza-view on soil files the converter wrote: the page of one file, and the comparison of
// two, each against copies damaged or changed the way hand edits and old projects change them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "charts_read_back.hpp"
#include "convert/record_layouts.hpp"
#include "page_reader.hpp"
#include "runs.hpp"
#include "soil_commands.hpp"
#include "svg_chart.hpp"

namespace {

using view_test::kConverter;
using view_test::kViewer;
using view_test::Outcome;
using view_test::read_file;
using view_test::run;
using view_test::shell_quoted;
using view_test::TempDir;
using view_test::write_file;
namespace fs = std::filesystem;

constexpr int kLayers = 3;
constexpr int kDiameters = 2;

// A ZADAZA file converted into soil.knf and soil.fem.
void convert_both(const TempDir& dir) {
  view_test::make_zadaza(dir, "--synthetic --layers " + std::to_string(kLayers) +
                                  " --diameters " + std::to_string(kDiameters) + " --in-use " +
                                  std::to_string(kDiameters) + " --dsp 1 soil.zdz");
  for (const auto& [name, format] : {std::pair{"soil.fem", 1}, std::pair{"soil.knf", 2}}) {
    const Outcome converted = run(dir, shell_quoted(kConverter),
                                  view_test::conversion_answers("soil.zdz", name, false, 0, format));
    ASSERT_EQ(converted.status, 0) << converted.err;
  }
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string text_of(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::size_t line_starting(const std::vector<std::string>& lines, const std::string& start,
                          int nth = 1) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].starts_with(start) && --nth == 0) return i;
  }
  ADD_FAILURE() << "no line starts with " << start;
  return 0;
}

std::string identifier_on(const std::string& line) {
  return line.substr(line.find_first_not_of(' ', 10));
}

// Edits of the KNF file; each returns what the comparison must say.
using Edit = std::function<std::string(std::vector<std::string>&)>;

std::string one_digit_in_a_force(std::vector<std::string>& lines) {
  const std::size_t record = line_starting(lines, " ELPLCURV", 2);
  std::string& pair = lines[record + 4];
  char& digit = pair[pair.find('E') - 1];  // the last digit of the force's mantissa
  const std::string before = pair.substr(pair.find_first_not_of(' '), 15 - 4);
  digit = static_cast<char>('0' + (digit - '0' + 1) % 10);
  return "material " + identifier_on(lines[record]) + " (ELPLCURV) point 4 force: " +
         before.substr(0, 11);
}

std::string removed_material(std::vector<std::string>& lines) {
  const std::size_t record = line_starting(lines, " ELPLCURV", 3);
  const std::string id = identifier_on(lines[record]);
  std::size_t end = record + 1;
  while (lines[end].starts_with("                         ")) ++end;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(record),
              lines.begin() + static_cast<std::ptrdiff_t>(end));
  return "material " + id + " (ELPLCURV) only in A";
}

std::string changed_mudline(std::vector<std::string>& lines) {
  std::string& soilchar = lines[line_starting(lines, " SOILCHAR")];
  soilchar.replace(24, 10, "    -1.000");
  return "mudline level: 0.000 vs -1.000";
}

std::string changed_layer_level(std::vector<std::string>& lines) {
  std::string& layer = lines[line_starting(lines, " SOILCHAR") + 4];
  layer.replace(32, 12, "       -9.99");
  return "layer 2 bottom level: ";
}

void error_banner(std::vector<std::string>& lines) {
  lines.insert(lines.end(), {"", "  *** ERROR IN G2K_WMAT ***"});
}

// The columns of a KNF pair line's force and displacement, and of a layer's P-y material.
constexpr format::LineShape kPairShape = format::line_shape(convert::kCurvePair);
constexpr std::size_t kForceColumn = kPairShape.field[0].column;
constexpr std::size_t kDisplacementColumn = kPairShape.field[1].column;
constexpr std::size_t kPairField = kPairShape.field[1].width;
constexpr format::FieldPlace kPyMaterial = format::line_shape(convert::kLayerLine).field[2];

std::string pair_field(const std::string& text) {
  return std::string(kPairField - text.size(), ' ') + text;
}

std::string one_digit_in_a_displacement(std::vector<std::string>& lines) {
  const std::size_t record = line_starting(lines, " ELPLCURV", 2);
  std::string& pair = lines[record + 3];
  char& digit = pair[pair.rfind('E') - 1];
  digit = static_cast<char>('0' + (digit - '0' + 1) % 10);
  return "material " + identifier_on(lines[record]) + " (ELPLCURV) point 3 displacement: ";
}

Edit force_of_point_4(const std::string& value) {
  return [value](std::vector<std::string>& lines) {
    const std::size_t record = line_starting(lines, " ELPLCURV", 2);
    lines[record + 4].replace(kForceColumn, kPairField, pair_field(value));
    return "material " + identifier_on(lines[record]) + " (ELPLCURV) point 4 force: ";
  };
}

Edit layer_material(const std::string& text) {
  return [text](std::vector<std::string>& lines) {
    const std::string field = std::string(kPyMaterial.width - text.size(), ' ') + text;
    lines[line_starting(lines, " SOILCHAR") + 3].replace(kPyMaterial.column, kPyMaterial.width, field);
    return std::string("unreadable 1: A line ");
  };
}

TEST(SoilFiles, CompareNamesWhatDiffers) {
  const TempDir dir;
  convert_both(dir);
  const std::string knf = read_file(dir / "soil.knf");
  const Edit same = [](std::vector<std::string>&) { return std::string(); };
  struct Case {
    std::string name;
    Edit edit;  // of B; what it returns must be said when the files differ
    int status;
    Edit edit_a = [](std::vector<std::string>&) { return std::string(); };
    std::string line_end_b = "\r\n";
    std::string arguments = "";
  };
  const std::vector<Case> cases{
      {"the same file", same, 0},
      {"one digit in one force", one_digit_in_a_force, 1},
      {"one digit in one displacement only", one_digit_in_a_displacement, 1},
      {"a material removed", removed_material, 1},
      {"the mudline changed", changed_mudline, 1},
      {"a layer level changed", changed_layer_level, 1},
      {"the same file with CR line ends", same, 0, {}, "\r"},
      {"the same file with LF line ends", same, 0, {}, "\n"},
      {"CR line ends and one digit in one force", one_digit_in_a_force, 1, {}, "\r"},
      {"two unreadable identifiers", layer_material("9000y1"), 1, layer_material("9000x1")},
      {"the same unreadable identifier", layer_material("9000x1"), 0, layer_material("9000x1")},
      {"Infinity in both, within a tolerance", force_of_point_4("Infinity"), 0,
       force_of_point_4("Infinity"), "\r\n", " --tolerance 0.01"},
      {"Infinity against -Infinity, within a tolerance", force_of_point_4("-Infinity"), 1,
       force_of_point_4("Infinity"), "\r\n", " --tolerance 0.01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> a_lines = lines_of(knf);
    if (c.edit_a) c.edit_a(a_lines);
    write_file(dir / "a.knf", text_of(a_lines));
    std::vector<std::string> lines = lines_of(knf);
    const std::string said = c.edit(lines);
    std::string b_text;
    for (const std::string& line : lines) b_text += line + c.line_end_b;
    write_file(dir / "copy.knf", b_text);
    const Outcome compared =
        run(dir, shell_quoted(kViewer) + " --compare a.knf copy.knf" + c.arguments);
    EXPECT_EQ(compared.status, c.status) << compared.err;
    EXPECT_NE(compared.out.find(c.status == 0 ? "Differences: 0" : said), std::string::npos)
        << said << "\n" << compared.out;
  }
}

TEST(SoilFiles, CompareAcrossFormatsWithinATolerance) {
  const TempDir dir;
  convert_both(dir);
  const std::string both = " --compare soil.knf soil.fem";
  EXPECT_EQ(run(dir, shell_quoted(kViewer) + both).status, 1);  // 6 digits against 8
  const Outcome within = run(dir, shell_quoted(kViewer) + both + " --tolerance 1e-5 -o c.html");
  EXPECT_EQ(within.status, 0) << within.out << within.err;
  EXPECT_NE(read_file(dir / "c.html").find("None: the two files say the same."), std::string::npos);
}

// Text that is no soil file, as a user gives one by mistake.
constexpr std::string_view kNotASoilFile =
    "# zadaza-make description\r\nlayers 3\r\ndiameters 1.5 2.0\r\n'\r\n";

TEST(SoilFiles, CompareRefusesWhatItCannotRead) {
  const TempDir dir;
  convert_both(dir);
  fs::create_directory(dir / "folder");
  write_file(dir / "notes.txt", std::string(kNotASoilFile));
  struct Case {
    std::string arguments;
    std::string said;
  };
  const std::vector<Case> cases{
      {"--compare soil.knf missing.knf", "cannot read 'missing.knf'"},
      {"--compare folder soil.knf", "cannot read 'folder'"},
      {"--compare soil.knf folder", "cannot read 'folder'"},
      {"--compare soil.knf soil.zdz", "'soil.zdz' is not a soil file"},
      {"--compare notes.txt soil.knf", "'notes.txt' is neither a ZADAZA file nor a soil file"},
      // The command line's own refusals: their words are the parser's.
      {"--compare soil.knf", ""},
      {"--compare soil.knf soil.fem --tolerance -1", ""},
      {"--compare soil.knf soil.fem -o soil.knf", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Outcome refused = run(dir, shell_quoted(kViewer) + " " + c.arguments);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("zadaza-view: "), std::string::npos);
    EXPECT_NE(refused.err.find(c.said), std::string::npos) << refused.err;
  }
  EXPECT_NE(read_file(dir / "soil.knf").find("SOILCHAR"), std::string::npos);
}

// Text with no SOILCHAR block and no material is refused in one line, and nothing is written.
TEST(SoilFiles, TextThatHoldsNoSoilIsRefused) {
  const TempDir dir;
  const std::vector<std::pair<std::string, std::string>> cases{
      {"a description given by mistake", std::string(kNotASoilFile)},
      {"headings alone", "'\r\n'            Soil_ID  Type  Z_mud\r\n"},
      {"one line of text", "hello"},
  };
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    write_file(dir / "in.txt", text);
    for (const std::string outputs : {"", "--table t.csv ", "-o p.html "}) {
      const Outcome refused = run(dir, shell_quoted(kViewer) + " " + outputs + "in.txt");
      EXPECT_EQ(refused.status, 2);
      EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
      EXPECT_NE(refused.err.find("'in.txt' is neither a ZADAZA file nor a soil file"),
                std::string::npos)
          << refused.err;
      for (const std::string output : {"in.txt.html", "t.csv", "p.html"}) {
        EXPECT_FALSE(fs::exists(dir / output)) << output;
      }
    }
  }
}

// Differences of a comparison and unreadable lines of a file, each printed up to the cap and
// then counted.
TEST(SoilFiles, ListsUpToTheCapThenCounts) {
  const TempDir dir;
  convert_both(dir);
  const std::vector<std::string> lines = lines_of(read_file(dir / "soil.knf"));
  std::vector<std::size_t> pairs;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() == kDisplacementColumn + kPairField) pairs.push_back(i);
  }
  const std::size_t cap = view::kListedAtMost;
  ASSERT_GT(pairs.size(), cap + 1);
  enum class Listed { Differences, Problems };
  for (const Listed listed : {Listed::Differences, Listed::Problems}) {
    const bool differences = listed == Listed::Differences;
    for (const std::size_t n : {cap - 1, cap, cap + 1}) {
      SCOPED_TRACE((differences ? "differences " : "problems ") + std::to_string(n));
      std::vector<std::string> edited = lines;
      const std::string value = differences ? "9.87654E+09" : "bad";
      for (std::size_t k = 0; k < n; ++k) {
        edited[pairs[k]].replace(kDisplacementColumn, kPairField, pair_field(value));
      }
      write_file(dir / "copy.knf", text_of(edited));
      const Outcome outcome =
          run(dir, shell_quoted(kViewer) +
                       (differences ? " --compare soil.knf copy.knf" : " --table t.csv copy.knf"));
      const std::string& said = differences ? outcome.out : outcome.err;
      const std::string item = differences ? "\nmaterial " : "copy.knf: line ";
      std::size_t items = 0;
      for (std::size_t at = said.find(item); at != std::string::npos; at = said.find(item, at + 1)) {
        ++items;
      }
      EXPECT_EQ(items, std::min(n, cap)) << said;
      const bool counted = said.find(" ... and 1 more") != std::string::npos;
      EXPECT_EQ(counted, n > cap) << said;
      if (differences) {
        EXPECT_NE(said.find("Differences: " + std::to_string(n)), std::string::npos);
      }
    }
  }
}

struct Marker {
  double displacement;
  double force;
  double radius;
  std::size_t order;  // among the chart's own circles
};

// The chart's own circles (not the legend's) of the class, as values.
std::vector<Marker> markers_of(const view_test::Element& svg, std::string_view css_class) {
  const view_test::ChartReading chart = view_test::read_chart(svg);
  std::vector<Marker> markers;
  std::size_t order = 0;
  for (const view_test::Element& child : svg.children) {
    if (child.name != "circle") continue;
    if (child.has_class(css_class)) {
      markers.push_back({chart.displacement.value(std::stod(child.attribute("cx"))),
                         chart.force.value(std::stod(child.attribute("cy"))),
                         std::stod(child.attribute("r")), order});
    }
    ++order;
  }
  return markers;
}

// The point of a KNF pair line as (displacement, force).
std::pair<double, double> point_on(const std::string& pair) {
  return {std::stod(pair.substr(kDisplacementColumn, kPairField)),
          std::stod(pair.substr(kForceColumn, kPairField))};
}

// The compare page rings, in both springs, each point where A and B part: A's points are
// rings, B's smaller dots that leave them visible, and the rings of the differing points are
// drawn after both.
TEST(SoilFiles, ComparePageRingsWhereTheSpringsPart) {
  const TempDir dir;
  convert_both(dir);
  const std::vector<std::string> knf = lines_of(read_file(dir / "soil.knf"));
  const std::size_t record = line_starting(knf, " ELPLCURV", 2);
  const std::string id = identifier_on(knf[record]);
  std::size_t last = record + 1;
  while (last + 1 < knf.size() && knf[last + 1].size() == kDisplacementColumn + kPairField) ++last;
  enum class Change { Force, Displacement, Removed };
  struct Case {
    std::string name;
    std::size_t line;   // of the pair changed or removed
    Change change;
    std::string value;  // put into the changed field
  };
  const std::vector<Case> cases{
      {"one force changed", record + 4, Change::Force, "1.20000E+02"},
      {"one displacement changed", record + 3, Change::Displacement, "9.00000E-02"},
      {"the last point removed", last, Change::Removed, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> b = knf;
    std::vector<std::pair<double, double>> ringed{point_on(knf[c.line])};
    if (c.change == Change::Removed) {
      b.erase(b.begin() + static_cast<std::ptrdiff_t>(c.line));
    } else {
      const std::size_t column = c.change == Change::Force ? kForceColumn : kDisplacementColumn;
      b[c.line].replace(column, kPairField, pair_field(c.value));
      ringed.push_back(point_on(b[c.line]));
    }
    write_file(dir / "copy.knf", text_of(b));
    const Outcome compared =
        run(dir, shell_quoted(kViewer) + " --compare soil.knf copy.knf -o c.html");
    ASSERT_EQ(compared.status, 1) << compared.err;
    view_test::Element root;
    ASSERT_EQ(view_test::parse_document(read_file(dir / "c.html"), root), "");
    std::vector<const view_test::Element*> charts;
    view_test::collect(root, [&](const view_test::Element& e) {
      return e.name == "svg" && e.attribute("data-material") == id;
    }, charts);
    ASSERT_EQ(charts.size(), 1U);
    const view_test::ChartReading chart = view_test::read_chart(*charts[0]);
    const std::vector<Marker> rings = markers_of(*charts[0], view::kSpringRingClass[0]);
    const std::vector<Marker> dots = markers_of(*charts[0], view::kSpringDotClass[1]);
    const std::vector<Marker> marked = markers_of(*charts[0], view::kDifferingPointClass);
    EXPECT_EQ(rings.size(), last - record);
    EXPECT_EQ(dots.size(), last - record - (c.change == Change::Removed ? 1 : 0));
    ASSERT_EQ(marked.size(), ringed.size());
    for (std::size_t k = 0; k < ringed.size(); ++k) {
      EXPECT_NEAR(marked[k].displacement, ringed[k].first, 2 * chart.displacement.per_pixel());
      EXPECT_NEAR(marked[k].force, ringed[k].second, 2 * chart.force.per_pixel());
      EXPECT_GT(marked[k].radius, rings.front().radius);
      EXPECT_GT(marked[k].order, dots.back().order);
    }
    EXPECT_GT(rings.front().radius, dots.front().radius);
  }
}

TEST(SoilFiles, PageDrawsEveryLayerAndNotesWhatIsWrong) {
  const TempDir dir;
  convert_both(dir);
  struct Case {
    std::string name;
    std::function<void(std::vector<std::string>&)> edit;
    int status;
    std::string note;
  };
  const std::vector<Case> cases{
      {"as converted", [](std::vector<std::string>&) {}, 0, "None: every line reads"},
      {"a material removed", [](std::vector<std::string>& l) { removed_material(l); }, 0,
       "is not in the material table"},
      {"asterisks in a displacement",
       [](std::vector<std::string>& l) {
         l[line_starting(l, " ELPLCURV") + 1].replace(40, 15, std::string(15, '*'));
       },
       3, "field of asterisks in columns 41-55"},
      {"a layer naming another material",
       [](std::vector<std::string>& l) {
         l[line_starting(l, " SOILCHAR") + 3].replace(64, 10, "   9999999");
       },
       0, "no layer names it"},
      {"an identifier used twice",
       [](std::vector<std::string>& l) {
         const std::size_t record = line_starting(l, " ELPLCURV");
         l.insert(l.begin() + static_cast<std::ptrdiff_t>(record), l[record]);
       },
       0, "is used by 2 materials"},
      {"displacements going back",
       [](std::vector<std::string>& l) {
         const std::size_t record = line_starting(l, " ELPLCURV");
         std::swap(l[record + 2], l[record + 3]);
       },
       0, "the displacement of point 3 goes back"},
      {"an error banner", error_banner, 3, "the file holds &quot;*** ERROR IN G2K_WMAT ***&quot;"},
      {"an unreadable material of a layer and of a record",
       [](std::vector<std::string>& l) {
         layer_material("9000x1")(l);
         l[line_starting(l, " ELPLCURV")].replace(10, 9, "   9000y1");
       },
       3, "layer 1: the P-y material (unreadable) is not in the material table"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = lines_of(read_file(dir / "soil.knf"));
    c.edit(lines);
    write_file(dir / "copy.knf", text_of(lines));
    const Outcome drawn = run(dir, shell_quoted(kViewer) + " copy.knf");
    EXPECT_EQ(drawn.status, c.status) << drawn.err;
    const std::string page = read_file(dir / "copy.knf.html");
    EXPECT_NE(page.find(c.note), std::string::npos) << c.note;
    std::size_t charts = 0;
    for (std::size_t at = page.find("<svg class=\"chart\""); at != std::string::npos;
         at = page.find("<svg class=\"chart\"", at + 1)) {
      ++charts;
    }
    EXPECT_EQ(charts, static_cast<std::size_t>(3 * kLayers * kDiameters));
  }
}

// The tables of a soil file: without -o no page; with a damaged file the tables are still
// written; whatever reaches the soil file, and each ZADAZA file's setting, refused.
TEST(SoilFiles, TablesAreWrittenBesideThePageAndNeverOverTheFile) {
  const TempDir dir;
  convert_both(dir);
  const auto no_edit = [](std::vector<std::string>&) {};
  struct Case {
    std::string name;
    std::function<void(std::vector<std::string>&)> edit;
    std::string arguments;
    int status;
    std::vector<std::string> written;
    std::string said;
  };
  const std::vector<Case> cases{
      {"a table alone", no_edit, "--table t.csv", 0, {"t.csv"}, ""},
      {"both tables and the page", no_edit, "--json t.json -o p.html --table t.csv", 0,
       {"t.csv", "t.json", "p.html"}, ""},
      {"a material removed", [](std::vector<std::string>& l) { removed_material(l); },
       "--table t.csv", 0, {"t.csv"}, "is not in the material table; the table has no rows"},
      {"an error banner", error_banner, "--json t.json", 3, {"t.json"}, "1 error banners"},
      {"the table onto a link to the soil file", no_edit, "--json t.json --table link.csv", 2, {},
       "it is the soil file copy.knf"},
      {"a mudline", no_edit, "--mudline 0 --table t.csv", 2, {}, "are for ZADAZA files"},
      {"an orientation", no_edit, "--orientation neg --table t.csv", 2, {}, "are for ZADAZA files"},
  };
  const std::string knf = read_file(dir / "soil.knf");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = lines_of(knf);
    c.edit(lines);
    write_file(dir / "copy.knf", text_of(lines));
    fs::remove(dir / "link.csv");  // linked anew: writing the copy may give it a new identity
    fs::create_hard_link(dir / "copy.knf", dir / "link.csv");
    const Outcome viewed = run(dir, shell_quoted(kViewer) + " " + c.arguments + " copy.knf");
    EXPECT_EQ(viewed.status, c.status) << viewed.err;
    EXPECT_NE(viewed.err.find(c.said), std::string::npos) << viewed.err;
    EXPECT_EQ(read_file(dir / "copy.knf"), text_of(lines));
    for (const std::string output : {"t.csv", "t.json", "p.html", "copy.knf.html"}) {
      const bool wanted = std::find(c.written.begin(), c.written.end(), output) != c.written.end();
      EXPECT_EQ(fs::remove(dir / output), wanted) << output;
    }
  }
}

}  // namespace
