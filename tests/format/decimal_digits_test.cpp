// The quick digits against the exact digits, for every significant-digit count the field
// forms in use need, on values chosen to sit where a quick rounding goes wrong: exact and near
// decimal ties, binary ties, neighbours of powers of ten, and raw bit patterns.
#include "format/decimal_digits.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

// E11.2; E10.3, E11.3, E12.3; 1PE10.3 to 1PE12.3; 1PE13.5, 1PE15.5; E16.8.
constexpr int kCountsInUse[] = {2, 3, 4, 6, 8};

class ValueSource {
 public:
  explicit ValueSource(std::uint64_t seed) : gen_(seed) {}

  // A positive finite value, one of several kinds in turn.
  double next(int count) {
    switch (gen_() % 6) {
      case 0: return random_bits();
      case 1: return neighbour(decimal_tie(count));
      case 2: return neighbour(std::pow(10.0, static_cast<double>(exponent(30))));
      case 3: return binary_tie();
      case 4: return decimal_tie(count);
      default: return std::pow(10.0, uniform(-13.0, 16.0));
    }
  }

 private:
  double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(gen_);
  }
  int exponent(int reach) { return static_cast<int>(gen_() % (2 * reach + 1)) - reach; }

  double random_bits() {
    for (;;) {
      const double v = std::bit_cast<double>(gen_() >> 1);
      if (std::isfinite(v) && v > 0.0) return v;
    }
  }

  // Halfway between two values of `count` digits, as near as a double gets.
  double decimal_tie(int count) {
    const auto digits = static_cast<double>(gen_() % static_cast<std::uint64_t>(
                                                      std::pow(10.0, count)));
    return (digits + 0.5) * std::pow(10.0, static_cast<double>(exponent(14) - count));
  }

  // Few binary digits: many of these are exact decimal ties.
  double binary_tie() {
    const auto odd = static_cast<double>(2 * (gen_() % 5000000) + 1);
    return std::ldexp(odd, -static_cast<int>(gen_() % 30));
  }

  // The value or one of its next few doubles on either side.
  double neighbour(double v) {
    const int steps = static_cast<int>(gen_() % 7) - 3;
    for (int i = 0; i < std::abs(steps); ++i) v = std::nextafter(v, steps < 0 ? 0.0 : HUGE_VAL);
    return v;
  }

  std::mt19937_64 gen_;
};

TEST(FastDecimalDigits, AgreeWithTheExactDigitsWheneverTheyAnswer) {
  constexpr int kValuesPerCount = 1000000;
  for (const int count : kCountsInUse) {
    ValueSource values(static_cast<std::uint64_t>(count));
    int failures = 0;
    for (int i = 0; i < kValuesPerCount && failures < 10; ++i) {
      const double v = values.next(count);
      format::DecimalDigits fast;
      if (!format::fast_decimal_digits(v, count, fast)) continue;
      const format::DecimalDigits exact = format::exact_decimal_digits(v, count);
      if (fast.whole != exact.whole || fast.exponent != exact.exponent) {
        ++failures;
        ADD_FAILURE() << count << " digits of " << std::hexfloat << v << std::defaultfloat
                      << ": quick " << fast.whole << "e" << fast.exponent << ", exact "
                      << exact.whole << "e" << exact.exponent;
      }
    }
  }
}

// The quick way must carry the load on ordinary values, not decline its way to correctness.
TEST(FastDecimalDigits, AnswerForOrdinaryValues) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> exponent(-12.0, 15.0);
  for (const int count : kCountsInUse) {
    int declined = 0;
    for (int i = 0; i < 10000; ++i) {
      format::DecimalDigits digits;
      if (!format::fast_decimal_digits(std::pow(10.0, exponent(gen)), count, digits)) ++declined;
    }
    EXPECT_LT(declined, 10) << count << " digits";
  }
}

// Worked cases at the edges: ties to even, carries into a new digit, the reach of the table.
TEST(DecimalDigits, WorkedEdges) {
  struct Case {
    double value;
    int count;
    std::uint64_t whole;
    int exponent;
  };
  const Case cases[] = {
      {12345.0, 4, 1234, 4},  {12355.0, 4, 1236, 4},     {9.9996, 4, 1000, 1},
      {0.125, 2, 12, -1},     {0.375, 2, 38, -1},        {1.0e-300, 3, 100, -300},
      {4.9e-324, 3, 494, -324}, {1.7976931348623157e308, 8, 17976931, 308},
      {1.0e22, 3, 100, 22},   {999999999.5, 8, 10000000, 9},
  };
  for (const Case& c : cases) {
    const format::DecimalDigits d = format::decimal_digits(c.value, c.count);
    EXPECT_EQ(d.whole, c.whole) << c.value;
    EXPECT_EQ(d.exponent, c.exponent) << c.value;
  }
}

}  // namespace
