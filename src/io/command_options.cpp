#include "io/command_options.hpp"

#include <algorithm>

#include "format/layout.hpp"
#include "io/units.hpp"

namespace io {
namespace {

constexpr std::string_view kHelpPointer = " --help lists the options";

// A help line of up to three pieces; the pieces left empty add nothing.
constexpr auto kHelpLine = format::layout<"(3A)">;

// "usage: NAME text", or the same indented under "usage: " for the usages after the first.
constexpr auto kUsageLine = format::layout<"(4A)">;
// "NAME VERSION" and the program's note.
constexpr auto kVersionLine = format::layout<"(4A)">;
// The option's name and value, the help continuing the line.
constexpr auto kOptionLabel = format::layout<"(6A,$)">;

constexpr std::string_view kUsageStart = "usage: ";
constexpr std::string_view kUsageLast = "--help | --version";
constexpr std::string_view kBlanks = "                                                  ";

// Options whose name and value run past this column have their help start on the next line.
constexpr std::size_t kWidestHelpColumn = 26;
constexpr std::string_view kOptionIndent = "  ";
constexpr std::string_view kOptionGap = "  ";

std::string_view blanks(std::size_t count) { return kBlanks.substr(0, count); }

void write_line(int unit, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
  io::write(unit, kHelpLine, {a, b, c});
}

// Calls `line` with each line of a text whose lines are parted by '\n'.
template <typename Line>
void each_line(std::string_view text, Line line) {
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    line(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

void write_section(int unit, std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  write_line(unit, {});
  for (const std::string_view line : lines) write_line(unit, line);
}

void write_usages(int unit, const ProgramText& program) {
  const std::size_t indent = kUsageStart.size() + program.name.size() + 1;
  std::string_view start = kUsageStart;
  for (const std::string_view text : program.usages) {
    bool first = true;
    each_line(text, [&](std::string_view line) {
      if (first) {
        io::write(unit, kUsageLine, {start, program.name, line.empty() ? "" : " ", line});
      } else {
        write_line(unit, blanks(indent), line);
      }
      first = false;
    });
    start = blanks(kUsageStart.size());
  }
  io::write(unit, kUsageLine, {start, program.name, " ", kUsageLast});
}

// The option's name as the help shows it: "-o, --output FILE".
struct Label {
  std::string_view alias;
  std::string_view comma;
  std::string_view name;
  std::string_view space;
  std::string_view value;
  std::size_t size() const {
    return alias.size() + comma.size() + name.size() + space.size() + value.size();
  }
};

Label label_of(const OptionRule& rule) {
  Label label{rule.alias, rule.alias.empty() ? "" : ", ", rule.name, {}, rule.value_name};
  if (rule.takes_value()) label.space = " ";
  return label;
}

std::size_t help_column(std::span<const OptionRule* const> rules) {
  std::size_t widest = 0;
  const auto fit = [&](const OptionRule& rule) {
    const std::size_t size = label_of(rule).size();
    if (kOptionIndent.size() + size + kOptionGap.size() <= kWidestHelpColumn) {
      widest = std::max(widest, size);
    }
  };
  fit(kHelpOption);
  fit(kVersionOption);
  for (const OptionRule* rule : rules) fit(*rule);
  return kOptionIndent.size() + widest + kOptionGap.size();
}

void write_option(int unit, const OptionRule& rule, std::size_t column) {
  const Label label = label_of(rule);
  const std::size_t used = kOptionIndent.size() + label.size();
  io::write(unit, kOptionLabel,
            {kOptionIndent, label.alias, label.comma, label.name, label.space, label.value});
  bool first = true;
  each_line(rule.help, [&](std::string_view line) {
    if (first && used + kOptionGap.size() <= column) {
      write_line(unit, blanks(column - used), line);
    } else {
      if (first) write_line(unit, {});
      write_line(unit, blanks(column), line);
    }
    first = false;
  });
}

void write_options(int unit, std::span<const OptionRule* const> rules) {
  const std::size_t column = help_column(rules);
  write_line(unit, {});
  write_line(unit, "Options:");
  for (const OptionRule* rule : rules) write_option(unit, *rule, column);
  write_option(unit, kHelpOption, column);
  write_option(unit, kVersionOption, column);
}

}  // namespace

namespace option_parsing {

Word word_of(std::string_view argument) {
  if (argument.size() < 2 || argument.front() != '-') return {};
  if (const std::size_t equals = argument.find('=');
      argument.starts_with("--") && equals != std::string_view::npos) {
    return {argument.substr(0, equals), argument.substr(equals + 1)};
  }
  return {argument, std::nullopt};
}

}  // namespace option_parsing

UsageError unknown_option(std::string_view argument) {
  return {.problem = "unknown option", .culprit = argument};
}

UsageError repeated_option(std::string_view option) {
  return {.problem = "option given twice", .culprit = option, .allowed = "give each option once"};
}

UsageError missing_value(std::string_view option, const OptionRule& rule) {
  return {.problem = "missing value for option",
          .culprit = option,
          .allowed_for = option,
          .allowed = rule.form};
}

UsageError unwanted_value(std::string_view argument, const OptionRule& rule) {
  return {.problem = "no value allowed for option",
          .culprit = argument,
          .allowed_for = rule.name,
          .allowed = "no value"};
}

UsageError bad_value(std::string_view option, std::string_view value, const OptionRule& rule) {
  return {.problem = "bad value for option",
          .culprit = option,
          .value = value,
          .allowed_for = option,
          .allowed = rule.form};
}

UsageError missing_option(const OptionRule& rule) {
  return {.problem = "missing required option",
          .culprit = rule.name,
          .allowed_for = rule.name,
          .allowed = rule.form};
}

UsageError stray_argument(std::string_view argument, std::string_view allowed) {
  return {.problem = "stray argument", .culprit = argument, .allowed = allowed};
}

UsageError refusal(std::string_view problem, std::string_view allowed) {
  return {.problem = problem, .allowed = allowed};
}

std::array<std::string_view, kUsageMessagePieces> usage_message(const ProgramText& program,
                                                                const UsageError& error) {
  std::array<std::string_view, kUsageMessagePieces> pieces{};
  std::size_t n = 0;
  pieces[n++] = error.problem;
  if (error.culprit) {
    pieces[n++] = " '";
    pieces[n++] = *error.culprit;
    pieces[n++] = "'";
  }
  if (error.value) {
    pieces[n++] = ": '";
    pieces[n++] = *error.value;
    pieces[n++] = "'";
  }
  if (!error.allowed.empty()) {
    pieces[n++] = "; ";
    if (!error.allowed_for.empty()) {
      pieces[n++] = error.allowed_for;
      pieces[n++] = " takes ";
    }
    pieces[n++] = error.allowed;
  }
  pieces[n++] = "; ";
  pieces[n++] = program.name;
  pieces[n++] = kHelpPointer;
  return pieces;
}

void report_usage_error(const ProgramText& program, const UsageError& error) {
  const auto p = usage_message(program, error);
  static_assert(kUsageMessagePieces == 16, "every piece is passed on");
  report_error({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10], p[11], p[12],
                p[13], p[14], p[15]});
}

void write_version(int unit, const ProgramText& program) {
  io::write(unit, kVersionLine, {program.name, " ", program.version, program.version_note});
}

void write_help(int unit, const ProgramText& program, std::span<const OptionRule* const> rules) {
  write_usages(unit, program);
  write_section(unit, program.about);
  write_options(unit, rules);
  write_section(unit, program.after_options);
  write_line(unit, {});
  write_line(unit, "Exit status:");
  for (const std::string_view line : program.exit_statuses) write_line(unit, kOptionIndent, line);
  write_section(unit, program.closing);
}

}  // namespace io
