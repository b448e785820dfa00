// zadaza-view on soil files the converter wrote: the page of one file, and the comparison of
// two, each against copies damaged or changed the way hand edits and old projects change them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runs.hpp"

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

TEST(SoilFiles, CompareNamesWhatDiffers) {
  const TempDir dir;
  convert_both(dir);
  const std::string knf = read_file(dir / "soil.knf");
  struct Case {
    std::string name;
    Edit edit;
    int status;
  };
  const std::vector<Case> cases{
      {"the same file", [](std::vector<std::string>&) { return std::string("Differences: 0"); }, 0},
      {"one digit in one force", one_digit_in_a_force, 1},
      {"a material removed", removed_material, 1},
      {"the mudline changed", changed_mudline, 1},
      {"a layer level changed", changed_layer_level, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = lines_of(knf);
    const std::string said = c.edit(lines);
    write_file(dir / "copy.knf", text_of(lines));
    const Outcome compared = run(dir, shell_quoted(kViewer) + " --compare soil.knf copy.knf");
    EXPECT_EQ(compared.status, c.status) << compared.err;
    EXPECT_NE(compared.out.find(said), std::string::npos) << said << "\n" << compared.out;
    EXPECT_NE(compared.out.find(c.status == 0 ? "Differences: 0" : "Differences: "),
              std::string::npos);
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

TEST(SoilFiles, CompareRefusesWhatItCannotRead) {
  const TempDir dir;
  convert_both(dir);
  for (const std::string arguments :
       {"--compare soil.knf missing.knf", "--compare soil.knf soil.zdz", "--compare soil.knf",
        "--compare soil.knf soil.fem --tolerance -1", "--compare soil.knf soil.fem -o soil.knf"}) {
    SCOPED_TRACE(arguments);
    const Outcome refused = run(dir, shell_quoted(kViewer) + " " + arguments);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("zadaza-view: "), std::string::npos);
  }
  EXPECT_NE(read_file(dir / "soil.knf").find("SOILCHAR"), std::string::npos);
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
