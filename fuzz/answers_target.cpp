// The console answer reader on arbitrary input: the answers are read in turn as text, real
// and integer until the input ends or a number does not read; and every line's first item is
// checked against a reading of its own (strtod and strtoll on the same characters).
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "harness.hpp"
#include "io/answers.hpp"

namespace {

namespace parsing = io::answer_parsing;

// Tokens beyond this length are refused by the reader on purpose; no one types them.
constexpr std::size_t kLongestRealToken = 512;

void read_answers_until_the_end() {
  std::array<char, 64> text{};
  double real = 0.0;
  std::int32_t integer = 0;
  for (;;) {
    io::read_text_answer(text);
    io::read_number_answer(real);
    io::read_number_answer(integer);
  }
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t digits_from(std::string_view s, std::size_t at) {
  std::size_t n = at;
  while (n < s.size() && is_digit(s[n])) ++n;
  return n - at;
}

std::size_t sign_length(std::string_view s) {
  return !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
}

// [+-]digits
bool integer_form(std::string_view s) {
  const std::size_t sign = sign_length(s);
  const std::size_t digits = digits_from(s, sign);
  return digits > 0 && sign + digits == s.size();
}

// [+-] digits [. digits] or [+-] . digits, then optionally E/D [+-] digits.
bool real_form(std::string_view s) {
  std::size_t at = sign_length(s);
  const std::size_t whole = digits_from(s, at);
  at += whole;
  std::size_t fraction = 0;
  if (at < s.size() && s[at] == '.') {
    fraction = digits_from(s, ++at);
    at += fraction;
  }
  if (whole + fraction == 0) return false;
  if (at == s.size()) return true;
  if (std::string_view("EeDd").find(s[at]) == std::string_view::npos) return false;
  return integer_form(s.substr(at + 1));
}

[[noreturn]] void mismatch(const char* what, std::string_view token) {
  std::fprintf(stderr, "%s: '%.*s'\n", what, static_cast<int>(token.size()), token.data());
  std::abort();
}

void check_integer(std::string_view token) {
  std::int32_t value = 7;
  const bool read = parsing::parse_integer(token, value);
  if (!integer_form(token)) {
    if (read) mismatch("integer read from a token that is no integer", token);
    return;
  }
  const std::string text(token);
  errno = 0;
  const long long expected = std::strtoll(text.c_str(), nullptr, 10);
  const bool fits = errno == 0 && expected >= std::numeric_limits<std::int32_t>::min() &&
                    expected <= std::numeric_limits<std::int32_t>::max();
  if (read != fits) mismatch("integer accepted or refused wrongly", token);
  if (read && value != expected) mismatch("integer read wrongly", token);
}

void check_real(std::string_view token) {
  double value = 7.0;
  const bool read = parsing::parse_real(token, value);
  if (!real_form(token)) {
    if (read) mismatch("real read from a token that is no real", token);
    return;
  }
  if (token.size() > kLongestRealToken) return;
  std::string text(token);
  for (char& c : text) {
    if (c == 'D' || c == 'd') c = 'E';
  }
  errno = 0;
  const double expected = std::strtod(text.c_str(), nullptr);
  if (std::isinf(expected)) {
    if (read) mismatch("real beyond the largest was accepted", token);
    return;
  }
  if (!read) mismatch("real refused", token);
  const bool underflow = errno == ERANGE && value == 0.0;
  if (value != expected && !underflow) mismatch("real read wrongly", token);
  if (std::signbit(value) != std::signbit(expected)) mismatch("sign of real lost", token);
}

void check_each_line(std::string_view input) {
  while (!input.empty()) {
    const std::size_t end = std::min(input.find('\n'), input.size());
    const parsing::FirstItem first = parsing::first_item(input.substr(0, end));
    if (first.item == parsing::LineItem::Value) {
      check_integer(first.token);
      check_real(first.token);
    }
    input.remove_prefix(std::min(end + 1, input.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::set_up_harness();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  check_each_line(input);
  fuzz::feed_standard_input(input);
  fuzz::run_catching(read_answers_until_the_end);
  return 0;
}
