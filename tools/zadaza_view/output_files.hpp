// Writing the page and the tables: never into the input file, and never a half-written file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "curve_table.hpp"
#include "table_options.hpp"

namespace view {

// Remembers an input file, a ZADAZA file or a soil file (by identity, whatever name reaches
// it), so that no output can replace it (common/staged_output.hpp).
void protect_zadaza_file(const std::string& path);

// The page to write: -o's name, else the input's name with ".html" added; none (empty) when
// a table is asked for without -o.
std::string page_file(const std::string& page, const std::string& input,
                      const TableRequest& tables);

// Whether no output (empty names aside) reaches a protected input file, called `input`
// ("the ZADAZA file") in the report of the first that does, and no two outputs are one file.
bool outputs_spare_input(const std::vector<std::string>& outputs, std::string_view input);

// Writes the file and says so on the console after `what`; or reports why not and is false.
bool write_reported(const std::string& path, std::string_view content, std::string_view what);

// Writes the tables the request asks for: the rows as CSV, and as JSON under `json_header`.
bool write_tables(const TableRequest& request, const std::vector<TableRow>& rows,
                  std::string_view json_header);

}  // namespace view
