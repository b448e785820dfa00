#include "options.hpp"

#include <algorithm>
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

struct ViewOption {
  std::string_view name;
  std::string_view form;  // what its value must be
  bool (*read)(std::string_view, Options&);
  bool repeatable;
};

const ViewOption kOptions[] = {
    {"--diameter", "a diameter above 0, such as 1.5", read_diameter, true},
    {"--layers", "FIRST-LAST or one layer N, such as 2-5", read_layers, false},
    {"--offset", "a whole number within 32 bits, such as 500", read_offset, false},
    {"-o", "a page file name", [](std::string_view v, Options& o) { return read_text(v, o.page); },
     false},
    {"--table", "a CSV file name",
     [](std::string_view v, Options& o) { return read_text(v, o.tables.table_file); },
     false},
    {"--json", "a JSON file name",
     [](std::string_view v, Options& o) { return read_text(v, o.tables.json_file); },
     false},
    {"--mudline", "a real number, such as -20.5",
     [](std::string_view v, Options& o) { return read_mudline(v, o.tables); },
     false},
    {"--orientation", "pos or neg",
     [](std::string_view v, Options& o) { return read_orientation(v, o.tables); },
     false},
};

constexpr std::string_view kOptionList =
    "the options are --old, --diameter, --layers, --offset, -o, --table, --json, --mudline, "
    "--orientation, -h/--help and --version";

std::string quoted(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text).push_back('\'');
  return quoted;
}

std::string takes(const ViewOption& option) {
  return std::string(option.name) + " takes " + std::string(option.form);
}

}  // namespace

Options parse_options(const std::vector<std::string>& arguments, std::string& error) {
  Options o;
  std::vector<std::string_view> given;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string& argument = arguments[a];
    if (argument == "--help" || argument == "-h") {
      o.help = true;
      return o;
    }
    if (argument == "--version") {
      o.version = true;
      return o;
    }
    if (argument == "--old") {
      if (o.old_generation) {
        error = "option given twice '--old'; give each option once";
        return o;
      }
      o.old_generation = true;
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      const ViewOption* option = nullptr;
      for (const ViewOption& candidate : kOptions) {
        if (argument == candidate.name) option = &candidate;
      }
      if (argument == "--csv") {
        error = "--csv is replaced by --table FILE.csv, one table of every diameter";
      } else if (option == nullptr) {
        error = "unknown option " + quoted(argument) + "; " + std::string(kOptionList);
      } else if (!option->repeatable &&
                 std::find(given.begin(), given.end(), option->name) != given.end()) {
        error = "option given twice " + quoted(argument) + "; give each option once";
      } else if (a + 1 >= arguments.size()) {
        error = "missing value for option " + quoted(argument) + "; " + takes(*option);
      } else if (const std::string& value = arguments[++a]; !option->read(value, o)) {
        error = "bad value for option " + quoted(argument) + ": " + quoted(value) + "; " +
                takes(*option);
      }
      if (!error.empty()) return o;
      given.push_back(option->name);
      continue;
    }
    if (!o.zadaza_file.empty()) {
      error = "stray argument " + quoted(argument) + "; give one ZADAZA_FILE";
      return o;
    }
    o.zadaza_file = argument;
  }
  if (o.zadaza_file.empty()) error = "the ZADAZA file is missing; give ZADAZA_FILE after the options";
  return o;
}

}  // namespace view
