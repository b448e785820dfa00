// Damaged and hostile ZADAZA files run through the real converter: every run must end either
// normally or with the input/output diagnostic, never by a signal or a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_support::TempDir;

constexpr int kIoFailureExit = 2;
constexpr int kFailedExit = 3;  // "Conversion Feiled!" or a size-limit failure
constexpr int kTimedOut = -2;  // what convert() gives for a run the helper had to end
// The counts record's data starts after the first byte and the framed 80-byte label.
constexpr std::size_t kCountsAt = 1 + 82 + 1;

// Exit status of one conversion of `zdz` with the answers (the signal number + 128 when a
// signal ended it, kTimedOut for a hang).
int convert(const TempDir& dir, const Bytes& zdz, bool old_generation) {
  test_support::write_bytes(dir.path("f.zdz"), zdz);
  const test_support::ProgramRun run = test_support::run_converter(
      dir.dir(), std::string(old_generation ? "O" : "N") +
                     "\nf.zdz\nNEG\n-20.0\n1.0\n1.0\n0\n1\n\nY\n");
  if (run.timed_out) return kTimedOut;
  return run.exited ? run.exit_status : 128 + run.signal;
}

void put_int(Bytes& bytes, std::size_t at, std::int32_t v) {
  if (at + 4 <= bytes.size()) std::memcpy(bytes.data() + at, &v, 4);
}

class Mutator {
 public:
  explicit Mutator(const Bytes& base) : base_(base), random_(20240611U) {}

  Bytes next(int round) {
    Bytes b = base_;
    switch (round % 5) {
      case 0:  // a few bytes changed anywhere, length bytes included
        for (int n = pick(1, 6); n > 0; --n) b[index(b)] = static_cast<std::uint8_t>(pick(0, 255));
        break;
      case 1:  // cut short
        b.resize(index(b));
        break;
      case 2:  // counts huge, negative or just over the limits
        for (std::size_t c = 0; c < 3; ++c) put_int(b, kCountsAt + 4 * c, count());
        break;
      case 3:  // random bytes behind a valid first byte
        for (std::size_t n = 1; n < b.size(); ++n) b[n] = static_cast<std::uint8_t>(pick(0, 255));
        b.resize(static_cast<std::size_t>(pick(1, 4000)));
        break;
      default: {  // a slice removed
        const std::size_t from = index(b);
        const std::size_t to = std::min(b.size(), from + static_cast<std::size_t>(pick(1, 300)));
        b.erase(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
        break;
      }
    }
    return b;
  }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  std::size_t index(const Bytes& b) { return static_cast<std::size_t>(pick(0, int(b.size()) - 1)); }
  std::int32_t count() {
    constexpr std::int32_t kCounts[] = {-2147483647 - 1, -1, 0, 1, 4, 15, 16, 80, 81, 1000,
                                        2147483647};
    return kCounts[pick(0, 10)];
  }

  Bytes base_;
  std::mt19937 random_;
};

TEST(Robustness, DamagedFilesEndWithAnOutcomeOrTheDiagnostic) {
  TempDir dir;
  test_support::make_zadaza("--synthetic --layers 3 --diameters 2 --in-use 2 --dsp 2 " +
                           dir.path("base.zdz"));
  const Bytes base = test_support::read_bytes(dir.path("base.zdz"));
  ASSERT_EQ(convert(dir, base, false), 0);

  Mutator mutator(base);
  for (int round = 0; round < 1000; ++round) {
    const int status = convert(dir, mutator.next(round), round % 7 == 0);
    ASSERT_TRUE(status == 0 || status == kIoFailureExit || status == kFailedExit)
        << "round " << round << " ended with " << status
        << (status == kTimedOut ? " (hang)" : "");
  }
}

TEST(Robustness, OversizedCountsStopBeforeReadingPastTheModel) {
  TempDir dir;
  test_support::make_zadaza("--synthetic --layers 81 --diameters 16 --in-use 16 --dsp 16 " +
                           dir.path("big.zdz"));
  EXPECT_EQ(convert(dir, test_support::read_bytes(dir.path("big.zdz")), false), kFailedExit);
  EXPECT_FALSE(std::filesystem::exists(dir.path("f.zdz.fem")));
}

}  // namespace
