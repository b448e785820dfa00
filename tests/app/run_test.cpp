// The converter run end to end: the real program in a fresh folder, answers piped in, the
// whole console compared byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

const std::string kDash(45, '-');
const std::string kNewBanner = "\r\n\r\n\r\n\r\n" + kDash + "\r\n" + kDash + "\r\n" +
                               "-------  Z I Z A D E --> K R A N O   --------\r\n"
                               "-------         Version 1.3          --------\r\n"
                               "\r\n" +
                               kDash + "\r\n" + kDash + "\r\n";
const std::string kOldBanner = "\r\n\r\n\r\n\r\n" + kDash + "\r\n" +
                               "-------  Z I Z A D E --> K R A N O   --------\r\n"
                               "-------       Version 1.0b           --------\r\n"
                               "-------                              --------\r\n"
                               "-------   To be used together with   --------\r\n"
                               "-------     1999 version or older    --------\r\n"
                               "-------               of             --------\r\n"
                               "-------             ZADAZA           --------\r\n"
                               "-------                              --------\r\n"
                               "\r\n" +
                               kDash + "\r\n" + kDash + "\r\n";

const std::string kGeneration = " New or Old ZADAZA data  /New/ ? ";
const std::string kZadazaFile = " Give ZADAZA data file         : ";
const std::string kOrientation = " Orientation of soil (POS/NEG) : ";
const std::string kOrigo = " Origo of soil axis system     : ";
const std::string kForceScale = " Scaling Factor, Force  Unit   : ";
const std::string kLengthScale = " Scaling Factor, Length Unit   : ";
const std::string kIdOffset = " Number to be added to ID      : ";
const std::string kOutputFormat = " Output format, 1:SESAM, 2:KNF : ";
const std::string kOutputFile = " Give KRANO soil file (output) : ";
const std::string kEcho = " Echo of ZADAZA data   /No/    ? ";
const std::string kProcessing = " Processing file               : ";
const std::string kCompleted = "\r\n  Conversion Completed \r\n\r\n";
const std::string kFailed = "\r\n  Conversion Feiled!   \r\n\r\n";

std::string contents(const fs::path& path) { return test_support::read_file(path.string()); }

using Outcome = test_support::ProgramRun;

// Each test runs in a fresh folder of its own.
class ConverterRun : public ::testing::Test {
 protected:
  fs::path work() const { return fs::path(folder_.dir()); }

  void make_file(const char* name, const std::string& text) const {
    test_support::write_file(folder_.path(name), text);
  }

  // Files in the working folder after the run.
  std::set<std::string> files() const {
    const std::vector<std::string> names = test_support::file_names(folder_.dir());
    return {names.begin(), names.end()};
  }

  Outcome run(const std::string& answers,
              test_support::Console console = test_support::Console::Kept) const {
    return test_support::run_converter(folder_.dir(), answers, console);
  }

  // A ZADAZA file written by the test tool in the working folder.
  void make_zadaza(const std::string& arguments, const char* name) const {
    test_support::make_zadaza("--synthetic " + arguments + " " + folder_.path(name));
  }

  test_support::TempDir folder_;
};

std::string summary(const char* layers, const char* mudline, const char* factor) {
  return kEcho + "\r\n Starts generating Krano input.....\r\n\r\n" +
         "\r\n  .. Number of P_d curve points  23\r\n" + "  .. Number of Soil Layers     " +
         layers + "\r\n" + "  .. Maximum Piles               15\r\n" +
         "  .. Z_Coord for Mudline       " + mudline + "\r\n" + "  .. Coordinate  Factor        " +
         factor + "\r\n\r\n";
}

std::string from_echo_question(const std::string& console) {
  const std::size_t at = console.find(kEcho);
  return at == std::string::npos ? console : console.substr(at);
}

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
  } cases[] = {{"   missing.dat", "'missing.dat': No such file or directory\n"},
               {"folder", "'folder': Is a directory\n"}};
  for (const auto& c : cases) {
    const Outcome r = run(std::string("\n") + c.typed + "\n");
    EXPECT_EQ(r.console, kGeneration + kNewBanner + kZadazaFile);
    EXPECT_EQ(r.errors, std::string("zadaza2krano: cannot open ZADAZA file ") + c.error);
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



TEST_F(ConverterRun, LongZadazaNameGivesOutputNameCutTo64) {
  const std::string name62 = std::string(58, 'z') + ".dat";
  make_file(name62.c_str(), "");
  run("\n" + name62 + "\nP\n0\n1\n1\n0\n1\n\n");
  EXPECT_EQ(files(), (std::set<std::string>{name62, name62 + ".f"}));
}

TEST_F(ConverterRun, InputFileTypedAsOutputNameIsNeverTouched) {
  make_zadaza("--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 5", "soil.dat");
  const std::string input = contents(work() / "soil.dat");
  fs::create_directory(work() / "sub");
  for (const char* typed : {"soil.dat", "./soil.dat", "sub/../soil.dat"}) {
    const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\n" + std::string(typed) + "\nN\n");
    EXPECT_EQ(contents(work() / "soil.dat"), input) << typed;
    EXPECT_EQ(from_echo_question(r.console), summary("   2", "      0.0", "      1.0") + kFailed);
    EXPECT_EQ(r.exit_status, 0);
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

TEST_F(ConverterRun, FailedOutputOpeningIsReportedEvenAfterEchoOpens) {
  make_zadaza("--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 1", "soil.dat");
  const Outcome r = run("\nsoil.dat\nN\n0\n1\n1\n0\n1\nno/such/out.fem\nY\n");
  EXPECT_EQ(from_echo_question(r.console), summary("   1", "      0.0", "     -1.0") + kFailed);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "soil.dat.echo"}));
}

TEST_F(ConverterRun, SizeLimitFailureEndsAfterTheReaderWithoutOutcome) {
  make_zadaza("--layers 81 --diameters 1 --in-use 1 --dsp 0 --seed 1", "big.dat");
  const Outcome r = run("\nbig.dat\nP\n0\n1\n1\n0\n1\n\nY\n");
  EXPECT_EQ(r.console.find(kEcho), std::string::npos);
  EXPECT_EQ(r.console.find("Conversion"), std::string::npos);
  EXPECT_NE(r.console.find("81"), std::string::npos);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(files(), (std::set<std::string>{"big.dat", "big.dat.fem"}));
  EXPECT_EQ(fs::file_size(work() / "big.dat.fem"), 0u);
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
  const char* answers;
  bool completes;
  const char* output_piece;
};

class WholeRuns : public ConverterRun, public ::testing::WithParamInterface<WholeRun> {};

TEST_P(WholeRuns, OutcomeAndOutputAgree) {
  const WholeRun& c = GetParam();
  make_zadaza(c.tool_arguments, "soil.dat");
  const Outcome r = run(c.answers);
  EXPECT_TRUE(r.console.ends_with(c.completes ? kCompleted : kFailed)) << r.console;
  EXPECT_EQ(r.errors, "");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(contents(work() / "out.txt").find(c.output_piece), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, WholeRuns,
    ::testing::Values(
        WholeRun{"OldGenerationReadsFourDiameterGroups",
                 "--old --layers 2 --diameters 4 --in-use 2 --dsp 1 --seed 5",
                 "O\nsoil.dat\nP\n0\n1\n1\n0\n2\nout.txt\nN\n", true,
                 "\r\n ELPLCURV   1200021\r\n"},
        WholeRun{"UnknownFormatWritesBlocksThenBothBanners",
                 "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 2",
                 "\nsoil.dat\nN\n0\n1\n1\n0\n3\nout.txt\n\n", false,
                 "   900013\r\n\r\n  *** ERROR IN G2K_WMAT ***\r\n\r\n  *** ERROR IN G2KRANO ***\r\n"},
        WholeRun{"OffsetBeyondThirtyTwoBitsSkipsTheDiameter",
                 "--layers 1 --diameters 1 --in-use 1 --dsp 0 --seed 2",
                 "\nsoil.dat\nN\n0\n1\n1\n2147483000\n1\nout.txt\n\n", false,
                 "\r\n  *** ERROR IN G2KRANO ***\r\n\r\n"
                 "  *** Identifiers out of range for diameter  9.000E-01\r\n"}),
    [](const ::testing::TestParamInfo<WholeRun>& info) { return info.param.name; });

}  // namespace
