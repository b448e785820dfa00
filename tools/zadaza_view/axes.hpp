// Chart axes: a value range widened to round-number ticks and mapped linearly onto pixels.
#pragma once

#include <string>

namespace view {

class Axis {
 public:
  // An axis over [low, high] and zero, on pixels from `pixel_low` (at the lowest tick) to
  // `pixel_high`. Ticks are whole multiples of 1, 2 or 5 times a power of ten, at most
  // `intervals` + 2 intervals over the range; the first and last tick enclose every value of
  // the range. A range of zero width (or all zero) becomes -1 to 1. Values must be drawable
  // (magnitude at most 1e150).
  Axis(double low, double high, double pixel_low, double pixel_high, int intervals);

  int first_tick() const { return first_; }
  int last_tick() const { return last_; }
  double tick_value(int tick) const;
  // The tick's value written exactly, without floating-point noise: "0.015", "-200", "2.5e-6".
  std::string tick_label(int tick) const;

  double low() const { return tick_value(first_); }
  double high() const { return tick_value(last_); }
  double pixel(double value) const;

 private:
  int mantissa_ = 1;  // the tick step is mantissa_ * 10^exponent_
  int exponent_ = 0;
  int first_ = 0;
  int last_ = 0;
  double pixel_low_ = 0.0;
  double pixel_high_ = 0.0;
};

}  // namespace view
