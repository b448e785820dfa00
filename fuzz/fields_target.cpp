// Every field form on arbitrary values, checked character by character against a reference of
// its own built on snprintf (which gives the exact binary value's digits, ties to even), and
// a few line layouts driven by arbitrary values of the right kinds.
//
// Input: form byte, width byte, digits byte, then the value's 8 bytes (an integer takes the
// first 4); the rest is the text of an A field.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "format/layout.hpp"
#include "format/real_fields.hpp"

namespace {

enum class Form : std::uint8_t { Integer, Fixed, Exponent, ScaledExponent, Text, Layouts };
constexpr unsigned kForms = 6;

// The fields as the code under test renders them: the one place to change when the field
// API changes.
std::string render(Form form, std::int32_t integer, double real, std::string_view text,
                   std::size_t width, std::uint8_t digits) {
  std::string out(width, '?');
  switch (form) {
    case Form::Integer:
      io::write_integer_field(integer, width, out.data());
      break;
    case Form::Fixed:
      io::write_fixed_field(real, width, digits, out.data());
      break;
    case Form::Exponent:
      io::write_exponent_field(real, width, digits, out.data());
      break;
    case Form::ScaledExponent:
      io::write_scaled_exponent_field(real, width, digits, out.data());
      break;
    case Form::Text:
      io::write_text_field(text, width, out.data());
      break;
    case Form::Layouts:
      break;
  }
  return out;
}

// ---- the reference --------------------------------------------------------------------------

std::string fitted(const std::string& text, std::size_t width) {
  if (text.size() > width) return std::string(width, '*');
  return std::string(width - text.size(), ' ') + text;
}

std::string printed(const char* format, int precision, double value) {
  std::array<char, 1024> text{};
  std::snprintf(text.data(), text.size(), format, precision, value);
  return text.data();
}

// The 4-character exponent part: E+05, E-03, or +101 from 100 on.
std::string exponent_part(int e) {
  std::array<char, 8> text{};
  const char sign = e < 0 ? '-' : '+';
  if (std::abs(e) <= 99) {
    std::snprintf(text.data(), text.size(), "E%c%02d", sign, std::abs(e));
  } else {
    std::snprintf(text.data(), text.size(), "%c%03d", sign, std::abs(e));
  }
  return text.data();
}

bool shows_nonzero_digit(const std::string& s) {
  return s.find_first_of("123456789") != std::string::npos;
}

// The leading 0 of a number below one goes first when the field has no room for it.
std::string without_spare_zero(const std::string& sign, const std::string& body,
                               std::size_t width) {
  std::string text = sign + body;
  if (text.size() > width && body.rfind("0.", 0) == 0) text = sign + body.substr(1);
  return fitted(text, width);
}

std::string reference_integer(std::int32_t value, std::size_t width) {
  return fitted(std::to_string(value), width);
}

std::string reference_fixed(double value, std::size_t width, int digits) {
  const std::string body = printed("%#.*f", digits, std::fabs(value));
  const bool negative = std::signbit(value) && shows_nonzero_digit(body);
  return without_spare_zero(negative ? "-" : "", body, width);
}

// Mantissa digits and the power of ten of |value| with `count` significant digits, in the
// form d.ddd times 10 to the power.
std::string scientific_digits(double value, int count, int& power) {
  const std::string text = printed("%.*e", count - 1, std::fabs(value));
  const std::size_t e = text.find('e');
  power = std::atoi(text.c_str() + e + 1);
  std::string digits;
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') digits += text[i];
  }
  return digits;
}

std::string reference_exponent(double value, std::size_t width, int digits) {
  if (digits == 0) return std::string(width, '*');
  if (value == 0.0) return without_spare_zero("", "0." + std::string(digits, '0') + "E+00", width);
  int power = 0;
  const std::string mantissa = scientific_digits(value, digits, power);
  const std::string body = "0." + mantissa + exponent_part(power + 1);
  return without_spare_zero(std::signbit(value) ? "-" : "", body, width);
}

std::string reference_scaled_exponent(double value, std::size_t width, int digits) {
  if (value == 0.0) return fitted("0." + std::string(digits, '0') + "E+00", width);
  int power = 0;
  const std::string mantissa = scientific_digits(value, digits + 1, power);
  const std::string body = mantissa.substr(0, 1) + "." + mantissa.substr(1) + exponent_part(power);
  return fitted((std::signbit(value) ? "-" : "") + body, width);
}

std::string reference_text(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string reference(Form form, std::int32_t integer, double real, std::string_view text,
                      std::size_t width, std::uint8_t digits) {
  switch (form) {
    case Form::Integer:
      return reference_integer(integer, width);
    case Form::Fixed:
      return reference_fixed(real, width, digits);
    case Form::Exponent:
      return reference_exponent(real, width, digits);
    case Form::ScaledExponent:
      return reference_scaled_exponent(real, width, digits);
    case Form::Text:
      return reference_text(text, width);
    case Form::Layouts:
      break;
  }
  return {};
}

// ---- layouts --------------------------------------------------------------------------------

// Layouts of the product's kinds: repeats, scaled fields after 1P, line breaks before and
// after, and values running out or left over.
constexpr io::Layout kNumberLayouts[] = {
    {"(I4,1P,E11.3,E11.3,F7.1)"}, {"(1P6E11.3)"},           {"(5E11.3)"},
    {"(2X,'Nu   =',F5.2)"},       {"(3I10,/)"},             {"(/,/,/,'x',F9.1)"},
    {"(1P,2E16.8,F5.2,/,I4)"},    {"(I8,2X,1P,3E12.4,$)"},
};

// Values of the kinds the layout's fields take, in order, `count` of them, cycling.
std::vector<io::Value> values_for(const io::Layout& layout, std::size_t count,
                                  std::int32_t integer, double real) {
  std::vector<io::Value> values;
  while (values.size() < count) {
    for (const io::LayoutItem& item : layout.items()) {
      if (!item.takes_value()) continue;
      for (unsigned r = 0; r < item.repeat && values.size() < count; ++r) {
        if (item.edit == io::Edit::Integer) {
          values.emplace_back(integer);
        } else {
          values.emplace_back(real);
        }
      }
    }
  }
  return values;
}

void drive_layout(std::uint8_t choice, std::size_t count, std::int32_t integer, double real) {
  const io::Layout& layout = kNumberLayouts[choice % std::size(kNumberLayouts)];
  const std::vector<io::Value> values = values_for(layout, count, integer, real);
  static char out[io::kMaxRenderedChars];
  const std::size_t length = io::format_layout(layout, values, out, sizeof out);
  if (length > sizeof out) std::abort();
}

[[noreturn]] void mismatch(Form form, double real, std::size_t width, int digits,
                           const std::string& got, const std::string& expected) {
  std::fprintf(stderr, "form %d width %zu digits %d value %.17g (%a)\n", static_cast<int>(form),
               width, digits, real, real);
  std::fprintf(stderr, "  got      '%s'\n  expected '%s'\n", got.c_str(), expected.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHead = 3 + 8;
  if (size < kHead) return 0;
  const auto form = static_cast<Form>(data[0] % kForms);
  const std::size_t width = data[1];
  const std::uint8_t digits = data[2];
  std::int32_t integer = 0;
  double real = 0.0;
  std::memcpy(&integer, data + 3, sizeof integer);
  std::memcpy(&real, data + 3, sizeof real);
  const std::string_view text(reinterpret_cast<const char*>(data) + kHead, size - kHead);

  if (form == Form::Layouts) {
    drive_layout(data[1], digits % 40U, integer, real);
    return 0;
  }
  if (width == 0) return 0;
  const std::string got = render(form, integer, real, text, width, digits);
  // How an infinity or a not-a-number shows is the program's own choice: only its width counts.
  if (form != Form::Integer && form != Form::Text && !std::isfinite(real)) {
    if (got.find('?') != std::string::npos) mismatch(form, real, width, digits, got, "");
    return 0;
  }
  const std::string expected = reference(form, integer, real, text, width, digits);
  if (got != expected) mismatch(form, real, width, digits, got, expected);
  return 0;
}
