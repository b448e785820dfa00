// Text for the page and the tables: escaped markup and numbers written exactly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace view {

// Text made safe inside markup and as an attribute value: & < > " become references, valid
// UTF-8 stays, other bytes above 127 are taken as Latin-1, control characters become '?'.
std::string escaped(std::string_view text);

// Length of the valid UTF-8 sequence of two to four bytes starting at `at`, or 0.
std::size_t utf8_sequence(std::string_view text, std::size_t at);

// The shortest decimal that reads back as exactly this value ("0.9", "1e-05", "-0").
std::string shortest(double value);

// The values written shortest, separated by ", "; "none" when there are none.
std::string number_list(const std::vector<double>& values);

// Six significant digits, for depths shown to the reader ("2.99578").
std::string readable(double value);

// A pixel coordinate with two decimals, appended to `out`.
void append_pixel(std::string& out, double value);

}  // namespace view
