// Staged replacement at the unit level: the real name is untouched until the commit, and two
// units never stage the same name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "io/units.hpp"

namespace {

namespace fs = std::filesystem;

constexpr io::Layout kWord{"(A)"};

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

class StagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("staged_test_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    io::stage_replaced_files();
  }
  void TearDown() override {
    io::discard_staged_files();
    io::stage_replaced_files(false);
    fs::remove_all(dir_);
  }
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      found.insert(name.starts_with(".zadaza2krano-") ? "(temporary)" : name);
    }
    return found;
  }

  fs::path dir_;
};

TEST_F(StagedFiles, RealNameUntouchedUntilTheCommit) {
  std::ofstream(dir_ / "out.txt", std::ios::binary) << "before\r\n";
  ASSERT_EQ(io::bind_text_file(11, (dir_ / "out.txt").string(), false, false, true), 0);
  io::write(11, kWord, {"after"});
  io::flush_all();
  EXPECT_EQ(contents(dir_ / "out.txt"), "before\r\n");
  EXPECT_EQ(names(), (std::set<std::string>{"out.txt", "(temporary)"}));
  io::commit_staged_files();
  EXPECT_EQ(contents(dir_ / "out.txt"), "after\r\n");
  EXPECT_EQ(names(), std::set<std::string>{"out.txt"});
  io::close_unit(11);
}

TEST_F(StagedFiles, OneNameIsStagedOnceAndDiscardingLeavesNothing) {
  ASSERT_EQ(io::bind_text_file(11, (dir_ / "new.txt").string(), false, false, true), 0);
  EXPECT_EQ(io::bind_text_file(12, (dir_ / "." / "new.txt").string(), false, false, true),
            io::FILE_IN_USE);
  EXPECT_EQ(io::bind_text_file(12, (dir_ / "new.txt/").string(), false, false, true), EISDIR);
  EXPECT_EQ(io::bind_text_file(12, (dir_ / "no" / "new.txt").string(), false, false, true),
            ENOENT);
  io::discard_staged_files();
  EXPECT_FALSE(io::is_bound(11));
  EXPECT_TRUE(names().empty());
}

}  // namespace
