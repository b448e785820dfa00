// The long exactness run of the quick digits: many more values than the test in CI takes,
// of the same kinds (raw bit patterns, exact and near decimal ties, binary ties, neighbours
// of powers of ten), for every significant-digit count the exponent fields use.
//
// Usage: bench-exactness [MILLIONS_PER_COUNT] [SEED]      (defaults 20 and 1)
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "format/decimal_digits.hpp"

namespace {

constexpr int kCountsInUse[] = {2, 3, 4, 6, 8};

double positive_value(std::mt19937_64& gen, int count) {
  auto exponent = [&](int reach) { return static_cast<int>(gen() % (2 * reach + 1)) - reach; };
  auto neighbour = [&](double v) {
    const int steps = static_cast<int>(gen() % 7) - 3;
    for (int i = 0; i < std::abs(steps); ++i) v = std::nextafter(v, steps < 0 ? 0.0 : HUGE_VAL);
    return v;
  };
  auto decimal_tie = [&] {
    const auto digits = static_cast<double>(gen() % static_cast<std::uint64_t>(std::pow(10.0, count)));
    return (digits + 0.5) * std::pow(10.0, static_cast<double>(exponent(20) - count));
  };
  switch (gen() % 5) {
    case 0:
      for (;;) {
        const double v = std::bit_cast<double>(gen() >> 1);
        if (std::isfinite(v) && v > 0.0) return v;
      }
    case 1: return neighbour(decimal_tie());
    case 2: return neighbour(std::pow(10.0, static_cast<double>(exponent(25))));
    case 3: return std::ldexp(static_cast<double>(2 * (gen() % 50000000) + 1), -static_cast<int>(gen() % 40));
    default: return decimal_tie();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long millions = argc > 1 ? std::atol(argv[1]) : 20;
  std::mt19937_64 gen(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1);
  long failures = 0;
  for (const int count : kCountsInUse) {
    long answered = 0;
    for (long i = 0; i < millions * 1000000; ++i) {
      const double v = positive_value(gen, count);
      format::DecimalDigits quick;
      if (!format::fast_decimal_digits(v, count, quick)) continue;
      ++answered;
      const format::DecimalDigits exact = format::exact_decimal_digits(v, count);
      if (quick.whole != exact.whole || quick.exponent != exact.exponent) {
        ++failures;
        std::printf("MISMATCH %d digits of %a: quick %llue%d exact %llue%d\n", count, v,
                    static_cast<unsigned long long>(quick.whole), quick.exponent,
                    static_cast<unsigned long long>(exact.whole), exact.exponent);
      }
    }
    std::printf("%d digits: %ld million values, %ld answered by the quick way\n", count, millions,
                answered);
  }
  std::printf("%s\n", failures == 0 ? "quick digits exact on every value" : "MISMATCHES FOUND");
  return failures == 0 ? 0 : 1;
}
