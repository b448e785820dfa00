#include "os/unix/system.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace {

struct Attempts {
  std::vector<int> errors;  // errno of each failed attempt, in order; then the call succeeds
  int calls_expected;
  int result_expected;
};

class RetryOnInterrupt : public ::testing::TestWithParam<Attempts> {};

TEST_P(RetryOnInterrupt, RepeatsOnlyInterruptedCalls) {
  const Attempts& a = GetParam();
  int calls = 0;
  const int result = os::posix::retry_on_interrupt([&] {
    const auto attempt = static_cast<std::size_t>(calls++);
    if (attempt < a.errors.size()) {
      errno = a.errors[attempt];
      return -1;
    }
    return 7;
  });
  EXPECT_EQ(calls, a.calls_expected);
  EXPECT_EQ(result, a.result_expected);
}

INSTANTIATE_TEST_SUITE_P(Calls, RetryOnInterrupt,
                         ::testing::Values(Attempts{{}, 1, 7}, Attempts{{EINTR, EINTR}, 3, 7},
                                           Attempts{{EIO}, 1, -1},
                                           Attempts{{EINTR, EPIPE}, 2, -1}));

}  // namespace
