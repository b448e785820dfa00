#include "convert/curve_scaling.hpp"

#include <gtest/gtest.h>

namespace {

using convert::G2K_SCAL;
using convert::ScaledCurves;
using zadaza::CurveArray;

// The model's curves under short names, and the scaled curves.
struct Arrays {
  zadaza::SoilModel model;
  CurveArray& py_p = model.PY_P;
  CurveArray& py_d = model.PY_DELTA;
  CurveArray& tz_p = model.TZ_P;
  CurveArray& tz_d = model.TZ_DELTA;
  CurveArray& qz_p = model.QZ_P;
  CurveArray& qz_d = model.QZ_DELTA;
  ScaledCurves py, tz, qz;
};

Arrays& arrays() {
  static Arrays a;
  a.model = zadaza::SoilModel{};
  a.py = a.tz = a.qz = ScaledCurves{};
  return a;
}

void scale(Arrays& a, int slot, int layers, double D) {
  a.model.NUM_LAYERS = layers;
  G2K_SCAL(a.model, slot, D, a.py, a.tz, a.qz);
}

TEST(CurveScaling, StressesBecomeForcesWithTheSinglePrecisionPi) {
  Arrays& a = arrays();
  for (int k = 1; k <= 23; ++k) {
    a.py_p(k, 2, 1) = 3.0;
    a.tz_p(k, 2, 1) = 1.0;
    a.qz_p(k, 2, 1) = 1.0;
    a.py_d(k, 2, 1) = 0.01 * k;
    a.tz_d(k, 2, 1) = -0.02 * k;
    a.qz_d(k, 2, 1) = 0.03 * k;
  }
  scale(a, 2, 1, 2.0);
  for (int k = 1; k <= 23; ++k) {
    EXPECT_EQ(a.py(1, k, 1), 6.0);
    EXPECT_EQ(a.tz(1, k, 1), 6.28318023681640625);
    EXPECT_EQ(a.qz(1, k, 1), 3.141590118408203125);
    EXPECT_EQ(a.py(2, k, 1), 0.01 * k);
    EXPECT_EQ(a.tz(2, k, 1), -0.02 * k);
    EXPECT_EQ(a.qz(2, k, 1), 0.03 * k);
  }
}

TEST(CurveScaling, TipAreaIsFormedInTheFixedProductOrder) {
  Arrays& a = arrays();
  a.qz_p(1, 1, 1) = 1.0;
  scale(a, 1, 1, 0.9);
  // ((D * pi) * D) * 0.25; the product D * D * pi * 0.25 would end in ...612.
  EXPECT_EQ(a.qz(1, 1, 1), 0.6361719989776611);
}

TEST(CurveScaling, TakesTheGivenSlotAndEveryLayerSignsKept) {
  Arrays& a = arrays();
  a.py_p(5, 1, 3) = 99.0;  // another slot: not taken
  a.py_p(5, 3, 3) = -4.0;
  a.tz_p(23, 3, 80) = 0.0;
  a.qz_p(23, 3, 80) = -8.0;
  scale(a, 3, 80, 4.0);
  EXPECT_EQ(a.py(1, 5, 3), -16.0);
  EXPECT_EQ(a.tz(1, 23, 80), 0.0);
  EXPECT_EQ(a.qz(1, 23, 80), ((4.0 * 3.141590118408203125) * 4.0) * 0.25 * -8.0);
  EXPECT_LT(a.qz(1, 23, 80), 0.0);
}

}  // namespace
