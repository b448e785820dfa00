#include "output_files.hpp"

#include "common/staged_output.hpp"
#include "format/layout.hpp"
#include "io/units.hpp"
#include "viewer.hpp"

namespace view {
namespace {

constexpr auto kWrittenLine = format::layout<"(A,A)">;

}  // namespace

void protect_zadaza_file(const std::string& path) { tools::protect_input(path); }

std::string page_file(const std::string& page, const std::string& input,
                      const TableRequest& tables) {
  if (!page.empty()) return page;
  return tables.wanted() ? "" : input + ".html";
}

bool outputs_spare_input(const std::vector<std::string>& outputs, std::string_view input) {
  const std::string refused = tools::refused_outputs(outputs, input);
  if (!refused.empty()) report(refused);
  return refused.empty();
}

bool write_reported(const std::string& path, std::string_view content, std::string_view what) {
  if (const std::string why = tools::write_output_file(path, content); !why.empty()) {
    report("cannot write '" + path + "': " + why);
    return false;
  }
  io::write(io::kConsoleOut, kWrittenLine, {what, std::string_view(path)});
  return true;
}

bool write_tables(const TableRequest& request, const std::vector<TableRow>& rows,
                  std::string_view json_header) {
  if (!request.table_file.empty() &&
      !write_reported(request.table_file, table_csv(rows), " Table written: ")) {
    return false;
  }
  return request.json_file.empty() ||
         write_reported(request.json_file, table_json(json_header, rows), " JSON written : ");
}

}  // namespace view
