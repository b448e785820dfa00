// Value fields whose width and digit count are known at compile time, as compiled layouts use
// them: the common case is written inline, everything else (asterisks, zero, non-finite
// values, values the quick digits decline) goes to the general writers of real_fields.hpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "format/decimal_digits.hpp"
#include "format/real_fields.hpp"

namespace format {

namespace field_detail {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Exactly `Count` digits of value ending just before `end`, two at a time.
template <unsigned Count>
inline void put_digits(std::uint64_t value, char* end) {
  unsigned i = Count;
  for (; i >= 2; i -= 2) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    end -= 2;
    end[0] = kDigitPairs[pair];
    end[1] = kDigitPairs[pair + 1];
  }
  if (i == 1) end[-1] = static_cast<char>('0' + value);
}

inline constexpr std::uint64_t power_of_ten(unsigned n) {
  std::uint64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// E+05, E-03, or from an exponent of 100 on +101, -123.
inline void put_exponent(int exponent, char* out) {
  const char sign = exponent < 0 ? '-' : '+';
  const auto magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  if (magnitude <= 99) {
    out[0] = 'E';
    out[1] = sign;
  } else {
    out[0] = sign;
    out[1] = static_cast<char>('0' + magnitude / 100);
  }
  const auto pair = static_cast<std::size_t>(magnitude % 100) * 2;
  out[2] = kDigitPairs[pair];
  out[3] = kDigitPairs[pair + 1];
}

}  // namespace field_detail

// Iw.
template <std::size_t W>
inline void integer_field(std::int32_t value, char* out) {
  char text[12];
  char* const end = text + sizeof text;
  char* first = end;
  auto magnitude = value < 0 ? 0U - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = '-';
  const auto length = static_cast<std::size_t>(end - first);
  if (length > W) {
    std::memset(out, '*', W);
    return;
  }
  std::memset(out, ' ', W);
  for (std::size_t i = 0; i < length; ++i) out[W - length + i] = first[i];
}

// Ew.d (Scaled false) and 1PEw.d (Scaled true).
template <std::size_t W, unsigned D, bool Scaled>
inline void exponent_field(double value, char* out) {
  constexpr unsigned kCount = Scaled ? D + 1 : D;
  // Without sign: for 1PE digit, point, D digits, exponent; for E point, D digits, exponent.
  constexpr std::size_t kBody = (Scaled ? 2 : 1) + D + 4;
  const bool negative = value < 0.0;
  const double magnitude = negative ? -value : value;
  DecimalDigits d;
  if constexpr (kCount >= 1 && kCount <= kMaxFastDigits && kBody <= W) {
    // Zero of either sign shows as 0.000E+00, in the scaled form too.
    if (magnitude == 0.0) d = {0, Scaled ? 0 : -1};
    if (magnitude == 0.0 || (magnitude <= 1.7976931348623157e308 &&
                             kBody + (negative ? 1 : 0) <= W &&
                             fast_decimal_digits<int{kCount}>(magnitude, d))) {
      std::memset(out, ' ', W);
      char* const exponent_at = out + W - 4;
      char* point = exponent_at - D - 1;
      if constexpr (Scaled) {
        constexpr std::uint64_t kTail = field_detail::power_of_ten(D);
        field_detail::put_exponent(d.exponent, exponent_at);
        field_detail::put_digits<D>(d.whole % kTail, exponent_at);
        *point = '.';
        point[-1] = static_cast<char>('0' + d.whole / kTail);
        if (negative) point[-2] = '-';
      } else {
        field_detail::put_exponent(d.exponent + 1, exponent_at);
        field_detail::put_digits<D>(d.whole, exponent_at);
        *point = '.';
        char* before = point;
        if (kBody + (negative ? 1 : 0) < W) *--before = '0';  // the 0 when a column is free
        if (negative) before[-1] = '-';
      }
      return;
    }
  }
  if constexpr (Scaled) {
    write_scaled_exponent_field(value, W, D, out);
  } else {
    write_exponent_field(value, W, D, out);
  }
}

}  // namespace format
