#include "table_options.hpp"

#include <algorithm>
#include <cctype>

#include "io/answers.hpp"

namespace view {
namespace {

bool same_letters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

bool read_file_name(std::string_view value, std::string& to) {
  if (value.empty()) return false;
  to = value;
  return true;
}

}  // namespace

bool read_table_option(std::string_view option, std::string_view value, TableRequest& request) {
  if (option == "--table") return read_file_name(value, request.table_file);
  if (option == "--json") return read_file_name(value, request.json_file);
  if (option == "--mudline") {
    double z = 0.0;
    if (!io::answer_parsing::parse_real(value, z)) return false;
    request.mudline = z;
    return true;
  }
  if (same_letters(value, "pos") || same_letters(value, "neg")) {
    request.coord_factor = same_letters(value, "pos") ? 1.0 : -1.0;
    return true;
  }
  return false;
}

std::string table_request_error(const TableRequest& request) {
  if (request.wanted() && !request.mudline) {
    return "--table and --json of a ZADAZA file need --mudline Z, the z of the mudline as the "
           "converter asks it";
  }
  return {};
}

}  // namespace view
