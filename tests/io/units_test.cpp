// File units: buffering, line continuation, refusals that protect files, and the fatal path.
#include "io/units.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/process.hpp"
#include "support/test_support.hpp"

namespace {

// The exit status scripts see after an input/output failure.
constexpr int kIoFailureExit = 2;

constexpr auto kWord = format::layout<"(A)">;
constexpr auto kOpenWord = format::layout<"(A,$)">;
constexpr auto kNumbered = format::layout<"(I6,1X,A)">;
// Four values for two fields: the layout starts again on a new line.
constexpr auto kNumberedTwice = format::layout<"(I6,1X,A)", 4>;

using test_support::read_file;
using test_support::write_file;

class UnitsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int unit : {11, 12, 13, 14}) io::close_unit(unit);
  }
  std::string path(const char* name) const { return folder_.path(name); }

  test_support::TempDir folder_;
};

TEST_F(UnitsTest, LinesReachTheFileWithCrLfAndOpenLinesContinue) {
  ASSERT_EQ(io::bind_text_file(11, path("out.txt"), false, false, true), 0);
  io::write(11, kOpenWord, {" Question : "});
  io::write(11, kOpenWord, {"more"});
  io::write(11, kWord, {"end"});
  io::write(11, kNumberedTwice, {7, "a", -12, "b"});
  io::close_unit(11);
  EXPECT_EQ(read_file(path("out.txt")), " Question : moreend\r\n     7 a\r\n   -12 b\r\n");
  EXPECT_FALSE(io::is_bound(11));
}

// The first number field shown as asterisks, by its line in the file, across writes and open
// lines; the count of all of them; a new binding starts afresh.
TEST_F(UnitsTest, AsteriskFieldsAreNumberedByTheirLineInTheFile) {
  ASSERT_EQ(io::bind_text_file(11, path("out.txt"), false, false, true), 0);
  io::write(11, kOpenWord, {"open "});
  io::write(11, kNumberedTwice, {1, "a", 2, "b"});
  EXPECT_FALSE(io::asterisk_fields(11).any());
  io::write(11, kNumbered, {1234567, "c"});
  io::write(11, kNumberedTwice, {3, "d", -7654321, "e"});
  io::close_unit(11);
  const format::AsteriskFields& kept = io::asterisk_fields(11);
  EXPECT_EQ(kept.count, 2U);
  EXPECT_EQ(kept.line, 3U);
  EXPECT_EQ(kept.value, 1234567.0);
  const std::string written = read_file(path("out.txt"));
  EXPECT_EQ(written.substr(written.find("******")), "****** c\r\n     3 d\r\n****** e\r\n");
  EXPECT_EQ(std::count(written.begin(), written.begin() + static_cast<long>(written.find('*')), '\n'), 2);

  ASSERT_EQ(io::bind_text_file(11, path("again.txt"), false, false, true), 0);
  EXPECT_FALSE(io::asterisk_fields(11).any());
}

TEST_F(UnitsTest, ManyLinesCrossingBufferBoundsArriveWholeAndInOrder) {
  ASSERT_EQ(io::bind_text_file(11, path("big.txt"), false, false, true), 0);
  constexpr int kLines = 200000;  // about 4 MB
  const std::string text(12, 'x');
  for (int i = 1; i <= kLines; ++i) io::write(11, kNumbered, {i, std::string_view(text)});
  io::flush_all();
  const std::string all = read_file(path("big.txt"));
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kLines) * 21);
  EXPECT_EQ(all.substr(0, 21), "     1 xxxxxxxxxxxx\r\n");
  EXPECT_EQ(all.substr(all.size() - 21), "200000 xxxxxxxxxxxx\r\n");
  EXPECT_EQ(all.substr(65536 / 21 * 21, 21), "  3121 xxxxxxxxxxxx\r\n");
}

// Buffers go to the units bound at the same time; when all are taken, one more binding is
// refused without touching the file, and closing a unit gives its buffer back.
TEST_F(UnitsTest, BindingsBeyondTheBuffersAreRefusedUntilOneCloses) {
  int bound = 0;
  int unit = 11;
  for (; unit <= 40; ++unit) {
    std::string name = "u";
    name += std::to_string(unit);
    if (io::bind_text_file(unit, path(name.c_str()), false, false, true) != 0) break;
    ++bound;
  }
  EXPECT_GE(bound, 3);  // output, echo and one more besides the console
  EXPECT_LT(unit, 40);
  EXPECT_EQ(io::bind_text_file(unit, path("refused"), false, false, true), os::kTooManyOpenFiles);
  EXPECT_FALSE(std::filesystem::exists(path("refused")));
  io::close_unit(11);
  EXPECT_EQ(io::bind_text_file(unit, path("refused"), false, false, true), 0);
  io::write(unit, kWord, {"kept"});
  for (int u = 11; u <= unit; ++u) io::close_unit(u);
  EXPECT_EQ(read_file(path("refused")), "kept\r\n");
}

TEST_F(UnitsTest, ExistenceRulesAndReplacement) {
  write_file(path("old.txt"), "former contents\n");
  EXPECT_EQ(io::bind_text_file(11, path("missing.txt"), true, false, true), os::kNoSuchFile);
  EXPECT_FALSE(std::filesystem::exists(path("missing.txt")));
  EXPECT_EQ(io::bind_text_file(11, path("old.txt"), false, true, false), os::kExists);
  EXPECT_EQ(read_file(path("old.txt")), "former contents\n");
  EXPECT_EQ(io::bind_text_file(11, path("old.txt"), true, false, true), 0);
  io::flush_all();
  EXPECT_EQ(read_file(path("old.txt")), "");
  EXPECT_EQ(io::bind_text_file(12, path("new.txt"), false, true, false), 0);
  EXPECT_TRUE(std::filesystem::exists(path("new.txt")));
  EXPECT_NE(io::bind_text_file(13, folder_.dir(), false, false, true), 0);
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
  EXPECT_EQ(read_file(path("f.txt")), "x\r\n");
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
  EXPECT_EQ(caught, io::kIoFailureExit);
  EXPECT_EQ(read_file(path("kept.txt")), "written before the failure\r\n");
  EXPECT_EXIT(io::fail_io(11, "again"), ::testing::ExitedWithCode(io::kIoFailureExit), "again");
}

using UnitsDeathTest = UnitsTest;

TEST_F(UnitsDeathTest, FailureFlushesEveryUnitAndNamesUnitAndFile) {
  if (test_support::kOnWindows) {
    GTEST_SKIP() << "a death test on Windows runs in a new process, in a temporary folder of its own";
  }
  const std::string out = path("kept.txt");
  EXPECT_EXIT(
      {
        io::bind_text_file(11, out, false, false, true);
        io::write(11, kWord, {"written before the failure"});
        io::fail_io(11, "damaged record");
      },
      ::testing::ExitedWithCode(kIoFailureExit),
      "^zadaza2krano: damaged record, unit 11, file " + out + "\n$");
  EXPECT_EQ(read_file(out), "written before the failure\r\n");
}

TEST_F(UnitsDeathTest, FailureNamesTheGivenFileOrNone) {
  EXPECT_EXIT(io::fail_io(89, "end of file", "soil.dat"),
              ::testing::ExitedWithCode(kIoFailureExit),
              "^zadaza2krano: end of file, unit 89, file soil\\.dat\n$");
  EXPECT_EXIT(io::fail_io(5, "end of console input"),
              ::testing::ExitedWithCode(kIoFailureExit),
              "^zadaza2krano: end of console input, unit 5\n$");
  EXPECT_EXIT(io::fail_io(5, {"unreadable number '", "1.2.3", "'"}),
              ::testing::ExitedWithCode(kIoFailureExit),
              "^zadaza2krano: unreadable number '1\\.2\\.3', unit 5\n$");
}

}  // namespace
