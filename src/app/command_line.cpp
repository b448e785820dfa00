#include "app/command_line.hpp"

#include <algorithm>
#include <iterator>
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
    "SESAM records or in KNF. Option values are read as typed answers are; each option may",
    "be given once.",
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
    "  --format sesam|knf|1|2 output format: 1 SESAM records, 2 KNF (required)",
    "  -o, --output FILE      KRANO soil file (default: ZADAZA_FILE with .fem added)",
    "  --echo                 also write the echo report, ZADAZA_FILE with .echo added",
    "  --echo-file FILE       write the echo report to FILE (implies --echo)",
    "  -h, --help             show this help and exit",
    "  --version              show the program name and version and exit",
    "",
    "Exit status:",
    "  0  conversion completed (or no ZADAZA file name was given)",
    "  1  the ZADAZA file could not be opened",
    "  2  input/output failure, an unknown output format, or a usage error",
    "  3  conversion failed, or the ZADAZA file exceeds the size limits",
    "",
    "The user guide: docs/guide.md, installed as share/doc/zadaza2krano/guide.md;",
    "man zadaza2krano.",
};

constexpr std::string_view kUsageHint =
    "usage: zadaza2krano [options] ZADAZA_FILE; 'zadaza2krano --help' lists the options";

// The banners show the version of the dialogue and of the files it reads and writes.
constexpr std::string_view kVersion =
    "zadaza2krano " ZADAZA2KRANO_VERSION
    " (dialogue and files of Version 1.3, as its banner shows; Old ZADAZA files of Version 1.0b)";

constexpr auto kTextLine = format::layout<"(A)">;

// What an option sets: a dialogue answer, or the echo file's name.
constexpr std::size_t kEchoFileSlot = kDialogueAnswers;

constexpr std::string_view kFileNameForm = "a file name of 1 to 4096 characters";

struct OptionRule {
  std::string_view name;
  std::string_view alias;  // the short name, if any
  std::size_t sets;        // the answer filled, or kEchoFileSlot
  std::string_view form;   // what its value must be; empty: it takes no value
};

constexpr OptionRule kOptions[] = {
    {"--old", {}, kGenerationAnswer, {}},
    {"--orientation", {}, kOrientationAnswer, "pos or neg"},
    {"--mudline", {}, kMudlineAnswer, "a number, such as -20.5"},
    {"--force-scale", {}, kForceScaleAnswer, "a number, such as 1000"},
    {"--length-scale", {}, kLengthScaleAnswer, "a number, such as 1.0E-3"},
    {"--id-offset", {}, kIdOffsetAnswer, "a whole number within 32 bits, such as 500"},
    {"--format", {}, kOutputFormatAnswer, "sesam, knf, 1 or 2"},
    {"--output", "-o", kOutputFileAnswer, kFileNameForm},
    {"--echo", {}, kEchoAnswer, {}},
    {"--echo-file", {}, kEchoFileSlot, kFileNameForm},
};
constexpr std::size_t kOptionCount = std::size(kOptions);

constexpr std::string_view kOptionList =
    "the options are --old, --orientation, --mudline, --force-scale, --length-scale, "
    "--id-offset, --format, -o/--output, --echo, --echo-file, -h/--help and --version";

const OptionRule* rule_of(std::string_view option) {
  for (const OptionRule& rule : kOptions) {
    if (option == rule.name || (!rule.alias.empty() && option == rule.alias)) return &rule;
  }
  return nullptr;
}

CommandLine only(CommandAction action) {
  CommandLine command;
  command.action = action;
  return command;
}

CommandLine refused(std::string_view problem, std::string_view culprit, std::string_view value,
                    std::string_view allowed_for, std::string_view allowed) {
  CommandLine refusal;
  refusal.action = CommandAction::UsageError;
  refusal.problem = problem;
  refusal.culprit = culprit;
  refusal.value = value;
  refusal.allowed_for = allowed_for;
  refusal.allowed = allowed;
  return refusal;
}

CommandLine refused(std::string_view problem, std::string_view culprit, std::string_view allowed) {
  return refused(problem, culprit, {}, {}, allowed);
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
std::string_view answer_for(const OptionRule& rule, std::string_view value) {
  switch (rule.sets) {
    case kOrientationAnswer:
      if (same_letters(value, "pos")) return "P";
      if (same_letters(value, "neg")) return "N";
      return {};
    case kOutputFormatAnswer:
      if (same_letters(value, "sesam") || value == "1") return "1";
      if (same_letters(value, "knf") || value == "2") return "2";
      return {};
    case kIdOffsetAnswer:
      return reads_as_integer(value) ? value : std::string_view{};
    case kOutputFileAnswer:
    case kEchoFileSlot:
      return fits_file_name(value) ? value : std::string_view{};
    default:
      return reads_as_real(value) ? value : std::string_view{};
  }
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
                   "characters without option", "-o", "name the output with -o");
  }
  if (command.answers[kEchoAnswer] == "Y" && command.echo_file.empty() &&
      !fits_with_extension(zadaza_file, kEchoExtension)) {
    return refused("the echo name, ZADAZA_FILE with .echo added, would be longer than 4096 "
                   "characters with option", "--echo", "name the echo file with --echo-file");
  }
  return command;
}

CommandLine checked_for_required(CommandLine command) {
  if (command.answers[kZadazaFileAnswer].empty()) {
    return refused("the ZADAZA file is missing", {}, "give ZADAZA_FILE after the options");
  }
  for (const std::size_t required : {kMudlineAnswer, kOutputFormatAnswer}) {
    if (!command.answers[required].empty()) continue;
    const OptionRule& rule = *std::find_if(std::begin(kOptions), std::end(kOptions),
                                           [&](const OptionRule& r) { return r.sets == required; });
    return refused("missing required option", rule.name, {}, rule.name, rule.form);
  }
  return checked_for_built_names(command);
}

// Sets what one option gives. `value` is used only by an option that takes one.
void apply(const OptionRule& rule, std::string_view value, CommandLine& command) {
  if (rule.sets == kGenerationAnswer) {
    command.answers[kGenerationAnswer] = "O";
  } else if (rule.sets == kEchoAnswer) {
    command.answers[kEchoAnswer] = "Y";
  } else if (rule.sets == kEchoFileSlot) {
    command.echo_file = value;
    command.answers[kEchoAnswer] = "Y";
  } else {
    command.answers[rule.sets] = value;
  }
}

void report_usage_error(const CommandLine& command) {
  const std::string_view quote = command.culprit.data() == nullptr ? "" : "'";
  const std::string_view value_start = command.value.data() == nullptr ? "" : ": '";
  const std::string_view value_end = command.value.data() == nullptr ? "" : "'";
  const std::string_view takes = command.allowed_for.empty() ? "" : " takes ";
  io::report_error({command.problem, command.culprit.data() == nullptr ? "" : " ", quote,
                    command.culprit, quote, value_start, command.value, value_end, "; ",
                    command.allowed_for, takes, command.allowed});
}

void write_lines(std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) io::write(io::kConsoleOut, kTextLine, {line});
}

}  // namespace

CommandLine parse_command_line(std::span<const char* const> arguments) {
  if (arguments.empty()) return {};
  CommandLine command = with_defaults();
  std::array<bool, kOptionCount> given{};
  bool options_ended = false;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string_view argument = arguments[a];
    const bool is_option = !options_ended && argument.size() > 1 && argument.front() == '-';
    if (!is_option) {
      if (!command.answers[kZadazaFileAnswer].empty()) {
        return refused("stray argument", argument, "give one ZADAZA_FILE");
      }
      if (!fits_file_name(argument)) {
        return refused("bad ZADAZA file name", argument, {}, "ZADAZA_FILE", kFileNameForm);
      }
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
      continue;
    }
    if (option == "-h" || option == "--help") return only(CommandAction::Help);
    if (option == "--version") return only(CommandAction::Version);
    const OptionRule* rule = rule_of(option);
    if (rule == nullptr) return refused("unknown option", argument, kOptionList);
    bool& seen = given[static_cast<std::size_t>(rule - kOptions)];
    if (seen) return refused("option given twice", option, "give each option once");
    seen = true;
    if (rule->form.empty()) {
      if (has_value) {
        return refused("no value allowed for option", argument, {}, rule->name, "no value");
      }
    } else {
      if (!has_value) {
        if (a + 1 == arguments.size()) {
          return refused("missing value for option", option, {}, option, rule->form);
        }
        value = arguments[++a];
      }
      const std::string_view line = answer_for(*rule, value);
      if (line.empty()) return refused("bad value for option", option, value, option, rule->form);
      value = line;
    }
    apply(*rule, value, command);
  }
  return checked_for_required(command);
}

int run_command(const CommandLine& command) {
  switch (command.action) {
    case CommandAction::Help:
      write_lines(kHelp);
      return 0;
    case CommandAction::Version:
      io::write(io::kConsoleOut, kTextLine, {kVersion});
      return 0;
    case CommandAction::UsageError:
      report_usage_error(command);
      io::report_error({kUsageHint});
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
