// Every output of zadaza-make and zadaza-view is complete or absent: never written onto an
// input, never two outputs of one run onto one file, and a refused write or rename leaves no
// temporary file.
#include <gtest/gtest.h>

#include <map>

#include "runs.hpp"

namespace view_test {
namespace {

// Every file of the folder with its contents; a link reads as what it reaches.
std::map<std::string, std::string> contents_of(const TempDir& folder) {
  std::map<std::string, std::string> all;
  for (const std::string& name : test_support::file_names(folder.dir())) {
    all[name] = fs::is_directory(folder / name) ? "(folder)" : read_file(folder / name);
  }
  return all;
}

const std::string kSmall = "--synthetic --layers 2 --diameters 2 --in-use 2 --dsp 0";

// In the folder: in.zdz, its description d.txt and its table t.csv, with a hard link and a
// symbolic link to each (symbolic links not on Windows), and a folder out/.
void prepare(const TempDir& folder) {
  make_zadaza(folder, kSmall + " in.zdz");
  make_zadaza(folder, kSmall + " --text d.txt");
  ASSERT_EQ(run(folder, shell_quoted(kViewer) + " --mudline -20 --table t.csv in.zdz").status, 0);
  for (const char* name : {"in.zdz", "d.txt", "t.csv"}) {
    fs::create_hard_link(folder / name, folder / (std::string("hard-") + name));
    if (!test_support::kOnWindows) {
      fs::create_symlink(folder / name, folder / (std::string("link-") + name));
    }
  }
  fs::create_directory(folder / "out");
}

struct Refused {
  const char* name;
  std::string command;  // after the program
  bool maker;           // zadaza-make, else zadaza-view
  int status;
  std::string message;  // the first line on standard error, from after the program's name
  bool needs_links = false;
};

TEST(ToolOutputs, AnOutputOntoAnInputOrAnotherOutputIsRefusedAndNothingChanges) {
  const Refused cases[] = {
      {"table made in place", "--from-table t.csv t.csv", true, 1,
       "cannot write 't.csv': it is the table"},
      {"table onto its hard link", "--from-table t.csv hard-t.csv", true, 1,
       "cannot write 'hard-t.csv': it is the table"},
      {"description onto its link", "d.txt link-d.txt", true, 1,
       "cannot write 'link-d.txt': it is the description", true},
      {"description onto its hard link", "--text d.txt hard-d.txt", true, 1,
       "cannot write 'hard-d.txt': it is the description"},
      {"decode onto the file", "--decode in.zdz -o in.zdz", true, 2,
       "cannot write 'in.zdz': it is the ZADAZA file"},
      {"decode onto its link", "--decode in.zdz -o link-in.zdz", true, 2,
       "cannot write 'link-in.zdz': it is the ZADAZA file", true},
      {"table and JSON of one name", "--mudline 0 --table X --json X in.zdz", false, 2,
       "cannot write 'X': it is the file 'X', an output of this run too"},
      {"table and JSON of one entry", "--mudline 0 --table X --json ./X in.zdz", false, 2,
       "cannot write './X': it is the file 'X'"},
      {"page and table of one file", "--mudline 0 -o hard-t.csv --table t.csv in.zdz", false, 2,
       "cannot write 't.csv': it is the file 'hard-t.csv'"},
      {"JSON onto a link to the table", "--mudline 0 --table t.csv --json link-t.csv in.zdz",
       false, 2, "cannot write 'link-t.csv': it is the file 't.csv'", true},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needs_links && test_support::kOnWindows) continue;
    TempDir folder;
    prepare(folder);
    const auto before = contents_of(folder);
    const Outcome r = run(folder, shell_quoted(c.maker ? kMaker : kViewer) + " " + c.command);
    EXPECT_EQ(r.status, c.status) << r.err;
    const std::string program = c.maker ? "zadaza-make: " : "zadaza-view: ";
    EXPECT_EQ(r.err.substr(0, program.size() + c.message.size()), program + c.message) << r.err;
    EXPECT_EQ(contents_of(folder), before);
  }
}

// A folder at the output's name: the file is written in full, then its rename is refused.
TEST(ToolOutputs, ARefusedRenameLeavesNoTemporaryFile) {
  const Refused cases[] = {
      {"description", "d.txt out", true, 1, "cannot write 'out': "},
      {"synthetic", kSmall + " out", true, 1, "cannot write 'out': "},
      {"table", "--from-table t.csv out", true, 1, "cannot write 'out': "},
      {"decode", "--decode in.zdz -o out", true, 2, "cannot write 'out': "},
      {"page", "-o out in.zdz", false, 2, "cannot write 'out': "},
      {"table of the viewer", "--mudline 0 --table out in.zdz", false, 2, "cannot write 'out': "},
  };
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    prepare(folder);
    const auto before = contents_of(folder);
    const Outcome r = run(folder, shell_quoted(c.maker ? kMaker : kViewer) + " " + c.command);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(contents_of(folder), before);
  }
}

}  // namespace
}  // namespace view_test
