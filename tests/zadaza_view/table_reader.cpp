#include "table_reader.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace view_test {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

bool starts_record(const std::string& line) {
  return line.starts_with(" ELPLCURV ") || line.starts_with(" HYPELAST ");
}

}  // namespace

std::vector<TableRow> table_rows(const std::string& csv) {
  const std::vector<std::string> lines = lines_of(csv);
  std::vector<TableRow> rows;
  if (lines.empty()) return rows;
  const std::vector<std::string> header = fields_of(lines[0]);
  for (std::size_t n = 1; n < lines.size(); ++n) {
    const std::vector<std::string> fields = fields_of(lines[n]);
    EXPECT_EQ(fields.size(), header.size()) << lines[n];
    TableRow row;
    for (std::size_t c = 0; c < header.size() && c < fields.size(); ++c) row[header[c]] = fields[c];
    rows.push_back(row);
  }
  return rows;
}

double real(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

std::map<std::int32_t, std::vector<std::string>> knf_point_lines(const std::string& knf) {
  std::map<std::int32_t, std::vector<std::string>> records;
  std::vector<std::string>* current = nullptr;
  for (const std::string& line : lines_of(knf)) {
    if (starts_record(line)) {
      current = &records[std::stoi(line.substr(10))];
    } else if (current != nullptr && line.starts_with(std::string(25, ' ')) && line.size() == 55) {
      current->push_back(line);
    } else {
      current = nullptr;
    }
  }
  return records;
}

std::map<std::int32_t, std::vector<std::string>> soilchar_layer_lines(const std::string& knf) {
  std::map<std::int32_t, std::vector<std::string>> blocks;
  std::vector<std::string>* current = nullptr;
  for (const std::string& line : lines_of(knf)) {
    if (line.starts_with(" SOILCHAR ")) {
      current = &blocks[std::stoi(line.substr(10, 7))];
    } else if (current != nullptr && line.starts_with(std::string(20, ' ')) && line.size() == 74) {
      current->push_back(line);
    } else if (current != nullptr && !line.starts_with("'")) {
      current = nullptr;
    }
  }
  return blocks;
}

}  // namespace view_test
