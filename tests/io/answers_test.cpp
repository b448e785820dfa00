// Answers typed on the console: the reading of one line for a number, and the reading loop
// itself with a file standing in for the console input.
#include "io/answers.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "io/units.hpp"
#include "support/process.hpp"
#include "support/test_support.hpp"

namespace {

// The exit status scripts see after an input/output failure.
constexpr int kIoFailureExit = 2;

using io::answer_parsing::first_item;
using io::answer_parsing::LineItem;
using io::answer_parsing::parse_integer;
using io::answer_parsing::parse_real;

// ---------------------------------------------------------------------------------------------
// One line.

TEST(FirstItem, FindsTheFirstValueSlashOrLoneComma) {
  struct Case {
    const char* line;
    LineItem item;
    const char* token;
  };
  const Case cases[] = {
      {"", LineItem::None, ""},
      {"    ", LineItem::None, ""},
      {"\t ", LineItem::None, ""},
      {"/", LineItem::Slash, ""},
      {"  / 5", LineItem::Slash, ""},
      {",", LineItem::Null, ""},
      {"  , 5", LineItem::Null, ""},
      {"12 34", LineItem::Value, "12"},
      {"  -1.5,2", LineItem::Value, "-1.5"},
      {"7/", LineItem::Value, "7"},
      {"\t3", LineItem::Value, "3"},
      {"abc def", LineItem::Value, "abc"},
  };
  for (const Case& c : cases) {
    const auto first = first_item(c.line);
    EXPECT_EQ(first.item, c.item) << "'" << c.line << "'";
    EXPECT_EQ(first.token, c.token) << "'" << c.line << "'";
  }
}

TEST(ParseInteger, AcceptsSignedWholeNumbersWithin32Bits) {
  const std::pair<const char*, std::int32_t> accepted[] = {
      {"0", 0},
      {"42", 42},
      {"-7", -7},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& [text, expected] : accepted) {
    std::int32_t value = -99;
    EXPECT_TRUE(parse_integer(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
}

TEST(ParseInteger, RefusesEverythingElseAndKeepsTheVariable) {
  for (const char* text : {"1.5", "1.", "1e3", "1D2", "abc", "", "-", "+", "+-1", "-+1", "12a",
                           "2147483648", "-2147483649", "99999999999", "0x10"}) {
    std::int32_t value = -99;
    EXPECT_FALSE(parse_integer(text, value)) << text;
    EXPECT_EQ(value, -99) << text;
  }
}

TEST(ParseReal, AcceptsThePointAndExponentForms) {
  const std::pair<const char*, double> accepted[] = {
      {"1", 1.0},
      {"-2", -2.0},
      {"+3.5", 3.5},
      {"1.", 1.0},
      {".5", 0.5},
      {"-.5", -0.5},
      {"0.1", 0.1},
      {"1E3", 1000.0},
      {"1e+3", 1000.0},
      {"1D-3", 0.001},
      {"2.5d2", 250.0},
      {"-1.5E-2", -0.015},
      {"+1.0e5", 1.0e5},
      {"1.7976931348623157E308", std::numeric_limits<double>::max()},
      {"4.9E-324", std::numeric_limits<double>::denorm_min()},
      {"1e-400", 0.0},
      {"0.0000000001e-399", 0.0},
      {"0.01D-9223372036854775808", 0.0},
      {"1E-99999999999999999999", 0.0},
  };
  for (const auto& [text, expected] : accepted) {
    double value = -99.0;
    EXPECT_TRUE(parse_real(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  double value = 0.0;
  ASSERT_TRUE(parse_real("-1e-400", value));
  EXPECT_TRUE(std::signbit(value));
  // Without an exponent, too: far below the smallest real reads as zero.
  ASSERT_TRUE(parse_real(std::string("0.") + std::string(400, '0') + "1", value));
  EXPECT_EQ(value, 0.0);
  EXPECT_FALSE(parse_real(std::string("1") + std::string(400, '0'), value));
}

TEST(ParseReal, RefusesMalformedAndOverflowingNumbers) {
  for (const char* text : {"abc",
                           "1e",
                           "1e+",
                           "1E-",
                           "E5",
                           ".",
                           "-",
                           "+",
                           "1.2.3",
                           "0x10",
                           "inf",
                           "nan",
                           "1E5.0",
                           "--1",
                           "1.0+5",
                           "1e400",
                           "-1e400",
                           "100000e99999",
                           "1e99999999999999999999",
                           "-1.4D+9223372036854775807",
                           "10E9223372036854775807",
                           "5 ",
                           "1,5"}) {
    double value = -99.0;
    EXPECT_FALSE(parse_real(text, value)) << text;
    EXPECT_EQ(value, -99.0) << text;
  }
}

// ---------------------------------------------------------------------------------------------
// The reading loop, fed through a file on standard input.

class ConsoleAnswers : public ::testing::Test {
 protected:
  // Everything the engineer types, then the end of input.
  void type(const std::string& text) {
    typed_.reset();
    const std::string path = folder_.path("typed");
    test_support::write_file(path, text);
    typed_.emplace(test_support::Stream::Input, path);
  }

  // Each test reads all it typed; one more read then meets the end of console input.
  static void expect_all_read() {
    std::array<char, 1> rest{};
    EXPECT_EXIT(io::read_text_answer(rest), ::testing::ExitedWithCode(kIoFailureExit),
                "end of console input, unit 5");
  }

  static std::string text_answer(std::size_t length) {
    std::string variable(length, '?');
    io::read_text_answer(variable);
    return variable;
  }

 private:
  test_support::TempDir folder_;
  std::optional<test_support::StreamOnFile> typed_;
};

TEST_F(ConsoleAnswers, TextIsCutOrPaddedAndCrLfReadsAsLf) {
  type("abc\nabcdefgh\n\nab\r\n   lead\nlast");
  EXPECT_EQ(text_answer(5), "abc  ");
  EXPECT_EQ(text_answer(3), "abc");
  EXPECT_EQ(text_answer(4), "    ");
  EXPECT_EQ(text_answer(4), "ab  ");
  EXPECT_EQ(text_answer(8), "   lead ");
  EXPECT_EQ(text_answer(6), "last  ");  // a last line without its line end still counts
  expect_all_read();
}

// A harness starting its next run: neither the text read ahead nor the preset answers of the
// last run may answer its questions.
TEST_F(ConsoleAnswers, ForgottenInputLeavesNeitherReadAheadTextNorPresetAnswers) {
  type("first\nleft over\n");
  EXPECT_EQ(text_answer(5), "first");
  const std::array<std::string_view, 1> preset = {"preset"};
  io::preset_answers(preset);
  io::forget_console_input();
  EXPECT_FALSE(io::answers_are_preset());
  type("fresh\n");
  EXPECT_EQ(text_answer(5), "fresh");
  expect_all_read();
}

TEST_F(ConsoleAnswers, ALineLongerThanTheBufferKeepsItsStart) {
  const std::string long_line = std::string(1, 'x') + std::string(10000, 'y') + "\n";
  type(long_line + "next\n");
  EXPECT_EQ(text_answer(3), "xyy");
  EXPECT_EQ(text_answer(5), "next ");
  expect_all_read();
}

TEST_F(ConsoleAnswers, NumbersGoOnPastEmptyLinesAndIgnoreTheRestOfTheLine) {
  type("\n   \n1.5\n3 4 5\n7\n2.5\r\n1D3,8\n");
  double real = 0.0;
  io::read_number_answer(real);
  EXPECT_EQ(real, 1.5);
  std::int32_t integer = 0;
  io::read_number_answer(integer);
  EXPECT_EQ(integer, 3);
  io::read_number_answer(integer);  // starts on a fresh line: 4 and 5 are gone
  EXPECT_EQ(integer, 7);
  io::read_number_answer(real);
  EXPECT_EQ(real, 2.5);
  io::read_number_answer(real);
  EXPECT_EQ(real, 1000.0);
  expect_all_read();
}

// A number line is read whole or refused, naming its question: a value lost in a line cut in
// two would shift every later answer to the wrong question.
TEST_F(ConsoleAnswers, NumberLinesAreReadWholeOrRefused) {
  const std::size_t longest = io::kLongestConsoleLine;
  const struct {
    std::size_t blanks;  // before the 5
    const char* line_end;
    bool read;
  } cases[] = {{longest - 1, "\n", true},     {longest - 1, "\r\n", true},
               {longest, "\n", false},        {longest, "\r\n", false},
               {3 * longest, "\n", false}};
  for (const auto& c : cases) {
    type(std::string(c.blanks, ' ') + "5" + c.line_end + "7\n");
    std::int32_t integer = 0;
    if (c.read) {
      io::read_number_answer(integer, "Q");
      EXPECT_EQ(integer, 5) << c.blanks;
      io::read_number_answer(integer, "R");
      EXPECT_EQ(integer, 7) << c.blanks;
    } else {
      EXPECT_EXIT(io::read_number_answer(integer, "Q"), ::testing::ExitedWithCode(kIoFailureExit),
                  std::string("answer longer than ") + std::to_string(longest) +
                      " characters to \"Q\", unit 5")
          << c.blanks;
    }
    io::forget_console_input();
  }
}

TEST_F(ConsoleAnswers, SlashOrLeadingCommaLeavesTheVariableUnchanged) {
  type("/\n  , 5\n\n/ 9\n,\n");
  double real = 4.25;
  io::read_number_answer(real);
  EXPECT_EQ(real, 4.25);
  io::read_number_answer(real);
  EXPECT_EQ(real, 4.25);
  std::int32_t integer = 11;
  io::read_number_answer(integer);
  EXPECT_EQ(integer, 11);
  io::read_number_answer(integer);
  EXPECT_EQ(integer, 11);
  expect_all_read();
}

TEST_F(ConsoleAnswers, UnreadableNumbersEndTheProgram) {
  type("1.5\n");
  std::int32_t integer = 0;
  EXPECT_EXIT(io::read_number_answer(integer), ::testing::ExitedWithCode(kIoFailureExit),
              "unreadable number '1.5', unit 5");
  type("  abc 1\n");
  double real = 0.0;
  EXPECT_EXIT(io::read_number_answer(real), ::testing::ExitedWithCode(kIoFailureExit),
              "unreadable number 'abc'");
  type("1e999\n");
  EXPECT_EXIT(io::read_number_answer(real), ::testing::ExitedWithCode(kIoFailureExit),
              "unreadable number '1e999'");
}

TEST_F(ConsoleAnswers, EndOfInputDuringANumberEndsTheProgram) {
  type("\n  \n");
  double real = 0.0;
  EXPECT_EXIT(io::read_number_answer(real), ::testing::ExitedWithCode(kIoFailureExit),
              "end of console input");
  type("");
  std::int32_t integer = 0;
  EXPECT_EXIT(io::read_number_answer(integer), ::testing::ExitedWithCode(kIoFailureExit),
              "end of console input");
}

// The question must be on the screen before the program waits for its answer.
TEST_F(ConsoleAnswers, PendingOutputIsFlushedBeforeReading) {
  constexpr auto kQuestion = format::layout<"(' ',A,$)">;
  const test_support::TempDir folder;
  std::string answer;
  {
    const test_support::StreamOnFile shown(test_support::Stream::Output, folder.path("shown"));
    io::write(io::kConsoleOut, kQuestion, {"Question : "});
    type("yes\n");
    answer = text_answer(3);
    EXPECT_EQ(test_support::read_file(folder.path("shown")), " Question : ");
  }
  EXPECT_EQ(answer, "yes");
  expect_all_read();
}

}  // namespace
