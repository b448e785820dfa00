// The command line of every program: each program declares its options in one table of rows
// and its texts in one ProgramText; one parser reads the arguments against the table, and the
// help, the version line and every refusal are written from the same declarations, so the
// three programs answer in one shape.
//
// Nothing here allocates: the parser walks the arguments as string_views, and the values it
// hands over point into them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace io {

enum class Repeats : std::uint8_t {
  Once,  // a second use is refused
  Many,  // every use is taken, in order
};

// One option as the user sees it.
struct OptionRule {
  std::string_view name{};        // "--mudline"
  std::string_view alias{};       // the short name, "-o"; empty: none
  std::string_view value_name{};  // the value in the help, "Z"; empty: the option takes no value
  Repeats repeats = Repeats::Once;
  std::string_view form{};  // what a value must be, for refusals: "a number, such as -20.5"
  std::string_view help{};  // the help text; '\n' starts another line of it

  constexpr bool takes_value() const { return !value_name.empty(); }
  constexpr bool is_called(std::string_view word) const {
    return word == name || (!alias.empty() && word == alias);
  }
};

// One row of a program's table: the option, and what it does to the program's settings. `take`
// gets the value as given (empty for an option that takes none) and returns false when the
// value is bad; the parser then refuses it with the row's `form`.
template <typename Settings>
struct Option {
  OptionRule rule;
  bool (*take)(Settings& settings, std::string_view value);
};

// What is wrong with a command line: "<problem> '<culprit>': '<value>'; <allowed_for> takes
// <allowed>", each part left out when empty ("<problem>; <allowed>" without `allowed_for`).
// No problem: the command line is sound.
struct UsageError {
  std::string_view problem{};
  std::optional<std::string_view> culprit{};
  std::optional<std::string_view> value{};
  std::string_view allowed_for{};
  std::string_view allowed{};

  explicit operator bool() const { return !problem.empty(); }
};

// The refusals every program shares.
UsageError unknown_option(std::string_view argument);
UsageError repeated_option(std::string_view option);
UsageError missing_value(std::string_view option, const OptionRule& rule);
UsageError unwanted_value(std::string_view argument, const OptionRule& rule);
UsageError bad_value(std::string_view option, std::string_view value, const OptionRule& rule);
UsageError missing_option(const OptionRule& rule);  // a required option not given
UsageError stray_argument(std::string_view argument, std::string_view allowed);
// A program's own refusal: what is wrong, and what to give instead.
UsageError refusal(std::string_view problem, std::string_view allowed);

// The options every program has, answered by the parser itself.
inline constexpr OptionRule kHelpOption{
    .name = "--help", .alias = "-h", .help = "show this help and exit"};
inline constexpr OptionRule kVersionOption{
    .name = "--version", .help = "show the program name and version and exit"};

// What a program says about itself.
struct ProgramText {
  std::string_view name{};     // "zadaza-view"
  std::string_view version{};  // "1.4.0"
  // After "NAME VERSION" on the version line: empty, or " (...)".
  std::string_view version_note{};
  // Each a usage line after the program's name; '\n' continues it under the first. The last
  // usage line, "NAME --help | --version", is added.
  std::span<const std::string_view> usages{};
  std::span<const std::string_view> about{};        // before the options
  std::span<const std::string_view> after_options{};  // a section after them; may be empty
  std::span<const std::string_view> exit_statuses{};  // "0  page written", one a line, indented
  std::span<const std::string_view> closing{};      // the last lines; may be empty
};

// The exit status of every program after a usage error.
inline constexpr int kUsageErrorExit = 2;

enum class CommandAction : std::uint8_t {
  Run,      // the options are taken into the settings
  Help,     // -h or --help
  Version,  // --version
  Refused,  // a usage error; the settings are partly taken
};

struct ParsedArguments {
  CommandAction action = CommandAction::Run;
  UsageError error;  // Refused: what is wrong
};

// A program's positional arguments, one at a time: the refusal, or no problem when taken.
template <typename Settings>
using OperandReader = UsageError (*)(Settings& settings, std::string_view operand);

namespace option_parsing {

// One argument as the parser reads it.
struct Word {
  std::string_view option;  // the option as typed, without "=value"; empty: an operand
  std::optional<std::string_view> attached;  // the value after '=' of "--name=value"
};

// An argument is an option when it starts with '-' and is more than "-"; "--name=value"
// carries its value. After "--" every argument is an operand.
Word word_of(std::string_view argument);
inline constexpr std::string_view kEndOfOptions = "--";

}  // namespace option_parsing

// Reads the arguments after the program's name against the program's table, in order: each
// option's value is handed to its row, each operand to `take_operand`. -h, --help and
// --version end the reading where they stand, so a refusal before them wins.
template <typename Settings, std::size_t N>
ParsedArguments parse_arguments(std::span<const char* const> arguments,
                                const Option<Settings> (&options)[N],
                                OperandReader<Settings> take_operand, Settings& settings) {
  std::array<bool, N> given{};
  bool options_ended = false;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string_view argument = arguments[a];
    const option_parsing::Word word =
        options_ended ? option_parsing::Word{} : option_parsing::word_of(argument);
    if (word.option.empty()) {
      if (const UsageError error = take_operand(settings, argument)) {
        return {CommandAction::Refused, error};
      }
      continue;
    }
    if (word.option == option_parsing::kEndOfOptions && !word.attached) {
      options_ended = true;
      continue;
    }
    if (kHelpOption.is_called(word.option)) return {CommandAction::Help, {}};
    if (kVersionOption.is_called(word.option)) return {CommandAction::Version, {}};
    std::size_t row = 0;
    while (row < N && !options[row].rule.is_called(word.option)) ++row;
    if (row == N) return {CommandAction::Refused, unknown_option(argument)};
    const OptionRule& rule = options[row].rule;
    if (given[row] && rule.repeats == Repeats::Once) {
      return {CommandAction::Refused, repeated_option(word.option)};
    }
    given[row] = true;
    std::string_view value;
    if (!rule.takes_value()) {
      if (word.attached) return {CommandAction::Refused, unwanted_value(argument, rule)};
    } else if (word.attached) {
      value = *word.attached;
    } else if (a + 1 < arguments.size()) {
      value = arguments[++a];
    } else {
      return {CommandAction::Refused, missing_value(word.option, rule)};
    }
    if (!options[row].take(settings, value)) {
      return {CommandAction::Refused, bad_value(word.option, value, rule)};
    }
  }
  return {};
}

// A program's whole command line: what to do, what is wrong, and the settings taken.
template <typename Settings>
struct Command {
  CommandAction action = CommandAction::Run;
  UsageError error;  // Refused: what is wrong
  Settings options;
};

// Reads the arguments as parse_arguments does, then lets the program check the settings as a
// whole (options that need or exclude each other); a problem there refuses the command line.
template <typename Settings, std::size_t N>
Command<Settings> read_command(std::span<const char* const> arguments,
                               const Option<Settings> (&options)[N],
                               OperandReader<Settings> take_operand,
                               UsageError (*check)(Settings& settings)) {
  Command<Settings> command;
  const ParsedArguments parsed = parse_arguments(arguments, options, take_operand, command.options);
  command.action = parsed.action;
  command.error = parsed.error;
  if (parsed.action != CommandAction::Run) return command;
  if (const UsageError error = check(command.options)) {
    command.action = CommandAction::Refused;
    command.error = error;
  }
  return command;
}

// The refusal's line on standard error, as pieces after the program's name: what is wrong,
// then "; NAME --help lists the options".
inline constexpr std::size_t kUsageMessagePieces = 16;
std::array<std::string_view, kUsageMessagePieces> usage_message(const ProgramText& program,
                                                                const UsageError& error);

// Writes the refusal on standard error through the one writer of standard error.
void report_usage_error(const ProgramText& program, const UsageError& error);

// Writes "NAME VERSION" and the note on `unit`.
void write_version(int unit, const ProgramText& program);

// Writes the help on `unit`: the usage lines, the text about the program, the options (the
// table's, then -h/--help and --version), the section after them, the exit statuses and the
// closing lines, with a blank line between the parts.
void write_help(int unit, const ProgramText& program, std::span<const OptionRule* const> rules);

template <typename Settings, std::size_t N>
void write_help(int unit, const ProgramText& program, const Option<Settings> (&options)[N]) {
  std::array<const OptionRule*, N> rules{};
  for (std::size_t row = 0; row < N; ++row) rules[row] = &options[row].rule;
  write_help(unit, program, rules);
}

}  // namespace io
