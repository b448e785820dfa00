#include "output_files.hpp"

#include "format/layout.hpp"
#include "io/units.hpp"
#include "os/files.hpp"
#include "os/staged_files.hpp"
#include "viewer.hpp"

namespace view {
namespace {

// The viewer writes one file at a time, in a place of the staged files no unit number uses.
constexpr int kOutputPlace = 0;

constexpr auto kWrittenLine = format::layout<"(A,A)">;

os::FileIdentity zadaza_file;

os::FileIdentity identity_of(const std::string& path) {
  os::FileFacts facts;
  if (os::facts_of(path.c_str(), facts)) return {};
  return facts.identity;
}

}  // namespace

void protect_zadaza_file(const std::string& path) { zadaza_file = identity_of(path); }

bool is_zadaza_file(const std::string& path) { return zadaza_file.same_as(identity_of(path)); }

std::string write_output_file(const std::string& path, std::string_view content) {
  if (is_zadaza_file(path)) return "it is the input file";
  os::FileHandle file = os::kNoFile;
  if (const os::Error refused = os::stage_file(kOutputPlace, path.c_str(), file)) {
    return std::string(refused.text());
  }
  os::Error error = os::write_all(file, content.data(), content.size());
  os::close_file(file);
  if (!error) error = os::commit_staged_file(kOutputPlace);
  if (error) {
    os::discard_staged_file(kOutputPlace);
    return std::string(error.text());
  }
  return {};
}

std::string page_file(const std::string& page, const std::string& input,
                      const TableRequest& tables) {
  if (!page.empty()) return page;
  return tables.wanted() ? "" : input + ".html";
}

bool outputs_spare_input(const std::vector<std::string>& outputs, std::string_view input) {
  for (const std::string& path : outputs) {
    if (path.empty() || !is_zadaza_file(path)) continue;
    report("cannot write '" + path + "': it is " + std::string(input));
    return false;
  }
  return true;
}

bool write_reported(const std::string& path, std::string_view content, std::string_view what) {
  if (const std::string why = write_output_file(path, content); !why.empty()) {
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
