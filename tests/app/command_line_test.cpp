// The command line end to end: the real program in fresh folders. Options must give exactly
// the run that the same answers give through the dialogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/command_line.hpp"
#include "app/dialogue.hpp"
#include "converter_run.hpp"
#include "support/process.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

// The questions of the dialogue: what the console shows in the dialogue and not with options.
const std::string kQuestions[] = {
    converter_test::kGeneration,  converter_test::kZadazaFile,   converter_test::kOrientation,
    converter_test::kOrigo,       converter_test::kForceScale,   converter_test::kLengthScale,
    converter_test::kIdOffset,    converter_test::kOutputFormat, converter_test::kOutputFile,
    converter_test::kEcho};

std::string without_questions(std::string console) {
  for (const std::string& question : kQuestions) {
    for (std::size_t at; (at = console.find(question)) != std::string::npos;) {
      console.erase(at, question.size());
    }
  }
  return console;
}

struct Outcome {
  int exit_status = -1;
  std::string console;
  std::string errors;
  std::map<std::string, std::string> files;  // every file of the folder after the run
};

class CommandLineRun : public ::testing::Test {
 protected:
  // A fresh folder holding a synthetic ZADAZA file soil.zdz made with the tool's arguments.
  fs::path folder(const std::string& name, const std::string& tool_arguments) const {
    const fs::path dir = base_ / name;
    fs::create_directories(dir);
    std::vector<std::string> command = test_support::words("--synthetic " + tool_arguments + " soil.zdz");
    command.insert(command.begin(), ZZ_MAKE_TOOL);
    EXPECT_EQ(test_support::run_program({command, dir.string()}).exit_status, 0) << tool_arguments;
    return dir;
  }

  Outcome run(const fs::path& dir, const std::string& arguments, const std::string& answers) const {
    std::vector<std::string> command = test_support::words(arguments);
    command.insert(command.begin(), ZZ_CONVERTER);
    const test_support::ProgramRun ran = test_support::run_program({command, dir.string(), answers});
    Outcome result;
    result.exit_status = ran.exited ? ran.exit_status : -1;
    result.console = ran.console;
    result.errors = ran.errors;
    for (const auto& entry : fs::directory_iterator(dir)) {
      result.files[entry.path().filename().string()] = test_support::read_file(entry.path());
    }
    return result;
  }

  const test_support::TempDir base_;
};

struct SameRun {
  const char* name;
  const char* tool_arguments;
  const char* options;
  const char* answers;
  const char* warning = "";  // on standard error in both
};

class OptionsAndDialogue : public CommandLineRun, public ::testing::WithParamInterface<SameRun> {};

TEST_P(OptionsAndDialogue, GiveTheSameRun) {
  const SameRun& c = GetParam();
  const Outcome asked = run(folder("asked", c.tool_arguments), "", c.answers);
  const Outcome given = run(folder("given", c.tool_arguments), c.options, "");
  EXPECT_EQ(given.exit_status, asked.exit_status);
  EXPECT_EQ(given.errors, asked.errors);
  EXPECT_EQ(given.console, without_questions(asked.console));
  EXPECT_EQ(given.files, asked.files);  // same names, byte-identical contents
  EXPECT_NE(given.errors.find(c.warning), std::string::npos) << given.errors;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, OptionsAndDialogue,
    ::testing::Values(
        SameRun{"DefaultsKnfWithEcho", "--layers 3 --diameters 2 --in-use 2 --dsp 1 --seed 4",
                "--mudline -20 --format 2 --echo soil.zdz",
                "\nsoil.zdz\n\n-20\n1.0\n1.0\n0\n2\n\nY\n"},
        SameRun{"EveryOptionSesam",
                "--old --layers 2 --diameters 4 --in-use 2 --dsp 0 --seed 9",
                "--old --orientation POS --mudline=5.5 --force-scale 1000 --length-scale 1d-3 "
                "--id-offset -7 --format sesam -o out.fem soil.zdz",
                "O\nsoil.zdz\nPOS\n5.5\n1000\n1d-3\n-7\n1\nout.fem\nN\n"},
        SameRun{"ConversionFailureInBoth",
                "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 2",
                "--mudline 0 --id-offset 2147483000 --format=1 --output=out.txt -- soil.zdz",
                "\nsoil.zdz\nN\n0\n1\n1\n2147483000\n1\nout.txt\n\n"},
        SameRun{"SizeLimitInBoth", "--layers 81 --diameters 1 --in-use 1 --dsp 0 --seed 1",
                "--mudline 0 --format knf soil.zdz", "\nsoil.zdz\nN\n0\n1\n1\n0\n2\n\n"},
        SameRun{"NonPositiveScaleFactorsWarnInBoth",
                "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 3",
                "--mudline 0 --force-scale 0 --length-scale -1 --format 2 soil.zdz",
                "\nsoil.zdz\n\n0\n0\n-1\n0\n2\n\n\n",
                "warning: \"Scaling Factor, Force  Unit\" is 0, not a positive factor; it is "
                "written into every SOILCHAR block as given\nzadaza2krano: warning: \"Scaling "
                "Factor, Length Unit\" is -1, not a positive factor"},
        SameRun{"MissingZadazaFileInBoth", "--layers 1 --diameters 1 --in-use 1 --dsp 0",
                "--mudline 0 --format knf missing.zdz", "\nmissing.zdz\n"}),
    [](const ::testing::TestParamInfo<SameRun>& info) { return info.param.name; });

// Every refusal names the option or argument at fault and what is allowed there, exits with
// 2, writes nothing on standard output and opens no file.
TEST_F(CommandLineRun, UsageErrorsNameTheCulpritAndWhatIsAllowedBeforeAnyFileIsOpened) {
  const struct {
    const char* arguments;
    const char* named;
  } cases[] = {
      {"--mudline 0 --format knf --frobnicate soil.zdz", "unknown option '--frobnicate'; zadaza2krano --help lists the options"},
      {"--mudline 0 --format knf soil.zdz -x", "unknown option '-x'"},
      {"--mudline 0 --format knf soil.zdz other.zdz", "stray argument 'other.zdz'; give one ZADAZA_FILE"},
      {"--format knf soil.zdz", "missing required option '--mudline'; --mudline takes a number"},
      {"--mudline 0 soil.zdz", "missing required option '--format'; --format takes sesam, knf, 1 or 2"},
      {"--mudline 0 --format knf", "the ZADAZA file is missing; give ZADAZA_FILE"},
      {"--mudline abc --format knf soil.zdz", "'--mudline': 'abc'; --mudline takes a number"},
      {"--mudline -20,5 --format knf soil.zdz", "'--mudline': '-20,5'"},
      {"--mudline 1e999 --format knf soil.zdz", "'--mudline': '1e999'"},
      {"--mudline 0 --id-offset 1.5 --format knf soil.zdz", "'--id-offset': '1.5'; --id-offset takes a whole number"},
      {"--mudline 0 --format 3 soil.zdz", "'--format': '3'; --format takes sesam, knf, 1 or 2"},
      {"--mudline 0 --orientation up --format knf soil.zdz", "'--orientation': 'up'; --orientation takes pos or neg"},
      {"--mudline 0 --force-scale= --format knf soil.zdz", "'--force-scale': ''; --force-scale takes a number"},
      {"--mudline 0 --format knf -o '' soil.zdz", "'-o': ''; -o takes a file name of 1 to 4096 characters"},
      {"--mudline 0 --format knf --echo-file '' soil.zdz", "'--echo-file': ''"},
      {"--format knf soil.zdz --mudline", "missing value for option '--mudline'; --mudline takes a number"},
      {"--mudline 0 --format knf --echo=yes soil.zdz", "no value allowed for option '--echo=yes'; --echo takes no value"},
      {"--mudline 0 --format knf ''", "bad ZADAZA file name ''; ZADAZA_FILE takes a file name"},
      {"--mudline 0 --mudline 5 --format knf soil.zdz", "option given twice '--mudline'; give each option once"},
      {"--mudline 0 --format knf --old --old soil.zdz", "option given twice '--old'"},
      {"--mudline 0 --format knf -o a.fem --output=b.fem soil.zdz", "option given twice '--output'"},
  };
  const fs::path dir = folder("refused", "--layers 1 --diameters 1 --in-use 1 --dsp 0");
  for (const auto& c : cases) {
    const Outcome r = run(dir, c.arguments, "");
    EXPECT_EQ(r.exit_status, 2) << c.arguments;
    EXPECT_EQ(r.console, "") << c.arguments;
    EXPECT_NE(r.errors.find(c.named), std::string::npos) << c.arguments << "\n" << r.errors;
    EXPECT_TRUE(r.errors.ends_with("; zadaza2krano --help lists the options\n")) << r.errors;
    EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << r.errors;
    EXPECT_EQ(r.files.size(), 1u) << c.arguments;
  }
}

// --echo-file gives the report --echo gives, under its own name.
TEST_F(CommandLineRun, EchoFileIsWrittenWhereItIsTold) {
  const char* kSoil = "--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 3";
  const Outcome echo = run(folder("echo", kSoil), "--mudline 0 --format knf --echo soil.zdz", "");
  Outcome named = run(folder("named", kSoil), "--mudline 0 --format knf --echo-file report.txt soil.zdz", "");
  named.files["soil.zdz.echo"] = named.files["report.txt"];
  named.files.erase("report.txt");
  EXPECT_EQ(echo.exit_status, 0) << echo.errors;
  EXPECT_EQ(named.console, echo.console);
  EXPECT_EQ(named.files, echo.files);
}

// Names are kept whole up to 4096 characters, as typed answers are; longer ones are refused.
TEST_F(CommandLineRun, NamesAreKeptWholeUpTo4096Characters) {
  const fs::path dir = folder("long", "--layers 1 --diameters 1 --in-use 1 --dsp 0");
  const std::string long_output = std::string(200, 'o') + ".fem";
  const Outcome kept = run(dir, "--mudline 0 --format knf -o " + long_output + " soil.zdz", "");
  EXPECT_EQ(kept.exit_status, 0) << kept.errors;
  EXPECT_EQ(kept.files.count(long_output), 1u);
  const std::string too_long(4097, 'n');
  const struct {
    std::string arguments;
    const char* named;
  } refusals[] = {{"--mudline 0 --format knf " + too_long, "bad ZADAZA file name"},
                  {"--mudline 0 --format knf -o " + too_long + " soil.zdz",
                   "bad value for option '-o'"}};
  for (const auto& c : refusals) {
    const Outcome r = run(dir, c.arguments, "");
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_NE(r.errors.find(c.named), std::string::npos) << r.errors.substr(0, 200);
  }
}

// Names at the edge of what is kept whole, the built ones included, and a lone "-", which is
// a file name like any other.
TEST(ParsedCommandLine, NamesAtTheLengthLimitAndALoneDash) {
  const auto name = [](std::size_t length) { return std::string(length, 'n'); };
  const std::size_t whole = app::kFileNameLength;
  const std::size_t fem = app::kOutputExtension.size();
  const std::size_t echo = app::kEchoExtension.size();
  const struct {
    std::vector<std::string> arguments;  // after "--mudline 0 --format knf"
    const char* culprit;                 // nullptr: accepted, with the ZADAZA name as given
  } cases[] = {
      {{"-"}, nullptr},
      {{"-o", "out", name(whole)}, nullptr},
      {{"-o", "out", name(whole + 1)}, "nnnn"},
      {{"-o", name(whole), "soil"}, nullptr},
      {{"-o", name(whole + 1), "soil"}, "-o"},
      {{name(whole - fem)}, nullptr},
      {{name(whole - fem + 1)}, "-o"},
      {{"-o", "out", "--echo", name(whole - echo)}, nullptr},
      {{"-o", "out", "--echo", name(whole - echo + 1)}, "--echo"},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"--mudline", "0", "--format", "knf"};
    for (const std::string& argument : c.arguments) argv.push_back(argument.c_str());
    const app::CommandLine parsed = app::parse_command_line(argv);
    const std::string shown = c.arguments.back().substr(0, 8) + " of " +
                              std::to_string(c.arguments.back().size());
    if (c.culprit == nullptr) {
      EXPECT_EQ(parsed.action, app::CommandAction::Convert) << shown << ": " << parsed.error.problem;
      EXPECT_EQ(parsed.answers[1], c.arguments.back()) << shown;
    } else {
      EXPECT_EQ(parsed.action, app::CommandAction::UsageError) << shown;
      EXPECT_TRUE(parsed.error.culprit.value_or("").starts_with(c.culprit))
          << shown << ": " << parsed.error.problem;
    }
  }
}

// What each command line asks for: the answers its options give, in the dialogue's order, or
// the whole refusal.
TEST(ParsedCommandLine, OptionsGiveTheAnswersTheDialogueWouldRead) {
  using Answers = std::array<const char*, app::kDialogueAnswers>;
  constexpr io::ProgramText kConverter{.name = "zadaza2krano"};
  const struct {
    const char* arguments;
    app::CommandAction action;
    Answers answers;        // Convert
    const char* echo_file;  // Convert
    const char* refusal;    // UsageError: the line after the program's name
  } cases[] = {
      {"", app::CommandAction::Dialogue, {}, "", ""},
      {"--mudline -20 --format 2 soil.zdz", app::CommandAction::Convert,
       {"N", "soil.zdz", "N", "-20", "1.0", "1.0", "0", "2", "", "N"}, "", ""},
      {"--old --orientation POS --mudline=5.5 --force-scale 1000 --length-scale 1d-3 "
       "--id-offset -7 --format sesam -o out.fem soil.zdz",
       app::CommandAction::Convert,
       {"O", "soil.zdz", "P", "5.5", "1000", "1d-3", "-7", "1", "out.fem", "N"}, "", ""},
      {"--orientation nEG --format KNF --mudline 0 --echo-file r.txt -- -x",
       app::CommandAction::Convert, {"N", "-x", "N", "0", "1.0", "1.0", "0", "2", "", "Y"},
       "r.txt", ""},
      {"--echo --mudline 1 --format 1 --output=o s", app::CommandAction::Convert,
       {"N", "s", "N", "1", "1.0", "1.0", "0", "1", "o", "Y"}, "", ""},
      {"--mudline 0 -h", app::CommandAction::Help, {}, "", ""},
      {"--version --frob", app::CommandAction::Version, {}, "", ""},
      {"--frob --version", app::CommandAction::UsageError, {}, "",
       "unknown option '--frob'; zadaza2krano --help lists the options"},
      {"--mudline 0 --format 2 --mudline 1 s", app::CommandAction::UsageError, {}, "",
       "option given twice '--mudline'; give each option once; zadaza2krano --help lists the "
       "options"},
      {"--format 2 s", app::CommandAction::UsageError, {}, "",
       "missing required option '--mudline'; --mudline takes a number, such as -20.5; "
       "zadaza2krano --help lists the options"},
      {"--mudline 0 --format 2", app::CommandAction::UsageError, {}, "",
       "the ZADAZA file is missing; give ZADAZA_FILE after the options; zadaza2krano --help "
       "lists the options"},
      {"--mudline 0 --format 2 a b", app::CommandAction::UsageError, {}, "",
       "stray argument 'b'; give one ZADAZA_FILE; zadaza2krano --help lists the options"},
      {"--mudline 0 --format 4 a", app::CommandAction::UsageError, {}, "",
       "bad value for option '--format': '4'; --format takes sesam, knf, 1 or 2; zadaza2krano "
       "--help lists the options"},
      {"--mudline 0 --format 2 --id-offset 2147483648 a", app::CommandAction::UsageError, {},
       "",
       "bad value for option '--id-offset': '2147483648'; --id-offset takes a whole number "
       "within 32 bits, such as 500; zadaza2krano --help lists the options"},
      {"--mudline 0 --format 2 --echo= a", app::CommandAction::UsageError, {}, "",
       "no value allowed for option '--echo='; --echo takes no value; zadaza2krano --help lists "
       "the options"},
      {"--mudline 0 --format 2 ''", app::CommandAction::UsageError, {}, "",
       "bad ZADAZA file name ''; ZADAZA_FILE takes a file name of 1 to 4096 characters; "
       "zadaza2krano --help lists the options"},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> words = test_support::words(c.arguments);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    const app::CommandLine parsed = app::parse_command_line(argv);
    EXPECT_EQ(parsed.action, c.action) << c.arguments << ": " << parsed.error.problem;
    if (c.action == app::CommandAction::Convert) {
      for (std::size_t i = 0; i < app::kDialogueAnswers; ++i) {
        EXPECT_EQ(parsed.answers[i], c.answers[i]) << c.arguments << ", answer " << i;
      }
      EXPECT_EQ(parsed.echo_file, c.echo_file) << c.arguments;
    }
    std::string refusal;
    if (parsed.action == app::CommandAction::UsageError) {
      for (const std::string_view piece : io::usage_message(kConverter, parsed.error)) {
        refusal += piece;
      }
    }
    EXPECT_EQ(refusal, c.refusal) << c.arguments;
  }
}

TEST_F(CommandLineRun, HelpAndVersionAnswerAndExit) {
  const fs::path dir = folder("help", "--layers 1 --diameters 1 --in-use 1 --dsp 0");
  const Outcome help = run(dir, "--help", "");
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_TRUE(help.console.starts_with("usage: zadaza2krano")) << help.console;
  EXPECT_EQ(std::regex_replace(help.console, std::regex("\r\n"), "").find('\n'), std::string::npos)
      << "every help line ends in CR LF";
  for (const char* status : {"0  conversion completed", "1  the ZADAZA file could not be opened",
                             "2  input/output failure", "3  conversion failed"}) {
    EXPECT_NE(help.console.find(status), std::string::npos) << "exit status " << status;
  }
  for (const char* arguments : {"-h", "--mudline 0 --help"}) {
    EXPECT_EQ(run(dir, arguments, "").console, help.console) << arguments;
  }
  const Outcome version = run(dir, "--version", "");
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_TRUE(std::regex_match(version.console,
                               std::regex("zadaza2krano [0-9]+\\.[0-9]+\\.[0-9]+ \\(.*Version 1\\.3.*\\)\r\n")))
      << version.console;
  EXPECT_EQ(version.errors + help.errors, "");
}

}  // namespace
