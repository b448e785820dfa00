// Staged replacement at the unit level: the real name is untouched until the commit, and two
// units never stage the same name.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "io/units.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr auto kWord = format::layout<"(A)">;

std::string contents(const fs::path& path) { return test_support::read_file(path.string()); }

class StagedFiles : public ::testing::Test {
 protected:
  void SetUp() override { io::stage_replaced_files(); }
  void TearDown() override {
    io::discard_staged_files();
    io::stage_replaced_files(false);
  }
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const std::string& name : test_support::file_names(folder_.dir())) {
      found.insert(name.starts_with(".zadaza2krano-") ? "(temporary)" : name);
    }
    return found;
  }

  test_support::TempDir folder_;
  const fs::path dir_{folder_.dir()};
};

TEST_F(StagedFiles, RealNameUntouchedUntilTheCommit) {
  test_support::write_file((dir_ / "out.txt").string(), "before\r\n");
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
            io::kFileInUse);
  EXPECT_EQ(io::bind_text_file(12, (dir_ / "new.txt/").string(), false, false, true), os::kIsAFolder);
  EXPECT_EQ(io::bind_text_file(12, (dir_ / "no" / "new.txt").string(), false, false, true),
            os::kNoSuchFile);
  io::discard_staged_files();
  EXPECT_FALSE(io::is_bound(11));
  EXPECT_TRUE(names().empty());
}

}  // namespace
