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

}  // namespace

bool read_mudline(std::string_view value, TableRequest& request) {
  double z = 0.0;
  if (!io::answer_parsing::parse_real(value, z)) return false;
  request.mudline = z;
  return true;
}

bool read_orientation(std::string_view value, TableRequest& request) {
  if (!same_letters(value, "pos") && !same_letters(value, "neg")) return false;
  request.coord_factor = same_letters(value, "pos") ? 1.0 : -1.0;
  return true;
}

io::UsageError table_request_error(const TableRequest& request) {
  if (request.wanted() && !request.mudline) {
    return io::refusal("--table and --json of a ZADAZA file need --mudline Z",
                       "give the z of the mudline as the converter asks it");
  }
  return {};
}

}  // namespace view
