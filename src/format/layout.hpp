// Line layouts: the one way every line of the converter is written.
//
// A layout is written in the usual shorthand and becomes, at compile time, the code that
// writes its lines:
//     constexpr auto kLayerRow = format::layout<"(I4,1P,E11.3,E11.3,F7.1)">;
//     io::write(ECHO_UNIT, kLayerRow, {j, zbot, weight, angle});
// The braced values initialise the layout's own value list, one value per field in order:
// std::int32_t for I, double for F and E, text (std::string_view) for A. A malformed layout,
// a value of the wrong kind or a wrong number of values is a compile error. A layout driven
// with fewer or more values than it has fields (the fields left without a value are not
// written; surplus values start the layout again on a new line) says so in its declaration:
//     constexpr auto kParameters = format::layout<"(1X,1P,9E11.3)", 8>;
// A layout whose fields are all of one kind also takes a std::span of exactly that many.
//
// Items: 'literal' ('' for an apostrophe), nX, /, $ (last item only), 1P (scales the
// exponent fields after it, never a fixed field), and the value fields Iw, Fw.d, Ew.d, Aw, A,
// each value field with an optional repeat count in front (5E11.3, 1P6E11.3, 3I10).
//
// Lines end in CR LF; a line holds only what was written into it, so skipped columns at its
// end add nothing; a layout ending in $ leaves its last line without a line end.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "format/fields.hpp"

namespace format {

// ---------------------------------------------------------------------------------------------
// The shorthand as a template argument.

template <std::size_t N>
struct Shorthand {
  char text[N]{};
  constexpr Shorthand(const char (&s)[N]) { std::copy_n(s, N, text); }  // NOLINT: implicit
  constexpr std::string_view view() const { return {text, N - 1}; }
};

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

namespace layout_detail {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A malformed layout makes the compile-time parse, and so the compilation, fail here.
constexpr void require(bool well_formed) {
  if (!well_formed) throw "malformed line layout";
}

struct Item {
  Edit edit = Edit::Literal;
  std::uint16_t repeat = 1;  // value fields: this many consecutive fields of the same form
  std::uint16_t width = 0;   // w of a value field (0 for a bare A), n of nX
  std::uint8_t digits = 0;   // d of Fw.d and Ew.d
  std::string_view text;     // Literal: the text between the quotes, apostrophes still doubled

  constexpr bool takes_value() const { return edit >= Edit::Integer; }
};

inline constexpr std::size_t kMaxItems = 32;

struct Items {
  std::array<Item, kMaxItems> item{};
  std::size_t count = 0;

  constexpr void add(const Item& i) {
    require(count < kMaxItems);
    item[count++] = i;
  }
  constexpr bool has_value_field() const {
    for (std::size_t i = 0; i < count; ++i) {
      if (item[i].takes_value()) return true;
    }
    return false;
  }
  constexpr int field_count() const {
    int n = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (item[i].takes_value()) n += item[i].repeat;
    }
    return n;
  }
  constexpr bool ends_without_line_end() const {
    return count > 0 && item[count - 1].edit == Edit::NoLineEnd;
  }
};

consteval Items parse(std::string_view s) {
  Items items;
  require(s.size() >= 2 && s.front() == '(' && s.back() == ')');
  s = s.substr(1, s.size() - 2);
  std::size_t pos = 0;
  bool scaled = false;
  auto item_of = [](Edit edit) {
    Item item;
    item.edit = edit;
    return item;
  };
  auto number = [&]() {
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
      items.add(item_of(Edit::NewLine));
    } else if (c == '$') {
      ++pos;
      require(pos == s.size());
      items.add(item_of(Edit::NoLineEnd));
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
      Item literal = item_of(Edit::Literal);
      literal.text = s.substr(start, pos - start);
      items.add(literal);
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
      Item item;
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
      items.add(item);
    }
  }
  return items;
}

// One step of the compiled layout: a piece of fixed text (literals, the blanks of skips that
// something follows, line ends, merged into one piece), or one value field.
struct Step {
  bool is_field = false;
  std::size_t text_at = 0;  // fixed text: where in the layout's text
  std::size_t text_length = 0;
  Edit edit = Edit::Literal;  // a field: its form
  std::size_t width = 0;
  std::uint8_t digits = 0;
  std::size_t value = 0;   // a field: which value it shows
  std::size_t line = 0;    // a field: its line, 0 for the line the write begins in
  std::size_t column = 0;  // a field: its first column in that line, from 0 (a bare A before
                           // it on the line counts as no column)
};

// Receives the steps of a layout driven by its values: first only counting, then keeping.
struct StepCounter {
  std::size_t steps = 0;
  std::size_t chars = 0;
  bool in_text = false;

  constexpr void text(char) {
    chars += 1;
    if (!in_text) ++steps;
    in_text = true;
  }
  constexpr void field(const Item&, std::size_t) {
    ++steps;
    in_text = false;
  }
};

template <std::size_t Steps, std::size_t Chars>
struct Program {
  std::array<Step, Steps> step{};
  std::array<char, Chars + 1> chars{};
  std::size_t steps = 0;
  std::size_t length = 0;
  bool in_text = false;
  std::size_t line = 0;
  std::size_t column = 0;

  constexpr void text(char c) {
    if (!in_text) {
      step[steps].text_at = length;
      ++steps;
    }
    chars[length++] = c;
    ++step[steps - 1].text_length;
    in_text = true;
    if (c == '\n') {
      ++line;
      column = 0;
    } else if (c != '\r') {
      ++column;
    }
  }
  constexpr void field(const Item& item, std::size_t value) {
    Step& s = step[steps++];
    s.is_field = true;
    s.edit = item.edit;
    s.width = item.width;
    s.digits = item.digits;
    s.value = value;
    s.line = line;
    s.column = column;
    column += item.width;
    in_text = false;
  }

  constexpr std::size_t line_ends() const {
    return static_cast<std::size_t>(std::count(chars.begin(), chars.begin() + length, '\n'));
  }
};

// Drives the items with `values` values: literal text, skips and line breaks as they are met,
// each value field taking the next value; output stops at a value field no value is left for,
// and values left at the end of the layout start it again on a new line. The literal text is
// handed on unescaped.
template <class Sink>
consteval void drive(const Items& items, int values, Sink& sink) {
  require(values == 0 || items.has_value_field());
  int next = 0;
  std::size_t pending_blanks = 0;
  auto text = [&](std::string_view t) {
    for (; pending_blanks > 0; --pending_blanks) sink.text(' ');
    for (std::size_t i = 0; i < t.size(); ++i) {
      sink.text(t[i]);
      if (t[i] == '\'') ++i;
    }
  };
  auto line_end = [&]() {
    pending_blanks = 0;
    sink.text('\r');
    sink.text('\n');
  };
  // One pass over the items; false when it stopped at a value field for want of a value.
  auto pass = [&]() {
    for (std::size_t i = 0; i < items.count; ++i) {
      const Item& item = items.item[i];
      switch (item.edit) {
        case Edit::Literal: text(item.text); break;
        case Edit::Skip: pending_blanks += item.width; break;
        case Edit::NewLine: line_end(); break;
        case Edit::NoLineEnd: break;
        default:
          for (unsigned r = 0; r < item.repeat; ++r) {
            if (next == values) return false;
            text({});
            sink.field(item, static_cast<std::size_t>(next++));
          }
      }
    }
    return true;
  };
  while (pass() && next < values) line_end();
  if (!items.ends_without_line_end()) line_end();
}

consteval int driven_values(const Items& items, int values) {
  return values < 0 ? items.field_count() : values;
}

template <Shorthand S, int Values>
consteval StepCounter measure() {
  const Items items = parse(S.view());
  StepCounter counter;
  drive(items, driven_values(items, Values), counter);
  return counter;
}

template <Shorthand S, int Values>
consteval auto compile() {
  constexpr StepCounter size = measure<S, Values>();
  const Items items = parse(S.view());
  Program<size.steps, size.chars> program;
  drive(items, driven_values(items, Values), program);
  return program;
}

template <Edit E>
struct ValueOf {
  using type = std::string_view;
};
template <>
struct ValueOf<Edit::Integer> {
  using type = std::int32_t;
};
template <>
struct ValueOf<Edit::Fixed> {
  using type = double;
};
template <>
struct ValueOf<Edit::Exponent> {
  using type = double;
};
template <>
struct ValueOf<Edit::ScaledExponent> {
  using type = double;
};

}  // namespace layout_detail

// The values of one write, in field order. Built from a braced list whose elements must
// convert to the field kinds without narrowing, or from a span of exactly as many values of
// the one kind all fields share.
template <class... T>
class ValueList {
 public:
  constexpr ValueList(T... values) : values_(values...) {}  // NOLINT: implicit on purpose

  template <class U, std::size_t N>
    requires(N == sizeof...(T) && N > 0 && (std::is_same_v<T, U> && ...))
  constexpr ValueList(std::span<const U, N> values)  // NOLINT: implicit on purpose
      : values_(from_span(values, std::make_index_sequence<N>())) {}

  template <std::size_t I>
  constexpr const auto& get() const {
    return std::get<I>(values_);
  }

 private:
  template <class U, std::size_t N, std::size_t... I>
  static constexpr std::tuple<T...> from_span(std::span<const U, N> values,
                                              std::index_sequence<I...>) {
    return {values[I]...};
  }

  std::tuple<T...> values_;
};

// The number fields one or more writes showed as asterisks, their value being too wide for
// the field: how many, and where the first was and what it held.
struct AsteriskFields {
  std::size_t count = 0;
  std::size_t line = 0;    // the first's line: for one write, 0 is the line the write began in
  std::size_t column = 0;  // its first column, from 0 (from where the write began, when it
                           // continued an open line)
  std::size_t width = 0;
  Edit edit = Edit::Literal;
  std::uint8_t digits = 0;
  double value = 0.0;  // an integer field's value is exact here too

  constexpr bool any() const { return count != 0; }

  // Adds the fields of a later write, `lines_before` lines after the first line of these.
  constexpr void add(const AsteriskFields& later, std::size_t lines_before) {
    if (!later.any()) return;
    if (!any()) {
      *this = later;
      line += lines_before;
    } else {
      count += later.count;
    }
  }
};

// A layout compiled for a fixed number of values; All means one value per field.
inline constexpr int All = -1;

template <Shorthand S, int ValueCount = All>
class Layout {
  static constexpr auto kProgram = layout_detail::compile<S, ValueCount>();
  static constexpr std::size_t kSteps = kProgram.steps;

  template <std::size_t I>
  [[gnu::cold, gnu::noinline]] static void note_asterisks(double value,
                                                          AsteriskFields& asterisks) {
    constexpr layout_detail::Step step = kProgram.step[I];
    asterisks.add({1, step.line, step.column, step.width, step.edit, step.digits, value}, 0);
  }

  template <std::size_t V, std::size_t I = 0>
  static consteval Edit edit_of_value() {
    if constexpr (kProgram.step[I].is_field && kProgram.step[I].value == V) {
      return kProgram.step[I].edit;
    } else {
      return edit_of_value<V, I + 1>();
    }
  }

  template <std::size_t... V>
  static auto value_list(std::index_sequence<V...>)
      -> ValueList<typename layout_detail::ValueOf<edit_of_value<V>()>::type...>;

  static consteval std::size_t value_count() {
    std::size_t n = 0;
    for (std::size_t i = 0; i < kSteps; ++i) {
      if (kProgram.step[i].is_field) ++n;
    }
    return n;
  }

 public:
  using Values = decltype(value_list(std::make_index_sequence<value_count()>()));

  // Characters the lines take with these values: all but the bare A fields are known now.
  static constexpr std::size_t size(const Values& values) {
    return size_of(values, std::make_index_sequence<kSteps>());
  }

  // Line ends the lines take (a layout ending in $ leaves its last line open).
  static constexpr std::size_t kLineEnds = kProgram.line_ends();

  // Writes the lines at `out`, which has room for size(values) characters; returns the end.
  // The number fields shown as asterisks are added to `asterisks`.
  static char* render(const Values& values, char* out, AsteriskFields& asterisks) {
    return render_steps(values, out, asterisks, std::make_index_sequence<kSteps>());
  }
  static char* render(const Values& values, char* out) {
    AsteriskFields unused;
    return render(values, out, unused);
  }

 private:
  template <std::size_t I>
  static constexpr std::size_t step_size(const Values& values) {
    constexpr layout_detail::Step step = kProgram.step[I];
    if constexpr (!step.is_field) {
      return step.text_length;
    } else if constexpr (step.edit == Edit::Text && step.width == 0) {
      return values.template get<step.value>().size();
    } else {
      return step.width;
    }
  }

  template <std::size_t... I>
  static constexpr std::size_t size_of(const Values& values, std::index_sequence<I...>) {
    return (std::size_t{0} + ... + step_size<I>(values));
  }

  template <std::size_t I>
  static char* render_step(const Values& values, char* out, AsteriskFields& asterisks) {
    constexpr layout_detail::Step step = kProgram.step[I];
    if constexpr (!step.is_field) {
      std::memcpy(out, kProgram.chars.data() + step.text_at, step.text_length);
      return out + step.text_length;
    } else {
      const auto& value = values.template get<step.value>();
      if constexpr (step.edit == Edit::Integer) {
        integer_field<step.width>(value, out);
      } else if constexpr (step.edit == Edit::Fixed) {
        write_fixed_field(value, step.width, step.digits, out);
      } else if constexpr (step.edit == Edit::Exponent) {
        exponent_field<step.width, step.digits, false>(value, out);
      } else if constexpr (step.edit == Edit::ScaledExponent) {
        exponent_field<step.width, step.digits, true>(value, out);
      } else if constexpr (step.width == 0) {
        std::copy_n(value.data(), value.size(), out);
        return out + value.size();
      } else {
        write_text_field(value, step.width, out);
      }
      // A number never begins with an asterisk: the field's writer filled it with them.
      if constexpr (step.edit != Edit::Text) {
        if (out[0] == '*') [[unlikely]] note_asterisks<I>(static_cast<double>(value), asterisks);
      }
      return out + step.width;
    }
  }

  template <std::size_t... I>
  static char* render_steps(const Values& values, char* out, AsteriskFields& asterisks,
                            std::index_sequence<I...>) {
    ((out = render_step<I>(values, out, asterisks)), ...);
    return out;
  }
};

template <Shorthand S, int ValueCount = All>
inline constexpr Layout<S, ValueCount> layout{};

// Where the one line of a layout puts its fixed text and its fields, for reading such lines
// back by their columns. Columns count from 0; a field's columns hold '\0' in `text`.
struct FieldPlace {
  std::size_t column = 0;
  std::size_t width = 0;
  Edit edit = Edit::Literal;
  std::uint8_t digits = 0;
};

struct LineShape {
  static constexpr std::size_t kMaxLength = 160;
  static constexpr std::size_t kMaxFields = 16;
  std::array<char, kMaxLength> text{};
  std::size_t length = 0;
  std::array<FieldPlace, kMaxFields> field{};
  std::size_t fields = 0;

  constexpr bool is_text_column(std::size_t column) const { return text[column] != '\0'; }
};

namespace layout_detail {

struct ShapeSink {
  LineShape shape;
  bool line_ended = false;

  constexpr void text(char c) {
    if (c == '\r') return;
    require(!line_ended);  // a shape is of one line
    if (c == '\n') {
      line_ended = true;
      return;
    }
    require(shape.length < LineShape::kMaxLength);
    shape.text[shape.length++] = c;
  }
  constexpr void field(const Item& item, std::size_t) {
    require(item.width > 0 && shape.fields < LineShape::kMaxFields);  // a bare A has no columns
    require(shape.length + item.width <= LineShape::kMaxLength);
    shape.field[shape.fields++] = {shape.length, item.width, item.edit, item.digits};
    for (std::size_t i = 0; i < item.width; ++i) shape.text[shape.length++] = '\0';
  }
};

}  // namespace layout_detail

template <Shorthand S, int ValueCount>
consteval LineShape line_shape(const Layout<S, ValueCount>&) {
  const layout_detail::Items items = layout_detail::parse(S.view());
  layout_detail::ShapeSink sink;
  layout_detail::drive(items, layout_detail::driven_values(items, ValueCount), sink);
  return sink.shape;
}

template <class L>
concept CompiledLayout = requires(const typename L::Values& values, char* out,
                                  AsteriskFields& asterisks) {
  { L::size(values) } -> std::same_as<std::size_t>;
  { L::render(values, out) } -> std::same_as<char*>;
  { L::render(values, out, asterisks) } -> std::same_as<char*>;
  { L::kLineEnds } -> std::convertible_to<std::size_t>;
};

}  // namespace format
