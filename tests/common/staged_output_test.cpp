// The tools' one writer of outputs: an output never reaches an input or another output of the
// run, and a refused write or rename leaves no temporary file behind.
#include "common/staged_output.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::TempDir;

std::set<std::string> names_in(const TempDir& folder) {
  const std::vector<std::string> all = test_support::file_names(folder.dir());
  return {all.begin(), all.end()};
}

struct OutputsCase {
  const char* name;
  std::vector<std::string> outputs;  // in the test's folder; "" stays empty
  std::string refusal;               // its start; empty when the outputs may be written
  bool needs_links = false;          // symbolic links: not made on Windows
};

TEST(StagedOutput, RefusesAnOutputThatIsAnInputOrAnotherOutput) {
  const OutputsCase cases[] = {
      {"distinct", {"a", "", "b"}, ""},
      {"new beside the input", {"input.txt.out"}, ""},
      {"the input", {"a", "input.txt"}, "cannot write '@input.txt': it is the input"},
      {"a hard link to the input", {"hard.txt"}, "cannot write '@hard.txt': it is the input"},
      {"a link to the input", {"link.txt"}, "cannot write '@link.txt': it is the input", true},
      {"one name twice", {"a", "a"}, "cannot write '@a': it is the file '@a', an output"},
      {"one entry by two names", {"a", "sub/../a"}, "cannot write '@sub/../a': it is the file '@a'"},
      {"one entry, ./", {"a", "./a"}, "cannot write '@./a': it is the file '@a'"},
      {"one file by a link", {"earlier.txt", "to-earlier.txt"},
       "cannot write '@to-earlier.txt': it is the file '@earlier.txt'", true},
      {"one file by a hard link", {"earlier.txt", "earlier-hard.txt"},
       "cannot write '@earlier-hard.txt': it is the file '@earlier.txt'"},
  };
  TempDir folder;
  test_support::write_file(folder / "input.txt", "input\n");
  test_support::write_file(folder / "earlier.txt", "earlier\n");
  fs::create_directory(folder / "sub");
  fs::create_hard_link(folder / "input.txt", folder / "hard.txt");
  fs::create_hard_link(folder / "earlier.txt", folder / "earlier-hard.txt");
  if (!test_support::kOnWindows) {
    fs::create_symlink(folder / "input.txt", folder / "link.txt");
    fs::create_symlink(folder / "earlier.txt", folder / "to-earlier.txt");
  }
  tools::protect_input(folder.path("input.txt"));
  const auto in_folder = [&](std::string text) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
      text.replace(at, 1, folder.dir() + "/");
    }
    return text;
  };
  for (const OutputsCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needs_links && test_support::kOnWindows) continue;
    std::vector<std::string> outputs;
    for (const std::string& o : c.outputs) outputs.push_back(o.empty() ? o : folder.path(o));
    const std::string refusal = tools::refused_outputs(outputs, "the input");
    const std::string expected = in_folder(c.refusal);
    EXPECT_EQ(refusal.substr(0, expected.size()), expected) << refusal;
    EXPECT_EQ(refusal.empty(), expected.empty()) << refusal;
  }
  tools::forget_protected_inputs();
}

struct WriteCase {
  const char* name;
  std::string output;  // in the test's folder
  bool written;
};

// What a write leaves: the complete file under its name, or nothing new at all.
TEST(StagedOutput, LeavesTheWholeFileOrNoFile) {
  const WriteCase cases[] = {
      {"a new file", "new.txt", true},
      {"over an earlier file", "earlier.txt", true},
      {"a folder at the name: the rename is refused", "folder", false},
      {"a missing folder", "missing/new.txt", false},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    test_support::write_file(folder / "earlier.txt", "earlier\n");
    fs::create_directory(folder / "folder");
    const std::set<std::string> before = names_in(folder);
    const std::string refusal = tools::write_output_file(folder.path(c.output), "new\n");
    EXPECT_EQ(refusal.empty(), c.written) << refusal;
    std::set<std::string> after = before;
    after.insert(c.output);
    EXPECT_EQ(names_in(folder), c.written ? after : before);
    if (c.written) {
      EXPECT_EQ(test_support::read_file(folder / c.output), "new\n");
    }
  }
}

TEST(StagedOutput, AnOutputNotCommittedIsRemoved) {
  TempDir folder;
  test_support::write_file(folder / "out.txt", "earlier\n");
  {
    tools::StagedOutput output(folder.path("out.txt"));
    ASSERT_EQ(output.refusal(), "");
    EXPECT_TRUE(output.write("half"));
  }
  EXPECT_EQ(names_in(folder), std::set<std::string>{"out.txt"});
  EXPECT_EQ(test_support::read_file(folder / "out.txt"), "earlier\n");
}

}  // namespace
