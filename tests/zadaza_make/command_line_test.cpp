// zadaza-make's command line through the shared parser: what each command line asks for, and
// the refusals of modes and files that do not go together.
#include "zadaza_make/command_line.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace {

using zadaza_make::BlockStyle;

constexpr io::ProgramText kMaker{.name = "zadaza-make"};

std::string message(const io::UsageError& error) {
  std::string line;
  for (const std::string_view piece : io::usage_message(kMaker, error)) line += piece;
  return line;
}

// The options a case looks at, as one line of text: easy to read in a failure.
std::string asked_by(const zadaza_make::Options& o) {
  std::string asked;
  const auto flag = [&](bool on, const char* name) {
    if (on) asked += std::string(name) + " ";
  };
  flag(o.old_generation, "old");
  flag(o.unchecked, "unchecked");
  flag(o.synthetic, "synthetic");
  flag(o.text, "text");
  flag(o.decode, "decode");
  flag(o.from_table, "from-table");
  flag(o.style == BlockStyle::LeadZero, "led0");
  if (!o.output.empty()) asked += "-o " + o.output + " ";
  if (o.synthetic) {
    asked += "size " + std::to_string(o.size.layers) + "/" + std::to_string(o.size.diameters) +
             "/" + std::to_string(o.size.in_use) + "/" + std::to_string(o.size.dsp) + "/" +
             std::to_string(o.size.seed) + " ";
  }
  if (!o.profile.empty()) {
    std::ostringstream profile;
    profile << "profile " << o.profile << " diameters";
    for (const double d : o.pile_diameters) profile << " " << d;
    if (o.loading) profile << (*o.loading == families::Loading::Static ? " static" : " cyclic");
    if (o.spacing) profile << " spacing " << *o.spacing;
    if (o.label) profile << " label '" << *o.label << "'";
    asked += profile.str() + " ";
  }
  for (const std::string& file : o.files) asked += "[" + file + "]";
  return asked;
}

TEST(MakeCommandLine, AsksForWhatItsOptionsSay) {
  const struct {
    const char* arguments;
    io::CommandAction action;
    const char* asked;    // Run: asked_by of the options
    const char* refusal;  // Refused: the line after the program's name
  } cases[] = {
      {"soil.txt soil.zdz", io::CommandAction::Run, "[soil.txt][soil.zdz]", ""},
      {"--old --blocks led0 --text --unchecked soil.txt out", io::CommandAction::Run,
       "old unchecked text led0 [soil.txt][out]", ""},
      {"--synthetic --layers 3 --diameters=4 --in-use 2 --dsp 1 --seed 4000000000 out",
       io::CommandAction::Refused, "",
       "bad value for option '--seed': '4000000000'; --seed takes a whole number of 0 or more; "
       "zadaza-make --help lists the options"},
      {"--synthetic --layers 3 --diameters=4 --in-use 2 --dsp 1 --seed 9 out",
       io::CommandAction::Run, "synthetic size 3/4/2/1/9 [out]", ""},
      {"--decode in.zdz -o in.txt", io::CommandAction::Run, "decode -o in.txt [in.zdz]", ""},
      {"--from-table --old t.csv -- -out.zdz", io::CommandAction::Run,
       "old from-table [t.csv][-out.zdz]", ""},
      {"a b --help", io::CommandAction::Help, "", ""},
      {"--version --frob", io::CommandAction::Version, "", ""},
      {"--frobnicate a b", io::CommandAction::Refused, "",
       "unknown option '--frobnicate'; zadaza-make --help lists the options"},
      {"--blocks wide a b", io::CommandAction::Refused, "",
       "bad value for option '--blocks': 'wide'; --blocks takes full or led0; zadaza-make "
       "--help lists the options"},
      {"--synthetic --layers -1 o", io::CommandAction::Refused, "",
       "bad value for option '--layers': '-1'; --layers takes a whole number of 0 or more; "
       "zadaza-make --help lists the options"},
      {"--synthetic o --dsp", io::CommandAction::Refused, "",
       "missing value for option '--dsp'; --dsp takes a whole number of 0 or more; zadaza-make "
       "--help lists the options"},
      {"--synthetic --layers 1 --layers 2 o", io::CommandAction::Refused, "",
       "option given twice '--layers'; give each option once; zadaza-make --help lists the "
       "options"},
      {"--decode -o '' in.zdz", io::CommandAction::Refused, "",
       "bad value for option '-o': ''; -o takes a file name; zadaza-make --help lists the "
       "options"},
      {"--text=yes a b", io::CommandAction::Refused, "",
       "no value allowed for option '--text=yes'; --text takes no value; zadaza-make --help "
       "lists the options"},
      {"--synthetic --decode a", io::CommandAction::Refused, "",
       "--synthetic, --decode, --from-table and --profile exclude each other; give one of them; "
       "zadaza-make --help lists the options"},
      {"--profile p.csv --from-table --diameters 2 --loading static o", io::CommandAction::Refused,
       "",
       "--synthetic, --decode, --from-table and --profile exclude each other; give one of them; "
       "zadaza-make --help lists the options"},
      // --diameters: a count of slots with --synthetic, the diameters with --profile, in
      // whichever order the options come.
      {"--profile p.csv --diameters 1.5,2 --loading cyclic --spacing 0.5 --label 'Site A' o.zdz",
       io::CommandAction::Run, "profile p.csv diameters 1.5 2 cyclic spacing 0.5 label 'Site A' [o.zdz]",
       ""},
      {"--diameters=2 --loading=static --profile=p.csv o.zdz", io::CommandAction::Run,
       "profile p.csv diameters 2 static [o.zdz]", ""},
      {"--synthetic --diameters 1.5 o", io::CommandAction::Refused, "",
       "bad value for option '--diameters': '1.5'; --diameters takes a whole number of 0 or more "
       "with --synthetic; zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 0 --loading static o.zdz", io::CommandAction::Refused, "",
       "bad value for option '--diameters': '0'; --diameters takes different diameters above 0 in "
       "m with --profile, at most 15, such as 1.5,2.0; zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 1.5,1.5 --loading static o.zdz", io::CommandAction::Refused,
       "",
       "bad value for option '--diameters': '1.5,1.5'; --diameters takes a whole number of 0 or "
       "more with --synthetic, or different diameters above 0 in m with --profile, such as "
       "1.5,2.0; zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 1.5, --loading static o.zdz", io::CommandAction::Refused, "",
       "bad value for option '--diameters': '1.5,'; --diameters takes a whole number of 0 or "
       "more with --synthetic, or different diameters above 0 in m with --profile, such as "
       "1.5,2.0; zadaza-make --help lists the options"},
      {"--profile p.csv --loading static o.zdz", io::CommandAction::Refused, "",
       "missing required option '--diameters'; --diameters takes different diameters above 0 in "
       "m with --profile, at most 15, such as 1.5,2.0; zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 2 o.zdz", io::CommandAction::Refused, "",
       "missing required option '--loading'; --loading takes static or cyclic; zadaza-make "
       "--help lists the options"},
      {"--profile p.csv --diameters 2 --loading sometimes o.zdz", io::CommandAction::Refused, "",
       "bad value for option '--loading': 'sometimes'; --loading takes static or cyclic; "
       "zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 2 --loading static --spacing 0 o.zdz",
       io::CommandAction::Refused, "",
       "bad value for option '--spacing': '0'; --spacing takes a thickness above 0 in m, such as "
       "0.5; zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 2 --loading static --spacing nan o.zdz",
       io::CommandAction::Refused, "",
       "bad value for option '--spacing': 'nan'; --spacing takes a thickness above 0 in m, such "
       "as 0.5; zadaza-make --help lists the options"},
      {"--profile '' --diameters 2 --loading static o.zdz", io::CommandAction::Refused, "",
       "bad value for option '--profile': ''; --profile takes a CSV file name; zadaza-make "
       "--help lists the options"},
      {"--profile p.csv --diameters 2 --loading static --old o.zdz", io::CommandAction::Refused,
       "",
       "--profile takes only --diameters, --loading, --spacing and --label; it writes a New "
       "generation file in full blocks; zadaza-make --help lists the options"},
      {"--profile p.csv --diameters 2 --loading static a.zdz b.zdz", io::CommandAction::Refused,
       "",
       "wrong number of files; give one OUTPUT.zdz file with --profile; zadaza-make --help lists "
       "the options"},
      // A mode's own options outside it would be passed over.
      {"--loading static soil.txt out", io::CommandAction::Refused, "",
       "--loading, --spacing and --label are for --profile; give --profile PROFILE.csv; "
       "zadaza-make --help lists the options"},
      {"--from-table --layers 3 t.csv out", io::CommandAction::Refused, "",
       "--layers, --in-use, --dsp and --seed are for --synthetic; give --synthetic; zadaza-make "
       "--help lists the options"},
      {"--diameters 2 soil.txt out", io::CommandAction::Refused, "",
       "--diameters is for --synthetic and --profile; give one of them; zadaza-make --help lists "
       "the options"},
      {"-o x a b", io::CommandAction::Refused, "",
       "-o is for --decode; give the OUTPUT file after the input; zadaza-make --help lists the "
       "options"},
      {"--decode a b", io::CommandAction::Refused, "",
       "wrong number of files; give one ZADAZA_FILE with --decode; zadaza-make --help lists "
       "the options"},
      {"only-one-file", io::CommandAction::Refused, "",
       "wrong number of files; give a DESCRIPTION.txt and an OUTPUT file; zadaza-make --help "
       "lists the options"},
      {"--from-table t.csv", io::CommandAction::Refused, "",
       "wrong number of files; give a CURVES.csv and an OUTPUT file; zadaza-make --help lists "
       "the options"},
      {"--synthetic a b", io::CommandAction::Refused, "",
       "wrong number of files; give one OUTPUT file with --synthetic; zadaza-make --help lists "
       "the options"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> words = test_support::words(c.arguments);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    const zadaza_make::MakeCommand command = zadaza_make::parse_command_line(argv);
    EXPECT_EQ(command.action, c.action) << c.arguments << ": " << message(command.error);
    const bool ran = command.action == io::CommandAction::Run;
    const bool refused = command.action == io::CommandAction::Refused;
    EXPECT_EQ(ran ? asked_by(command.options) : "", c.asked) << c.arguments;
    EXPECT_EQ(refused ? message(command.error) : "", c.refusal) << c.arguments;
  }
}

}  // namespace
