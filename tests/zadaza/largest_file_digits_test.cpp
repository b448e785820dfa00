// Every real of the largest file the limits allow, in every significant-digit count the
// exponent fields use: the quick digits, wherever they answer, are the exact digits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

#include "format/decimal_digits.hpp"
#include "zadaza/soil_model.hpp"
#include "support/test_support.hpp"
#include "zadaza_files.hpp"

namespace {

using zadaza::SOIL_MODEL;

// E11.2; E10.3, E11.3, E12.3; 1PE10.3 to 1PE12.3; 1PE13.5, 1PE15.5; E16.8.
constexpr int kCountsInUse[] = {2, 3, 4, 6, 8};

// The reals of one array of the model, first to last.
template <class A>
void check_reals(A& array, int& checked, int& failures) {
  const double* first = array.at(1);
  for (std::size_t i = 0; i < sizeof array / sizeof(double); ++i) {
    const double v = std::fabs(first[i]);
    if (v == 0.0 || !std::isfinite(v)) continue;
    for (const int count : kCountsInUse) {
      format::DecimalDigits quick;
      if (!format::fast_decimal_digits(v, count, quick)) continue;
      ++checked;
      const format::DecimalDigits exact = format::exact_decimal_digits(v, count);
      if ((quick.whole != exact.whole || quick.exponent != exact.exponent) && ++failures <= 10) {
        ADD_FAILURE() << count << " digits of " << std::hexfloat << v << ": quick "
                      << quick.whole << "e" << quick.exponent << ", exact " << exact.whole << "e"
                      << exact.exponent;
      }
    }
  }
}

TEST(LargestFile, QuickDigitsOfEveryRealAreExact) {
  test_support::TempDir dir;
  const std::string path = dir.path("largest.zdz");
  test_support::make_zadaza("--synthetic --layers 80 --diameters 15 --in-use 4 --dsp 15 --seed 1 '" +
                           path + "'");
  ASSERT_TRUE(zadaza_test::read_model(path, zadaza::Generation::New).limits_met);
  auto& m = SOIL_MODEL;
  int checked = 0;
  int failures = 0;
  for (auto* curve : {&m.PY_P, &m.PY_DELTA, &m.TZ_P, &m.TZ_DELTA, &m.QZ_P, &m.QZ_DELTA}) {
    check_reals(*curve, checked, failures);
  }
  for (auto* parameters : {&m.PY_PAR, &m.TZ_PAR, &m.QZ_PAR}) check_reals(*parameters, checked, failures);
  check_reals(m.LAYER_SOIL, checked, failures);
  check_reals(m.ZBOT, checked, failures);
  check_reals(m.DIAM, checked, failures);
  check_reals(m.DSP_Z, checked, failures);
  check_reals(m.DSP_VAL, checked, failures);
  EXPECT_GT(checked, 100000);
  EXPECT_EQ(failures, 0);
}

}  // namespace
