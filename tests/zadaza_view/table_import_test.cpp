// The table of every curve point out of a ZADAZA file and back into one: export, import,
// export gives the same table and the same soil files; a faulty table is refused naming its
// row and column. Then the guide's pandas example, and the speed of the largest file.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>

#include "runs.hpp"

namespace view_test {
namespace {

std::string soil_files(const TempDir& folder, const std::string& zadaza, bool old_generation) {
  std::string both;
  for (const char* format : {"knf", "sesam"}) {
    const Outcome converted =
        run(folder, shell_quoted(kConverter) + (old_generation ? " --old" : "") +
                        " --mudline -20 --id-offset 7 --format " + format + " -o out " + zadaza);
    EXPECT_EQ(converted.status, 0) << converted.err;
    both += read_file(folder / "out");
  }
  return both;
}

std::string table_of(const TempDir& folder, const std::string& zadaza, bool old_generation) {
  const Outcome shown = run(folder, shell_quoted(kViewer) + (old_generation ? " --old" : "") +
                                        " --mudline -20 --offset 7 --table t.csv " + zadaza);
  EXPECT_EQ(shown.status, 0) << shown.err;
  return read_file(folder / "t.csv");
}

TEST(TableImport, ExportImportExportGivesTheSameTableAndSoilFiles) {
  const struct {
    const char* name;
    std::string make_arguments;
    bool old_generation;
  } cases[] = {
      {"Example", shell_quoted(ZZ_SOURCE_DIR "/examples/soil.txt"), false},
      {"Old", "--synthetic --old --layers 7 --diameters 4 --in-use 3 --dsp 2 --seed 5", true},
      {"Largest", "--synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1", false},
  };
  for (const auto& c : cases) {
    TempDir folder;
    make_zadaza(folder, c.make_arguments + " in.zdz");
    const std::string table = table_of(folder, "in.zdz", c.old_generation);
    write_file(folder / "curves.csv", table);
    const Outcome made = run(folder, shell_quoted(kMaker) + " --from-table" +
                                         (c.old_generation ? " --old" : "") + " curves.csv back.zdz");
    ASSERT_EQ(made.status, 0) << c.name << made.err;
    EXPECT_TRUE(same_lines(table_of(folder, "back.zdz", c.old_generation), table)) << c.name;
    EXPECT_TRUE(same_lines(soil_files(folder, "back.zdz", c.old_generation),
                           soil_files(folder, "in.zdz", c.old_generation)))
        << c.name;
  }
}

// A small table with its columns in another order than the viewer's and one column more.
using Rows = std::vector<std::vector<std::string>>;
Rows small_table(int layers, int diameters) {
  Rows rows{{"stress", "note", "point", "curve", "diameter", "layer", "z_bottom", "displacement"}};
  for (int j = 1; j <= layers; ++j) {
    for (int d = 1; d <= diameters; ++d) {
      for (const char* curve : {"P-y", "T-z", "Q-z"}) {
        for (int k = 1; k <= 3; ++k) {
          rows.push_back({std::to_string(10 * k), "x", std::to_string(k), curve,
                          std::to_string(d) + ".5", std::to_string(j), std::to_string(2 * j),
                          "0.0" + std::to_string(k)});
        }
      }
    }
  }
  return rows;
}

std::string csv_of(const Rows& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) text += (c == 0 ? "" : ",") + row[c];
    text += "\r\n";
  }
  return text;
}

TEST(TableImport, RefusesAFaultNamingItsRowAndColumn) {
  const struct {
    const char* name;
    std::function<Rows()> table;
    std::string refusal;
  } cases[] = {
      {"MissingPoint", [] { Rows r = small_table(1, 1); r.erase(r.begin() + 2); return r; },
       "row 2, column point: point 2 of the P-y curve of layer 1 for diameter 1.5 is missing after "
       "this row"},
      {"MissingCurve",
       [] { Rows r = small_table(2, 1); r.erase(r.begin() + 10, r.begin() + 13); return r; },
       "row 11, column curve: layer 2 has no P-y curve for diameter 1.5"},
      {"LayersNotFromOne",
       [] { Rows r = small_table(2, 1); for (auto& row : r) if (row[5] == "2") row[5] = "3"; return r; },
       "row 11, column layer: layer 3 where layer 2 is due; layers are numbered 1 to n"},
      {"TooManyLayers", [] { return small_table(81, 1); },
       "row 722, column layer: layers are numbered 1 to at most 80"},
      {"TooManyDiameters", [] { return small_table(1, 16); },
       "row 137, column diameter: more than 15 diameters"},
      {"PointBeyond23", [] { Rows r = small_table(1, 1); r[3][2] = "24"; return r; },
       "row 4, column point: points are numbered 1 to 23"},
      {"CommaDecimal", [] { Rows r = small_table(1, 1); r[5][0] = "\"1,5\""; return r; },
       "row 6, column stress: unreadable number '1,5'; write a decimal point, not a comma"},
      {"NoStressColumn", [] { Rows r = small_table(1, 1); r[0][0] = "force"; return r; },
       "row 1: no column stress"},
  };
  TempDir folder;
  for (const auto& c : cases) {
    write_file(folder / "t.csv", csv_of(c.table()));
    const Outcome made = run(folder, shell_quoted(kMaker) + " --from-table t.csv out.zdz");
    EXPECT_EQ(made.status, 1) << c.name;
    EXPECT_EQ(made.err, "zadaza-make: t.csv: " + c.refusal + "\n") << c.name;
    EXPECT_FALSE(fs::exists(folder / "out.zdz")) << c.name;
  }
  // The same small table without a fault is taken, in any column order.
  write_file(folder / "t.csv", csv_of(small_table(2, 2)));
  EXPECT_EQ(run(folder, shell_quoted(kMaker) + " --from-table t.csv out.zdz").status, 0);
}

// A table that does not read as one is refused naming its row, and nothing is written: an
// earlier file of the output's name stays as it was.
TEST(TableImport, RefusesAHostileTableWritingNothing) {
  const std::string good = csv_of(small_table(1, 1));
  const std::string header = good.substr(0, good.find("\r\n") + 2);
  const struct {
    const char* name;
    std::string table;
    std::string refusal;
  } cases[] = {
      {"UnquotedDecimalComma", header + "0,04,x,1,P-y,1.5,1,2,0.01\r\n",
       "row 2: 9 fields where the header has 8"},
      {"TextAfterAClosingQuote", header + "\"-1\"20,x,1,P-y,1.5,1,2,0.01\r\n",
       "row 2, column stress: text after a closing quote"},
      {"QuoteInsideAField", header + "1\"0,x,1,P-y,1.5,1,2,0.01\r\n",
       "row 2, column stress: a quote inside an unquoted field"},
      {"HeaderAndNoRows", header, "row 2: the table has a header and no rows"},
      {"HeaderAndNoRowsCR", header.substr(0, header.size() - 2) + "\r",
       "row 2: the table has a header and no rows"},
      {"Empty", "", "row 1: the table is empty"},
      {"ColumnTwice", "layer," + header, "row 1: the column 'layer' is named twice"},
      {"RowShortCR", good.substr(0, good.size() - 2) + "\r1,x,1\r",
       "row 11: 3 fields where the header has 8"},
  };
  TempDir folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_file(folder / "t.csv", c.table);
    write_file(folder / "out.zdz", "earlier");
    const Outcome made = run(folder, shell_quoted(kMaker) + " --from-table t.csv out.zdz");
    EXPECT_EQ(made.status, 1);
    EXPECT_EQ(made.err.rfind("zadaza-make: t.csv: " + c.refusal, 0), 0U) << made.err;
    EXPECT_EQ(test_support::file_names(folder.dir()), (std::vector<std::string>{"out.zdz", "t.csv"}));
    EXPECT_EQ(read_file(folder / "out.zdz"), "earlier");
  }
}

// Line ends of every kind read as lines: the same table with LF, CR LF or CR alone gives the
// same file.
TEST(TableImport, EveryKindOfLineEndGivesTheSameFile) {
  TempDir folder;
  const std::string crlf = csv_of(small_table(2, 2));
  write_file(folder / "t.csv", crlf);
  ASSERT_EQ(run(folder, shell_quoted(kMaker) + " --from-table t.csv crlf.zdz").status, 0);
  for (const char* end : {"\n", "\r"}) {
    SCOPED_TRACE(end[0] == '\n' ? "LF" : "CR");
    std::string table = crlf;
    for (std::size_t at = table.find("\r\n"); at != std::string::npos; at = table.find("\r\n", at)) {
      table.replace(at, 2, end);
    }
    write_file(folder / "t.csv", table);
    const Outcome made = run(folder, shell_quoted(kMaker) + " --from-table t.csv out.zdz");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(read_file(folder / "out.zdz"), read_file(folder / "crlf.zdz"));
  }
}

// A diameter the converter will not convert is written, and said on standard error.
TEST(TableImport, WarnsOfADiameterTheConverterWillNotConvert) {
  const struct {
    const char* name;
    std::function<Rows()> table;
    std::vector<std::string> warned;  // the diameters warned of
  } cases[] = {
      {"AllConverted", [] { return small_table(1, 2); }, {}},
      {"BeyondTheDiametersInUse", [] { return small_table(1, 6); }, {"5.5", "6.5"}},
      {"AfterAZeroDiameter",
       [] {
         Rows r = small_table(1, 3);
         for (auto& row : r) {
           if (row[4] == "2.5") row[4] = "0";
         }
         return r;
       },
       {"0", "3.5"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    write_file(folder / "t.csv", csv_of(c.table()));
    const Outcome made = run(folder, shell_quoted(kMaker) + " --from-table t.csv out.zdz");
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::exists(folder / "out.zdz"));
    std::string expected;
    for (const std::string& d : c.warned) {
      expected += "zadaza-make: t.csv: warning: diameter " + d + ", the ";
    }
    std::string said;
    std::istringstream lines(made.err);
    for (std::string line; std::getline(lines, line);) said += line.substr(0, line.find(", the ") + 6);
    EXPECT_EQ(said, expected) << made.err;
  }
}

// A failed comparison of two large tables names the first row that differs, in a few lines.
TEST(TableImport, ALargeTableThatDiffersIsReportedByItsFirstDifferingRow) {
  std::string table;
  for (int row = 1; row <= 200000; ++row) table += "1.5,900," + std::to_string(row) + ",P-y\n";
  std::string changed = table;
  const std::string row_150000 = "1.5,900,150000,P-y\n";
  changed.replace(changed.find(row_150000), row_150000.size(), "1.5,901,150000,P-y\n");
  EXPECT_TRUE(same_lines(table, table));
  const ::testing::AssertionResult differs = same_lines(changed, table);
  ASSERT_FALSE(differs);
  const std::string message = differs.message();
  EXPECT_EQ(message, "line 150000 differs\n  actual:   1.5,901,150000,P-y\n  expected: 1.5,900,150000,P-y");
  const ::testing::AssertionResult shorter = same_lines(table.substr(0, 100), table);
  EXPECT_FALSE(shorter);
  EXPECT_LT(std::string(shorter.message()).size(), 200U);
}

// The first python block of the guide, run where its table is: on a machine with pandas and
// matplotlib, in the first python3 that has them.
TEST(GuideExamples, PandasExampleRunsOnTheTable) {
  if (test_support::kOnWindows) GTEST_SKIP() << "Python runs in the Linux build";
  TempDir folder;
  std::string python;
  for (const char* candidate : {"python3", "/usr/bin/python3"}) {
    if (run(folder, std::string(candidate) + " -c 'import pandas, matplotlib'").status == 0) {
      python = candidate;
      break;
    }
  }
  if (python.empty()) {
    GTEST_SKIP() << "no python3 with pandas and matplotlib (Debian: python3-pandas, "
                    "python3-matplotlib)";
  }
  std::istringstream guide(read_file(ZZ_SOURCE_DIR "/docs/guide.md"));
  std::string example;
  bool in_block = false;
  for (std::string line; std::getline(guide, line);) {
    if (line == "```python") {
      in_block = true;
    } else if (in_block && line == "```") {
      break;
    } else if (in_block) {
      example += line + "\n";
    }
  }
  ASSERT_NE(example, "");
  fs::create_directories(folder / "build/trial");
  make_zadaza(folder, shell_quoted(ZZ_SOURCE_DIR "/examples/soil.txt") + " in.zdz");
  ASSERT_EQ(run(folder, shell_quoted(kViewer) + " --mudline -20 --table build/trial/curves.csv in.zdz")
                .status,
            0);
  write_file(folder / "example.py", example);
  // Drawn without a display, as on a machine with none.
  const Outcome ran = run(folder, python + " -c 'import matplotlib; matplotlib.use(\"Agg\"); "
                                           "exec(open(\"example.py\").read())'");
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_GT(fs::file_size(folder / "build/trial/layer1-py.png"), 0U);
}

// The largest file the limits allow: 4 diameters, 80 layers, 22080 rows.
TEST(TableSpeed, LargestFileGivesItsTableAndItsJsonInUnderHalfASecondEach) {
  TempDir folder;
  make_zadaza(folder, "--synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1 in.zdz");
  for (const char* option : {"--table t.csv", "--json t.json"}) {
    const auto start = std::chrono::steady_clock::now();
    const Outcome shown =
        run(folder, shell_quoted(kViewer) + " --mudline 0 " + option + " in.zdz");
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_LT(took, std::chrono::milliseconds(500)) << option;
  }
}

}  // namespace
}  // namespace view_test
