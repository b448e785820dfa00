#include "io/answers.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

#include "io/text.hpp"
#include "io/units.hpp"
#include "os/files.hpp"

namespace io {
namespace answer_parsing {
namespace {

constexpr std::size_t kMaxTokenLength = 512;

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ','; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

std::size_t count_digits(std::string_view s, std::size_t from) {
  std::size_t n = 0;
  while (from + n < s.size() && is_digit(s[from + n])) ++n;
  return n;
}

std::string_view without_plus(std::string_view token) {
  return !token.empty() && token.front() == '+' ? token.substr(1) : token;
}

// The parts of a token that has the form of a real.
struct RealForm {
  std::string_view whole;     // digits before the point
  std::string_view fraction;  // digits after the point
  std::string_view power;     // the signed power of ten, without its letter; empty if none
};

bool split_real(std::string_view token, RealForm& form) {
  std::size_t pos = !token.empty() && (token[0] == '+' || token[0] == '-') ? 1 : 0;
  form.whole = token.substr(pos, count_digits(token, pos));
  pos += form.whole.size();
  if (pos < token.size() && token[pos] == '.') {
    ++pos;
    form.fraction = token.substr(pos, count_digits(token, pos));
    pos += form.fraction.size();
  }
  if (form.whole.empty() && form.fraction.empty()) return false;
  if (pos == token.size()) return true;
  if (!is_exponent_letter(token[pos])) return false;
  form.power = token.substr(++pos);
  const std::size_t sign = !form.power.empty() && (form.power[0] == '+' || form.power[0] == '-');
  const std::size_t digits = count_digits(form.power, sign);
  return digits > 0 && sign + digits == form.power.size();
}

// Whether a value the real type cannot hold lies beyond its largest value (rather than below
// its smallest): the decimal position of the first significant digit decides.
bool beyond_largest(const RealForm& form) {
  // A power this far out decides alone: no token is long enough to bring the value back, and
  // the sums below cannot overflow.
  constexpr long long kDecidingPower = 1'000'000;
  static_assert(kDecidingPower > 2 * kMaxTokenLength);
  long long power = 0;
  const std::string_view digits = without_plus(form.power);
  if (!digits.empty() && std::from_chars(digits.data(), digits.data() + digits.size(), power).ec != std::errc{}) {
    return digits.front() != '-';
  }
  power = std::clamp(power, -kDecidingPower, kDecidingPower);
  const std::size_t leading = form.whole.find_first_not_of('0');
  if (leading != std::string_view::npos) {
    return power + static_cast<long long>(form.whole.size() - leading) > 0;
  }
  const std::size_t zeros = form.fraction.find_first_not_of('0');
  return power - static_cast<long long>(zeros) > 0;
}

}  // namespace

FirstItem first_item(std::string_view line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  if (line[start] == '/') return {LineItem::Slash, {}};
  if (line[start] == ',') return {LineItem::Null, {}};
  std::size_t end = start;
  while (end < line.size() && !is_separator(line[end]) && line[end] != '/') ++end;
  return {LineItem::Value, line.substr(start, end - start)};
}

bool parse_integer(std::string_view token, std::int32_t& value) {
  const std::string_view number = without_plus(token);
  const std::size_t sign =
      number.size() != token.size() || number.empty() || number[0] != '-' ? 0 : 1;
  if (number.size() == sign || count_digits(number, sign) != number.size() - sign) return false;
  std::int32_t parsed = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
  if (result.ec != std::errc{}) return false;
  value = parsed;
  return true;
}

bool parse_real(std::string_view token, double& value) {
  RealForm form;
  if (token.size() > kMaxTokenLength || !split_real(token, form)) return false;
  // The exponent letter D is not known to from_chars; write the number in its own words.
  std::array<char, kMaxTokenLength + 1> text{};
  std::string_view mantissa = without_plus(token.substr(0, token.size() - form.power.size()));
  std::size_t length = mantissa.size();
  std::copy(mantissa.begin(), mantissa.end(), text.begin());
  if (!form.power.empty()) {
    text[length - 1] = 'e';
    std::copy(form.power.begin(), form.power.end(), text.begin() + length);
    length += form.power.size();
  }
  double parsed = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + length, parsed);
  if (result.ec == std::errc::result_out_of_range) {
    if (beyond_largest(form)) return false;
    parsed = token.front() == '-' ? -0.0 : 0.0;
  } else if (result.ec != std::errc{} || result.ptr != text.data() + length) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace answer_parsing

namespace {

// Console lines are read through one fixed buffer, room for the longest file name answer with
// its line end. A line longer than the buffer keeps its first part; the rest of it is passed
// over.
constexpr std::size_t kConsoleBufferSize = 8192;

struct ConsoleInput {
  std::array<char, kConsoleBufferSize> data;
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t consumed = 0;   // the line handed out last, released on the next read
  bool passing_over = false;  // inside the rest of a line that was too long
  bool line_cut = false;      // the line handed out last was the first part of a longer one
};

ConsoleInput console;

// More characters from standard input behind those held; false at the end of input.
bool fill_console_buffer() {
  if (console.begin > 0) {
    std::copy(console.data.begin() + static_cast<std::ptrdiff_t>(console.begin),
              console.data.begin() + static_cast<std::ptrdiff_t>(console.end),
              console.data.begin());
    console.end -= console.begin;
    console.begin = 0;
  }
  std::size_t n = 0;
  if (os::read_some(os::standard_input(), console.data.data() + console.end,
                    console.data.size() - console.end, n)) {
    fail_io(kConsoleIn, "console input refused");
  }
  console.end += n;
  return n > 0;
}

std::string_view held() {
  return {console.data.data() + console.begin, console.end - console.begin};
}

void pass_over_rest_of_long_line() {
  while (console.passing_over) {
    const std::size_t lf = held().find('\n');
    if (lf != std::string_view::npos) {
      console.begin += lf + 1;
      console.passing_over = false;
    } else {
      console.begin = console.end;
      if (!fill_console_buffer()) console.passing_over = false;
    }
  }
}

// The next typed line without its line end; false at the end of console input.
bool next_console_line(std::string_view& line) {
  console.begin += console.consumed;
  console.consumed = 0;
  pass_over_rest_of_long_line();
  std::size_t lf = held().find('\n');
  while (lf == std::string_view::npos && console.end - console.begin < console.data.size()) {
    const std::size_t searched = console.end - console.begin;
    if (!fill_console_buffer()) break;
    lf = held().find('\n', searched);
  }
  if (lf == std::string_view::npos) {
    if (held().empty()) return false;
    line = held();  // the last line without a line end, or the first part of a long one
    console.consumed = line.size();
    console.passing_over = console.end - console.begin == console.data.size();
  } else {
    line = held().substr(0, lf);
    console.consumed = lf + 1;
  }
  console.line_cut = console.passing_over;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

struct PresetLines {
  std::span<const std::string_view> lines;
  std::size_t next = 0;
  bool active = false;
};

PresetLines preset;

bool next_answer_line(std::string_view& line) {
  if (!preset.active) return next_console_line(line);
  if (preset.next == preset.lines.size()) return false;
  line = preset.lines[preset.next++];
  return true;
}

std::string_view read_console_line() {
  flush_all();
  std::string_view line;
  if (!next_answer_line(line)) fail_io(kConsoleIn, "end of console input");
  return line;
}

// At most kShown characters of `text`, and "..." in `cut` when it had more.
struct Shortened {
  static constexpr std::size_t kShown = 40;
  std::string_view shown;
  std::string_view cut;
  explicit Shortened(std::string_view text)
      : shown(text.substr(0, kShown)), cut(text.size() > kShown ? "..." : "") {}
};

[[noreturn]] void fail_unreadable(std::string_view token, std::string_view question) {
  const Shortened number(token);
  if (question.empty()) fail_io(kConsoleIn, {"unreadable number '", number.shown, number.cut, "'"});
  const Shortened asked(question);
  fail_io(kConsoleIn, {"unreadable number '", number.shown, number.cut, "' for \"", asked.shown,
                       asked.cut, "\""});
}

// The text typed after the value that was read, without its surrounding blanks.
std::string_view left_over(std::string_view line, std::string_view token) {
  const auto after = static_cast<std::size_t>(token.data() - line.data()) + token.size();
  const std::string_view rest = line.substr(after);
  const std::size_t first = rest.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return rest.substr(first, rest.find_last_not_of(" \t") - first + 1);
}

template <typename Number>
void warn_ignored(std::string_view question, Number value, std::string_view ignored) {
  NumberText digits;
  const Shortened rest(ignored);
  report_error({"warning: answer to \"", question, "\" read as ", digits.of(value),
                ", the rest \"", rest.shown, rest.cut,
                "\" ignored; type a decimal point, not a comma"});
}

template <typename Number>
void read_number(Number& variable, bool (*parse)(std::string_view, Number&),
                 std::string_view question) {
  for (;;) {
    const std::string_view line = read_console_line();
    const answer_parsing::FirstItem first = answer_parsing::first_item(line);
    switch (first.item) {
      case answer_parsing::LineItem::None:
        continue;
      case answer_parsing::LineItem::Slash:
      case answer_parsing::LineItem::Null:
        return;
      case answer_parsing::LineItem::Value:
        if (!parse(first.token, variable)) fail_unreadable(first.token, question);
        if (const std::string_view ignored = left_over(line, first.token); !ignored.empty()) {
          warn_ignored(question, variable, ignored);
        }
        return;
    }
  }
}

}  // namespace

void preset_answers(std::span<const std::string_view> lines) { preset = {lines, 0, true}; }

bool answers_are_preset() { return preset.active; }

void forget_console_input() {
  console = ConsoleInput{};
  preset = PresetLines{};
}

void read_text_answer(std::span<char> variable) {
  const std::string_view line = read_console_line();
  const std::size_t kept = std::min(line.size(), variable.size());
  std::copy_n(line.begin(), kept, variable.begin());
  std::fill(variable.begin() + static_cast<std::ptrdiff_t>(kept), variable.end(), ' ');
}

void read_whole_text_answer(std::span<char> variable, std::string_view question) {
  const std::string_view line = read_console_line();
  const std::size_t end = line.find_last_not_of(' ');
  const std::size_t length = end == std::string_view::npos ? 0 : end + 1;
  if (console.line_cut || length > variable.size()) {
    NumberText digits;
    fail_io(kConsoleIn, {"answer refused, longer than ", digits.of(variable.size()),
                         " characters, to \"", question.substr(0, 80), "\""});
  }
  std::copy_n(line.begin(), length, variable.begin());
  std::fill(variable.begin() + static_cast<std::ptrdiff_t>(length), variable.end(), ' ');
}

void read_number_answer(double& variable, std::string_view question) {
  read_number<double>(variable, answer_parsing::parse_real, question);
}

void read_number_answer(std::int32_t& variable, std::string_view question) {
  read_number<std::int32_t>(variable, answer_parsing::parse_integer, question);
}

}  // namespace io
