// File units: buffering, line continuation, refusals that protect files, and the fatal path.
#include "io/units.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr io::Layout kWord{"(A)"};
constexpr io::Layout kOpenWord{"(A,$)"};
constexpr io::Layout kNumbered{"(I6,1X,A)"};

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void put(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class UnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("units_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    for (int unit : {11, 12, 13, 14}) io::close_unit(unit);
    fs::remove_all(dir_);
  }
  std::string path(const char* name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(UnitsTest, LinesReachTheFileWithCrLfAndOpenLinesContinue) {
  ASSERT_EQ(io::bind_text_file(11, path("out.txt"), false, false, true), 0);
  io::write(11, kOpenWord, {" Question : "});
  io::write(11, kOpenWord, {"more"});
  io::write(11, kWord, {"end"});
  io::write(11, kNumbered, {7, "a", -12, "b"});
  io::close_unit(11);
  EXPECT_EQ(contents(path("out.txt")), " Question : moreend\r\n     7 a\r\n   -12 b\r\n");
  EXPECT_FALSE(io::is_bound(11));
}


TEST_F(UnitsTest, ManyLinesCrossingBufferBoundsArriveWholeAndInOrder) {
  ASSERT_EQ(io::bind_text_file(11, path("big.txt"), false, false, true), 0);
  constexpr int kLines = 200000;  // about 4 MB
  const std::string text(12, 'x');
  for (int i = 1; i <= kLines; ++i) io::write(11, kNumbered, {i, std::string_view(text)});
  io::flush_all();
  const std::string all = contents(path("big.txt"));
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kLines) * 21);
  EXPECT_EQ(all.substr(0, 21), "     1 xxxxxxxxxxxx\r\n");
  EXPECT_EQ(all.substr(all.size() - 21), "200000 xxxxxxxxxxxx\r\n");
  EXPECT_EQ(all.substr(65536 / 21 * 21, 21), "  3121 xxxxxxxxxxxx\r\n");
}

TEST_F(UnitsTest, ExistenceRulesAndReplacement) {
  put(path("old.txt"), "former contents\n");
  EXPECT_EQ(io::bind_text_file(11, path("missing.txt"), true, false, true), ENOENT);
  EXPECT_FALSE(fs::exists(path("missing.txt")));
  EXPECT_EQ(io::bind_text_file(11, path("old.txt"), false, true, false), EEXIST);
  EXPECT_EQ(contents(path("old.txt")), "former contents\n");
  EXPECT_EQ(io::bind_text_file(11, path("old.txt"), true, false, true), 0);
  io::flush_all();
  EXPECT_EQ(contents(path("old.txt")), "");
  EXPECT_EQ(io::bind_text_file(12, path("new.txt"), false, true, false), 0);
  EXPECT_TRUE(fs::exists(path("new.txt")));
  EXPECT_NE(io::bind_text_file(13, dir_.string(), false, false, true), 0);
  EXPECT_FALSE(io::is_bound(13));
}





TEST_F(UnitsTest, RebindingTheSameFileWritesPendingLinesBeforeReplacing) {
  ASSERT_EQ(io::bind_text_file(11, path("f.txt"), false, false, true), 0);
  io::write(11, kWord, {"first"});
  io::flush_all();
  io::write(11, kWord, {"pending"});
  ASSERT_EQ(io::bind_text_file(11, path("f.txt"), false, false, true), 0);
  io::write(11, kWord, {"x"});
  io::close_unit(11);
  EXPECT_EQ(contents(path("f.txt")), "x\r\n");
}

struct CaughtFailure {
  int exit_status;
};

[[noreturn]] void throw_failure(int exit_status) { throw CaughtFailure{exit_status}; }

// A harness catches the failure, the message and the flushed lines are out as without it, and
// the next failure without a handler ends the program again.
TEST_F(UnitsTest, FailureHandlerTakesOverTheEndAndCanBeRemoved) {
  ASSERT_EQ(io::bind_text_file(11, path("kept.txt"), false, false, true), 0);
  io::write(11, kWord, {"written before the failure"});
  io::set_failure_handler(throw_failure);
  ::testing::internal::CaptureStderr();
  int caught = -1;
  try {
    io::fail_io(11, "damaged record");
  } catch (const CaughtFailure& failure) {
    caught = failure.exit_status;
  }
  io::set_failure_handler(nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "zadaza2krano: damaged record, unit 11, file " + path("kept.txt") + "\n");
  EXPECT_EQ(caught, io::IO_FAILURE_EXIT);
  EXPECT_EQ(contents(path("kept.txt")), "written before the failure\r\n");
  EXPECT_EXIT(io::fail_io(11, "again"), ::testing::ExitedWithCode(io::IO_FAILURE_EXIT), "again");
}

using UnitsDeathTest = UnitsTest;

TEST_F(UnitsDeathTest, FailureFlushesEveryUnitAndNamesUnitAndFile) {
  const std::string out = path("kept.txt");
  EXPECT_EXIT(
      {
        io::bind_text_file(11, out, false, false, true);
        io::write(11, kWord, {"written before the failure"});
        io::fail_io(11, "damaged record");
      },
      ::testing::ExitedWithCode(io::IO_FAILURE_EXIT),
      "^zadaza2krano: damaged record, unit 11, file " + out + "\n$");
  EXPECT_EQ(contents(out), "written before the failure\r\n");
}

TEST_F(UnitsDeathTest, FailureNamesTheGivenFileOrNone) {
  EXPECT_EXIT(io::fail_io(89, "end of file", "soil.dat"),
              ::testing::ExitedWithCode(io::IO_FAILURE_EXIT),
              "^zadaza2krano: end of file, unit 89, file soil\\.dat\n$");
  EXPECT_EXIT(io::fail_io(5, "end of console input"),
              ::testing::ExitedWithCode(io::IO_FAILURE_EXIT),
              "^zadaza2krano: end of console input, unit 5\n$");
}

TEST_F(UnitsDeathTest, RefusedWriteEndsTheProgram) {
  EXPECT_EXIT(
      {
        io::bind_text_file(13, "/dev/full", true, false, true);
        io::write(13, kWord, {"no room"});
        io::flush_all();
      },
      ::testing::ExitedWithCode(io::IO_FAILURE_EXIT),
      "^zadaza2krano: write refused: No space left on device, unit 13, file /dev/full\n$");
}

}  // namespace
