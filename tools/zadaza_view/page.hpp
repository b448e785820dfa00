// The page: one self-contained HTML file (inline SVG and CSS, no script, nothing fetched) with
// the file's header, the soil profile, the notes and, per diameter, a row of P-y, T-z and Q-z
// charts for every layer. It is also well-formed XML.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "view_model.hpp"

namespace view {

struct PageFacts {
  std::string zadaza_name;
  bool old_generation = false;
  std::int32_t id_offset = 0;
  std::vector<double> diameters_in_use;
  int first_layer = 1;
  int last_layer = 0;
};

// Opens a page of the viewer's: the document's head with the style sheet every page shares and
// `more_style`, then the body and `title` as its heading.
void append_page_head(std::string& out, std::string_view title, std::string_view more_style = {});

// One row of a facts table: the name, and the value as markup.
void append_fact(std::string& out, std::string_view name, const std::string& value);

// The page of a ZADAZA file's view model.
std::string make_page(const PageFacts& facts, const ViewModel& view);

}  // namespace view
