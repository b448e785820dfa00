// Text routines on blank-padded text.
#include "io/text.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

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
    EXPECT_EQ(io::ILAST(blank, n), 0) << n;
    for (int last = 1; last <= n; ++last) {
      for (const int first : {1, last}) {
        std::string text = blank;
        text[static_cast<std::size_t>(first - 1)] = 'a';
        text[static_cast<std::size_t>(last - 1)] = 'z';
        ASSERT_EQ(io::ILAST(text, n), plain_last(text)) << "n=" << n << " last=" << last;
      }
    }
  }
}

TEST(TextRoutines, IfirstAndTrimmedCountOnlyTheSpaceAsBlank) {
  EXPECT_EQ(io::IFIRST("    ", 4), 0);
  EXPECT_EQ(io::IFIRST("   soil.dat  ", 13), 4);
  EXPECT_EQ(io::IFIRST("\tx", 2), 1);
  EXPECT_EQ(io::IFIRST("ab  ", 2), 1);
  EXPECT_EQ(io::trimmed("   soil.dat   "), "soil.dat");
  EXPECT_EQ(io::trimmed("  a b  "), "a b");
  EXPECT_EQ(io::trimmed("      "), "");
}

TEST(TextRoutines, UpcaseChangesOnlyLettersAToZWithinN) {
  std::array<char, 12> text{'p', 'o', 's', '-', 'z', 'A', '{', '`', '1', 0x7F, 'q', 'r'};
  io::UPCASE(text, 10);
  EXPECT_EQ(std::string(text.begin(), text.end()),
            std::string({'P', 'O', 'S', '-', 'Z', 'A', '{', '`', '1', 0x7F, 'q', 'r'}));
}

std::string with_extension(const std::string& name, const char* extension, int m) {
  std::array<char, 64> buffer;
  buffer.fill(' ');
  std::copy(name.begin(), name.end(), buffer.begin());
  io::ADDEXT(buffer, 64, extension, m);
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

}  // namespace
