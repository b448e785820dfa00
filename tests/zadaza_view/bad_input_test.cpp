// Bad input: the converter's messages and exit statuses, and the ZADAZA file never written; the
// same from zadaza-make --decode.
#include <gtest/gtest.h>

#include <regex>

#include "runs.hpp"

namespace view_test {
namespace {

enum class Compare {
  SameErrors,          // standard error exactly the converter's
  ConsoleWithin,       // the console lines appear in the converter's console as they stand
  ViewerUsage,         // the viewer's own complaint about its command line
};

struct BadInput {
  const char* name;
  std::string make_arguments;  // empty: no file is made
  void (*damage)(const fs::path& folder);  // done in the folder after making in.zdz, or null
  std::string viewer_arguments;
  bool old_generation;
  int status;
  Compare compare;
  const char* named = "";  // ViewerUsage: what the complaint says
};

const std::string kSynthetic = "--synthetic --diameters 2 --in-use 2 --dsp 0 ";

void make_folder(const fs::path& folder) { fs::create_directory(folder / "in.zdz"); }
void truncate(const fs::path& folder) { fs::resize_file(folder / "in.zdz", 900); }
void link_other(const fs::path& folder) { fs::create_hard_link(folder / "in.zdz", folder / "other"); }
void link_table(const fs::path& folder) { fs::create_hard_link(folder / "in.zdz", folder / "t.csv"); }

std::vector<BadInput> bad_inputs() {
  return {
      {"Missing", "", nullptr, "in.zdz", false, 1, Compare::SameErrors},
      {"Folder", "", make_folder, "in.zdz", false, 1, Compare::SameErrors},
      {"Truncated", kSynthetic + "--layers 3", truncate, "in.zdz", false, 2,
       Compare::SameErrors},
      {"OldReadAsNew", kSynthetic + "--old --layers 2", nullptr, "in.zdz", false, 2,
       Compare::SameErrors},
      {"TooManyLayers", kSynthetic + "--layers 81", nullptr, "in.zdz", false, 3,
       Compare::ConsoleWithin},
      {"TooManyDisplacementRows", "--synthetic --diameters 1 --in-use 1 --dsp 16 --layers 1", nullptr,
       "in.zdz", false, 3, Compare::ConsoleWithin},
      {"NoFile", kSynthetic + "--layers 1", nullptr, "", false, 2, Compare::ViewerUsage},
      {"UnknownOption", kSynthetic + "--layers 1", nullptr, "--colour in.zdz", false, 2,
       Compare::ViewerUsage},
      {"UnknownOptionLast", kSynthetic + "--layers 1", nullptr, "in.zdz --version2", false, 2,
       Compare::ViewerUsage, "unknown option '--version2'; the options are"},
      {"OptionTwice", kSynthetic + "--layers 1", nullptr, "--offset 1 --offset 2 in.zdz", false, 2,
       Compare::ViewerUsage, "option given twice '--offset'"},
      {"BadValue", kSynthetic + "--layers 1", nullptr, "--layers x in.zdz", false, 2,
       Compare::ViewerUsage, "'--layers': 'x'; --layers takes FIRST-LAST"},
      {"LayersBackwards", kSynthetic + "--layers 3", nullptr, "--layers 3-2 in.zdz", false, 2,
       Compare::ViewerUsage},
      {"LayerBeyondTheFile", kSynthetic + "--layers 3", nullptr, "--layers 4-5 in.zdz", false, 2,
       Compare::ViewerUsage},
      {"DiameterNotInUse", kSynthetic + "--layers 1", nullptr, "--diameter 7 in.zdz", false, 2,
       Compare::ViewerUsage},
      {"PageOntoTheZadazaFile", kSynthetic + "--layers 1", nullptr, "-o in.zdz in.zdz", false, 2,
       Compare::ViewerUsage},
      {"PageOntoALinkToIt", kSynthetic + "--layers 1", link_other, "-o other in.zdz",
       false, 2, Compare::ViewerUsage},
      {"TableOntoALinkToIt", kSynthetic + "--layers 1", link_table,
       "--mudline 0 --table t.csv in.zdz", false, 2, Compare::ViewerUsage},
      {"TableWithoutMudline", kSynthetic + "--layers 1", nullptr, "--json t.json in.zdz", false, 2,
       Compare::ViewerUsage},
  };
}

class BadInputs : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, GetTheConvertersMessagesAndStatusAndLeaveTheFileAlone) {
  const BadInput& bad = GetParam();
  TempDir folder;
  if (!bad.make_arguments.empty()) make_zadaza(folder, bad.make_arguments + " in.zdz");
  if (bad.damage != nullptr) bad.damage(folder.dir());
  const std::string before = read_file(folder / "in.zdz");

  const Outcome shown = run(folder, shell_quoted(kViewer) + " " + bad.viewer_arguments);
  EXPECT_EQ(shown.status, bad.status) << shown.err;
  EXPECT_EQ(read_file(folder / "in.zdz"), before);
  EXPECT_FALSE(fs::exists(folder / "in.zdz.html"));

  const Outcome converted = run(folder, shell_quoted(kConverter),
                                knf_answers("in.zdz", "out.knf", bad.old_generation, 0));
  switch (bad.compare) {
    case Compare::SameErrors:
      // The same lines, each beginning with its own program's name.
      EXPECT_EQ(std::regex_replace(shown.err, std::regex("(^|\n)zadaza-view: "), "$1zadaza2krano: "),
                converted.err);
      EXPECT_EQ(shown.err.rfind("zadaza-view: ", 0), 0U) << shown.err;
      break;
    case Compare::ConsoleWithin:
      EXPECT_NE(converted.out.find(shown.out), std::string::npos) << shown.out;
      EXPECT_NE(shown.out.find("exeeded"), std::string::npos) << shown.out;
      break;
    case Compare::ViewerUsage:
      EXPECT_EQ(shown.err.rfind("zadaza-view: ", 0), 0U) << shown.err;
      EXPECT_NE(shown.err.find(bad.named), std::string::npos) << shown.err;
      return;
  }
  // zadaza-make --decode refuses the file alike, the reader's console lines on standard error.
  const Outcome decoded =
      run(folder, shell_quoted(kMaker) + " --decode " + bad.viewer_arguments + " -o in.txt");
  EXPECT_EQ(decoded.status, bad.status) << decoded.err;
  EXPECT_NE(decoded.err.find(shown.out), std::string::npos) << decoded.err;
  EXPECT_NE(std::regex_replace(decoded.err, std::regex("(^|\n)zadaza-make: "), "$1zadaza2krano: ")
                .find(converted.err),
            std::string::npos)
      << decoded.err;
  EXPECT_EQ(decoded.out, "");
  EXPECT_FALSE(fs::exists(folder / "in.txt"));
  // Nor its temporary file, staged before the file was read.
  for (const std::string& name : test_support::file_names(folder.dir())) {
    EXPECT_NE(name.front(), '.') << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Viewer, BadInputs, ::testing::ValuesIn(bad_inputs()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace view_test
