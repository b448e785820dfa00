#include "app/command_line.hpp"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "app/dialogue.hpp"
#include "app/run.hpp"
#include "io/answers.hpp"
#include "io/units.hpp"

#ifndef ZADAZA2KRANO_VERSION
#error "ZADAZA2KRANO_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace app {
namespace {

// Where each answer stands in the dialogue.
enum AnswerIndex : std::size_t {
  kGenerationAnswer,
  kZadazaFileAnswer,
  kOrientationAnswer,
  kMudlineAnswer,
  kForceScaleAnswer,
  kLengthScaleAnswer,
  kIdOffsetAnswer,
  kOutputFormatAnswer,
  kOutputFileAnswer,
  kEchoAnswer,
};

constexpr std::string_view kUsages[] = {"", "[options] ZADAZA_FILE"};

constexpr std::string_view kAbout[] = {
    "Converts a ZADAZA pile-soil file (P-y, T-z and Q-z curves of every layer and pile",
    "diameter) into a KRANO soil file: SOILCHAR blocks and spring curve materials, as",
    "SESAM records or in KNF. Without arguments it asks every setting on the console; with",
    "options and ZADAZA_FILE it converts without asking. Option values are read as typed",
    "answers are; each option may be given once.",
};

constexpr std::string_view kExitStatuses[] = {
    "0  conversion completed (or no ZADAZA file name was given)",
    "1  the ZADAZA file could not be opened",
    "2  input/output failure, an unknown output format, or a usage error",
    "3  conversion failed, or the ZADAZA file exceeds the size limits",
};

constexpr std::string_view kClosing[] = {
    "The user guide: docs/guide.md, installed as share/doc/zadaza2krano/guide.md;",
    "man zadaza2krano.",
};

// The banners show the version of the dialogue and of the files it reads and writes.
constexpr io::ProgramText kProgram{
    .name = "zadaza2krano",
    .version = ZADAZA2KRANO_VERSION,
    .version_note =
        " (dialogue and files of Version 1.3, as its banner shows; Old ZADAZA files of Version 1.0b)",
    .usages = kUsages,
    .about = kAbout,
    .exit_statuses = kExitStatuses,
    .closing = kClosing,
};

constexpr std::string_view kFileNameForm = "a file name of 1 to 4096 characters";

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool fits_file_name(std::string_view value) {
  return !value.empty() && value.size() <= static_cast<std::size_t>(kFileNameLength);
}

// Each option sets the answer the dialogue would read typed; a value it would not read is
// refused.
template <AnswerIndex kAnswer>
bool take_real(CommandLine& command, std::string_view value) {
  double number = 0.0;
  if (!io::answer_parsing::parse_real(value, number)) return false;
  command.answers[kAnswer] = value;
  return true;
}

bool take_id_offset(CommandLine& command, std::string_view value) {
  std::int32_t number = 0;
  if (!io::answer_parsing::parse_integer(value, number)) return false;
  command.answers[kIdOffsetAnswer] = value;
  return true;
}

bool take_orientation(CommandLine& command, std::string_view value) {
  const bool positive = same_letters(value, "pos");
  if (!positive && !same_letters(value, "neg")) return false;
  command.answers[kOrientationAnswer] = positive ? "P" : "N";
  return true;
}

bool take_format(CommandLine& command, std::string_view value) {
  const bool sesam = same_letters(value, "sesam") || value == "1";
  if (!sesam && !same_letters(value, "knf") && value != "2") return false;
  command.answers[kOutputFormatAnswer] = sesam ? "1" : "2";
  return true;
}

bool take_old(CommandLine& command, std::string_view) {
  command.answers[kGenerationAnswer] = "O";
  return true;
}

bool take_output(CommandLine& command, std::string_view value) {
  if (!fits_file_name(value)) return false;
  command.answers[kOutputFileAnswer] = value;
  return true;
}

bool take_echo(CommandLine& command, std::string_view) {
  command.answers[kEchoAnswer] = "Y";
  return true;
}

bool take_echo_file(CommandLine& command, std::string_view value) {
  if (!fits_file_name(value)) return false;
  command.echo_file = value;
  return take_echo(command, value);
}

constexpr io::Option<CommandLine> kOptions[] = {
    {{.name = "--old", .help = "the ZADAZA file is of the Old generation (default: New)"},
     take_old},
    {{.name = "--orientation",
      .value_name = "pos|neg",
      .form = "pos or neg",
      .help = "orientation of the soil axis (default: neg)"},
     take_orientation},
    {{.name = "--mudline",
      .value_name = "Z",
      .form = "a number, such as -20.5",
      .help = "z-coordinate of the mudline, origin of the soil axis\n(required)"},
     take_real<kMudlineAnswer>},
    {{.name = "--force-scale",
      .value_name = "F",
      .form = "a number, such as 1000",
      .help = "force unit factor written into SOILCHAR (default: 1.0)"},
     take_real<kForceScaleAnswer>},
    {{.name = "--length-scale",
      .value_name = "L",
      .form = "a number, such as 1.0E-3",
      .help = "length unit factor written into SOILCHAR (default: 1.0)"},
     take_real<kLengthScaleAnswer>},
    {{.name = "--id-offset",
      .value_name = "N",
      .form = "a whole number within 32 bits, such as 500",
      .help = "whole number added to every material identifier\n(default: 0)"},
     take_id_offset},
    {{.name = "--format",
      .value_name = "sesam|knf|1|2",
      .form = "sesam, knf, 1 or 2",
      .help = "output format: 1 SESAM records, 2 KNF (required)"},
     take_format},
    {{.name = "--output",
      .alias = "-o",
      .value_name = "FILE",
      .form = kFileNameForm,
      .help = "KRANO soil file (default: ZADAZA_FILE with .fem added)"},
     take_output},
    {{.name = "--echo", .help = "also write the echo report, ZADAZA_FILE with .echo added"},
     take_echo},
    {{.name = "--echo-file",
      .value_name = "FILE",
      .form = kFileNameForm,
      .help = "write the echo report to FILE (implies --echo)"},
     take_echo_file},
};

const io::OptionRule& rule_named(std::string_view name) {
  return std::find_if(std::begin(kOptions), std::end(kOptions),
                      [&](const io::Option<CommandLine>& option) { return option.rule.name == name; })
      ->rule;
}

// The options without a default.
struct RequiredOption {
  std::string_view name;
  AnswerIndex answer;
};
constexpr RequiredOption kRequiredOptions[] = {{"--mudline", kMudlineAnswer},
                                               {"--format", kOutputFormatAnswer}};

io::UsageError take_zadaza_file(CommandLine& command, std::string_view argument) {
  if (!command.answers[kZadazaFileAnswer].empty()) {
    return io::stray_argument(argument, "give one ZADAZA_FILE");
  }
  if (!fits_file_name(argument)) {
    return {.problem = "bad ZADAZA file name",
            .culprit = argument,
            .allowed_for = "ZADAZA_FILE",
            .allowed = kFileNameForm};
  }
  command.answers[kZadazaFileAnswer] = argument;
  return {};
}

CommandLine only(CommandAction action) {
  CommandLine command;
  command.action = action;
  return command;
}

CommandLine refused(const io::UsageError& error) {
  CommandLine refusal;
  refusal.action = CommandAction::UsageError;
  refusal.error = error;
  return refusal;
}

CommandLine with_defaults() {
  CommandLine command;
  command.action = CommandAction::Convert;
  command.answers[kGenerationAnswer] = "N";
  command.answers[kOrientationAnswer] = "N";
  command.answers[kForceScaleAnswer] = "1.0";
  command.answers[kLengthScaleAnswer] = "1.0";
  command.answers[kIdOffsetAnswer] = "0";
  command.answers[kOutputFileAnswer] = "";  // an empty answer: the ZADAZA name with .fem
  command.answers[kEchoAnswer] = "N";
  return command;
}

// The names built from the ZADAZA file name must be kept whole too.
CommandLine checked_for_built_names(CommandLine command) {
  static_assert(kFileNameLength == 4096, "the refusals below name the length");
  const std::string_view zadaza_file = command.answers[kZadazaFileAnswer];
  if (command.answers[kOutputFileAnswer].empty() &&
      !fits_with_extension(zadaza_file, kOutputExtension)) {
    return refused({.problem = "the output name, ZADAZA_FILE with .fem added, would be longer "
                               "than 4096 characters without option",
                    .culprit = "-o",
                    .allowed = "name the output with -o"});
  }
  if (command.answers[kEchoAnswer] == "Y" && command.echo_file.empty() &&
      !fits_with_extension(zadaza_file, kEchoExtension)) {
    return refused({.problem = "the echo name, ZADAZA_FILE with .echo added, would be longer "
                               "than 4096 characters with option",
                    .culprit = "--echo",
                    .allowed = "name the echo file with --echo-file"});
  }
  return command;
}

CommandLine checked_for_required(CommandLine command) {
  if (command.answers[kZadazaFileAnswer].empty()) {
    return refused(io::refusal("the ZADAZA file is missing", "give ZADAZA_FILE after the options"));
  }
  for (const RequiredOption& required : kRequiredOptions) {
    if (command.answers[required.answer].empty()) {
      return refused(io::missing_option(rule_named(required.name)));
    }
  }
  return checked_for_built_names(command);
}

}  // namespace

CommandLine parse_command_line(std::span<const char* const> arguments) {
  if (arguments.empty()) return {};
  CommandLine command = with_defaults();
  const io::ParsedArguments parsed =
      io::parse_arguments(arguments, kOptions, take_zadaza_file, command);
  switch (parsed.action) {
    case io::CommandAction::Help: return only(CommandAction::Help);
    case io::CommandAction::Version: return only(CommandAction::Version);
    case io::CommandAction::Refused: return refused(parsed.error);
    case io::CommandAction::Run: break;
  }
  return checked_for_required(command);
}

int run_command(const CommandLine& command) {
  switch (command.action) {
    case CommandAction::Help:
      io::write_help(io::kConsoleOut, kProgram, kOptions);
      return 0;
    case CommandAction::Version:
      io::write_version(io::kConsoleOut, kProgram);
      return 0;
    case CommandAction::UsageError:
      io::report_usage_error(kProgram, command.error);
      return kUsageErrorExit;
    case CommandAction::Convert:
      io::preset_answers(command.answers);
      return run_converter(command.echo_file);
    case CommandAction::Dialogue:
      break;
  }
  return run_converter();
}

}  // namespace app
