// Significant decimal digits of a binary value: the digits of the exact value rounded to
// nearest, ties to even. Two ways to the same digits: a quick one that works in double
// precision and declines whenever the answer is in doubt, and the exact one.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace format {

// A positive value v rounded to `count` significant digits: v ~ whole * 10^(exponent + 1 -
// count), with whole holding exactly `count` digits (10^(count-1) <= whole < 10^count).
struct DecimalDigits {
  std::uint64_t whole = 0;
  int exponent = 0;
};

inline constexpr int kMaxFastDigits = 15;

// The powers of ten that 64 bits hold, for every exact digit routine of the folder.
inline constexpr int kMaxWholePowerOfTen = 19;

inline constexpr std::array<std::uint64_t, kMaxWholePowerOfTen + 1> kWholePowersOfTen = [] {
  std::array<std::uint64_t, kMaxWholePowerOfTen + 1> powers{};
  std::uint64_t p = 1;
  for (auto& power : powers) {
    power = p;
    p *= 10;
  }
  return powers;
}();

namespace digits_detail {

// Powers of ten that a double holds exactly.
inline constexpr int kMaxExactPower = 22;

inline constexpr std::array<double, kMaxExactPower + 1> kExactPowers = [] {
  std::array<double, kMaxExactPower + 1> powers{};
  double p = 1.0;
  for (auto& power : powers) {
    power = p;
    p *= 10.0;
  }
  return powers;
}();

// The scaled value carries one rounding error, at most half a unit in its last place, that is
// at most 2^-53 of itself; eight times that keeps a tie in the exact value well away.
inline constexpr double kTieMargin = 0x1p-50;

// floor(log10(v)) of a positive normal value, or one off: from the binary exponent alone.
inline int decimal_exponent_guess(double v) {
  const int binary = static_cast<int>(std::bit_cast<std::uint64_t>(v) >> 52) - 1023;
  return (binary * 78913) >> 18;  // 78913 / 2^18 is log10(2) to 6 digits
}

}  // namespace digits_detail

// Scales the value once by an exact power of ten and rounds. Returns false, leaving `digits`
// unspecified, when the value is beyond the reach of exact powers, or when the scaled value
// lies too close to a rounding tie for one rounding error to be ruled out.
template <int Count>
  requires(Count >= 1 && Count <= kMaxFastDigits)
inline bool fast_decimal_digits(double magnitude, DecimalDigits& digits) {
  using namespace digits_detail;
  constexpr double kUpper = kExactPowers[Count];
  constexpr double kLower = kExactPowers[Count - 1];
  int exponent = decimal_exponent_guess(magnitude);
  // A guess one off is put right by a second scaling.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int scale = Count - 1 - exponent;
    if (scale < -kMaxExactPower || scale > kMaxExactPower) return false;
    // One correctly rounded operation, so comparisons with whole powers stay truthful.
    const double scaled = scale >= 0 ? magnitude * kExactPowers[static_cast<std::size_t>(scale)]
                                     : magnitude / kExactPowers[static_cast<std::size_t>(-scale)];
    if (scaled >= kUpper) {
      ++exponent;
      continue;
    }
    if (scaled < kLower) {
      --exponent;
      continue;
    }
    const auto below = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(below);
    if (std::fabs(fraction - 0.5) <= scaled * kTieMargin) return false;
    std::uint64_t whole = fraction > 0.5 ? below + 1 : below;
    if (whole == kWholePowersOfTen[Count]) {  // 9.9996 to 10.00
      whole /= 10;
      ++exponent;
    }
    digits = {whole, exponent};
    return true;
  }
  return false;
}

// The same for a digit count known only at run time; false also when `count` is outside
// 1 to kMaxFastDigits.
bool fast_decimal_digits(double magnitude, int count, DecimalDigits& digits);

// Always right, for any positive finite value and 1 <= count <= 19; several times slower.
DecimalDigits exact_decimal_digits(double magnitude, int count);

// The quick way where it answers, else the exact one.
DecimalDigits decimal_digits(double magnitude, int count);

}  // namespace format
