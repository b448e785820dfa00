// The command line of zadaza-make, read with the programs' shared parser.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "families/profile.hpp"
#include "io/command_options.hpp"
#include "synthetic.hpp"
#include "zadaza_writer.hpp"

namespace zadaza_make {

struct Options {
  bool old_generation = false;
  bool unchecked = false;
  bool synthetic = false;
  bool text = false;
  bool decode = false;
  bool from_table = false;
  std::string output;  // --decode: empty for standard output
  BlockStyle style = BlockStyle::Full;
  SyntheticSize size;
  bool synthetic_size_given = false;  // --layers, --in-use, --dsp or --seed
  // --diameters as given: a count of slots with --synthetic, the diameters with --profile.
  std::optional<std::string> diameters_given;
  std::string profile;  // --profile: the soil profile; empty: none
  std::vector<double> pile_diameters;  // --profile: m, one slot each, in this order
  std::optional<families::Loading> loading;
  std::optional<double> spacing;  // --profile: the thickest layer, m
  std::optional<std::string> label;
  std::vector<std::string> files;
};

using MakeCommand = io::Command<Options>;

// Reads the arguments after the program name: the options and files, or what is wrong.
MakeCommand parse_command_line(std::span<const char* const> arguments);

// The help and the version line on the console; a refusal on standard error.
void write_help();
void write_version();
void report_usage_error(const io::UsageError& error);

}  // namespace zadaza_make
