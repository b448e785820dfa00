// The command line of zadaza-view, read with the programs' shared parser.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "families/profile.hpp"
#include "io/command_options.hpp"
#include "table_options.hpp"

namespace view {

struct Options {
  bool old_generation = false;
  std::vector<double> diameters;  // empty: every diameter in use
  std::optional<int> first_layer;
  std::optional<int> last_layer;
  std::int32_t id_offset = 0;
  std::string page;  // empty: the ZADAZA name with ".html" added, or none with a table
  TableRequest tables;
  bool compare = false;            // --compare A B
  std::string check_profile;       // --check PROFILE.csv; empty: no check
  std::optional<families::Loading> loading;  // --loading, with --check
  std::optional<double> tolerance;  // --tolerance R, with --compare or --check
  std::vector<std::string> files;   // the files given: ZADAZA_FILE or SOIL_FILE, or A and B
  std::string zadaza_file;          // the one file drawn or checked, when not comparing
};

using ViewCommand = io::Command<Options>;

// Reads the arguments after the program name: the options and files, or what is wrong.
ViewCommand parse_command_line(std::span<const char* const> arguments);

// The help and the version line on the console; a refusal on standard error.
void write_help();
void write_version();
void report_usage_error(const io::UsageError& error);

}  // namespace view
