// The output and echo files of a run: taken over whole at the outcome line, never touched by a
// run that ends before it.
#include <csignal>
#include <optional>
#include <set>
#include <string>

#include "converter_run.hpp"

namespace {

using namespace converter_test;

const std::string kAnswersToOutput = "\nsoil.dat\nP\n0\n1\n1\n0\n1\n\n";

struct EarlyEnd {
  const char* name;
  const char* tool_arguments;
  bool cut_short;     // the ZADAZA file loses its last bytes
  const char* echo;   // the answer to the echo question, null for none
  std::optional<test_support::Stop> stop;  // sent at the echo question
  int exit_status;
  const char* error_piece;
};

class EarlyEnds : public ConverterRun, public ::testing::WithParamInterface<EarlyEnd> {};

TEST_P(EarlyEnds, LeaveEarlierFilesAsTheyWereAndNoOtherFile) {
  const EarlyEnd& c = GetParam();
  make_zadaza(c.tool_arguments, "soil.dat");
  if (c.cut_short) fs::resize_file(work() / "soil.dat", fs::file_size(work() / "soil.dat") - 9);
  make_file("soil.dat.fem", "earlier output\r\n");
  make_file("soil.dat.echo", "earlier echo\r\n");
  if (kOnWindows && c.stop == test_support::Stop::Terminate) {
    GTEST_SKIP() << "Windows has no termination signal; Ctrl-Break stands for it in Interrupt";
  }
  const std::string answers = kAnswersToOutput + (c.echo != nullptr ? c.echo : "");
  const std::optional<Outcome> stopped =
      c.stop ? run_and_stop(answers, kEcho, *c.stop) : std::optional<Outcome>(run(answers));
  if (!stopped) {
    GTEST_SKIP() << "the console refused the Ctrl-Break event (GenerateConsoleCtrlEvent): the "
                    "tests run without a console";
  }
  const Outcome& r = *stopped;
  EXPECT_EQ(r.exit_status, c.exit_status);
  EXPECT_NE(r.errors.find(c.error_piece), std::string::npos) << r.errors;
  EXPECT_EQ(r.console.find("Conversion"), std::string::npos);
  EXPECT_EQ(read_file(work() / "soil.dat.fem"), "earlier output\r\n");
  EXPECT_EQ(read_file(work() / "soil.dat.echo"), "earlier echo\r\n");
  EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "soil.dat.fem", "soil.dat.echo"}));
}

const char* const kSmall = "--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 3";

INSTANTIATE_TEST_SUITE_P(
    Runs, EarlyEnds,
    ::testing::Values(
        EarlyEnd{"ConsoleInputEndsAtTheEchoQuestion", kSmall, false, nullptr, std::nullopt, 2,
                 "end of console input, unit 5; no output was written\n"},
        EarlyEnd{"DamagedZadazaFile", kSmall, true, "Y\n", std::nullopt, 2,
                 "; no output was written\nzadaza2krano: the file was read as a New ZADAZA "
                 "file: if it is an Old one, answer O to the first question (option --old); "
                 "otherwise it may "
                 "be damaged or not a ZADAZA file\n"},
        EarlyEnd{"SizeLimit", "--layers 81 --diameters 1 --in-use 1 --dsp 0", false, "Y\n", std::nullopt, 3,
                 "; no output was written\n"},
        EarlyEnd{"Interrupt", kSmall, false, nullptr, test_support::Stop::Interrupt, 128 + SIGINT,
                 "interrupted; no output was written\n"},
        EarlyEnd{"Termination", kSmall, false, nullptr, test_support::Stop::Terminate, 128 + SIGTERM,
                 "interrupted; no output was written\n"}),
    [](const ::testing::TestParamInfo<EarlyEnd>& info) { return info.param.name; });

TEST_F(ConverterRun, FinishedFilesReplaceLinksAndKeepPermissions) {
  if (kOnWindows) GTEST_SKIP() << "symbolic links need administrator rights on Windows";
  make_zadaza(kSmall, "soil.dat");
  make_file("target.txt", "target\r\n");
  make_file("echo-target.txt", "echo target\r\n");
  fs::create_symlink("target.txt", work() / "link.fem");
  fs::create_symlink("echo-target.txt", work() / "soil.dat.echo");
  Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\nlink.fem\nY\n");
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  EXPECT_EQ(read_file(work() / "target.txt"), "target\r\n");
  EXPECT_EQ(read_file(work() / "echo-target.txt"), "echo target\r\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work() / "link.fem")));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work() / "soil.dat.echo")));
  EXPECT_NE(read_file(work() / "link.fem").find("SOILCHAR"), std::string::npos);

  const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(work() / "link.fem", kept);
  r = run("\nsoil.dat\nP\n0\n1\n1\n7\n1\nlink.fem\nN\n");
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  EXPECT_EQ(fs::status(work() / "link.fem").permissions(), kept);
  EXPECT_NE(read_file(work() / "link.fem").find(" 900018"), std::string::npos);
  EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "target.txt", "echo-target.txt", "link.fem",
                                            "soil.dat.echo"}));
}

TEST_F(ConverterRun, NamesThatAreNoRegularFilesAreWrittenDirectly) {
  make_zadaza(kSmall, "soil.dat");
  if (!test_support::make_device((work() / "null").string(), test_support::Device::Null)) {
    GTEST_SKIP() << "a device node can be made only by root on Linux";
  }
  const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\nnull\nN\n");
  EXPECT_TRUE(r.console.ends_with(kCompleted));
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  EXPECT_TRUE(fs::is_character_file(work() / "null"));
  EXPECT_EQ(files(), (std::set<std::string>{"null", "soil.dat"}));
}

}  // namespace
