#include "csv.hpp"

#include <algorithm>
#include <stdexcept>

namespace tools {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where a field stands, to name it in a refusal: its column's name once the header is read,
// else its place counted from 1.
class Position {
 public:
  explicit Position(const std::vector<std::string>& columns) : columns_(columns) {}

  std::string column(std::size_t field) const {
    if (field < columns_.size() && !columns_[field].empty()) return columns_[field];
    return std::to_string(field + 1);
  }

 private:
  const std::vector<std::string>& columns_;
};

// Splits the text into records, one field at a time, refusing what RFC 4180 does not allow.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool at_end() const { return at_ >= text_.size(); }
  int row() const { return row_; }

  // Reads the next record, empty lines passed over (and counted); false at the end of the
  // text. `columns` names the fields in a refusal.
  bool next_record(std::vector<std::string>& fields, const std::vector<std::string>& columns) {
    while (!at_end() && line_end_here()) skip_line_end();
    if (at_end()) return false;
    fields.clear();
    const Position position(columns);
    for (;;) {
      fields.push_back(next_field(position, fields.size()));
      if (at_end()) break;
      if (text_[at_] == ',') {
        ++at_;
        continue;
      }
      skip_line_end();
      break;
    }
    return true;
  }

  // The row the record just read began on.
  int record_row() const { return record_row_; }

 private:
  bool line_end_here() const { return text_[at_] == '\n' || text_[at_] == '\r'; }

  void skip_line_end() {
    if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
    ++at_;
    ++row_;
  }

  std::string next_field(const Position& position, std::size_t field) {
    if (field == 0) record_row_ = row_;
    if (!at_end() && text_[at_] == '"') return quoted_field(position, field);
    std::string value;
    while (!at_end() && text_[at_] != ',' && !line_end_here()) {
      if (text_[at_] == '"') {
        refuse_row(row_, position.column(field),
                   "a quote inside an unquoted field; quote the whole field and double the "
                   "quotes inside it");
      }
      value += text_[at_++];
    }
    return value;
  }

  std::string quoted_field(const Position& position, std::size_t field) {
    const int opened = row_;
    std::string value;
    ++at_;
    for (;;) {
      if (at_end()) refuse_row(opened, position.column(field), "a quoted field is not closed");
      const char c = text_[at_++];
      if (c != '"') {
        value += c;
        continue;
      }
      if (!at_end() && text_[at_] == '"') {
        value += '"';
        ++at_;
        continue;
      }
      break;
    }
    if (!at_end() && text_[at_] != ',' && !line_end_here()) {
      refuse_row(row_, position.column(field),
                 "text after a closing quote; a quoted field ends at its quote");
    }
    return value;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int row_ = 1;
  int record_row_ = 1;
};

void refuse_repeated_columns(const std::vector<std::string>& columns, int row) {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (std::find(columns.begin(), columns.begin() + static_cast<std::ptrdiff_t>(c),
                  columns[c]) != columns.begin() + static_cast<std::ptrdiff_t>(c)) {
      refuse_row(row, "", "the column '" + columns[c] + "' is named twice");
    }
  }
}

void refuse_field_count(std::size_t fields, std::size_t columns, int row) {
  if (fields == columns) return;
  refuse_row(row, "",
             std::to_string(fields) + (fields == 1 ? " field" : " fields") +
                 " where the header has " + std::to_string(columns) +
                 (columns == 1 ? " column" : " columns") +
                 "; a field holding a comma (a decimal comma?) must be quoted");
}

}  // namespace

CsvTable read_csv(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  Scanner scanner(text);
  CsvTable table;
  const std::vector<std::string> unnamed;
  if (!scanner.next_record(table.columns, unnamed)) {
    refuse_row(1, "", "the table is empty; it needs a header row");
  }
  refuse_repeated_columns(table.columns, scanner.record_row());
  CsvRow row;
  while (scanner.next_record(row.fields, table.columns)) {
    row.row = scanner.record_row();
    refuse_field_count(row.fields.size(), table.columns.size(), row.row);
    table.rows.push_back(row);
  }
  if (table.rows.empty()) refuse_row(scanner.row(), "", "the table has a header and no rows");
  return table;
}

std::optional<std::size_t> column_index(const CsvTable& table, std::string_view name) {
  const auto found = std::find(table.columns.begin(), table.columns.end(), name);
  if (found == table.columns.end()) return std::nullopt;
  return static_cast<std::size_t>(found - table.columns.begin());
}

void refuse_row(int row, std::string_view column, std::string_view what) {
  std::string message = "row " + std::to_string(row);
  if (!column.empty()) message.append(", column ").append(column);
  message.append(": ").append(what);
  throw std::runtime_error(message);
}

}  // namespace tools
