#include "app/command_line.hpp"

#include <string_view>

#include "app/dialogue.hpp"
#include "app/run.hpp"
#include "format/layout.hpp"
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

constexpr std::string_view kHelp[] = {
    "usage: zadaza2krano                         ask every setting on the console",
    "       zadaza2krano [options] ZADAZA_FILE   convert without asking",
    "       zadaza2krano --help | --version",
    "",
    "Converts a ZADAZA pile-soil file (P-y, T-z and Q-z curves of every layer and pile",
    "diameter) into a KRANO soil file: SOILCHAR blocks and spring curve materials, as",
    "SESAM records or in KNF. Option values are read as typed answers are.",
    "",
    "Options:",
    "  --old                  the ZADAZA file is of the Old generation (default: New)",
    "  --orientation pos|neg  orientation of the soil axis (default: neg)",
    "  --mudline Z            z-coordinate of the mudline, origin of the soil axis",
    "                         (required)",
    "  --force-scale F        force unit factor written into SOILCHAR (default: 1.0)",
    "  --length-scale L       length unit factor written into SOILCHAR (default: 1.0)",
    "  --id-offset N          whole number added to every material identifier",
    "                         (default: 0)",
    "  --format sesam|knf     output format (required)",
    "  -o, --output FILE      KRANO soil file (default: ZADAZA_FILE with .fem added)",
    "  --echo                 also write the echo report, ZADAZA_FILE with .echo added",
    "  -h, --help             show this help and exit",
    "  --version              show the program name and version and exit",
    "",
    "Exit status:",
    "  0  conversion completed (or no ZADAZA file name was given)",
    "  1  the ZADAZA file could not be opened",
    "  2  input/output failure, or a usage error",
    "  3  conversion failed, or the ZADAZA file exceeds the size limits",
    "",
    "The user guide: docs/guide.md, installed as share/doc/zadaza2krano/guide.md;",
    "man zadaza2krano.",
};

constexpr std::string_view kUsageHint =
    "usage: zadaza2krano [options] ZADAZA_FILE; 'zadaza2krano --help' lists the options";

constexpr auto kTextLine = format::layout<"(A)">;

CommandLine only(CommandAction action) {
  CommandLine command;
  command.action = action;
  return command;
}

CommandLine refused(std::string_view problem, std::string_view culprit,
                    std::string_view value = {}) {
  CommandLine refusal;
  refusal.action = CommandAction::UsageError;
  refusal.problem = problem;
  refusal.culprit = culprit;
  refusal.value = value;
  return refusal;
}

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool reads_as_real(std::string_view value) {
  double number = 0.0;
  return io::answer_parsing::parse_real(value, number);
}

bool reads_as_integer(std::string_view value) {
  std::int32_t number = 0;
  return io::answer_parsing::parse_integer(value, number);
}

bool fits_file_name(std::string_view value) {
  return !value.empty() && value.size() <= static_cast<std::size_t>(kFileNameLength);
}

// The answer line that a value of an option gives, or empty when the value is bad.
std::string_view answer_for(std::string_view option, std::string_view value) {
  if (option == "--orientation") {
    if (same_letters(value, "pos")) return "P";
    if (same_letters(value, "neg")) return "N";
    return {};
  }
  if (option == "--format") {
    if (same_letters(value, "sesam")) return "1";
    if (same_letters(value, "knf")) return "2";
    return {};
  }
  if (option == "--id-offset") return reads_as_integer(value) ? value : std::string_view{};
  if (option == "--output" || option == "-o") return fits_file_name(value) ? value : std::string_view{};
  return reads_as_real(value) ? value : std::string_view{};
}

// The answer filled by an option that takes a value; kDialogueAnswers for any other option.
std::size_t answer_of_option(std::string_view option) {
  if (option == "--orientation") return kOrientationAnswer;
  if (option == "--mudline") return kMudlineAnswer;
  if (option == "--force-scale") return kForceScaleAnswer;
  if (option == "--length-scale") return kLengthScaleAnswer;
  if (option == "--id-offset") return kIdOffsetAnswer;
  if (option == "--format") return kOutputFormatAnswer;
  if (option == "--output" || option == "-o") return kOutputFileAnswer;
  return kDialogueAnswers;
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
    return refused("the output name, ZADAZA_FILE with .fem added, would be longer than 4096 "
                   "characters; name the output with option", "-o");
  }
  if (command.answers[kEchoAnswer] == "Y" && !fits_with_extension(zadaza_file, kEchoExtension)) {
    return refused("the echo name, ZADAZA_FILE with .echo added, would be longer than 4096 "
                   "characters; shorten ZADAZA_FILE or leave out option", "--echo");
  }
  return command;
}

CommandLine checked_for_required(CommandLine command) {
  if (command.answers[kZadazaFileAnswer].empty()) return refused("the ZADAZA file is missing", {});
  if (command.answers[kMudlineAnswer].empty()) return refused("missing required option", "--mudline");
  if (command.answers[kOutputFormatAnswer].empty()) return refused("missing required option", "--format");
  return checked_for_built_names(command);
}

void report_usage_error(const CommandLine& command) {
  if (command.culprit.data() == nullptr) {
    io::report_error({command.problem});
  } else if (command.value.data() == nullptr) {
    io::report_error({command.problem, " '", command.culprit, "'"});
  } else {
    io::report_error({command.problem, " '", command.culprit, "': '", command.value, "'"});
  }
}

void write_lines(std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) io::write(io::kConsoleOut, kTextLine, {line});
}

}  // namespace

CommandLine parse_command_line(std::span<const char* const> arguments) {
  if (arguments.empty()) return {};
  CommandLine command = with_defaults();
  bool options_ended = false;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string_view argument = arguments[a];
    const bool is_option = !options_ended && argument.size() > 1 && argument.front() == '-';
    if (!is_option) {
      if (!command.answers[kZadazaFileAnswer].empty()) return refused("stray argument", argument);
      if (!fits_file_name(argument)) return refused("bad ZADAZA file name", argument);
      command.answers[kZadazaFileAnswer] = argument;
      continue;
    }
    std::string_view option = argument;
    std::string_view value;
    bool has_value = false;
    if (const std::size_t equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
      option = argument.substr(0, equals);
      value = argument.substr(equals + 1);
      has_value = true;
    }
    if (option == "--") {
      options_ended = true;
    } else if (option == "-h" || option == "--help") {
      return only(CommandAction::Help);
    } else if (option == "--version") {
      return only(CommandAction::Version);
    } else if (option == "--old" || option == "--echo") {
      if (has_value) return refused("no value allowed for option", argument);
      command.answers[option == "--old" ? kGenerationAnswer : kEchoAnswer] = option == "--old" ? "O" : "Y";
    } else if (const std::size_t answer = answer_of_option(option); answer < kDialogueAnswers) {
      if (!has_value) {
        if (a + 1 == arguments.size()) return refused("missing value for option", option);
        value = arguments[++a];
      }
      const std::string_view line = answer_for(option, value);
      if (line.empty()) return refused("bad value for option", option, value);
      command.answers[answer] = line;
    } else {
      return refused("unknown option", argument);
    }
  }
  return checked_for_required(command);
}

int run_command(const CommandLine& command) {
  switch (command.action) {
    case CommandAction::Help:
      write_lines(kHelp);
      return 0;
    case CommandAction::Version:
      io::write(io::kConsoleOut, kTextLine, {std::string_view{"zadaza2krano " ZADAZA2KRANO_VERSION}});
      return 0;
    case CommandAction::UsageError:
      report_usage_error(command);
      io::report_error({kUsageHint});
      return kUsageErrorExit;
    case CommandAction::Convert:
      io::preset_answers(command.answers);
      return run_converter();
    case CommandAction::Dialogue:
      break;
  }
  return run_converter();
}

}  // namespace app
