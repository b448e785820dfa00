// zadaza-view's command line through the shared parser: what each command line asks for, and
// the refusals of what the viewer cannot do together.
#include "options.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace {

constexpr io::ProgramText kViewer{.name = "zadaza-view"};

struct Asked {
  std::vector<std::string> files{};
  std::vector<double> diameters{};
  std::optional<int> first_layer{};
  std::optional<int> last_layer{};
  std::int32_t id_offset = 0;
  std::string page{};
  std::string table{};
  std::string json{};
  std::optional<double> mudline{};
  double orientation = -1.0;
  bool old_generation = false;
  bool compare = false;
  std::optional<double> tolerance{};
  std::string check{};
  std::optional<families::Loading> loading{};
};

Asked asked_by(const view::Options& o) {
  return {o.files,      o.diameters,     o.first_layer,   o.last_layer,
          o.id_offset,  o.page,          o.tables.table_file, o.tables.json_file,
          o.tables.mudline, o.tables.orientation_factor(), o.old_generation, o.compare,
          o.tolerance, o.check_profile, o.loading};
}

bool operator==(const Asked& a, const Asked& b) {
  return a.files == b.files && a.diameters == b.diameters && a.first_layer == b.first_layer &&
         a.last_layer == b.last_layer && a.id_offset == b.id_offset && a.page == b.page &&
         a.table == b.table && a.json == b.json && a.mudline == b.mudline &&
         a.orientation == b.orientation && a.old_generation == b.old_generation &&
         a.compare == b.compare && a.tolerance == b.tolerance && a.check == b.check &&
         a.loading == b.loading;
}

std::string message(const io::UsageError& error) {
  std::string line;
  for (const std::string_view piece : io::usage_message(kViewer, error)) line += piece;
  return line;
}

TEST(ViewerCommandLine, AsksForWhatItsOptionsSay) {
  const struct {
    const char* arguments;
    io::CommandAction action;
    Asked asked;          // Run
    const char* refusal;  // Refused: the line after the program's name
  } cases[] = {
      {"in.zdz", io::CommandAction::Run, {.files = {"in.zdz"}}, ""},
      {"--old --diameter 1.5 --diameter=0.9 --layers 2-5 --offset -7 -o p.html in.zdz",
       io::CommandAction::Run,
       {.files = {"in.zdz"},
        .diameters = {1.5, 0.9},
        .first_layer = 2,
        .last_layer = 5,
        .id_offset = -7,
        .page = "p.html",
        .old_generation = true},
       ""},
      {"--layers 3 --table t.csv --json t.json --mudline -20,5 in.zdz", io::CommandAction::Refused,
       {}, "bad value for option '--mudline': '-20,5'; --mudline takes a real number, such as "
           "-20.5; zadaza-view --help lists the options"},
      {"--layers 3 --table t.csv --json t.json --mudline -20.5 --orientation POS in.zdz",
       io::CommandAction::Run,
       {.files = {"in.zdz"}, .first_layer = 3, .last_layer = 3, .table = "t.csv",
        .json = "t.json", .mudline = -20.5, .orientation = 1.0},
       ""},
      {"a.knf --compare b.knf --tolerance 1e-5 -o c.html", io::CommandAction::Run,
       {.files = {"a.knf", "b.knf"}, .page = "c.html", .compare = true, .tolerance = 1e-5}, ""},
      {"-- -x", io::CommandAction::Run, {.files = {"-x"}}, ""},
      {"in.zdz --help", io::CommandAction::Help, {}, ""},
      {"--version in.zdz", io::CommandAction::Version, {}, ""},
      {"--colour in.zdz", io::CommandAction::Refused, {},
       "unknown option '--colour'; zadaza-view --help lists the options"},
      {"--csv out in.zdz", io::CommandAction::Refused, {},
       "--csv is replaced by --table FILE.csv; one table of every diameter; zadaza-view --help "
       "lists the options"},
      {"--offset 1 --offset 2 in.zdz", io::CommandAction::Refused, {},
       "option given twice '--offset'; give each option once; zadaza-view --help lists the "
       "options"},
      {"--layers 3-2 in.zdz", io::CommandAction::Refused, {},
       "bad value for option '--layers': '3-2'; --layers takes FIRST-LAST or one layer N, such "
       "as 2-5; zadaza-view --help lists the options"},
      {"--diameter 0 in.zdz", io::CommandAction::Refused, {},
       "bad value for option '--diameter': '0'; --diameter takes a diameter above 0, such as "
       "1.5; zadaza-view --help lists the options"},
      {"in.zdz -o", io::CommandAction::Refused, {},
       "missing value for option '-o'; -o takes a page file name; zadaza-view --help lists the "
       "options"},
      {"--old=1 in.zdz", io::CommandAction::Refused, {},
       "no value allowed for option '--old=1'; --old takes no value; zadaza-view --help lists "
       "the options"},
      {"", io::CommandAction::Refused, {},
       "the ZADAZA file is missing; give ZADAZA_FILE after the options; zadaza-view --help "
       "lists the options"},
      {"a b", io::CommandAction::Refused, {},
       "stray argument 'b'; give one ZADAZA_FILE; zadaza-view --help lists the options"},
      {"--compare a b c", io::CommandAction::Refused, {},
       "stray argument 'c'; give one file, or two with --compare; zadaza-view --help lists the "
       "options"},
      {"--compare a", io::CommandAction::Refused, {},
       "--compare needs two soil files; give --compare A B; zadaza-view --help lists the "
       "options"},
      {"--compare a b --mudline 0", io::CommandAction::Refused, {},
       "--compare takes only --tolerance and -o; draw or tabulate each soil file on its own; "
       "zadaza-view --help lists the options"},
      {"--compare a b --tolerance -1", io::CommandAction::Refused, {},
       "bad value for option '--tolerance': '-1'; --tolerance takes a relative tolerance, 0 or "
       "more; zadaza-view --help lists the options"},
      {"--compare a b --tolerance inf", io::CommandAction::Refused, {},
       "bad value for option '--tolerance': 'inf'; --tolerance takes a relative tolerance, 0 "
       "or more; zadaza-view --help lists the options"},
      {"--tolerance 0 in.zdz", io::CommandAction::Refused, {},
       "--tolerance is for --compare and --check; give --compare A B or --check PROFILE.csv; "
       "zadaza-view --help lists the options"},
      {"--check p.csv --loading cyclic --tolerance 0.1 --old in.zdz -o c.html",
       io::CommandAction::Run,
       {.files = {"in.zdz"}, .page = "c.html", .old_generation = true, .tolerance = 0.1,
        .check = "p.csv", .loading = families::Loading::Cyclic},
       ""},
      {"in.zdz --loading=static --check=p.csv", io::CommandAction::Run,
       {.files = {"in.zdz"}, .check = "p.csv", .loading = families::Loading::Static}, ""},
      {"--check p.csv in.zdz", io::CommandAction::Refused, {},
       "missing required option '--loading'; --loading takes static or cyclic; zadaza-view "
       "--help lists the options"},
      {"--check p.csv --loading dynamic in.zdz", io::CommandAction::Refused, {},
       "bad value for option '--loading': 'dynamic'; --loading takes static or cyclic; "
       "zadaza-view --help lists the options"},
      {"--check '' --loading static in.zdz", io::CommandAction::Refused, {},
       "bad value for option '--check': ''; --check takes a CSV file name; zadaza-view --help "
       "lists the options"},
      {"--check p.csv --loading static --check q.csv in.zdz", io::CommandAction::Refused, {},
       "option given twice '--check'; give each option once; zadaza-view --help lists the "
       "options"},
      {"--check p.csv --loading static --layers 2 in.zdz", io::CommandAction::Refused, {},
       "--check takes only --loading, --tolerance, --old and -o; draw or tabulate the file on "
       "its own; zadaza-view --help lists the options"},
      {"--check p.csv --loading static --compare a b", io::CommandAction::Refused, {},
       "--compare and --check exclude each other; give one of them; zadaza-view --help lists "
       "the options"},
      {"--check p.csv --loading static a b", io::CommandAction::Refused, {},
       "stray argument 'b'; give one ZADAZA_FILE; zadaza-view --help lists the options"},
      {"--check p.csv --loading static", io::CommandAction::Refused, {},
       "the ZADAZA file is missing; give ZADAZA_FILE after the options; zadaza-view --help "
       "lists the options"},
      {"--loading static in.zdz", io::CommandAction::Refused, {},
       "--loading is for --check; give --check PROFILE.csv; zadaza-view --help lists the "
       "options"},
      {"--compare a b --loading static", io::CommandAction::Refused, {},
       "--compare takes only --tolerance and -o; draw or tabulate each soil file on its own; "
       "zadaza-view --help lists the options"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> words = test_support::words(c.arguments);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    const view::ViewCommand command = view::parse_command_line(argv);
    EXPECT_EQ(command.action, c.action) << c.arguments << ": " << message(command.error);
    if (c.action == io::CommandAction::Run) {
      EXPECT_TRUE(asked_by(command.options) == c.asked) << c.arguments;
    }
    const bool refused = command.action == io::CommandAction::Refused;
    EXPECT_EQ(refused ? message(command.error) : "", c.refusal) << c.arguments;
  }
}

}  // namespace
