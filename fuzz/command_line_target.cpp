// The command-line parser on arbitrary arguments: the input split into the arguments after
// the program name, each ended by a NUL byte (or by the end of the input).
//
// A usage error comes back as a result, never as an end of the program; a command line that
// converts holds every answer the dialogue asks, each one the dialogue reads as given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.hpp"
#include "app/dialogue.hpp"
#include "io/answers.hpp"

namespace {

constexpr std::size_t kMudlineAnswer = 3;
constexpr std::size_t kIdOffsetAnswer = 6;
constexpr std::size_t kOutputFormatAnswer = 7;

void require(bool holds) {
  if (!holds) std::abort();
}

void check_conversion(const app::CommandLine& command) {
  for (const std::string_view answer : command.answers) {
    require(answer.size() <= static_cast<std::size_t>(app::kFileNameLength));
  }
  require(!command.answers[1].empty());
  double mudline = 0.0;
  require(io::answer_parsing::parse_real(command.answers[kMudlineAnswer], mudline));
  std::int32_t offset = 0;
  require(io::answer_parsing::parse_integer(command.answers[kIdOffsetAnswer], offset));
  const std::string_view format = command.answers[kOutputFormatAnswer];
  require(format == "1" || format == "2");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> texts;
  for (std::size_t start = 0; start < input.size();) {
    const std::size_t end = std::min(input.find('\0', start), input.size());
    texts.emplace_back(input.substr(start, end - start));
    start = end + 1;
  }
  std::vector<const char*> arguments;
  for (const std::string& text : texts) arguments.push_back(text.c_str());

  const app::CommandLine command = app::parse_command_line(arguments);
  switch (command.action) {
    case app::CommandAction::Dialogue:
      require(arguments.empty());
      break;
    case app::CommandAction::UsageError:
      require(!command.error.problem.empty());
      break;
    case app::CommandAction::Convert:
      check_conversion(command);
      break;
    case app::CommandAction::Help:
    case app::CommandAction::Version:
      break;
  }
  return 0;
}
