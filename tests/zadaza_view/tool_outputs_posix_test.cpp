// The ends of a tool's run that only POSIX has: a signal while the output is staged, and a
// file size limit. Neither leaves a temporary file or a cut file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <map>
#include <thread>

#include "runs.hpp"

namespace view_test {
namespace {

std::map<std::string, std::string> contents_of(const TempDir& folder) {
  std::map<std::string, std::string> all;
  for (const std::string& name : test_support::file_names(folder.dir())) {
    all[name] = fs::is_fifo(folder / name) ? "(fifo)" : read_file(folder / name);
  }
  return all;
}

bool has_temporary_file(const TempDir& folder) {
  for (const std::string& name : test_support::file_names(folder.dir())) {
    if (name.starts_with(".")) return true;
  }
  return false;
}

struct Mode {
  const char* name;
  std::string arguments;  // "in" is the input, a pipe; "out" the output
};

// The output is staged before the input is read: a tool waiting at a pipe that no one writes
// has its temporary file, and the signal must take it away.
TEST(ToolOutputEndings, ASignalWhileTheOutputIsStagedLeavesNoFile) {
  const Mode modes[] = {
      {"decode", "--decode in -o out"},
      {"table", "--from-table in out"},
      {"description", "in out"},
  };
  for (const Mode& m : modes) {
    SCOPED_TRACE(m.name);
    TempDir folder;
    write_file(folder / "out", "earlier\n");
    ASSERT_TRUE(test_support::make_fifo(folder.path("in")));
    const auto before = contents_of(folder);
    test_support::RunningProgram tool(
        {test_support::words(shell_quoted(kMaker) + " " + m.arguments), folder.dir()});
    for (int wait = 0; wait < 500 && !has_temporary_file(folder); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(has_temporary_file(folder));
    ASSERT_TRUE(tool.signal(SIGTERM));
    const test_support::ProgramRun ended = tool.finish();
    EXPECT_EQ(ended.signal, SIGTERM) << ended.errors;
    EXPECT_EQ(contents_of(folder), before);
  }
}

// Under a file size limit the output is a refused write with its reason; the earlier file
// stays as it was.
TEST(ToolOutputEndings, AFileSizeLimitIsARefusedWrite) {
  const Mode modes[] = {
      {"synthetic", "--synthetic --layers 40 --diameters 4 --in-use 4 --dsp 15 out"},
      {"description", "in.txt out"},
      {"description as text", "--text in.txt out"},
      {"decode", "--decode in -o out"},
  };
  for (const Mode& m : modes) {
    SCOPED_TRACE(m.name);
    TempDir folder;
    const std::string soil = "--synthetic --layers 40 --diameters 4 --in-use 4 --dsp 15";
    make_zadaza(folder, soil + " in");
    make_zadaza(folder, soil + " --text in.txt");
    write_file(folder / "out", "earlier\n");
    const auto before = contents_of(folder);
    // 16 blocks of the shell's unit: far below every output here.
    std::vector<std::string> command{"sh", "-c", "ulimit -f 16 && exec \"$0\" \"$@\"", kMaker};
    for (const std::string& word : test_support::words(m.arguments)) command.push_back(word);
    const test_support::ProgramRun limited = test_support::run_program({command, folder.dir()});
    EXPECT_TRUE(limited.exited) << limited.signal;
    EXPECT_NE(limited.exit_status, 0);
    EXPECT_NE(limited.errors.find("cannot write 'out': File too large"), std::string::npos)
        << limited.errors;
    EXPECT_EQ(contents_of(folder), before);
  }
}

}  // namespace
}  // namespace view_test
