// Text routines on blank-padded text, and the count of diameters that are converted.
#include "app/text.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "app/run.hpp"

namespace {

int plain_last(const std::string& text) {
  for (int i = static_cast<int>(text.size()); i >= 1; --i) {
    if (text[static_cast<std::size_t>(i - 1)] != ' ') return i;
  }
  return 0;
}

TEST(TextRoutines, IlastEqualsAPlainBackwardScanForEveryLengthAndPosition) {
  for (int n = 0; n <= 90; ++n) {
    const std::string blank(static_cast<std::size_t>(n), ' ');
    EXPECT_EQ(app::ILAST(blank, n), 0) << n;
    for (int last = 1; last <= n; ++last) {
      for (const int first : {1, last}) {
        std::string text = blank;
        text[static_cast<std::size_t>(first - 1)] = 'a';
        text[static_cast<std::size_t>(last - 1)] = 'z';
        ASSERT_EQ(app::ILAST(text, n), plain_last(text)) << "n=" << n << " last=" << last;
      }
    }
  }
}

TEST(TextRoutines, IfirstAndTrimmedCountOnlyTheSpaceAsBlank) {
  EXPECT_EQ(app::IFIRST("    ", 4), 0);
  EXPECT_EQ(app::IFIRST("   soil.dat  ", 13), 4);
  EXPECT_EQ(app::IFIRST("\tx", 2), 1);
  EXPECT_EQ(app::IFIRST("ab  ", 2), 1);
  EXPECT_EQ(app::trimmed("   soil.dat   "), "soil.dat");
  EXPECT_EQ(app::trimmed("  a b  "), "a b");
  EXPECT_EQ(app::trimmed("      "), "");
}

TEST(TextRoutines, UpcaseChangesOnlyLettersAToZWithinN) {
  std::array<char, 12> text{'p', 'o', 's', '-', 'z', 'A', '{', '`', '1', 0x7F, 'q', 'r'};
  app::UPCASE(text, 10);
  EXPECT_EQ(std::string(text.begin(), text.end()),
            std::string({'P', 'O', 'S', '-', 'Z', 'A', '{', '`', '1', 0x7F, 'q', 'r'}));
}

std::string with_extension(const std::string& name, const char* extension, int m) {
  std::array<char, 64> buffer;
  buffer.fill(' ');
  std::copy(name.begin(), name.end(), buffer.begin());
  app::ADDEXT(buffer, 64, extension, m);
  return std::string(buffer.begin(), buffer.end());
}

std::string padded(std::string text) {
  text.resize(64, ' ');
  return text;
}

TEST(TextRoutines, AddextTrimsAppendsCutsAndPads) {
  EXPECT_EQ(with_extension("   soil.dat", ".fem", 4), padded("soil.dat.fem"));
  EXPECT_EQ(with_extension("soil.dat", ".echo", 5), padded("soil.dat.echo"));
  EXPECT_EQ(with_extension("", ".fem", 4), padded(".fem"));
  const std::string name62(62, 'n');
  EXPECT_EQ(with_extension(name62, ".fem", 4), name62 + ".f");
  const std::string name64(64, 'n');
  EXPECT_EQ(with_extension(name64, ".echo", 5), name64);
}

struct DiameterCase {
  std::array<double, 6> diameters;
  int expected;
};

class ActiveDiameters : public ::testing::TestWithParam<DiameterCase> {};

TEST_P(ActiveDiameters, CountsLeadingDiametersAboveTinyAmongTheFirstFour) {
  zadaza::DiameterReals DIAM;
  for (int i = 0; i < 6; ++i) DIAM(i + 1) = GetParam().diameters[static_cast<std::size_t>(i)];
  EXPECT_EQ(app::count_active_diameters(DIAM), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Diameters, ActiveDiameters,
    ::testing::Values(DiameterCase{{0.9, 1.2, 0.0, 1.5, 0.0, 0.0}, 2},
                      DiameterCase{{0.9, 1.2, 1.5, 2.0, 2.5, 3.0}, 4},
                      DiameterCase{{0.0, 1.2, 1.5, 2.0, 0.0, 0.0}, 0},
                      DiameterCase{{1.0E-10, 1.2, 0.0, 0.0, 0.0, 0.0}, 0},
                      DiameterCase{{2.0E-10, -1.0, 0.0, 0.0, 0.0, 0.0}, 1},
                      DiameterCase{{1.0, 1.0, 1.0, 0.0, 5.0, 0.0}, 3},
                      DiameterCase{{0.9, std::nan(""), 1.5, 0.0, 0.0, 0.0}, 3}));

}  // namespace
