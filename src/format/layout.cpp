#include "format/layout.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "format/real_fields.hpp"

namespace io {
namespace {

// A layout used with the wrong values is a fault in the calling code, not in the data: stop at
// once rather than write a wrong line.
[[noreturn]] void layout_fault(std::string_view what) {
  constexpr std::string_view kPrefix = "zadaza2krano: line layout fault: ";
  char message[160];
  const std::size_t length = std::min(what.size(), sizeof message - kPrefix.size() - 1);
  std::copy(kPrefix.begin(), kPrefix.end(), message);
  std::copy_n(what.begin(), length, message + kPrefix.size());
  message[kPrefix.size() + length] = '\n';
  [[maybe_unused]] const ssize_t ignored =
      ::write(STDERR_FILENO, message, kPrefix.size() + length + 1);
  std::abort();
}

// The lines under construction, written straight into the caller's buffer. Skipped columns
// are only materialised when something is written after them, so a line is as long as its
// furthest written column.
class LineWriter {
 public:
  LineWriter(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {}

  // Room for `width` characters at the current column; the column moves past them.
  char* claim(std::size_t width) {
    if (capacity_ - used_ < skipped_ + width) layout_fault("output buffer too small");
    std::fill_n(out_ + used_, skipped_, ' ');
    char* field = out_ + used_ + skipped_;
    used_ += skipped_ + width;
    skipped_ = 0;
    return field;
  }

  void skip(std::size_t columns) { skipped_ += columns; }

  void end_line() {
    skipped_ = 0;
    char* end = claim(2);
    end[0] = '\r';
    end[1] = '\n';
  }

  std::size_t size() const { return used_; }

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  std::size_t skipped_ = 0;
};

// A literal holds each apostrophe written twice.
void write_literal(std::string_view quoted, LineWriter& line) {
  const auto doubled = static_cast<std::size_t>(std::count(quoted.begin(), quoted.end(), '\'')) / 2;
  char* out = line.claim(quoted.size() - doubled);
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    *out++ = quoted[i];
    if (quoted[i] == '\'') ++i;
  }
}

void perform_position_item(const LayoutItem& item, LineWriter& line) {
  switch (item.edit) {
    case Edit::Literal:
      write_literal(item.text, line);
      break;
    case Edit::Skip:
      line.skip(item.width);
      break;
    case Edit::NewLine:
      line.end_line();
      break;
    default:  // NoLineEnd acts only at the end of the layout
      break;
  }
}

void require_kind(const Value& value, Value::Kind kind) {
  if (value.kind() != kind) layout_fault("value of the wrong kind for its field");
}

void write_value_field(const LayoutItem& item, const Value& value, LineWriter& line) {
  switch (item.edit) {
    case Edit::Integer:
      require_kind(value, Value::Kind::Integer);
      format::write_integer_field(value.integer(), item.width, line.claim(item.width));
      break;
    case Edit::Fixed:
      require_kind(value, Value::Kind::Real);
      format::write_fixed_field(value.real(), item.width, item.digits, line.claim(item.width));
      break;
    case Edit::Exponent:
      require_kind(value, Value::Kind::Real);
      format::write_exponent_field(value.real(), item.width, item.digits, line.claim(item.width));
      break;
    case Edit::ScaledExponent:
      require_kind(value, Value::Kind::Real);
      format::write_scaled_exponent_field(value.real(), item.width, item.digits, line.claim(item.width));
      break;
    default: {
      require_kind(value, Value::Kind::Text);
      const std::size_t width = item.width > 0 ? item.width : value.text().size();
      format::write_text_field(value.text(), width, line.claim(width));
      break;
    }
  }
}

// One pass over the items. Returns false when it stopped at a value field for want of a value.
bool run_items(const Layout& layout, std::span<const Value> values, std::size_t& next,
               LineWriter& line) {
  for (const LayoutItem& item : layout.items()) {
    if (!item.takes_value()) {
      perform_position_item(item, line);
      continue;
    }
    for (unsigned r = 0; r < item.repeat; ++r) {
      if (next == values.size()) return false;
      write_value_field(item, values[next++], line);
    }
  }
  return true;
}

bool has_value_field(const Layout& layout) {
  return std::any_of(layout.items().begin(), layout.items().end(),
                     [](const LayoutItem& item) { return item.takes_value(); });
}

}  // namespace

std::size_t format_layout(const Layout& layout, std::span<const Value> values, char* out,
                          std::size_t capacity) {
  if (!values.empty() && !has_value_field(layout))
    layout_fault("values for a layout without fields");
  LineWriter line(out, capacity);
  std::size_t next = 0;
  // Values left at the end of the layout start it again on a new line.
  while (run_items(layout, values, next, line) && next < values.size()) line.end_line();
  if (!layout.ends_without_line_end()) line.end_line();
  return line.size();
}

}  // namespace io
