// zadaza-make refuses a description that cannot give a sound ZADAZA file, naming the line, and
// answers --help; --unchecked still writes such files for tests of damaged input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/process.hpp"
#include "support/test_support.hpp"

namespace {

using test_support::TempDir;

struct ToolRun {
  int exit_status = -1;
  std::string out;
  std::string errors;
};

ToolRun run_tool(const TempDir& dir, const std::string& arguments) {
  std::vector<std::string> command = test_support::words(arguments);
  command.insert(command.begin(), ZZ_MAKE_TOOL);
  const test_support::ProgramRun run = test_support::run_program({command, dir.dir()});
  return {run.exited ? run.exit_status : -1, run.console, run.errors};
}

const std::string kHead = "label Small\ndiameters 1.2\nlayer 5 9.5 32 0 0.3 0.45 2e4 0 0 0 0\n";

TEST(MakeTool, RefusesUnsoundDescriptionsNamingTheLine) {
  const struct {
    std::string description;
    const char* error;
  } cases[] = {
      {kHead + "py 2 1 1 0 0 0  1 0.1\n", "soil.txt: line 4: curve slot 2 is beyond the 1 diameters given"},
      {"label x\nlayer 5 9.5 32 0 0.3 0.45 2e4 0 0 0 0\nqz 3 1 1 0 0 0  1 0.1\ndiameters 0.9 1.2\n",
       "soil.txt: line 3: curve slot 3 is beyond the 2 diameters given"},
      {kHead + "py 1 24 1 0 0 0  1 0.1\n", "soil.txt: line 4: point count 24 is above 23"},
      {kHead + "tz 1 3 1 0 0 0  1 0.1  2 0.2\n", "soil.txt: line 4: point count 3 but 2 pairs given"},
      {"label " + std::string(81, 'L') + "\n", "soil.txt: line 1: the label has 81 characters"},
      {"# CR LF file\r\nlabel Small\r\n", "soil.txt: line 2: the label holds a carriage return"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    // A description is text: on Windows its CR LF line ends read as line ends.
    if (test_support::kOnWindows && c.description.find('\r') != std::string::npos) continue;
    test_support::write_file(dir.path("soil.txt"), c.description);
    std::filesystem::remove(dir.path("soil.zdz"));
    const ToolRun refused = run_tool(dir, "soil.txt soil.zdz");
    EXPECT_EQ(refused.exit_status, 1) << c.error;
    EXPECT_TRUE(refused.errors.starts_with("zadaza-make: " + std::string(c.error))) << refused.errors;
    EXPECT_EQ(std::count(refused.errors.begin(), refused.errors.end(), '\n'), 1)
        << "one line, without the usage: " << refused.errors;
    EXPECT_FALSE(std::filesystem::exists(dir.path("soil.zdz"))) << c.error;
    EXPECT_EQ(run_tool(dir, "--unchecked soil.txt soil.zdz").exit_status, 0) << c.error;
  }
}

// The longest label that fits is accepted; one more character is refused.
TEST(MakeTool, LabelOfEightyCharactersIsTheLongest) {
  const std::string rest = kHead.substr(kHead.find('\n'));
  TempDir dir;
  for (const std::size_t length : {80U, 81U}) {
    test_support::write_file(dir.path("soil.txt"),
                             std::string("label ") + std::string(length, 'L') + rest);
    const ToolRun r = run_tool(dir, "soil.txt soil.zdz");
    EXPECT_EQ(r.exit_status, length <= 80 ? 0 : 1) << length << ": " << r.errors;
  }
}

TEST(MakeTool, HelpAnswersAndUsageErrorsPointToIt) {
  TempDir dir;
  const ToolRun help = run_tool(dir, "--help");
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: zadaza-make")) << help.out;
  EXPECT_EQ(run_tool(dir, "-h").out, help.out);
  const struct {
    const char* arguments;
    const char* named;
  } cases[] = {
      {"--frobnicate a b", "unknown option '--frobnicate'"},
      {"--synthetic o --version2", "unknown option '--version2'"},
      {"only-one-file", "give a DESCRIPTION.txt and an OUTPUT file"},
      {"--synthetic --layers x o", "bad value for option '--layers': 'x'; --layers takes a whole"},
      {"--blocks wide a b", "'--blocks': 'wide'; --blocks takes full or led0"},
      {"--synthetic o --dsp", "missing value for option '--dsp'; --dsp takes"},
      {"--synthetic --layers 1 --layers 2 o", "option given twice '--layers'"},
  };
  for (const auto& c : cases) {
    const ToolRun r = run_tool(dir, c.arguments);
    EXPECT_EQ(r.exit_status, 2) << c.arguments;
    EXPECT_TRUE(r.errors.starts_with("zadaza-make: ")) << r.errors;
    EXPECT_NE(r.errors.find(c.named), std::string::npos) << c.arguments << ": " << r.errors;
    EXPECT_TRUE(r.errors.ends_with("; zadaza-make --help lists the options\n"))
        << c.arguments << ": " << r.errors;
    EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << r.errors;
    EXPECT_EQ(r.out, "");
  }
}

// Every generation and diameter count the tool writes reads back in the converter, each
// diameter in use converted into its own SOILCHAR block; the Old generation, whose reader
// takes 4 diameter groups, is refused more than 4.
TEST(MakeTool, EveryFileItWritesTheConverterReads) {
  TempDir dir;
  for (const bool old : {false, true}) {
    for (int diameters = 0; diameters <= (old ? 4 : 15); ++diameters) {
      const std::string made = std::string(old ? "--old " : "") + "--synthetic --layers 2 --dsp 1 "
                               "--diameters " + std::to_string(diameters) + " --in-use " +
                               std::to_string(diameters) + " soil.zdz";
      ASSERT_EQ(run_tool(dir, made).exit_status, 0) << made;
      const test_support::ProgramRun run = test_support::run_converter(
          dir.dir(), std::string(old ? "O" : "N") + "\nsoil.zdz\nN\n0\n1\n1\n0\n2\nout.knf\nN\n");
      EXPECT_EQ(run.exit_status, 0) << made << "\n" << run.errors;
      const std::string out = test_support::read_file(dir.path("out.knf"));
      std::size_t blocks = 0;
      for (std::size_t at = 0; (at = out.find(" SOILCHAR ", at)) != std::string::npos; ++at) ++blocks;
      EXPECT_EQ(blocks, static_cast<std::size_t>(std::min(diameters, 4))) << made;
    }
  }
  const ToolRun refused = run_tool(dir, "--old --synthetic --layers 1 --diameters 5 --in-use 1 --dsp 0 five.zdz");
  EXPECT_EQ(refused.exit_status, 1);
  EXPECT_EQ(refused.errors, "zadaza-make: the Old generation holds 4 diameters, 5 given; write the New generation\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path("five.zdz")));
}

}  // namespace
