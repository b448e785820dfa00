#include "common/csv.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct ReadCase {
  const char* name;
  std::string text;
  std::vector<std::string> columns;
  std::vector<tools::CsvRow> rows;
};

TEST(Csv, ReadsEveryWayOfWritingATable) {
  const ReadCase cases[] = {
      {"LF", "a,b\n1,2\n3,4\n", {"a", "b"}, {{2, {"1", "2"}}, {3, {"3", "4"}}}},
      {"CR LF", "a,b\r\n1,2\r\n3,4\r\n", {"a", "b"}, {{2, {"1", "2"}}, {3, {"3", "4"}}}},
      {"CR alone", "a,b\r1,2\r3,4\r", {"a", "b"}, {{2, {"1", "2"}}, {3, {"3", "4"}}}},
      {"no last line end", "a,b\n1,2", {"a", "b"}, {{2, {"1", "2"}}}},
      {"quoted comma", "a,b\n\"0,04\",2\n", {"a", "b"}, {{2, {"0,04", "2"}}}},
      {"doubled quotes", "a\n\"say \"\"x\"\"\"\n", {"a"}, {{2, {"say \"x\""}}}},
      {"line end in a quoted field is one row", "a,b\n\"x\ny\",1\n2,3\n", {"a", "b"},
       {{2, {"x\ny", "1"}}, {3, {"2", "3"}}}},
      {"empty fields", "a,b,c\n,,\n", {"a", "b", "c"}, {{2, {"", "", ""}}}},
      {"quoted empty field", "a\n\"\"\n", {"a"}, {{2, {""}}}},
      {"empty lines counted", "a,b\n\n1,2\r\n\r\n3,4\n\n", {"a", "b"},
       {{3, {"1", "2"}}, {5, {"3", "4"}}}},
      {"byte order mark", "\xEF\xBB\xBF" "a,b\n1,2\n", {"a", "b"}, {{2, {"1", "2"}}}},
      {"spaces kept", "a, b\n 1 ,2\n", {"a", " b"}, {{2, {" 1 ", "2"}}}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const tools::CsvTable table = tools::read_csv(c.text);
    EXPECT_EQ(table.columns, c.columns);
    ASSERT_EQ(table.rows.size(), c.rows.size());
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
      EXPECT_EQ(table.rows[r].row, c.rows[r].row) << "row " << r;
      EXPECT_EQ(table.rows[r].fields, c.rows[r].fields) << "row " << r;
    }
  }
}

struct RefusedCase {
  const char* name;
  std::string text;
  std::string message;  // the whole first line of the refusal, up to its hint
};

TEST(Csv, RefusesWhatDoesNotReadAsATable) {
  const RefusedCase cases[] = {
      {"unquoted decimal comma", "a,b\n1,2\n0,04,5\n", "row 3: 3 fields where the header has 2"},
      {"a field short", "a,b,c\n1,2,3\n1,2\n", "row 3: 2 fields where the header has 3"},
      {"CR alone, a field more", "a,b\r1,2\r3,4,5\r", "row 3: 3 fields where the header has 2"},
      {"empty line then a short row", "a,b\n\n1\n", "row 3: 1 field where the header has 2"},
      {"text after a closing quote", "a,b\n\"-1\"20,3\n",
       "row 2, column a: text after a closing quote"},
      {"space after a closing quote", "a,b\n1,\"2\" \n",
       "row 2, column b: text after a closing quote"},
      {"quote inside an unquoted field", "a,b\n1,2\"0\n",
       "row 2, column b: a quote inside an unquoted field"},
      {"quote in the header", "a,b\"\n1,2\n", "row 1, column 2: a quote inside an unquoted field"},
      {"quoted field left open", "a,b\n1,\"2\n3,4\n",
       "row 2, column b: a quoted field is not closed"},
      {"column named twice", "a,b,a\n1,2,3\n", "row 1: the column 'a' is named twice"},
      {"header and no rows", "a,b\n", "row 2: the table has a header and no rows"},
      {"header and empty lines", "a,b\r\n\r\n\r\n", "row 4: the table has a header and no rows"},
      {"empty", "", "row 1: the table is empty"},
      {"only line ends", "\n\r\n", "row 1: the table is empty"},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      (void)tools::read_csv(c.text);
      ADD_FAILURE() << "read";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message) << e.what();
    }
  }
}

TEST(Csv, FindsColumnsByTheirWholeName) {
  const tools::CsvTable table = tools::read_csv("layer,z_bottom,point\n1,2,3\n");
  EXPECT_EQ(tools::column_index(table, "layer"), 0U);
  EXPECT_EQ(tools::column_index(table, "point"), 2U);
  EXPECT_FALSE(tools::column_index(table, "z"));
  EXPECT_FALSE(tools::column_index(table, "Layer"));
}

}  // namespace
