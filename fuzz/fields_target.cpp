// Every field form on arbitrary values, checked character by character against a reference of
// its own built on snprintf (which gives the exact binary value's digits, ties to even), and
// a few line layouts driven by arbitrary values of the right kinds.
//
// Input: form byte, width byte, digits byte, then the value's 8 bytes (an integer takes the
// first 4); the rest is the text of an A field. The integer field and the quick exponent
// fields exist only in compiled form: the width byte picks one of those compiled here, and a
// quick exponent field must match the general writer (itself checked against the reference).
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "format/fields.hpp"
#include "format/layout.hpp"
#include "format/real_fields.hpp"

namespace {

enum class Form : std::uint8_t { Integer, Fixed, Exponent, ScaledExponent, Text, Layouts, CompiledExponent };
constexpr unsigned kForms = 7;

// The integer field and the quick exponent fields exist only with their width and digits
// fixed at compile time: the forms the converter's layouts use, and a few at the edges.
using IntegerWriter = void (*)(std::int32_t, char*);
struct IntegerForm {
  std::size_t width;
  IntegerWriter write;
};
constexpr IntegerForm kIntegerForms[] = {
    {1, format::integer_field<1>}, {2, format::integer_field<2>},   {3, format::integer_field<3>},
    {4, format::integer_field<4>}, {5, format::integer_field<5>},   {7, format::integer_field<7>},
    {8, format::integer_field<8>}, {9, format::integer_field<9>},   {10, format::integer_field<10>},
    {11, format::integer_field<11>}, {12, format::integer_field<12>},
};

using ExponentWriter = void (*)(double, char*);
struct ExponentForm {
  std::size_t width;
  std::uint8_t digits;
  bool scaled;
  ExponentWriter write;
};
constexpr ExponentForm kExponentForms[] = {
    {11, 3, false, format::exponent_field<11, 3, false>},
    {12, 3, false, format::exponent_field<12, 3, false>},
    {16, 8, false, format::exponent_field<16, 8, false>},
    {11, 2, true, format::exponent_field<11, 2, true>},
    {11, 3, true, format::exponent_field<11, 3, true>},
    {12, 3, true, format::exponent_field<12, 3, true>},
    {13, 5, true, format::exponent_field<13, 5, true>},
    {15, 5, true, format::exponent_field<15, 5, true>},
    {8, 3, true, format::exponent_field<8, 3, true>},
    {9, 3, false, format::exponent_field<9, 3, false>},
    {24, 16, true, format::exponent_field<24, 16, true>},
    {25, 17, false, format::exponent_field<25, 17, false>},
};

// The fields of run-time width and digits as the code under test renders them.
std::string render(Form form, double real, std::string_view text, std::size_t width,
                   std::uint8_t digits) {
  std::string out(width, '?');
  switch (form) {
    case Form::Fixed:
      format::write_fixed_field(real, width, digits, out.data());
      break;
    case Form::Exponent:
      format::write_exponent_field(real, width, digits, out.data());
      break;
    case Form::ScaledExponent:
      format::write_scaled_exponent_field(real, width, digits, out.data());
      break;
    case Form::Text:
      format::write_text_field(text, width, out.data());
      break;
    case Form::Integer:
    case Form::Layouts:
    case Form::CompiledExponent:
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
    case Form::CompiledExponent:
      break;
  }
  return {};
}

// ---- layouts --------------------------------------------------------------------------------

// Every line the layout writes takes exactly the characters it says it takes.
template <class L>
void check_render(const typename L::Values& values) {
  static char out[4096];
  const std::size_t expected = L::size(values);
  if (expected > sizeof out || static_cast<std::size_t>(L::render(values, out) - out) != expected) {
    std::abort();
  }
}

// Layouts of the product's kinds: repeats, scaled fields after 1P, line breaks before and
// after, text fields, and layouts driven with fewer or more values than they have fields.
void drive_layout(std::uint8_t choice, std::int32_t i, double x, std::string_view text) {
  switch (choice % 8U) {
    case 0:
      return check_render<decltype(format::layout<"(I4,1P,E11.3,E11.3,F7.1)">)>({i, x, x, x});
    case 1:
      return check_render<decltype(format::layout<"(1X,1P,9E11.3)", 8>)>({x, x, x, x, x, x, x, x});
    case 2:
      return check_render<decltype(format::layout<"(' SOILCHAR ',2I7,4F10.3)">)>({i, i, x, x, x, x});
    case 3:
      return check_render<decltype(format::layout<"(20X,2F12.2,3I10)">)>({x, x, i, i, i});
    case 4:
      return check_render<decltype(format::layout<"(/,/,/,5X,'FILE  ',A,/,5X,'IS OPENED ON UNIT NO.',I4)">)>({text, i});
    case 5:
      return check_render<decltype(format::layout<"(A8,4E16.8)">)>({text, x, x, x, x});
    case 6:
      return check_render<decltype(format::layout<"(/,A,A)", 1>)>({text});
    default:
      return check_render<decltype(format::layout<"(' MATERIAL ',I9,'  CompS  ',1P10E11.3)", 8>)>({i, x, x, x, x, x, x, x});
  }
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
    drive_layout(data[1], integer, real, text.substr(0, 200));
    return 0;
  }
  if (form == Form::Integer) {
    const IntegerForm& f = kIntegerForms[width % std::size(kIntegerForms)];
    std::string got(f.width, '?');
    f.write(integer, got.data());
    const std::string expected = reference_integer(integer, f.width);
    if (got != expected) mismatch(form, integer, f.width, 0, got, expected);
    return 0;
  }
  if (form == Form::CompiledExponent) {
    const ExponentForm& f = kExponentForms[width % std::size(kExponentForms)];
    std::string got(f.width, '?');
    f.write(real, got.data());
    const Form general = f.scaled ? Form::ScaledExponent : Form::Exponent;
    const std::string expected = render(general, real, text, f.width, f.digits);
    if (got != expected) mismatch(form, real, f.width, f.digits, got, expected);
    return 0;
  }
  if (width == 0) return 0;
  const std::string got = render(form, real, text, width, digits);
  // How an infinity or a not-a-number shows is the program's own choice: only its width counts.
  if (form != Form::Text && !std::isfinite(real)) {
    if (got.find('?') != std::string::npos) mismatch(form, real, width, digits, got, "");
    return 0;
  }
  const std::string expected = reference(form, integer, real, text, width, digits);
  if (got != expected) mismatch(form, real, width, digits, got, expected);
  return 0;
}
