// Reading the viewer's curve table and the matching lines of the converter's KNF file, as text.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "format/layout.hpp"

namespace view_test {

// One table row, by column name. The table's fields need no quotes.
using TableRow = std::map<std::string, std::string>;
std::vector<TableRow> table_rows(const std::string& csv);

double real(const std::string& text);

// A line as a layout writes it, without its line end.
template <class L>
std::string render(const L&, const typename L::Values& values) {
  std::string out(L::size(values), ' ');
  out.resize(static_cast<std::size_t>(L::render(values, out.data()) - out.data()));
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// The KNF lines of a spring curve point and of a SOILCHAR layer.
inline constexpr auto kCurvePairLine = format::layout<"(25X,1P2E15.5)">;
inline constexpr auto kLayerLine = format::layout<"(20X,2F12.2,3I10)">;

// The point lines of every ELPLCURV and HYPELAST record, by material identifier.
std::map<std::int32_t, std::vector<std::string>> knf_point_lines(const std::string& knf);

// The layer lines of every SOILCHAR block, by soil identifier.
std::map<std::int32_t, std::vector<std::string>> soilchar_layer_lines(const std::string& knf);

}  // namespace view_test
