#include "markup.hpp"

#include <charconv>
#include <cstdint>

namespace view {

std::size_t utf8_sequence(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1FU;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0FU;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07U;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0U) != 0x80U) return 0;
    code = (code << 6U) | (next & 0x3FU);
  }
  // Overlong forms, surrogates and values beyond Unicode are not valid UTF-8.
  const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c < 0x20 || c == 0x7F) {
      out += '?';
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = utf8_sequence(text, i); length != 0) {
      out.append(text.substr(i, length));
      i += length - 1;
    } else if (c < 0xA0) {
      out += '?';  // Latin-1 control characters
    } else {
      out += "&#" + std::to_string(c) + ";";
    }
  }
  return out;
}

std::string shortest(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return {buffer, result.ptr};
}

std::string number_list(const std::vector<double>& values) {
  std::string list;
  for (const double v : values) {
    if (!list.empty()) list += ", ";
    list += shortest(v);
  }
  return list.empty() ? "none" : list;
}

std::string readable(double value) {
  constexpr int kSignificantDigits = 6;
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, kSignificantDigits);
  return {buffer, result.ptr};
}

void append_pixel(std::string& out, double value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  out.append(buffer, result.ptr);
}

}  // namespace view
