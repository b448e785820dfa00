// Line layouts: the one way every line of the converter is written.
//
// A layout is written in the usual shorthand, for example
//     constexpr io::Layout kLayerRow{"(I4,1P,E11.3,E11.3,F7.1)"};
// and parsed at compile time; a layout that does not parse is a compile error.
//
// Items: 'literal' ('' for an apostrophe), nX, /, $ (last item only), 1P (scales the
// exponent fields after it, never a fixed field), and the value fields Iw, Fw.d, Ew.d, Aw, A,
// each value field with an optional repeat count in front (5E11.3, 1P6E11.3, 3I10).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace io {

enum class Edit : std::uint8_t {
  Literal,         // text copied as it stands
  Skip,            // nX
  NewLine,         // /
  NoLineEnd,       // $ as the last item
  Integer,         // Iw
  Fixed,           // Fw.d
  Exponent,        // Ew.d
  ScaledExponent,  // Ew.d after 1P
  Text,            // Aw, or A when width is 0
};

struct LayoutItem {
  Edit edit = Edit::Literal;
  std::uint16_t repeat = 1;  // value fields: this many consecutive fields of the same form
  std::uint16_t width = 0;   // w of a value field (0 for a bare A), n of nX
  std::uint8_t digits = 0;   // d of Fw.d and Ew.d
  std::string_view text;     // Literal: the text between the quotes, apostrophes still doubled

  constexpr bool takes_value() const { return edit >= Edit::Integer; }
};

class Layout {
 public:
  static constexpr std::size_t kMaxItems = 32;

  consteval Layout(const char* shorthand) { parse(shorthand); }  // NOLINT: implicit on purpose

  constexpr std::span<const LayoutItem> items() const { return {items_.data(), count_}; }
  constexpr bool ends_without_line_end() const {
    return count_ > 0 && items_[count_ - 1].edit == Edit::NoLineEnd;
  }

 private:
  consteval void parse(std::string_view s);
  consteval void add(const LayoutItem& item);

  std::array<LayoutItem, kMaxItems> items_{};
  std::size_t count_ = 0;
};

// A value for one field: a 32-bit integer (I), a 64-bit real (F, E) or fixed-length text (A),
// whose whole length, blank padding included, is the value.
class Value {
 public:
  enum class Kind : std::uint8_t { Integer, Real, Text };

  constexpr Value(std::int32_t v) : kind_(Kind::Integer), integer_(v) {}  // NOLINT
  constexpr Value(double v) : kind_(Kind::Real), real_(v) {}              // NOLINT
  constexpr Value(std::string_view v) : kind_(Kind::Text), text_(v) {}   // NOLINT
  constexpr Value(const char* v) : kind_(Kind::Text), text_(v) {}        // NOLINT

  constexpr Kind kind() const { return kind_; }
  constexpr std::int32_t integer() const { return integer_; }
  constexpr double real() const { return real_; }
  constexpr std::string_view text() const { return text_; }

 private:
  Kind kind_;
  std::int32_t integer_ = 0;
  double real_ = 0.0;
  std::string_view text_;
};

// Longest text one call of format_layout may produce.
inline constexpr std::size_t kMaxRenderedChars = 8192;

// Renders the layout driven by the values into out: lines separated by CR LF, the last line
// ended by CR LF unless the layout ends in $. Returns the number of characters written.
// A value of the wrong kind for its field, or more than `capacity` characters, is a
// programming fault and ends the program.
std::size_t format_layout(const Layout& layout, std::span<const Value> values, char* out,
                          std::size_t capacity);

// ---------------------------------------------------------------------------------------------
// Compile-time parser.

namespace layout_detail {
consteval bool is_digit(char c) { return c >= '0' && c <= '9'; }
// A malformed layout makes the compile-time parse, and so the compilation, fail here.
consteval void require(bool well_formed) {
  if (!well_formed) throw "malformed line layout";
}
}  // namespace layout_detail

consteval void Layout::add(const LayoutItem& item) {
  layout_detail::require(count_ < kMaxItems);
  items_[count_++] = item;
}

consteval void Layout::parse(std::string_view s) {
  using layout_detail::is_digit;
  using layout_detail::require;
  require(s.size() >= 2 && s.front() == '(' && s.back() == ')');
  s = s.substr(1, s.size() - 2);
  std::size_t pos = 0;
  bool scaled = false;
  auto item_of = [](Edit edit) consteval {
    LayoutItem item;
    item.edit = edit;
    return item;
  };
  auto number = [&]() consteval {
    require(pos < s.size() && is_digit(s[pos]));
    unsigned n = 0;
    while (pos < s.size() && is_digit(s[pos])) n = n * 10 + unsigned(s[pos++] - '0');
    return n;
  };
  while (pos < s.size()) {
    const char c = s[pos];
    if (c == ',') {
      ++pos;
    } else if (c == '/') {
      ++pos;
      add(item_of(Edit::NewLine));
    } else if (c == '$') {
      ++pos;
      require(pos == s.size());
      add(item_of(Edit::NoLineEnd));
    } else if (c == '\'') {
      const std::size_t start = ++pos;
      for (;;) {
        require(pos < s.size());
        if (s[pos] == '\'') {
          if (pos + 1 < s.size() && s[pos + 1] == '\'') {
            pos += 2;
            continue;
          }
          break;
        }
        ++pos;
      }
      LayoutItem literal = item_of(Edit::Literal);
      literal.text = s.substr(start, pos - start);
      add(literal);
      ++pos;
    } else {
      unsigned count = is_digit(c) ? number() : 1;
      if (pos < s.size() && s[pos] == 'P') {  // kP scale factor, alone or before a field
        require(count == 1);
        scaled = true;
        ++pos;
        if (pos >= s.size() || s[pos] == ',') continue;
        count = is_digit(s[pos]) ? number() : 1;
      }
      require(pos < s.size());
      const char kind = s[pos++];
      LayoutItem item;
      item.repeat = static_cast<std::uint16_t>(count);
      switch (kind) {
        case 'X':
          item = item_of(Edit::Skip);
          item.width = static_cast<std::uint16_t>(count);
          break;
        case 'I':
          item.edit = Edit::Integer;
          item.width = static_cast<std::uint16_t>(number());
          break;
        case 'A':
          item.edit = Edit::Text;
          if (pos < s.size() && is_digit(s[pos])) item.width = static_cast<std::uint16_t>(number());
          break;
        case 'F':
        case 'E': {
          item.edit = kind == 'F' ? Edit::Fixed : (scaled ? Edit::ScaledExponent : Edit::Exponent);
          item.width = static_cast<std::uint16_t>(number());
          require(pos < s.size() && s[pos] == '.');
          ++pos;
          const unsigned digits = number();
          require(digits <= 255);
          item.digits = static_cast<std::uint8_t>(digits);
          require(kind == 'F' || scaled || item.digits > 0);  // Ew.0 shows no digit at all
          break;
        }
        default:
          require(false);
      }
      require(item.repeat > 0 && (item.width > 0 || kind == 'A'));
      add(item);
    }
  }
}

}  // namespace io
