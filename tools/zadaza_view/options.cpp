#include "options.hpp"

#include <charconv>
#include <limits>
#include <string_view>

namespace view {
namespace {

template <typename Number>
bool read_number(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

// "FIRST-LAST", or one layer "N".
bool read_layers(std::string_view text, Options& o) {
  const std::size_t dash = text.find('-');
  int first = 0;
  int last = 0;
  if (dash == std::string_view::npos) {
    if (!read_number(text, first)) return false;
    last = first;
  } else if (!read_number(text.substr(0, dash), first) ||
             !read_number(text.substr(dash + 1), last)) {
    return false;
  }
  if (first < 1 || last < first) return false;
  o.first_layer = first;
  o.last_layer = last;
  return true;
}

bool read_diameter(std::string_view text, Options& o) {
  double d = 0.0;
  if (!read_number(text, d) || !(d > 0.0) || d > std::numeric_limits<double>::max()) {
    return false;
  }
  o.diameters.push_back(d);
  return true;
}

bool read_offset(std::string_view text, Options& o) { return read_number(text, o.id_offset); }

bool read_text(std::string_view text, std::string& to) {
  if (text.empty()) return false;
  to = text;
  return true;
}

}  // namespace

Options parse_options(const std::vector<std::string>& arguments, std::string& error) {
  Options o;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string& argument = arguments[a];
    if (argument == "--help" || argument == "-h") {
      o.help = true;
      return o;
    }
    if (argument == "--old") {
      o.old_generation = true;
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      if (a + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return o;
      }
      const std::string& value = arguments[++a];
      bool understood = false;
      if (argument == "--diameter") {
        understood = read_diameter(value, o);
      } else if (argument == "--layers") {
        understood = read_layers(value, o);
      } else if (argument == "--offset") {
        understood = read_offset(value, o);
      } else if (argument == "-o") {
        understood = read_text(value, o.page);
      } else if (is_table_option(argument)) {
        understood = read_table_option(argument, value, o.tables);
      } else if (argument == "--csv") {
        error = "--csv is replaced by --table FILE.csv, one table of every diameter";
        return o;
      } else {
        error = "unknown option " + argument;
        return o;
      }
      if (!understood) error = "bad value '" + value + "' for " + argument;
      if (!error.empty()) return o;
      continue;
    }
    if (!o.zadaza_file.empty()) {
      error = "more than one ZADAZA file";
      return o;
    }
    o.zadaza_file = argument;
  }
  if (o.zadaza_file.empty()) error = "no ZADAZA file";
  if (error.empty()) error = table_request_error(o.tables);
  return o;
}

}  // namespace view
