// Significant decimal digits of a binary value: the digits of the exact value rounded to
// nearest, ties to even. Two ways to the same digits: a quick one that works in double
// precision and declines whenever the answer is in doubt, and the exact one.
#pragma once

#include <cstdint>

namespace format {

// A positive value v rounded to `count` significant digits: v ~ whole * 10^(exponent + 1 -
// count), with whole holding exactly `count` digits (10^(count-1) <= whole < 10^count).
struct DecimalDigits {
  std::uint64_t whole = 0;
  int exponent = 0;
};

inline constexpr int kMaxFastDigits = 15;

// Scales the value once by an exact power of ten and rounds. Returns false, leaving `digits`
// unspecified, when the value is beyond the reach of exact powers, when `count` exceeds
// kMaxFastDigits, or when the scaled value lies too close to a rounding tie for one rounding
// error to be ruled out.
bool fast_decimal_digits(double magnitude, int count, DecimalDigits& digits);

// Always right, for any positive finite value and 1 <= count <= 19; several times slower.
DecimalDigits exact_decimal_digits(double magnitude, int count);

// The quick way where it answers, else the exact one.
DecimalDigits decimal_digits(double magnitude, int count);

}  // namespace format
