// The viewer's own small parts: round-number axes and text made safe for the page.
#include <gtest/gtest.h>

#include <cstdlib>

#include "axes.hpp"
#include "markup.hpp"

namespace view {
namespace {

struct AxisCase {
  double low;
  double high;
  int intervals;
  const char* first_label;
  const char* last_label;
};

class Axes : public ::testing::TestWithParam<AxisCase> {};

TEST_P(Axes, RoundTicksEncloseTheRangeAndZeroAndReadBackExactly) {
  const AxisCase& c = GetParam();
  const Axis axis(c.low, c.high, 10.0, 210.0, c.intervals);
  EXPECT_EQ(axis.tick_label(axis.first_tick()), c.first_label);
  EXPECT_EQ(axis.tick_label(axis.last_tick()), c.last_label);
  EXPECT_LE(axis.low(), std::min(c.low, 0.0));
  EXPECT_GE(axis.high(), std::max(c.high, 0.0));
  EXPECT_LE(axis.last_tick() - axis.first_tick(), c.intervals + 2);
  EXPECT_DOUBLE_EQ(axis.pixel(axis.low()), 10.0);
  EXPECT_DOUBLE_EQ(axis.pixel(axis.high()), 210.0);
  for (int t = axis.first_tick(); t <= axis.last_tick(); ++t) {
    EXPECT_DOUBLE_EQ(std::strtod(axis.tick_label(t).c_str(), nullptr), axis.tick_value(t))
        << axis.tick_label(t);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, Axes,
    ::testing::Values(AxisCase{-0.0175, 0.0175, 4, "-0.02", "0.02"},
                      AxisCase{0.0, 870.0, 5, "0", "1000"},
                      AxisCase{-3.0e-6, 0.0, 5, "-3e-6", "0"},
                      AxisCase{0.0, 0.0, 5, "-1", "1"},
                      AxisCase{1.0e7, 2.5e7, 5, "0", "2.5e7"},
                      AxisCase{-0.30000000000000004, 0.1, 4, "-0.4", "0.1"},  // just below -0.3
                      AxisCase{-145.22048579496533, 145.22048579496533, 5, "-200", "200"},
                      AxisCase{0.0, 1.0e150, 5, "0", "1e150"},
                      AxisCase{-1.0e-200, 1.0e-200, 5, "-1", "1"}));

TEST(Escaped, KeepsMarkupWellFormedAndTextReadable) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"a<b&c\"d>", "a&lt;b&amp;c&quot;d&gt;"},
      {"caf\xC3\xA9", "caf\xC3\xA9"},           // UTF-8 stays
      {"caf\xE9", "caf&#233;"},                 // Latin-1 becomes a reference
      {"\xC3", "&#195;"},                       // a cut UTF-8 sequence is Latin-1 too
      {"\xED\xA0\x80", "&#237;&#160;?"},       // no surrogates
      {std::string("a\0b\x01\x7F", 5), "a?b??"},  // control characters
  };
  for (const auto& [text, page] : cases) EXPECT_EQ(escaped(text), page) << text;
}

}  // namespace
}  // namespace view
