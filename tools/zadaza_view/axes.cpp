#include "axes.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace view {
namespace {

constexpr double kSmallestSpan = 1.0e-150;
// Plain decimals for ticks from 1e-4 to 1e5 apart; powers of ten beyond.
constexpr int kPlainExponentLow = -4;
constexpr int kPlainExponentHigh = 4;

std::string without_trailing_zeros(std::string digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return digits;
}

// digits * 10^exponent as a plain decimal number.
std::string plain(const std::string& digits, int exponent) {
  if (exponent >= 0) return digits + std::string(static_cast<std::size_t>(exponent), '0');
  const auto shift = static_cast<std::size_t>(-exponent);
  const std::string padded =
      digits.size() > shift ? digits : std::string(shift - digits.size() + 1, '0') + digits;
  const std::string whole = padded.substr(0, padded.size() - shift);
  const std::string fraction = without_trailing_zeros(padded.substr(padded.size() - shift));
  return fraction.empty() ? whole : whole + "." + fraction;
}

// digits * 10^exponent as d.ddd followed by e and the power of ten.
std::string scientific(const std::string& digits, int exponent) {
  const std::string rest = without_trailing_zeros(digits.substr(1));
  const int power = exponent + static_cast<int>(digits.size()) - 1;
  return digits.substr(0, 1) + (rest.empty() ? "" : "." + rest) + "e" + std::to_string(power);
}

}  // namespace

Axis::Axis(double low, double high, double pixel_low, double pixel_high, int intervals)
    : pixel_low_(pixel_low), pixel_high_(pixel_high) {
  low = std::min(low, 0.0);
  high = std::max(high, 0.0);
  if (!(high - low > kSmallestSpan)) {
    low = -1.0;
    high = 1.0;
  }
  const double raw_step = (high - low) / intervals;
  exponent_ = static_cast<int>(std::floor(std::log10(raw_step)));
  const double fraction = raw_step / std::pow(10.0, exponent_);
  if (fraction <= 1.0) {
    mantissa_ = 1;
  } else if (fraction <= 2.0) {
    mantissa_ = 2;
  } else if (fraction <= 5.0) {
    mantissa_ = 5;
  } else {
    mantissa_ = 1;
    ++exponent_;
  }
  const double step = tick_value(1);
  first_ = static_cast<int>(std::floor(low / step));
  last_ = static_cast<int>(std::ceil(high / step));
  // Division and multiplication round; the ticks must still enclose the range.
  while (tick_value(first_) > low) --first_;
  while (tick_value(last_) < high) ++last_;
}

double Axis::tick_value(int tick) const {
  const double multiple = static_cast<double>(tick) * mantissa_;
  return exponent_ >= 0 ? multiple * std::pow(10.0, exponent_)
                        : multiple / std::pow(10.0, -exponent_);
}

std::string Axis::tick_label(int tick) const {
  const int multiple = tick * mantissa_;
  if (multiple == 0) return "0";
  const std::string sign = multiple < 0 ? "-" : "";
  const std::string digits = std::to_string(std::abs(multiple));
  const bool is_plain = exponent_ >= kPlainExponentLow && exponent_ <= kPlainExponentHigh;
  return sign + (is_plain ? plain(digits, exponent_) : scientific(digits, exponent_));
}

double Axis::pixel(double value) const {
  const double span = high() - low();
  return pixel_low_ + (value - low()) / span * (pixel_high_ - pixel_low_);
}

}  // namespace view
