// The count of diameters that are converted.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "app/run.hpp"

namespace {

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
