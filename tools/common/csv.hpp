// Tables in CSV, read strictly: a table that does not read as one is refused with the row
// (and the column, where known) of its first fault, never shifted or guessed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct CsvRow {
  int row = 0;  // as a spreadsheet numbers it: the header is row 1
  std::vector<std::string> fields;
};

struct CsvTable {
  std::vector<std::string> columns;  // the header's names
  std::vector<CsvRow> rows;          // each with as many fields as there are columns
};

// Reads an RFC 4180 table with a header row: fields separated by commas, a quoted field may
// hold commas, line ends and doubled quotes. LF, CR LF and CR alone each end a line; a
// UTF-8 byte order mark before the header is passed over; an empty line holds no row but is
// counted. Throws std::runtime_error naming the row (and the column where known) of the first
// fault: a row whose field count differs from the header's, text after a closing quote, a
// quote inside an unquoted field, a quoted field left open, a column named twice, a table
// with no header or no rows.
CsvTable read_csv(std::string_view text);

// The index of a named column, if the header has it.
std::optional<std::size_t> column_index(const CsvTable& table, std::string_view name);

// Throws the error a fault in a table's row is reported with: "row N, column C: what"
// (no column part when `column` is empty).
[[noreturn]] void refuse_row(int row, std::string_view column, std::string_view what);

}  // namespace tools
