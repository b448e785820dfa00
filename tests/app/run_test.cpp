// The converter run end to end: the real program in a fresh folder, answers piped in, the
// whole console compared byte for byte.
#include <filesystem>
#include <set>
#include <string>

#include "app/dialogue.hpp"
#include "converter_run.hpp"
#include "io/answers.hpp"
#include "support/test_support.hpp"

namespace {

using namespace converter_test;

TEST_F(ConverterRun, EmptyFileNameEndsSilentlyAfterTheBanner) {
  const Outcome r = run("\n\n");
  EXPECT_EQ(r.console, kGeneration + kNewBanner + kZadazaFile);
  EXPECT_EQ(r.errors, "");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_TRUE(files().empty());
}


TEST_F(ConverterRun, GenerationAnswersChooseTheBanner) {
  const struct {
    const char* answer;
    const std::string& banner;
  } cases[] = {{"old", kOldBanner}, {"O", kOldBanner},  {"Old", kOldBanner},
               {"", kNewBanner},    {"x", kNewBanner},  {"new", kNewBanner},
               {" o", kNewBanner},  {"N", kNewBanner}};
  for (const auto& c : cases) {
    const Outcome r = run(std::string(c.answer) + "\n\n");
    EXPECT_EQ(r.console, kGeneration + c.banner + kZadazaFile) << "answer '" << c.answer << "'";
    EXPECT_EQ(r.exit_status, 0);
  }
}

TEST_F(ConverterRun, UnopenableZadazaFileIsReportedAndNothingIsCreated) {
  fs::create_directory(work() / "folder");
  const struct {
    const char* typed;
    const char* error;
  } cases[] = {{"   missing.dat", "'missing.dat': No such file or directory"},
               {"folder", "'folder': Is a directory"}};
  for (const auto& c : cases) {
    const Outcome r = run(std::string("\n") + c.typed + "\n");
    EXPECT_EQ(r.console, kGeneration + kNewBanner + kZadazaFile);
    EXPECT_EQ(r.errors, std::string("zadaza2krano: cannot open ZADAZA file ") + c.error +
                            "; check the name and that it is a readable file\n");
    EXPECT_EQ(r.exit_status, 1);
  }
  EXPECT_EQ(files(), std::set<std::string>{"folder"});
}


TEST_F(ConverterRun, EndOfConsoleInputEndsTheProgramWithWhatWasWritten) {
  const Outcome r = run("\n");
  EXPECT_EQ(r.console, kGeneration + kNewBanner + kZadazaFile);
  EXPECT_EQ(r.errors.rfind("zadaza2krano: ", 0), 0u) << r.errors;
  EXPECT_NE(r.errors.find(", unit 5"), std::string::npos) << r.errors;
  EXPECT_EQ(r.exit_status, 2);
}

TEST_F(ConverterRun, UnreadableIntegerEndsTheProgramWithoutOutcome) {
  make_file("soil.dat", "any content");
  const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n1.5\n1\n\n");
  EXPECT_EQ(r.console, kGeneration + kNewBanner + kZadazaFile + kOrientation + kOrigo +
                           kForceScale + kLengthScale + kIdOffset);
  EXPECT_NE(r.errors.find(", unit 5"), std::string::npos) << r.errors;
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_EQ(files(), std::set<std::string>{"soil.dat"});
}



TEST_F(ConverterRun, LongNamesAreKeptWholeForOutputAndEcho) {
  // A 62-character name, and "soil.zdz" behind 58 characters of folder.
  const std::string folder = std::string(57, 'f');
  fs::create_directory(work() / folder);
  for (const std::string& name : {std::string(58, 'z') + ".zdz", folder + "/soil.zdz"}) {
    make_zadaza("--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 4", name.c_str());
    const Outcome r = run("\n" + name + "\nP\n0\n1\n1\n0\n1\n\nY\n");
    EXPECT_NE(r.console.find(kProcessing + name + "\r\n"), std::string::npos);
    EXPECT_EQ(r.exit_status, 0) << r.errors;
    EXPECT_TRUE(fs::exists(work() / (name + ".fem"))) << name;
    EXPECT_TRUE(fs::exists(work() / (name + ".echo"))) << name;
  }
}

TEST_F(ConverterRun, NameAnswerBeyond4096CharactersIsRefusedNotCut) {
  // 4096 characters are taken whole (and then refused by the system as too long a name).
  const struct {
    std::size_t length;
    std::string error;
    int exit_status;
  } cases[] = {{4096, "': File name too long; check the name and that it is a readable file\n", 1},
               {4097,
                "zadaza2krano: answer refused, longer than 4096 characters, to \"Give ZADAZA "
                "data file\", unit 5; no output was written\n",
                2}};
  for (const auto& c : cases) {
    const std::string name(c.length, 'n');
    const Outcome r = run("\n" + name + "\n");
    EXPECT_EQ(r.console, kGeneration + kNewBanner + kZadazaFile);
    EXPECT_TRUE(r.errors.ends_with(c.error)) << r.errors.substr(0, 100);
    EXPECT_EQ(r.exit_status, c.exit_status);
    EXPECT_TRUE(files().empty());
  }
}

// Answers that cannot be kept whole end the run before any file takes its name, naming the
// question: a NUL in a name, a name built from the ZADAZA name that grows too long, a number
// line longer than the console reader holds.
TEST_F(ConverterRun, AnswersThatCannotBeKeptWholeAreRefused) {
  make_zadaza("--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 4", "soil.dat");
  // "soil.dat" behind enough "./" to make a name of `length` characters.
  const auto zadaza_name = [](std::size_t length) {
    const std::size_t padding = length - std::string("soil.dat").size();
    std::string name = padding % 2 == 1 ? ".//" : "";
    while (name.size() < padding) name += "./";
    return name + "soil.dat";
  };
  const std::size_t whole = app::kFileNameLength;
  const std::string fem_name = zadaza_name(whole - app::kOutputExtension.size() + 1);
  const std::string echo_name = zadaza_name(whole - app::kEchoExtension.size() + 1);
  const std::string settings = "P\n0\n1\n1\n0\n2\n";
  const std::string nul(1, '\0');
  const struct {
    std::string answers;
    std::string refusal;
  } cases[] = {
      {"\nsoil" + nul + ".dat\n",
       "answer refused, it holds a NUL byte, to \"Give ZADAZA data file\""},
      {"\nsoil.dat\n" + settings + "out" + nul + ".knf\n",
       "answer refused, it holds a NUL byte, to \"Give KRANO soil file (output)\""},
      {"\n" + fem_name + "\n" + settings + "\nN\n",
       "answer refused, the ZADAZA file name with \".fem\" added is longer than 4096 characters, "
       "to \"Give KRANO soil file (output)\""},
      {"\n" + echo_name + "\n" + settings + "out.knf\nY\n",
       "answer refused, the ZADAZA file name with \".echo\" added is longer than 4096 "
       "characters, to \"Echo of ZADAZA data   /No/\""},
      {"\nsoil.dat\nP\n" + std::string(20000, ' ') + "5\n0\n1\n1\n0\n2\nout.knf\nN\n",
       "answer longer than " + std::to_string(io::kLongestConsoleLine) +
           " characters to \"Origo of soil axis system\""},
  };
  for (const auto& c : cases) {
    const Outcome r = run(c.answers);
    EXPECT_EQ(r.errors, "zadaza2krano: " + c.refusal + ", unit 5; no output was written\n");
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_EQ(files(), std::set<std::string>{"soil.dat"});
  }
}

TEST_F(ConverterRun, InputFileTypedAsOutputNameIsNeverTouched) {
  make_zadaza("--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 5", "soil.dat");
  const std::string input = read_file(work() / "soil.dat");
  fs::create_directory(work() / "sub");
  for (const char* typed : {"soil.dat", "./soil.dat", "sub/../soil.dat"}) {
    const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\n" + std::string(typed) + "\nN\n");
    EXPECT_EQ(read_file(work() / "soil.dat"), input) << typed;
    EXPECT_EQ(from_echo_question(r.console), summary("   2", "      0.0", "      1.0") + kFailed);
    EXPECT_EQ(r.exit_status, 3);
  }
  EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "sub"}));
}

TEST_F(ConverterRun, WholeRunShowsSummaryAndCompletes) {
  make_zadaza("--layers 3 --diameters 3 --in-use 2 --dsp 0 --seed 7", "soil.dat");
  // Q asks the orientation again, and an empty answer then gives -1.0; a slash after an empty
  // line leaves the origin at 0.0.
  const Outcome r = run("\n   soil.dat\nQ\n\n\n/\n1\n1\n0\n1\n\ny\n");
  const std::string dialogue = kGeneration + kNewBanner + kZadazaFile + kOrientation +
                               kOrientation + kOrigo + kForceScale + kLengthScale + kIdOffset +
                               kOutputFormat + kOutputFile + kProcessing + "soil.dat";
  EXPECT_EQ(r.console.substr(0, dialogue.size()), dialogue);
  EXPECT_EQ(from_echo_question(r.console), summary("   3", "      0.0", "     -1.0") + kCompleted);
  EXPECT_EQ(r.errors, "");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "soil.dat.fem", "soil.dat.echo"}));
  EXPECT_GT(fs::file_size(work() / "soil.dat.fem"), 0u);
  EXPECT_GT(fs::file_size(work() / "soil.dat.echo"), 0u);
}

TEST_F(ConverterRun, TypedSettingsReachTheSummary) {
  make_zadaza("--layers 2 --diameters 2 --in-use 1 --dsp 2 --seed 3", "new.dat");
  const Outcome r = run("x\nnew.dat\npos\n-12.25\n1000\n1\n100\n2\nnew.knf\nn\n");
  EXPECT_EQ(from_echo_question(r.console), summary("   2", "    -12.2", "      1.0") + kCompleted);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(files(), (std::set<std::string>{"new.dat", "new.knf"}));
}

TEST_F(ConverterRun, TextAfterATypedNumberIsIgnoredWithAWarning) {
  make_zadaza("--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 1", "soil.dat");
  const Outcome r = run("\nsoil.dat\nP\n-2,5\n1\n1.5 2\n0 1\n1\n\nN\n");
  EXPECT_EQ(from_echo_question(r.console), summary("   1", "     -2.0", "      1.0") + kCompleted);
  EXPECT_EQ(r.errors,
            "zadaza2krano: warning: answer to \"Origo of soil axis system\" read as -2, the "
            "rest \",5\" ignored; type a decimal point, not a comma\n"
            "zadaza2krano: warning: answer to \"Scaling Factor, Length Unit\" read as 1.5, the "
            "rest \"2\" ignored; type a decimal point, not a comma\n"
            "zadaza2krano: warning: answer to \"Number to be added to ID\" read as 0, the rest "
            "\"1\" ignored; type a decimal point, not a comma\n");
  EXPECT_EQ(r.exit_status, 0);
}

TEST_F(ConverterRun, RepeatedDiameterIsWarnedOfThenSkippedAndExplained) {
  make_zadaza("--layers 1 --diameters 2 --in-use 2 --dsp 0 --seed 1", "soil.dat", "1.2 1.2");
  const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\nout.fem\nN\n");
  EXPECT_TRUE(r.console.ends_with(kFailed));
  EXPECT_EQ(r.errors,
            "zadaza2krano: warning: diameter 2 (1.2) repeats diameter 1; check the ZADAZA file\n"
            "zadaza2krano: output file 'out.fem' holds error banners: 1 of 2 diameters skipped, "
            "their identifiers out of range or already used by another diameter (see \"*** ERROR "
            "IN G2KRANO ***\")\n");
  EXPECT_EQ(r.exit_status, 3);
}

TEST_F(ConverterRun, FailedOutputOpeningIsReportedEvenAfterEchoOpens) {
  make_zadaza("--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 1", "soil.dat");
  const Outcome r = run("\nsoil.dat\nN\n0\n1\n1\n0\n1\nno/such/out.fem\nY\n");
  EXPECT_EQ(from_echo_question(r.console), summary("   1", "      0.0", "     -1.0") + kFailed);
  EXPECT_EQ(r.errors,
            "zadaza2krano: cannot open output file 'no/such/out.fem': No such file or directory; "
            "check that its folder exists; the run goes on without it and ends \"Conversion "
            "Feiled!\"\n");
  EXPECT_EQ(r.exit_status, 3);
  EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "soil.dat.echo"}));
}

TEST_F(ConverterRun, SizeLimitFailureEndsAfterTheReaderWithoutOutcome) {
  make_zadaza("--layers 81 --diameters 1 --in-use 1 --dsp 0 --seed 1", "big.dat");
  const Outcome r = run("\nbig.dat\nP\n0\n1\n1\n0\n1\n\nY\n");
  EXPECT_EQ(r.console.find(kEcho), std::string::npos);
  EXPECT_EQ(r.console.find("Conversion"), std::string::npos);
  EXPECT_NE(r.console.find("81"), std::string::npos);
  EXPECT_EQ(r.errors,
            "zadaza2krano: ZADAZA file 'big.dat' is beyond the size limits (the lines above say "
            "which); no output was written\n");
  EXPECT_EQ(r.exit_status, 3);
  EXPECT_EQ(files(), (std::set<std::string>{"big.dat"}));
}

TEST_F(ConverterRun, EchoIsWrittenOnlyForAY) {
  make_zadaza("--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 4", "soil.dat");
  const struct {
    const char* answer;
    bool echo;
  } cases[] = {{"", false}, {"n", false}, {"No", false}, {" y", false},
               {"x", false}, {"y", true},  {"Yes", true}};
  for (const auto& c : cases) {
    std::filesystem::remove(work() / "soil.dat.echo");
    const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\n\n" + std::string(c.answer) + "\n");
    EXPECT_EQ(from_echo_question(r.console), summary("   1", "      0.0", "      1.0") + kCompleted)
        << "answer '" << c.answer << "'";
    EXPECT_EQ(files().count("soil.dat.echo"), c.echo ? 1U : 0U) << "answer '" << c.answer << "'";
  }
}

TEST_F(ConverterRun, ConsoleThatGoesAwayEndsTheProgramWithItsMessage) {
  const Outcome r = run("\n\n", test_support::Console::Gone);
  EXPECT_TRUE(r.exited) << "ended by signal " << r.signal;
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_EQ(r.errors.rfind("zadaza2krano: write refused: ", 0), 0U) << r.errors;
  EXPECT_NE(r.errors.find(", unit 6"), std::string::npos) << r.errors;
}

// Whole runs whose outcome rests on the file and the answers together: the outcome line and a
// piece of the output file that shows why.
struct WholeRun {
  const char* name;
  const char* tool_arguments;
  const char* diameters;
  const char* answers;
  bool completes;
  const char* output_piece;
};

class WholeRuns : public ConverterRun, public ::testing::WithParamInterface<WholeRun> {};

TEST_P(WholeRuns, OutcomeAndOutputAgree) {
  const WholeRun& c = GetParam();
  make_zadaza(c.tool_arguments, "soil.dat", c.diameters);
  const Outcome r = run(c.answers);
  EXPECT_TRUE(r.console.ends_with(c.completes ? kCompleted : kFailed)) << r.console;
  EXPECT_EQ(r.exit_status, c.completes ? 0 : 3);
  EXPECT_NE(read_file(work() / "out.txt").find(c.output_piece), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, WholeRuns,
    ::testing::Values(
        WholeRun{"OldGenerationReadsFourDiameterGroups",
                 "--old --layers 2 --diameters 4 --in-use 2 --dsp 1 --seed 5", nullptr,
                 "O\nsoil.dat\nP\n0\n1\n1\n0\n2\nout.txt\nN\n", true,
                 "\r\n ELPLCURV   1200021\r\n"},
        WholeRun{"NanDiameterIsRefusedAndTheNextOneConverted",
                 "--layers 1 --diameters 2 --in-use 2 --dsp 0 --seed 2", "nan 1.2",
                 "\nsoil.dat\nN\n0\n1\n1\n0\n1\nout.txt\n\n", false,
                 "*** Identifiers out of range for diameter        NaN\r\n'\r\n'"},
        WholeRun{"SoilIdentifierTwiceSkipsTheSecondDiameter",
                 "--layers 1 --diameters 2 --in-use 2 --dsp 0 --seed 2", "10.5 10.6",
                 "\nsoil.dat\nN\n0\n1\n1\n0\n1\nout.txt\n\n", false,
                 "\r\n  *** ERROR IN G2KRANO ***\r\n\r\n"
                 "  *** Identifiers already used by another diameter  1.060E+01\r\n"},
        WholeRun{"DiameterCodeTwiceSkipsTheSecondDiameter",
                 "--layers 1 --diameters 2 --in-use 2 --dsp 0 --seed 2", "1.0 1.0004",
                 "\nsoil.dat\nN\n0\n1\n1\n0\n2\nout.txt\n\n", false,
                 "  *** Identifiers already used by another diameter  1.000E+00\r\n"},
        WholeRun{"KnfIdentifiersOfTenDigitsSkipTheDiameter",
                 "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 2", nullptr,
                 "\nsoil.dat\nN\n0\n1\n1\n1000000000\n2\nout.txt\n\n", false,
                 "\r\n  *** ERROR IN G2KRANO ***\r\n\r\n"
                 "  *** Identifiers out of range for diameter  9.000E-01\r\n"},
        WholeRun{"SesamIdentifiersOfNineDigitsSkipTheDiameter",
                 "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 2", "1.5",
                 "\nsoil.dat\nN\n0\n1\n1\n99000000\n1\nout.txt\n\n", false,
                 "  *** Identifiers out of range for diameter  1.500E+00\r\n"},
        WholeRun{"KnfIdentifiersOfNineDigitsConvert",
                 "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 2", "1.5",
                 "\nsoil.dat\nN\n0\n1\n1\n99000000\n2\nout.txt\n\n", true,
                 " 100500011 100500012 100500013\r\n"}),
    [](const ::testing::TestParamInfo<WholeRun>& info) { return info.param.name; });

}  // namespace
