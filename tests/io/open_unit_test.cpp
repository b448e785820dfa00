// The file unit opener: results, attribute reports on a message unit, and refusals.
#include "io/open_unit.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "io/units.hpp"
#include "support/test_support.hpp"

namespace {

// The opener's own result codes.
constexpr std::int32_t kIllegalUnitResult = -901;
constexpr std::int32_t kIllegalRecordLengthResult = -902;

namespace fs = std::filesystem;

constexpr int kMessageUnit = 40;
constexpr int kFileUnit = 41;
constexpr auto kLine = format::layout<"(A)">;

std::string contents(const fs::path& path) { return test_support::read_file(path.string()); }

class OpenUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(io::bind_text_file(kMessageUnit, messages_path(), false, false, true), 0);
  }
  void TearDown() override {
    for (int unit : {1, 42, 99, kMessageUnit, kFileUnit}) io::close_unit(unit);
  }

  std::string messages_path() const { return (dir_ / "messages.txt").string(); }
  std::string messages() const {
    io::flush_all();
    return contents(messages_path());
  }
  // A 64-character blank-padded name, as the dialogue passes it.
  std::string name64(const char* file) const {
    std::string name = (dir_ / file).string();
    name.resize(64, ' ');
    return name;
  }

  std::int32_t open(const std::string& name, int unit, int status, int access, int form,
                    int blank, int record_length, int report, int message_unit) const {
    std::int32_t result = 12345;
    io::open_unit(name, static_cast<std::int32_t>(name.size()), unit, status, access, form,
                  blank, record_length, report, message_unit, result);
    return result;
  }

  // Short, so that every name fits the 64 characters the dialogue passes.
  test_support::TempDir folder_;
  fs::path dir_{folder_.dir()};
};

std::string failure_banner(int unit) {
  std::string number = std::to_string(unit);
  return "\r\n\r\n\r\n *** ERROR DURING OPENING OF FILE UNIT" + std::string(5 - number.size(), ' ') +
         number + "\r\n";
}

TEST_F(OpenUnitTest, UnitsOutsideOneToNinetyNineAreRejectedBeforeAnyOpening) {
  for (const int unit : {0, 100, -6}) {
    EXPECT_EQ(open(name64("u.txt"), unit, 1, 10, 1, 0, 0, 1, -kMessageUnit), kIllegalUnitResult);
  }
  EXPECT_FALSE(fs::exists(dir_ / "u.txt"));
  EXPECT_EQ(open(name64("u.txt"), 100, 1, 10, 1, 0, 0, 1, kMessageUnit), kIllegalUnitResult);
  EXPECT_EQ(messages(), failure_banner(100) + "     ILLEGAL FILE UNIT\r\n");
  EXPECT_EQ(open(name64("one.txt"), 1, 1, 10, 1, 0, 0, -1, -kMessageUnit), 0);
  EXPECT_EQ(open(name64("ninety-nine.txt"), 99, 1, 10, 1, 0, 0, -1, -kMessageUnit), 0);
  EXPECT_TRUE(io::is_bound(1) && io::is_bound(99));
}

TEST_F(OpenUnitTest, DirectAccessNeedsPositiveRecordLength) {
  EXPECT_EQ(open(name64("d.bin"), kFileUnit, 1, 20, 2, 0, 0, 1, kMessageUnit),
            kIllegalRecordLengthResult);
  EXPECT_EQ(open(name64("d.bin"), kFileUnit, 1, 20, 2, 0, -3, 1, kMessageUnit),
            kIllegalRecordLengthResult);
  EXPECT_EQ(messages(), failure_banner(kFileUnit) + "     ILLEGAL RECORD LENGTH =    0\r\n" +
                            failure_banner(kFileUnit) + "     ILLEGAL RECORD LENGTH =   -3\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "d.bin"));
  EXPECT_FALSE(io::is_bound(kFileUnit));
  // Any other access code ignores the record length.
  EXPECT_EQ(open(name64("s.txt"), kFileUnit, 1, 30, 0, 0, -3, -1, kMessageUnit), 0);
}

std::string characteristics(const char* status, const char* access, const char* form,
                            const char* length) {
  return std::string("     FILE CHARACTERISTICS :\r\n") + "          STATUS =" + status +
         "\r\n          ACCESS =" + access + "\r\n          FORM   =" + form +
         "\r\n          LENGTH =" + length + " WORDS/BYTES PER RECORD (SECTOR)\r\n";
}

struct ReportCase {
  const char* title;
  int status, access, form, blank, record_length;
  std::string expected_characteristics;
};

class OpenUnitReportTest : public OpenUnitTest,
                           public ::testing::WithParamInterface<ReportCase> {};

TEST_P(OpenUnitReportTest, SuccessReportShowsEveryAttribute) {
  const ReportCase& c = GetParam();
  if (c.status == 2) std::ofstream(dir_ / "f.txt") << "x";
  const std::string name = name64("f.txt");
  ASSERT_EQ(open(name, kFileUnit, c.status, c.access, c.form, c.blank, c.record_length, 1,
                 kMessageUnit),
            0);
  EXPECT_EQ(messages(), "\r\n\r\n\r\n     FILE  " + name + "\r\n     IS OPENED ON UNIT NO.  41\r\n" +
                            c.expected_characteristics);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, OpenUnitReportTest,
    ::testing::Values(
        ReportCase{"SequentialFormatted", 1, 10, 1, 0, 0,
                   characteristics("UNKNOWN", "SEQUENTIAL", "FORMATTED  ", "    0") +
                       "          BLANK  =NULL\r\n"},
        ReportCase{"OldWithBlankZero", 2, 10, 1, 1, 0,
                   characteristics("OLD    ", "SEQUENTIAL", "FORMATTED  ", "    0") +
                       "          BLANK  =ZERO\r\n"},
        ReportCase{"NewUnformattedSequential", 3, 10, 2, 1, 0,
                   characteristics("NEW    ", "SEQUENTIAL", "UNFORMATTED", "    0")},
        ReportCase{"DirectWordsCountedInCharactersWhenFormatted", 1, 20, 1, 0, 20,
                   characteristics("UNKNOWN", "DIRECT    ", "FORMATTED  ", "   80") +
                       "          BLANK  =NULL\r\n"},
        ReportCase{"DirectUnformattedKeepsWords", 1, 20, 0, 1, 20,
                   characteristics("UNKNOWN", "DIRECT    ", "UNFORMATTED", "   20")},
        ReportCase{"DirectFixed128", 1, 30, 7, 0, 5,
                   characteristics("UNKNOWN", "DIRECT    ", "UNFORMATTED", "  128")}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(OpenUnitTest, ScratchFileReportAndNoNamedFile) {
  ASSERT_EQ(open(name64("never.txt"), kFileUnit, 4, 10, 1, 0, 0, 1, kMessageUnit), 0);
  EXPECT_EQ(messages(), "\r\n\r\n\r\n     A SCRATCH FILE IS OPENED ON UNIT NO.  41\r\n" +
                            characteristics("SCRATCH", "SEQUENTIAL", "FORMATTED  ", "    0") +
                            "          BLANK  =NULL\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "never.txt"));
  EXPECT_TRUE(io::is_bound(kFileUnit));
}

TEST_F(OpenUnitTest, NoReportWithoutSwitchOrWithNegativeMessageUnit) {
  EXPECT_EQ(open(name64("a.txt"), kFileUnit, 1, 10, 1, 0, 0, 0, kMessageUnit), 0);
  EXPECT_EQ(open(name64("b.txt"), 42, 1, 10, 1, 0, 0, 1, -kMessageUnit), 0);
  EXPECT_EQ(open(name64("missing.txt"), 42, 2, 10, 1, 0, 0, 1, -kMessageUnit), -os::kNoSuchFile);
  EXPECT_EQ(open(name64("c.txt"), 0, 1, 10, 1, 0, 0, 1, -kMessageUnit), kIllegalUnitResult);
  EXPECT_EQ(messages(), "");
}

TEST_F(OpenUnitTest, RefusedOpeningsGiveMinusTheStatusNumber) {
  std::ofstream(dir_ / "exists.txt") << "keep me";
  EXPECT_EQ(open(name64("missing.txt"), kFileUnit, 2, 10, 1, 0, 0, 1, kMessageUnit), -os::kNoSuchFile);
  EXPECT_FALSE(fs::exists(dir_ / "missing.txt"));
  EXPECT_EQ(open(name64("exists.txt"), kFileUnit, 3, 10, 1, 0, 0, 1, kMessageUnit), -os::kExists);
  EXPECT_EQ(contents(dir_ / "exists.txt"), "keep me");
  EXPECT_EQ(open(name64("no/such/folder.txt"), kFileUnit, 1, 10, 1, 0, 0, 1, kMessageUnit),
            -os::kNoSuchFile);
  EXPECT_FALSE(io::is_bound(kFileUnit));
  EXPECT_EQ(messages(), failure_banner(kFileUnit) + "     ERROR CODE =    2  (SYSTEM PARAMETER)\r\n" +
                            failure_banner(kFileUnit) + "     ERROR CODE =   17  (SYSTEM PARAMETER)\r\n" +
                            failure_banner(kFileUnit) + "     ERROR CODE =    2  (SYSTEM PARAMETER)\r\n");
}


TEST_F(OpenUnitTest, ProtectedInputAndFilesOnOtherUnitsAreRefusedUntouched) {
  std::ofstream(dir_ / "input.dat") << "input data";
  os::FileHandle input = os::kNoFile;
  os::FileFacts facts;
  ASSERT_FALSE(os::open_for_reading((dir_ / "input.dat").string().c_str(), input, facts));
  // Left open: its identity must stay unique in this program.
  io::protect_input_file(facts.identity);
  EXPECT_EQ(open(name64("input.dat"), kFileUnit, 1, 10, 1, 0, 0, 1, kMessageUnit),
            -os::kTextFileBusy);
  EXPECT_EQ(contents(dir_ / "input.dat"), "input data");

  ASSERT_EQ(open(name64("out.fem"), kFileUnit, 1, 10, 1, 0, 0, -1, -6), 0);
  io::write(kFileUnit, kLine, {"first"});
  EXPECT_EQ(open(name64("out.fem"), 42, 1, 10, 1, 0, 0, -1, kMessageUnit), -os::kBusy);
  io::close_unit(kFileUnit);
  EXPECT_EQ(contents(dir_ / "out.fem"), "first\r\n");
  EXPECT_EQ(messages(), failure_banner(kFileUnit) + "     ERROR CODE =   26  (SYSTEM PARAMETER)\r\n" +
                            failure_banner(42) + "     ERROR CODE =   16  (SYSTEM PARAMETER)\r\n");
}


}  // namespace
