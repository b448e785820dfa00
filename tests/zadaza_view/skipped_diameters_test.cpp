// What the converter skips, the viewer skips: no springs drawn, no table rows, the converter's
// reason on the page and on standard error, and the converter's exit status.
#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "app/run.hpp"
#include "converter_adapter.hpp"
#include "page_reader.hpp"
#include "runs.hpp"
#include "table_reader.hpp"

namespace view_test {
namespace {

struct SkipCase {
  const char* name;
  std::string diameters;         // the description's diameters line
  std::string viewer_arguments;  // besides the outputs
  std::string skipped;           // the diameter skipped, as the page writes it
  std::set<std::string> shown;   // the diameters drawn, as the page writes them
};

const SkipCase kSkipCases[] = {
    {"OutOfRange", "3e9 1.0", "", "3e+09", {"1"}},
    {"IdentifiersClash", "1.5 1.5004", "", "1.5004", {"1.5"}},
    // The clash is with a diameter not drawn: the converter's order decides, not the selection.
    {"ClashWithADiameterNotDrawn", "1.5 1.5004", "--diameter 1.5004", "1.5004", {}},
    {"ClashAfterAnOffset", "2.0 2.0003", "--offset 7", "2.0003", {"2"}},
};

constexpr const char* kLayerBottoms[] = {"5.0", "9.0"};
constexpr std::size_t kDescribedLayers = std::size(kLayerBottoms);

// Two layers, each with a P-y curve per diameter slot 1..slots.
std::string description(const std::string& diameters, int slots = 2) {
  std::string d = "diameters " + diameters + "\n";
  for (const char* bottom : kLayerBottoms) {
    d += std::string("layer ") + bottom + " 0 0 0 0 0 0 0 0 0 0\n";
    for (int slot = 1; slot <= slots; ++slot) {
      d += "py " + std::to_string(slot) + " 3 1 0 0 0 0 0 1 0.01 2 0.02\n";
    }
  }
  return d;
}

// The detail line the converter writes under its banner, without its marks and diameter.
std::string converters_reason(const std::string& output) {
  const std::string mark = "  *** Identifiers ";
  const std::size_t at = output.find(mark);
  if (at == std::string::npos) return "none in the converter's output";
  const std::size_t end = output.find("diameter", at) + std::string("diameter").size();
  return output.substr(at + 6, end - at - 6);
}

class SkippedDiameters : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkippedDiameters, HaveNoSpringsNoRowsAndFailTheRunAsTheConverterDoes) {
  const SkipCase& c = GetParam();
  TempDir folder;
  write_file(folder / "d.txt", description(c.diameters));
  make_zadaza(folder, "d.txt in.zdz");
  const std::string offset = c.viewer_arguments.find("--offset 7") != std::string::npos ? "7" : "0";
  const Outcome converted = run(folder, shell_quoted(kConverter),
                                knf_answers("in.zdz", "in.knf", false, std::stoi(offset)));
  EXPECT_EQ(converted.status, app::kConversionFailedExit) << converted.err;
  const std::string reason = converters_reason(read_file(folder / "in.knf"));

  const Outcome shown =
      run(folder, shell_quoted(kViewer) + " " + c.viewer_arguments +
                      " --mudline 0 --table t.csv --json t.json -o p.html in.zdz");
  EXPECT_EQ(shown.status, converted.status) << shown.err;
  EXPECT_NE(shown.err.find("diameter " + c.skipped + " is skipped by the converter: " + reason),
            std::string::npos)
      << shown.err;

  std::set<std::string> tabulated;
  for (const TableRow& row : table_rows(read_file(folder / "t.csv"))) {
    EXPECT_FALSE(row.at("soil_id").empty()) << "diameter " << row.at("diameter");
    tabulated.insert(row.at("diameter"));
  }
  EXPECT_EQ(tabulated, c.shown);

  Element root;
  ASSERT_EQ(parse_document(read_file(folder / "p.html"), root), "");
  std::set<std::string> drawn;
  for (const Element* svg : with_class(root, "chart"))
    drawn.insert(svg->attribute("data-diameter"));
  EXPECT_EQ(drawn, c.shown);
  bool said = false;
  for (const Element* section : named(root, "section")) {
    const Element& heading = *named(*section, "h2").front();
    if (heading.text.find("Pile diameter " + c.skipped + ",") == std::string::npos) continue;
    said = heading.text.find("skipped by the converter: " + reason) != std::string::npos;
    EXPECT_TRUE(with_class(*section, "chart").empty());
  }
  EXPECT_TRUE(said) << "no section says diameter " << c.skipped << " is skipped: " << reason;
  // The JSON has the table's rows, none of them without a soil identifier.
  const std::string json = read_file(folder / "t.json");
  std::size_t json_rows = 0;
  for (std::size_t at = json.find("\"diameter\": "); at != std::string::npos;
       at = json.find("\"diameter\": ", at + 1)) {
    ++json_rows;
  }
  EXPECT_EQ(json_rows, table_rows(read_file(folder / "t.csv")).size());
  EXPECT_EQ(json.find("\"soil_id\": null"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Viewer, SkippedDiameters, ::testing::ValuesIn(kSkipCases),
                         [](const auto& info) { return std::string(info.param.name); });

// An offset that takes the material identifiers beyond a SESAM file's field but not beyond a
// KNF file's: the KNF conversion, which the viewer draws, writes the diameter; the SESAM one
// skips it, and the viewer says so.
TEST(SkippedInSesamOnly, IsDrawnWithAWarningThatSaysSo) {
  TempDir folder;
  write_file(folder / "d.txt", description("1.0", 1));
  make_zadaza(folder, "d.txt in.zdz");
  const std::int32_t offset = 99'000'000;
  const Outcome sesam = run(folder, shell_quoted(kConverter),
                            conversion_answers("in.zdz", "in.fem", false, offset, 1));
  const Outcome knf = run(folder, shell_quoted(kConverter),
                          conversion_answers("in.zdz", "in.knf", false, offset, 2));
  ASSERT_EQ(sesam.status, app::kConversionFailedExit);
  ASSERT_EQ(knf.status, app::kCompletedExit);
  const std::string reason = converters_reason(read_file(folder / "in.fem"));

  const Outcome shown = run(folder, shell_quoted(kViewer) + " --offset " + std::to_string(offset) +
                                        " -o p.html in.zdz");
  EXPECT_EQ(shown.status, knf.status) << shown.err;
  EXPECT_NE(shown.err.find("warning: diameter 1 is skipped by a conversion into a SESAM soil "
                           "file (output format 1): " + reason),
            std::string::npos)
      << shown.err;
  Element root;
  ASSERT_EQ(parse_document(read_file(folder / "p.html"), root), "");
  EXPECT_EQ(with_class(root, "chart").size(), kDescribedLayers * view::kCurveTypes);
  bool noted = false;
  for (const Element* item : named(root, "li")) {
    noted = noted || item->text.find("a SESAM soil file (output format 1) skips it (" + reason) !=
                         std::string::npos;
  }
  EXPECT_TRUE(noted);
}

// Every byte of the label reaches the JSON as valid JSON text: controls escaped, quotes and
// backslashes too.
TEST(JsonLabel, EscapesEveryByteJsonCannotHoldRaw) {
  const struct {
    const char* name;
    std::string byte;
    std::string escaped;
  } cases[] = {
      {"UnitSeparator", "\x1F", "\\u001f"},
      {"StartOfHeading", "\x01", "\\u0001"},
      {"Quote", "\"", "\\\""},
      {"Backslash", "\\", "\\\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    write_file(folder / "d.txt", "label a" + c.byte + "b\n" + description("1.0", 1));
    make_zadaza(folder, "d.txt in.zdz");
    const Outcome shown = run(folder, shell_quoted(kViewer) + " --mudline 0 --json t.json in.zdz");
    ASSERT_EQ(shown.status, app::kCompletedExit) << shown.err;
    const std::string json = read_file(folder / "t.json");
    EXPECT_NE(json.find("\"label\": \"a" + c.escaped + "b\""), std::string::npos)
        << json.substr(0, 80);
    for (const char byte : json) {
      const auto u = static_cast<unsigned char>(byte);
      EXPECT_TRUE(u >= 0x20 || byte == '\r' || byte == '\n') << "raw byte " << int{u};
    }
  }
}

}  // namespace
}  // namespace view_test
