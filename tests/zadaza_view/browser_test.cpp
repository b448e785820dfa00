// A real browser renders the example's page: not blank, and the size asked for.
#include <gtest/gtest.h>

#include <cstdint>

#include "runs.hpp"

namespace view_test {
namespace {

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr std::uint32_t kWidth = 1200;
constexpr std::uint32_t kHeight = 1600;

std::uint32_t big_endian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8U) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// Renders the page headless, in a profile of its own that is thrown away; the PNG's bytes.
std::string screenshot(const TempDir& folder, const std::string& page, const std::string& png) {
  const std::string profile = (folder / ("profile-" + png)).string();
  const std::string command =
      std::string(kChromium) +
      " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --hide-scrollbars --user-data-dir=" + shell_quoted(profile) + " --window-size=" +
      std::to_string(kWidth) + "," + std::to_string(kHeight) + " --screenshot=" +
      shell_quoted(folder / png) + " " + shell_quoted("file://" + (folder / page).string());
  const Outcome shot = run(folder, command, "", 120);
  EXPECT_EQ(shot.status, 0) << shot.err;
  return read_file(folder / png);
}

TEST(Browser, RendersTheExamplesPageNotBlankAtTheSizeAsked) {
  if (test_support::kOnWindows) GTEST_SKIP() << "the browser test runs in the Linux build";
  if (!fs::exists(kChromium)) {
    GTEST_SKIP() << "chromium is not installed (Debian: apt-get install chromium)";
  }
  TempDir folder;
  make_zadaza(folder, shell_quoted(ZZ_SOURCE_DIR "/examples/soil.txt") + " example.zdz");
  ASSERT_EQ(run(folder, shell_quoted(kViewer) + " example.zdz").status, 0);
  write_file(folder / "blank.html", "<!DOCTYPE html><html><body></body></html>");

  const std::string page = screenshot(folder, "example.zdz.html", "page.png");
  const std::string blank = screenshot(folder, "blank.html", "blank.png");
  for (const std::string* png : {&page, &blank}) {
    ASSERT_GT(png->size(), 24U);
    EXPECT_EQ(png->substr(1, 3), "PNG");
    EXPECT_EQ(png->substr(12, 4), "IHDR");
    EXPECT_EQ(big_endian(*png, 16), kWidth);
    EXPECT_EQ(big_endian(*png, 20), kHeight);
  }
  // A white page compresses to almost nothing; charts, text and lines do not.
  EXPECT_GT(page.size(), 10 * blank.size()) << page.size() << " against " << blank.size();
}

}  // namespace
}  // namespace view_test
