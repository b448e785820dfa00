#include "format/real_fields.hpp"

#include "format/decimal_digits.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>
#include <utility>

namespace format {
namespace {

// Largest fixed text without sign: 309 integer digits of the largest double, the point and at
// most 255 digits after it.
constexpr std::size_t kFixedTextSize = 576;
// Largest scientific text: one digit, the point, at most 255 digits, 'e', sign, 3 digits.
constexpr std::size_t kScientificTextSize = 272;

// Writes a field's text right-aligned: the blanks first, then the pieces in order. The caller
// knows the text's length beforehand, so the text goes straight into the field.
class FieldText {
 public:
  FieldText(char* out, std::size_t width, std::size_t length)
      : next_(std::fill_n(out, width - length, ' ')) {}
  void put(char c) { *next_++ = c; }
  void put(std::string_view s) { next_ = std::copy(s.begin(), s.end(), next_); }
  void put_repeated(char c, std::size_t count) { next_ = std::fill_n(next_, count, c); }

 private:
  char* next_;
};

void fill_asterisks(std::size_t width, char* out) { std::fill_n(out, width, '*'); }

void place_right(std::string_view text, std::size_t width, char* out) {
  if (text.size() > width) {
    fill_asterisks(width, out);
    return;
  }
  const std::size_t blanks = width - text.size();
  std::fill_n(out, blanks, ' ');
  std::copy(text.begin(), text.end(), out + blanks);
}

// An infinity or a not-a-number has no digits to show; its name stands in the field, in a
// short form when the field is narrow.
void write_non_finite(double value, std::size_t width, char* out) {
  std::string_view name = "NaN";
  if (std::isinf(value)) {
    if (std::signbit(value)) {
      name = width >= 9 ? "-Infinity" : "-Inf";
    } else {
      name = width >= 8 ? "Infinity" : "Inf";
    }
  }
  place_right(name, width, out);
}

bool all_zero_digits(std::string_view digits) {
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; });
}

// ---------------------------------------------------------------------------------------------
// Exact decimal rounding. The common case (a few digits of a value of moderate size) is done
// with integer arithmetic on the binary value itself; everything else goes through
// std::to_chars with a precision, which is exact but several times slower.

__extension__ typedef unsigned __int128 uint128;

constexpr int kMaxFastScale = kMaxWholePowerOfTen;

// The binary value as mantissa * 2^exponent, mantissa a whole number.
struct Binary {
  std::uint64_t mantissa;
  int exponent;
};

Binary binary_of(double magnitude) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biased = static_cast<int>(bits >> 52);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) return {fraction, -1074};
  return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

// Rounds quotient + remainder/divisor (remainder < divisor) to the nearest, ties to even.
std::uint64_t round_quotient(std::uint64_t quotient, uint128 remainder, uint128 divisor) {
  const uint128 twice = remainder * 2;
  if (twice > divisor || (twice == divisor && (quotient & 1) != 0)) return quotient + 1;
  return quotient;
}

// magnitude * 10^scale rounded to a whole number, ties to even, when integer arithmetic can
// do it exactly; false otherwise.
bool scaled_whole(double magnitude, int scale, std::uint64_t& result) {
  if (scale < -kMaxFastScale || scale > kMaxFastScale) return false;
  const Binary b = binary_of(magnitude);
  if (b.mantissa == 0) {
    result = 0;
    return true;
  }
  if (scale >= 0) {
    const uint128 scaled = uint128{b.mantissa} * kWholePowersOfTen[static_cast<std::size_t>(scale)];
    if (b.exponent >= 0) {
      if (b.exponent >= 64 || (scaled >> (64 - b.exponent)) != 0) return false;
      result = static_cast<std::uint64_t>(scaled << b.exponent);
      return true;
    }
    const int shift = -b.exponent;
    if (shift >= 127 || (scaled >> shift) >> 64 != 0) return false;
    const uint128 divisor = uint128{1} << shift;
    result = round_quotient(static_cast<std::uint64_t>(scaled >> shift), scaled & (divisor - 1),
                            divisor);
    return true;
  }
  const std::uint64_t power = kWholePowersOfTen[static_cast<std::size_t>(-scale)];
  if (b.exponent >= 0) {
    if (b.exponent >= 11) return false;
    const std::uint64_t whole = b.mantissa << b.exponent;
    result = round_quotient(whole / power, whole % power, power);
    return true;
  }
  const int shift = -b.exponent;
  if (shift >= 64) return false;
  // (whole + fraction/2^shift) / power = quotient + (remainder*2^shift + fraction)/(power*2^shift)
  const std::uint64_t whole = b.mantissa >> shift;
  const std::uint64_t fraction = b.mantissa & ((std::uint64_t{1} << shift) - 1);
  result = round_quotient(whole / power, (uint128{whole % power} << shift) + fraction,
                          uint128{power} << shift);
  return true;
}

// floor(log10(magnitude)), or one off near a power of ten: the binary exponent gives it to
// within one, and a comparison with the nearest power of ten, where the table reaches, settles
// most of the rest.
constexpr int kTabledPowers = 30;

constexpr std::array<double, 2 * kTabledPowers + 1> kRealPowersOfTen = [] {
  std::array<double, 2 * kTabledPowers + 1> powers{};
  double up = 1.0;
  for (int k = 0; k <= kTabledPowers; ++k) {
    powers[static_cast<std::size_t>(kTabledPowers + k)] = up;
    powers[static_cast<std::size_t>(kTabledPowers - k)] = 1.0 / up;
    up *= 10.0;
  }
  return powers;
}();

int decimal_exponent_estimate(double magnitude) {
  const Binary b = binary_of(magnitude);
  const int binary_exponent = 63 - std::countl_zero(b.mantissa) + b.exponent;
  const int below = (binary_exponent * 78913) >> 18;  // 78913 / 2^18 is log10(2) to 6 digits
  if (below < -kTabledPowers || below >= kTabledPowers) return below;
  return magnitude >= kRealPowersOfTen[static_cast<std::size_t>(below + kTabledPowers + 1)]
             ? below + 1
             : below;
}

std::size_t write_unsigned(std::uint64_t value, char* out) {
  return static_cast<std::size_t>(std::to_chars(out, out + 20, value).ptr - out);
}

// Exactly `count` digits, two at a time.
void write_digits(std::uint64_t value, int count, char* out) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  int i = count;
  for (; i >= 2; i -= 2) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    out[i - 2] = kPairs[pair];
    out[i - 1] = kPairs[pair + 1];
  }
  if (i == 1) out[0] = static_cast<char>('0' + value);
}

// `count` significant digits of a positive finite magnitude and the power of ten of the first:
// magnitude ~ d1.d2...dcount * 10^exponent.
struct Significant {
  char digits[kScientificTextSize];
  int exponent = 0;
};

void significant_digits_exactly(double magnitude, int count, Significant& s) {
  char text[kScientificTextSize];
  const auto result = std::to_chars(text, text + kScientificTextSize, magnitude,
                                    std::chars_format::scientific, count - 1);
  const std::string_view all(text, static_cast<std::size_t>(result.ptr - text));
  const std::size_t e = all.find('e');
  s.digits[0] = all[0];
  if (count > 1)
    std::copy(all.begin() + 2, all.begin() + static_cast<std::ptrdiff_t>(e), s.digits + 1);
  std::from_chars(all.data() + e + (all[e + 1] == '+' ? 2 : 1), all.data() + all.size(),
                  s.exponent);
}

void significant_digits(double magnitude, int count, Significant& s) {
  if (count <= kMaxFastScale) {
    const DecimalDigits d = decimal_digits(magnitude, count);
    write_digits(d.whole, count, s.digits);
    s.exponent = d.exponent;
    return;
  }
  significant_digits_exactly(magnitude, count, s);
}


// The magnitude rounded to `decimals` places: "123.45", "0.30", or "12" when decimals is 0.
std::string_view fixed_digits(double magnitude, std::uint8_t decimals, char* text) {
  std::uint64_t whole = 0;
  if (!scaled_whole(magnitude, decimals, whole)) {
    const auto result = std::to_chars(text, text + kFixedTextSize, magnitude,
                                      std::chars_format::fixed, static_cast<int>(decimals));
    return {text, static_cast<std::size_t>(result.ptr - text)};
  }
  char digits[24];
  const std::size_t count = write_unsigned(whole, digits);
  // Leading zeros up to one digit before the point.
  const std::size_t zeros = count > decimals ? 0 : decimals + 1 - count;
  std::fill_n(text, zeros, '0');
  std::copy_n(digits, count, text + zeros);
  const std::size_t total = zeros + count;
  if (decimals == 0) return {text, total};
  std::copy_backward(text + total - decimals, text + total, text + total + 1);
  text[total - decimals] = '.';
  return {text, total + 1};
}

void put_exponent(int exponent, FieldText& text) {
  const char sign = exponent < 0 ? '-' : '+';
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude <= 99) {
    text.put('E');
    text.put(sign);
  } else {
    text.put(sign);
    text.put(static_cast<char>('0' + magnitude / 100));
  }
  text.put(static_cast<char>('0' + magnitude / 10 % 10));
  text.put(static_cast<char>('0' + magnitude % 10));
}

}  // namespace

DecimalDigits exact_decimal_digits(double magnitude, int count) {
  // A rounded value with a digit too many or too few means the exponent was one off, or that
  // rounding carried into a new digit; the next power of ten settles it.
  const std::uint64_t limit = kWholePowersOfTen[static_cast<std::size_t>(count)];
  int exponent = decimal_exponent_estimate(magnitude);
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::uint64_t whole = 0;
    if (!scaled_whole(magnitude, count - 1 - exponent, whole)) break;
    if (whole >= limit) {
      ++exponent;
    } else if (whole < limit / 10) {
      --exponent;
    } else {
      return {whole, exponent};
    }
  }
  Significant s;
  significant_digits_exactly(magnitude, count, s);
  std::uint64_t whole = 0;
  for (int i = 0; i < count; ++i) whole = whole * 10 + static_cast<std::uint64_t>(s.digits[i] - '0');
  return {whole, s.exponent};
}

bool fast_decimal_digits(double magnitude, int count, DecimalDigits& digits) {
  return [&]<int... C>(std::integer_sequence<int, C...>) {
    bool answered = false;
    ((count == C + 1 && (answered = fast_decimal_digits<C + 1>(magnitude, digits))), ...);
    return answered;
  }(std::make_integer_sequence<int, kMaxFastDigits>());
}

DecimalDigits decimal_digits(double magnitude, int count) {
  DecimalDigits digits;
  if (fast_decimal_digits(magnitude, count, digits)) return digits;
  return exact_decimal_digits(magnitude, count);
}

void write_fixed_field(double value, std::size_t width, std::uint8_t digits, char* out) {
  if (!std::isfinite(value)) {
    write_non_finite(value, width, out);
    return;
  }
  char rounded[kFixedTextSize];
  const std::string_view all = fixed_digits(std::fabs(value), digits, rounded);
  const std::size_t point = all.find('.');
  const std::string_view whole = all.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : all.substr(point + 1);

  // A value that shows as zero carries no sign, even when it was a small negative one.
  const bool negative = std::signbit(value) && !all_zero_digits(all);
  const bool whole_is_zero = whole == "0";
  const std::size_t needed =
      (negative ? 1 : 0) + (whole_is_zero ? 0 : whole.size()) + 1 + fraction.size();
  if (needed > width) {
    fill_asterisks(width, out);
    return;
  }
  const bool show_whole = !whole_is_zero || needed < width;
  FieldText text(out, width, needed + (whole_is_zero && show_whole ? 1 : 0));
  if (negative) text.put('-');
  if (show_whole) text.put(whole);
  text.put('.');
  text.put(fraction);
}

void write_exponent_field(double value, std::size_t width, std::uint8_t digits, char* out) {
  if (!std::isfinite(value)) {
    write_non_finite(value, width, out);
    return;
  }
  const bool negative = std::signbit(value) && value != 0.0;
  const std::size_t needed = (negative ? 1 : 0) + 1 + digits + 4;
  if (digits == 0 || needed > width) {  // no significant digit to show
    fill_asterisks(width, out);
    return;
  }
  const bool leading_zero = needed < width;
  FieldText text(out, width, needed + (leading_zero ? 1 : 0));
  if (negative) text.put('-');
  if (leading_zero) text.put('0');
  text.put('.');
  if (value == 0.0) {
    text.put_repeated('0', digits);
    put_exponent(0, text);
  } else {
    Significant s;
    significant_digits(std::fabs(value), digits, s);
    text.put({s.digits, digits});
    put_exponent(s.exponent + 1, text);
  }
}

void write_scaled_exponent_field(double value, std::size_t width, std::uint8_t digits, char* out) {
  if (!std::isfinite(value)) {
    write_non_finite(value, width, out);
    return;
  }
  const bool negative = std::signbit(value) && value != 0.0;
  const std::size_t needed = (negative ? 1 : 0) + 2 + digits + 4;
  if (needed > width) {
    fill_asterisks(width, out);
    return;
  }
  Significant s;
  if (value == 0.0) {
    std::fill_n(s.digits, digits + 1, '0');
  } else {
    significant_digits(std::fabs(value), digits + 1, s);
  }
  FieldText text(out, width, needed);
  if (negative) text.put('-');
  text.put(s.digits[0]);
  text.put('.');
  text.put({s.digits + 1, digits});
  put_exponent(s.exponent, text);
}

void write_text_field(std::string_view value, std::size_t width, char* out) {
  place_right(value.substr(0, width), width, out);
}

}  // namespace format
