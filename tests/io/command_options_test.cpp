// The one option parser: how arguments are read against a table, the refusals every program
// shares, and the help and version lines written from the declarations.
#include "io/command_options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/units.hpp"
#include "support/process.hpp"
#include "support/test_support.hpp"

namespace {

struct Settings {
  std::vector<std::string> taken;  // "name=value" per option, "@operand" per operand
};

bool take_any(Settings& s, std::string_view value) {
  s.taken.push_back(std::string("=").append(value));
  return true;
}

bool take_digits(Settings& s, std::string_view value) {
  if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos) return false;
  return take_any(s, value);
}

constexpr io::Option<Settings> kOptions[] = {
    {{.name = "--flag", .help = "a flag"}, take_any},
    {{.name = "--count", .value_name = "N", .form = "digits", .help = "a count"}, take_digits},
    {{.name = "--output", .alias = "-o", .value_name = "OUTPUT_FILE_NAME", .form = "a name",
      .help = "an output\nover two lines"},
     take_any},
    {{.name = "--item", .value_name = "X", .repeats = io::Repeats::Many, .form = "any",
      .help = "repeatable"},
     take_any},
};

io::UsageError take_operand(Settings& s, std::string_view operand) {
  if (operand == "refused") return io::stray_argument(operand, "give no such operand");
  s.taken.push_back(std::string("@").append(operand));
  return {};
}

constexpr std::string_view kUsages[] = {"[options] FILE"};
constexpr std::string_view kAbout[] = {"Tries the parser."};
constexpr std::string_view kStatuses[] = {"0  done", "2  a usage error"};
constexpr io::ProgramText kProgram{.name = "tryout",
                                   .version = "9.8.7",
                                   .usages = kUsages,
                                   .about = kAbout,
                                   .exit_statuses = kStatuses};

std::vector<const char*> argv_of(const std::string& line) {
  static std::vector<std::string> kept;
  kept = test_support::words(line);
  std::vector<const char*> argv;
  for (const std::string& word : kept) argv.push_back(word.c_str());
  return argv;
}

std::string joined(const io::UsageError& error) {
  std::string line;
  for (const std::string_view piece : io::usage_message(kProgram, error)) line += piece;
  return line;
}

TEST(OptionParser, ReadsArgumentsAgainstTheTable) {
  const struct {
    const char* arguments;
    io::CommandAction action;
    std::vector<std::string> taken;  // Run: what the rows and operands got, in order
    const char* message;             // Refused: the whole line after the program's name
  } cases[] = {
      {"", io::CommandAction::Run, {}, ""},
      {"--flag --count 12 f", io::CommandAction::Run, {"=", "=12", "@f"}, ""},
      {"--count=7 -o out --item a --item=b -", io::CommandAction::Run,
       {"=7", "=out", "=a", "=b", "@-"}, ""},
      {"--output -x", io::CommandAction::Run, {"=-x"}, ""},
      {"--count= 1", io::CommandAction::Refused, {},
       "bad value for option '--count': ''; --count takes digits; tryout --help lists the options"},
      {"-- --flag -o", io::CommandAction::Run, {"@--flag", "@-o"}, ""},
      {"--flag -- --", io::CommandAction::Run, {"=", "@--"}, ""},
      {"-o a --help", io::CommandAction::Help, {}, ""},
      {"-h --frob", io::CommandAction::Help, {}, ""},
      {"f --version", io::CommandAction::Version, {}, ""},
      {"--frob --help", io::CommandAction::Refused, {},
       "unknown option '--frob'; tryout --help lists the options"},
      {"--frob=1", io::CommandAction::Refused, {},
       "unknown option '--frob=1'; tryout --help lists the options"},
      {"--=1", io::CommandAction::Refused, {}, "unknown option '--=1'; tryout --help lists the options"},
      {"-o=x", io::CommandAction::Refused, {}, "unknown option '-o=x'; tryout --help lists the options"},
      {"--flag --flag", io::CommandAction::Refused, {},
       "option given twice '--flag'; give each option once; tryout --help lists the options"},
      {"-o a --output=b", io::CommandAction::Refused, {},
       "option given twice '--output'; give each option once; tryout --help lists the options"},
      {"--count 1x", io::CommandAction::Refused, {},
       "bad value for option '--count': '1x'; --count takes digits; tryout --help lists the options"},
      {"--count", io::CommandAction::Refused, {},
       "missing value for option '--count'; --count takes digits; tryout --help lists the options"},
      {"-o", io::CommandAction::Refused, {},
       "missing value for option '-o'; -o takes a name; tryout --help lists the options"},
      {"--flag=yes", io::CommandAction::Refused, {},
       "no value allowed for option '--flag=yes'; --flag takes no value; tryout --help lists the "
       "options"},
      {"a refused", io::CommandAction::Refused, {},
       "stray argument 'refused'; give no such operand; tryout --help lists the options"},
  };
  for (const auto& c : cases) {
    Settings settings;
    const std::vector<const char*> argv = argv_of(c.arguments);
    const io::ParsedArguments parsed =
        io::parse_arguments<Settings>(argv, kOptions, take_operand, settings);
    EXPECT_EQ(parsed.action, c.action) << c.arguments;
    if (c.action == io::CommandAction::Run) {
      EXPECT_EQ(settings.taken, c.taken) << c.arguments;
    }
    EXPECT_EQ(parsed.action == io::CommandAction::Refused ? joined(parsed.error) : "", c.message)
        << c.arguments;
  }
}

TEST(OptionParser, RefusalsOfAProgramReadAsTheSharedOnes) {
  const struct {
    io::UsageError error;
    const char* line;
  } cases[] = {
      {io::refusal("the file is missing", "give FILE after the options"),
       "the file is missing; give FILE after the options; tryout --help lists the options"},
      {io::refusal("--a and --b exclude each other", {}),
       "--a and --b exclude each other; tryout --help lists the options"},
      {io::missing_option(kOptions[1].rule),
       "missing required option '--count'; --count takes digits; tryout --help lists the options"},
      {io::bad_value("-o", "", kOptions[2].rule),
       "bad value for option '-o': ''; -o takes a name; tryout --help lists the options"},
  };
  for (const auto& c : cases) EXPECT_EQ(joined(c.error), c.line);
}

class HelpText : public ::testing::Test {
 protected:
  static constexpr int kUnit = 17;
  std::string written(void (*write)(int)) {
    const std::string path = folder_.path("help.txt");
    EXPECT_EQ(io::bind_text_file(kUnit, path, false, false, true), 0);
    write(kUnit);
    io::close_unit(kUnit);
    return test_support::read_file(path);
  }
  test_support::TempDir folder_;
};

TEST_F(HelpText, IsWrittenFromTheTableInTheSharedShape) {
  EXPECT_EQ(written([](int unit) { io::write_help(unit, kProgram, kOptions); }),
            "usage: tryout [options] FILE\r\n"
            "       tryout --help | --version\r\n"
            "\r\n"
            "Tries the parser.\r\n"
            "\r\n"
            "Options:\r\n"
            "  --flag      a flag\r\n"
            "  --count N   a count\r\n"
            "  -o, --output OUTPUT_FILE_NAME\r\n"
            "              an output\r\n"
            "              over two lines\r\n"
            "  --item X    repeatable\r\n"
            "  -h, --help  show this help and exit\r\n"
            "  --version   show the program name and version and exit\r\n"
            "\r\n"
            "Exit status:\r\n"
            "  0  done\r\n"
            "  2  a usage error\r\n");
  EXPECT_EQ(written([](int unit) { io::write_version(unit, kProgram); }), "tryout 9.8.7\r\n");
}

}  // namespace
