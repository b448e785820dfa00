// The command line: no arguments runs the dialogue; options give every answer beforehand, so
// that the same run goes through without questions. Also --help and --version.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "io/command_options.hpp"

namespace app {

enum class CommandAction : std::uint8_t {
  Dialogue,    // no arguments: ask every answer on the console
  Convert,     // every answer given by options
  Help,        // -h, --help
  Version,     // --version
  UsageError,  // a bad option or value; nothing is run
};

// Exit status after a usage error: the same as for an input/output failure.
inline constexpr int kUsageErrorExit = io::kUsageErrorExit;

// The dialogue's ten answers, in the order they are asked.
inline constexpr std::size_t kDialogueAnswers = 10;

struct CommandLine {
  CommandAction action = CommandAction::Dialogue;
  // Convert: the answer lines as they would be typed. They point into the arguments or at
  // constant text, so they live as long as the program.
  std::array<std::string_view, kDialogueAnswers> answers{};
  // Convert: where the echo report goes; empty for the ZADAZA name with ".echo" added.
  std::string_view echo_file;
  // UsageError: what is wrong, the argument or option at fault, and what is allowed there.
  io::UsageError error;
};

// Reads the arguments after the program name. Every value is checked here, before anything
// is opened: numbers by the rules of typed number answers.
CommandLine parse_command_line(std::span<const char* const> arguments);

// Does what the command line asks and returns the exit status: the run's own for Dialogue and
// Convert, 0 for Help and Version, 2 for a usage error (its message on standard error).
int run_command(const CommandLine& command);

}  // namespace app
