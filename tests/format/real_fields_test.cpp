// Field text of single values: the worked values, and agreement with an independent exact
// conversion (the C library's printf, which rounds the exact binary value, ties to even) on
// many random values for every field form the converter uses.
#include "format/real_fields.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>

#include "format/fields.hpp"
#include "format/layout.hpp"

namespace {

enum class Form { I, F, E, PE };

std::string field(Form form, double value, std::size_t width, std::uint8_t digits) {
  std::string out(width, '?');
  switch (form) {
    case Form::I:
      switch (width) {  // integer fields exist only with a width fixed at compile time
        case 4: format::integer_field<4>(static_cast<std::int32_t>(value), out.data()); break;
        case 9: format::integer_field<9>(static_cast<std::int32_t>(value), out.data()); break;
        case 11: format::integer_field<11>(static_cast<std::int32_t>(value), out.data()); break;
        default: ADD_FAILURE() << "no integer field of width " << width;
      }
      break;
    case Form::F:
      format::write_fixed_field(value, width, digits, out.data());
      break;
    case Form::E:
      format::write_exponent_field(value, width, digits, out.data());
      break;
    case Form::PE:
      format::write_scaled_exponent_field(value, width, digits, out.data());
      break;
  }
  return out;
}

struct Worked {
  Form form;
  double value;
  int width;
  int digits;
  const char* expected;
};

class WorkedField : public ::testing::TestWithParam<Worked> {};

TEST_P(WorkedField, ShowsTheExpectedColumns) {
  const Worked& w = GetParam();
  EXPECT_EQ(field(w.form, w.value, static_cast<std::size_t>(w.width),
                  static_cast<std::uint8_t>(w.digits)),
            w.expected)
      << "value " << w.value;
}

INSTANTIATE_TEST_SUITE_P(Integers, WorkedField,
                         ::testing::Values(Worked{Form::I, 12345, 4, 0, "****"},
                                           Worked{Form::I, -123, 4, 0, "-123"},
                                           Worked{Form::I, -1234, 4, 0, "****"},
                                           Worked{Form::I, 0, 4, 0, "   0"},
                                           Worked{Form::I, -2147483648.0, 11, 0, "-2147483648"},
                                           Worked{Form::I, 1000000000, 9, 0, "*********"}));

INSTANTIATE_TEST_SUITE_P(
    Fixed, WorkedField,
    ::testing::Values(Worked{Form::F, 0.125, 5, 2, " 0.12"}, Worked{Form::F, 0.375, 5, 2, " 0.38"},
                      Worked{Form::F, 0.3, 5, 2, " 0.30"}, Worked{Form::F, 0.3, 3, 2, ".30"},
                      Worked{Form::F, -0.3, 5, 2, "-0.30"}, Worked{Form::F, -0.3, 4, 2, "-.30"},
                      Worked{Form::F, -0.3, 3, 2, "***"}, Worked{Form::F, -0.001, 5, 2, " 0.00"},
                      Worked{Form::F, 30.0, 7, 1, "   30.0"}, Worked{Form::F, 100.0, 5, 2, "*****"},
                      Worked{Form::F, 0.0, 5, 2, " 0.00"},
                      Worked{Form::F, -0.0004, 10, 3, "     0.000"},
                      Worked{Form::F, 1.0E7, 10, 3, "**********"},
                      Worked{Form::F, 2.5, 4, 0, "  2."}, Worked{Form::F, 3.5, 4, 0, "  4."},
                      Worked{Form::F, 1.0E300, 12, 2, "************"}));

INSTANTIATE_TEST_SUITE_P(
    Exponent, WorkedField,
    ::testing::Values(
        Worked{Form::E, 12346.0, 11, 3, "  0.123E+05"},
        Worked{Form::E, -0.5, 12, 3, "  -0.500E+00"},
        Worked{Form::E, 1.0, 16, 8, "  0.10000000E+01"},
        Worked{Form::E, 1.0e100, 12, 3, "   0.100+101"},
        Worked{Form::E, 1.0e-123, 12, 3, "   0.100-122"},
        Worked{Form::E, 0.99996, 12, 3, "   0.100E+01"},
        Worked{Form::E, 0.0, 12, 3, "   0.000E+00"},
        Worked{Form::E, 123456789.0, 16, 8, "  0.12345679E+09"},
        Worked{Form::E, -0.5, 9, 3, "-.500E+00"}, Worked{Form::E, -0.5, 10, 3, "-0.500E+00"},
        Worked{Form::E, -0.5, 8, 3, "********"}, Worked{Form::E, 0.5, 8, 3, ".500E+00"},
        Worked{Form::E, 1234.5, 11, 4, " 0.1234E+04"},
        Worked{Form::E, std::numeric_limits<double>::max(), 12, 3, "   0.180+309"},
        Worked{Form::E, std::numeric_limits<double>::denorm_min(), 12, 3, "   0.494-323"}));

INSTANTIATE_TEST_SUITE_P(ScaledExponent, WorkedField,
                         ::testing::Values(Worked{Form::PE, 12345.0, 11, 3, "  1.234E+04"},
                                           Worked{Form::PE, 12346.0, 11, 3, "  1.235E+04"},
                                           Worked{Form::PE, -12346.0, 10, 3, "-1.235E+04"},
                                           Worked{Form::PE, 0.0, 11, 3, "  0.000E+00"},
                                           Worked{Form::PE, -0.0, 11, 3, "  0.000E+00"},
                                           Worked{Form::PE, 9.9996, 11, 3, "  1.000E+01"},
                                           Worked{Form::PE, -1.0, 9, 3, "*********"},
                                           Worked{Form::PE, 1.0, 9, 3, "1.000E+00"},
                                           Worked{Form::PE, -1.0, 10, 3, "-1.000E+00"},
                                           Worked{Form::PE, 1.0e100, 11, 3, "  1.000+100"},
                                           Worked{Form::PE, 9.9996e99, 11, 3, "  1.000+100"},
                                           Worked{Form::PE, 1.0e-100, 11, 3, "  1.000-100"},
                                           Worked{Form::PE, 9.5, 8, 0, "  1.E+01"},
                                           Worked{Form::PE, 8.5, 8, 0, "  8.E+00"}));

// A value that is not a number has no digits; its name stands in the field.
INSTANTIATE_TEST_SUITE_P(
    NonFinite, WorkedField,
    ::testing::Values(
        Worked{Form::F, std::numeric_limits<double>::quiet_NaN(), 7, 1, "    NaN"},
        Worked{Form::E, -std::numeric_limits<double>::quiet_NaN(), 11, 3, "        NaN"},
        Worked{Form::PE, std::numeric_limits<double>::infinity(), 11, 3, "   Infinity"},
        Worked{Form::PE, -std::numeric_limits<double>::infinity(), 11, 3, "  -Infinity"},
        Worked{Form::F, std::numeric_limits<double>::infinity(), 8, 1, "Infinity"},
        Worked{Form::F, std::numeric_limits<double>::infinity(), 7, 1, "    Inf"},
        Worked{Form::F, -std::numeric_limits<double>::infinity(), 9, 1, "-Infinity"},
        Worked{Form::F, -std::numeric_limits<double>::infinity(), 8, 1, "    -Inf"},
        Worked{Form::E, -std::numeric_limits<double>::infinity(), 3, 1, "***"},
        Worked{Form::F, std::numeric_limits<double>::quiet_NaN(), 2, 1, "**"}));

TEST(TextField, PadsOnTheLeftOrCuts) {
  std::string out(4, '?');
  format::write_text_field("FORMATTED", 4, out.data());
  EXPECT_EQ(out, "FORM");
  out.assign(10, '?');
  format::write_text_field("SEQ", 10, out.data());
  EXPECT_EQ(out, "       SEQ");
  out.assign(3, '?');
  format::write_text_field("SEQ", 3, out.data());
  EXPECT_EQ(out, "SEQ");
}

// ---------------------------------------------------------------------------------------------
// Agreement with printf on random values.

std::string right_aligned(const std::string& text, std::size_t width) {
  if (text.size() > width) return std::string(width, '*');
  return std::string(width - text.size(), ' ') + text;
}

std::string exponent_text(int e) {
  char buf[16];
  if (std::abs(e) <= 99) {
    std::snprintf(buf, sizeof buf, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
  } else {
    std::snprintf(buf, sizeof buf, "%c%03d", e < 0 ? '-' : '+', std::abs(e));
  }
  return buf;
}

std::string non_finite_expected(double v, std::size_t width) {
  if (std::isnan(v)) return right_aligned("NaN", width);
  if (v > 0) return right_aligned(width >= 8 ? "Infinity" : "Inf", width);
  return right_aligned(width >= 9 ? "-Infinity" : "-Inf", width);
}

std::string expected_fixed(double v, std::size_t w, int d) {
  if (!std::isfinite(v)) return non_finite_expected(v, w);
  std::string s(400, '\0');
  s.resize(static_cast<std::size_t>(std::snprintf(s.data(), s.size(), "%.*f", d, std::fabs(v))));
  if (d == 0) s += '.';
  const bool shows_zero = s.find_first_of("123456789") == std::string::npos;
  const std::string sign = v < 0 && !shows_zero ? "-" : "";
  if (s.rfind("0.", 0) == 0 && sign.size() + s.size() > w) s.erase(0, 1);
  return right_aligned(sign + s, w);
}

// Exponent forms: printf gives d.ddd e±x; the field text is re-derived from it.
std::string expected_exponent(double v, std::size_t w, int d, bool scaled) {
  if (!std::isfinite(v)) return non_finite_expected(v, w);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", scaled ? d : d - 1, std::fabs(v));
  const std::string s = buf;
  const std::size_t e_at = s.find('e');
  std::string digits = s.substr(0, 1) + (e_at > 1 ? s.substr(2, e_at - 2) : "");
  int e = std::atoi(s.c_str() + e_at + 1);
  const std::string sign = v < 0 && v != 0.0 ? "-" : "";
  if (scaled)
    return right_aligned(sign + digits.substr(0, 1) + "." + digits.substr(1) + exponent_text(e), w);
  if (v != 0.0) ++e;
  std::string body = "." + digits + exponent_text(e);
  if (sign.size() + body.size() < w) body = "0" + body;
  return right_aligned(sign + body, w);
}

// One value through a one-field layout; the line must end in CR LF.
template <class L>
std::string through_layout(double v) {
  const typename L::Values values = [v]() -> typename L::Values {
    if constexpr (std::is_same_v<typename L::Values, format::ValueList<std::int32_t>>) {
      return {static_cast<std::int32_t>(v)};
    } else {
      return {v};
    }
  }();
  std::string out(L::size(values), '?');
  L::render(values, out.data());
  EXPECT_GE(out.size(), 2u);
  EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
  return out.substr(0, out.size() - 2);
}

struct FieldForm {
  const char* name;
  std::string (*through)(double);
  Form form;
  std::size_t width;
  int digits;
};

const FieldForm kForms[] = {
    {"I3", through_layout<format::Layout<"(I3)">>, Form::I, 3, 0},
    {"I4", through_layout<format::Layout<"(I4)">>, Form::I, 4, 0},
    {"I5", through_layout<format::Layout<"(I5)">>, Form::I, 5, 0},
    {"I8", through_layout<format::Layout<"(I8)">>, Form::I, 8, 0},
    {"I9", through_layout<format::Layout<"(I9)">>, Form::I, 9, 0},
    {"I10", through_layout<format::Layout<"(I10)">>, Form::I, 10, 0},
    {"F5.2", through_layout<format::Layout<"(F5.2)">>, Form::F, 5, 2},
    {"F7.1", through_layout<format::Layout<"(F7.1)">>, Form::F, 7, 1},
    {"F9.1", through_layout<format::Layout<"(F9.1)">>, Form::F, 9, 1},
    {"F10.3", through_layout<format::Layout<"(F10.3)">>, Form::F, 10, 3},
    {"F12.2", through_layout<format::Layout<"(F12.2)">>, Form::F, 12, 2},
    {"E10.3", through_layout<format::Layout<"(E10.3)">>, Form::E, 10, 3},
    {"E11.2", through_layout<format::Layout<"(E11.2)">>, Form::E, 11, 2},
    {"E11.3", through_layout<format::Layout<"(E11.3)">>, Form::E, 11, 3},
    {"E12.3", through_layout<format::Layout<"(E12.3)">>, Form::E, 12, 3},
    {"E16.8", through_layout<format::Layout<"(E16.8)">>, Form::E, 16, 8},
    {"1PE10.3", through_layout<format::Layout<"(1PE10.3)">>, Form::PE, 10, 3},
    {"1PE11.3", through_layout<format::Layout<"(1PE11.3)">>, Form::PE, 11, 3},
    {"1PE12.3", through_layout<format::Layout<"(1PE12.3)">>, Form::PE, 12, 3},
    {"1PE13.5", through_layout<format::Layout<"(1P,E13.5)">>, Form::PE, 13, 5},
    {"1PE15.5", through_layout<format::Layout<"(1PE15.5)">>, Form::PE, 15, 5},
};

std::string expected_for(const FieldForm& f, double v) {
  switch (f.form) {
    case Form::I: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%d", static_cast<int>(v));
      return right_aligned(buf, f.width);
    }
    case Form::F:
      return expected_fixed(v, f.width, f.digits);
    case Form::E:
      return expected_exponent(v, f.width, f.digits, false);
    case Form::PE:
      return expected_exponent(v, f.width, f.digits, true);
  }
  return {};
}

// Values that stress every path: raw bit patterns (every exponent, subnormals, non-finite),
// decimal magnitudes near the field's reach, values with few binary digits (which land on
// exact halfway points), and integers.
class RandomValues {
 public:
  explicit RandomValues(std::uint64_t seed) : gen_(seed) {}

  double next_real() {
    switch (gen_() % 5) {
      case 0: {
        double v;
        const std::uint64_t bits = gen_();
        std::memcpy(&v, &bits, sizeof v);
        return v;
      }
      case 1: {
        std::uniform_real_distribution<double> exponent(-12.0, 12.0);
        return signed_(std::pow(10.0, exponent(gen_)));
      }
      case 2: {
        // Odd multiples of a power of two: exact halfway cases of decimal rounding.
        const auto odd = static_cast<double>(2 * (gen_() % 500000) + 1);
        return signed_(std::ldexp(odd, -static_cast<int>(gen_() % 24)));
      }
      case 3: {
        // n.5 * 10^k with a few digits, exactly representable for k >= 0.
        const auto n = static_cast<double>(gen_() % 1000000);
        return signed_((n + 0.5) * std::pow(10.0, static_cast<double>(gen_() % 6)));
      }
      default: {
        std::uniform_real_distribution<double> exponent(-320.0, 308.0);
        return signed_(std::pow(10.0, exponent(gen_)));
      }
    }
  }

  double next_integer() {
    const auto bits = static_cast<std::uint32_t>(gen_());
    const int digits = static_cast<int>(gen_() % 11);
    const auto v = static_cast<std::int32_t>(bits) %
                   static_cast<std::int32_t>(std::pow(10.0, std::min(digits, 9)));
    return digits == 10 ? static_cast<double>(static_cast<std::int32_t>(bits)) : v;
  }

 private:
  double signed_(double v) { return gen_() % 2 ? -v : v; }
  std::mt19937_64 gen_;
};

class AgreesWithPrintf : public ::testing::TestWithParam<FieldForm> {
 protected:
  void SetUp() override { std::setlocale(LC_ALL, "C"); }
};

TEST_P(AgreesWithPrintf, OnManyRandomValues) {
  const FieldForm& f = GetParam();
  RandomValues values(std::hash<std::string>{}(f.name));
  int failures = 0;
  for (int i = 0; i < 40000 && failures < 10; ++i) {
    const double v = f.form == Form::I ? values.next_integer() : values.next_real();
    const std::string got = f.through(v);
    const std::string want = expected_for(f, v);
    if (got != want) {
      ++failures;
      ADD_FAILURE() << f.name << " of " << std::hexfloat << v << std::defaultfloat << " (" << v
                    << "): got '" << got << "', expected '" << want << "'";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFormInUse, AgreesWithPrintf, ::testing::ValuesIn(kForms),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

}  // namespace
