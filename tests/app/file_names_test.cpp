// File names as engineers type them on their system: non-ASCII names, folders given with
// backslashes and drive letters on Windows, and files another program holds open.
#include <algorithm>
#include <filesystem>
#include <string>

#include "converter_run.hpp"
#include "support/test_support.hpp"

namespace {

using namespace converter_test;

const char* const kSmall = "--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 8";

std::string utf8(const std::u8string& text) { return {text.begin(), text.end()}; }

// The converter's answers for a SESAM run of `zadaza` into `output` (empty: the default name).
std::string answers(const std::string& zadaza, const std::string& output) {
  return "\n" + zadaza + "\nNEG\n0\n1\n1\n0\n1\n" + output + "\nN\n";
}

struct TypedName {
  const char* name;
  bool windows_only;
  std::u8string folder;    // made in the working folder, holds the ZADAZA file
  std::u8string zadaza;    // its name in that folder
  std::string typed;       // the answer to the ZADAZA file question; empty: folder/zadaza
  std::string output;      // the answer to the output question
  std::u8string written;   // where the soil file must land, from the working folder
};

class TypedNames : public ConverterRun, public ::testing::WithParamInterface<TypedName> {};

TEST_P(TypedNames, ReachTheFilesTheyName) {
  const TypedName& c = GetParam();
  if (c.windows_only && !kOnWindows) {
    GTEST_SKIP() << "a backslash or a drive letter is part of a POSIX file name";
  }
  make_zadaza(kSmall, "plain.zdz");
  fs::create_directories(work() / c.folder);
  fs::rename(work() / "plain.zdz", work() / c.folder / c.zadaza);
  // "<work>" stands for the working folder as Windows names it, drive letter first.
  std::string absolute = work().string();
  std::replace(absolute.begin(), absolute.end(), '/', '\\');
  const auto named = [&](std::string answer) {
    if (answer.starts_with("<work>")) answer.replace(0, 6, absolute);
    return answer;
  };
  const std::string typed = c.typed.empty() ? utf8(c.folder + u8"/" + c.zadaza) : c.typed;
  const Outcome r = run(answers(named(typed), named(c.output)));
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  EXPECT_TRUE(r.console.ends_with(kCompleted)) << r.console;
  EXPECT_NE(read_file(work() / c.written).find("SOILCHAR"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TypedNames,
    ::testing::Values(
        TypedName{"NonAscii", false, u8"Bodenschicht-\u00e4", u8"pr\u00f8ve-\u65e5\u672c.zdz", "",
                  "", u8"Bodenschicht-\u00e4/pr\u00f8ve-\u65e5\u672c.zdz.fem"},
        TypedName{"NonAsciiOutput", false, u8"in", u8"soil.zdz", "",
                  utf8(u8"in/r\u00e9sultat.fem"), u8"in/r\u00e9sultat.fem"},
        TypedName{"Backslashes", true, u8"site/piles", u8"soil.zdz", "site\\piles\\soil.zdz",
                  "site\\out.fem", u8"site/out.fem"},
        TypedName{"MixedSeparators", true, u8"site/piles", u8"soil.zdz", "site/piles\\soil.zdz",
                  "", u8"site/piles/soil.zdz.fem"},
        TypedName{"DriveLetter", true, u8"d", u8"soil.zdz", "<work>\\d\\soil.zdz",
                  "<work>\\d\\drive.fem", u8"d/drive.fem"}),
    [](const ::testing::TestParamInfo<TypedName>& info) { return info.param.name; });

// Names beyond ASCII given as options arrive whole, as typed ones do (on Windows the command
// line is read in its wide form).
TEST_F(ConverterRun, NonAsciiNamesOnTheCommandLineReachTheirFiles) {
  make_zadaza(kSmall, "plain.zdz");
  const std::string zadaza = utf8(u8"pr\u00f8ve-\u65e5\u672c.zdz");
  const std::string output = utf8(u8"r\u00e9sultat.knf");
  fs::rename(work() / "plain.zdz", work() / fs::path(std::u8string(zadaza.begin(), zadaza.end())));
  const Outcome r = test_support::run_program(
      {{ZZ_CONVERTER, "--mudline", "0", "--format", "knf", "-o", output, zadaza},
       work().string()});
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  EXPECT_NE(read_file(work() / fs::path(std::u8string(output.begin(), output.end())))
                .find("SOILCHAR"),
            std::string::npos);
}

// A file another program holds open without sharing, ZADAZA file or earlier output, is refused
// with the reason, and the held file stays as it was.
TEST_F(ConverterRun, FilesHeldOpenWithoutSharingAreRefused) {
  if (!kOnWindows) GTEST_SKIP() << "POSIX has no opening that keeps other programs out";
  const struct {
    const char* held;
    int exit_status;
    const char* error_piece;
  } cases[] = {
      {"soil.zdz", 1, "cannot open ZADAZA file 'soil.zdz': "},
      {"soil.zdz.fem", 3, "cannot open output file 'soil.zdz.fem': "},
  };
  make_zadaza(kSmall, "soil.zdz");
  make_file("soil.zdz.fem", "earlier output\r\n");
  for (const auto& c : cases) {
    const std::string before = read_file(work() / c.held);
    {
      const test_support::HeldOpen holding((work() / c.held).string());
      ASSERT_TRUE(holding.held()) << c.held;
      const Outcome r = run(answers("soil.zdz", ""));
      EXPECT_EQ(r.exit_status, c.exit_status) << c.held;
      EXPECT_NE(r.errors.find(c.error_piece), std::string::npos) << r.errors;
    }
    EXPECT_EQ(read_file(work() / c.held), before) << c.held;
  }
}

}  // namespace
