// A staged file at the system's longest file name: the temporary name beside it must not be
// what refuses the name. One byte more is refused at the opening, with nothing created.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/units.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr auto kWord = format::layout<"(A)">;

struct LongName {
  const char* name;
  long beyond_longest;  // the name's length minus the folder's longest name
  bool earlier_file;    // a file of that name is there before
  int refusal;          // 0: the name is staged, written and takes its name
};

class LongestNames : public ::testing::TestWithParam<LongName> {
 protected:
  void TearDown() override {
    io::discard_staged_files();
    io::stage_replaced_files(false);
  }
  test_support::TempDir folder_;
};

TEST_P(LongestNames, AreStagedUpToTheLimitAndRefusedBeyond) {
  const LongName& c = GetParam();
  const long longest = ::pathconf(folder_.dir().c_str(), _PC_NAME_MAX);
  ASSERT_GT(longest, 16);
  const std::string entry(static_cast<std::size_t>(longest + c.beyond_longest), 'n');
  const std::string path = folder_.path(entry);
  if (c.earlier_file) test_support::write_file(path, "earlier\r\n");

  io::stage_replaced_files();
  ASSERT_EQ(io::bind_text_file(11, path, false, false, true), c.refusal);
  if (c.refusal == 0) {
    io::write(11, kWord, {"new"});
    io::commit_staged_files();
    io::close_unit(11);
  }
  EXPECT_EQ(test_support::file_names(folder_.dir()),
            c.refusal == 0 || c.earlier_file ? std::vector<std::string>{entry}
                                             : std::vector<std::string>{});
  if (c.refusal == 0) {
    EXPECT_EQ(test_support::read_file(path), "new\r\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LongestNames,
    ::testing::Values(LongName{"OneShortOfTheLongestNew", -1, false, 0},
                      LongName{"TheLongestNew", 0, false, 0},
                      LongName{"TheLongestReplaced", 0, true, 0},
                      LongName{"OneBeyondNew", 1, false, os::kNameTooLong}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
