#include "description.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zadaza_make {
namespace {

// A NaN other than the plain quiet ones is written "nan(0x" + its 16 hex digits + ")", so that
// its bits read back.
constexpr std::string_view kNanBits = "nan(0x";

bool read_nan_bits(const std::string& word, double& v) {
  if (!word.starts_with(kNanBits) || !word.ends_with(")")) return false;
  std::uint64_t bits = 0;
  const char* first = word.data() + kNanBits.size();
  const char* last = word.data() + word.size() - 1;
  const auto [end, error] = std::from_chars(first, last, bits, 16);
  if (error != std::errc{} || end != last) return false;
  v = std::bit_cast<double>(bits);
  return std::isnan(v);
}

class LineReader {
 public:
  LineReader(const std::string& line, int number) : in_(line), number_(number) {}

  double real() {
    std::string word;
    if (!(in_ >> word)) fail("a number is missing");
    double v = 0.0;
    if (read_nan_bits(word, v)) return v;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (error != std::errc{} || end != word.data() + word.size()) fail("not a number: " + word);
    return v;
  }
  int integer() {
    std::string word;
    if (!(in_ >> word)) fail("an integer is missing");
    int v = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (error != std::errc{} || end != word.data() + word.size()) fail("not an integer: " + word);
    return v;
  }
  std::string word() {
    std::string w;
    in_ >> w;
    return w;
  }
  bool at_end() {
    in_ >> std::ws;
    return in_.eof();
  }
  std::string rest() {
    std::string r;
    std::getline(in_ >> std::ws, r);
    return r;
  }
  // The rest of the line after the one blank that ends the keyword, blanks kept.
  std::string rest_as_is() {
    std::string r;
    std::getline(in_, r);
    return r.empty() ? r : r.substr(1);
  }
  int number() const { return number_; }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("line " + std::to_string(number_) + ": " + what);
  }

 private:
  std::istringstream in_;
  int number_;
};

// The highest curve slot named so far and the line that named it, checked against the
// diameters once the whole description is read (the diameters line may come later).
struct SlotUse {
  int slot = 0;
  int line = 0;
};

struct Reading {
  Checking checking;
  SlotUse highest_slot;
};

Curve read_curve(LineReader& r, Checking checking) {
  Curve c;
  c.npts = r.integer();
  c.iorg = r.integer();
  for (double& p : c.par) p = r.real();
  while (!r.at_end()) {
    const double stress = r.real();
    const double displacement = r.real();
    c.points.emplace_back(stress, displacement);
  }
  if (c.points.size() > kCurvePoints) {
    r.fail("more than " + std::to_string(kCurvePoints) + " points");
  }
  if (checking == Checking::Unchecked) return c;
  if (c.npts > kCurvePoints) {
    r.fail("point count " + std::to_string(c.npts) + " is above " + std::to_string(kCurvePoints));
  }
  if (c.points.size() < static_cast<std::size_t>(std::max(c.npts, 0))) {
    r.fail("point count " + std::to_string(c.npts) + " but " + std::to_string(c.points.size()) +
           " pairs given");
  }
  return c;
}

// A label that plain text cannot carry (leading blanks, control characters) is written with
// \xHH for such bytes and \\ for a backslash; the line's one blank after the keyword is not
// part of it.
bool plain_label(const std::string& label) {
  if (!label.empty() && label.front() == ' ') return false;
  return std::none_of(label.begin(), label.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
  });
}

std::string escaped_label(const std::string& label) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : label) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (b < 0x20 || b == 0x7F || (c == ' ' && out.empty())) {
      out += "\\x";
      out += kHex[b >> 4U];
      out += kHex[b & 0xFU];
    } else {
      out += c;
    }
  }
  return out;
}

std::string unescaped_label(const std::string& text, LineReader& r) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else {
      unsigned value = 0;
      const bool hex = i + 4 <= text.size() && text[i + 1] == 'x';
      const char* last = text.data() + i + 4;
      if (!hex || std::from_chars(text.data() + i + 2, last, value, 16).ptr != last) {
        r.fail("a backslash in an escaped label is \\\\ or \\x and two hex digits");
      }
      out += static_cast<char>(value);
      i += 3;
    }
  }
  return out;
}

// An escaped label may hold a carriage return on purpose.
void check_label(const std::string& label, bool escaped, LineReader& r) {
  if (!escaped && label.find('\r') != std::string::npos) {
    r.fail("the label holds a carriage return (is the description saved with CR LF line ends?)");
  }
  if (label.size() > kLabelLength) {
    r.fail("the label has " + std::to_string(label.size()) + " characters, at most " +
           std::to_string(kLabelLength) + " fit");
  }
}

SlotCurves& slot_of(ToolModel& m, LineReader& r, Reading& reading) {
  if (m.layers.empty()) r.fail("a curve before the first layer");
  const int slot = r.integer();
  if (slot < 1) r.fail("slot numbers start at 1");
  if (slot > reading.highest_slot.slot) reading.highest_slot = {slot, r.number()};
  auto& slots = m.layers.back().slots;
  if (slots.size() < static_cast<std::size_t>(slot)) slots.resize(static_cast<std::size_t>(slot));
  return slots[static_cast<std::size_t>(slot - 1)];
}

void read_line(ToolModel& m, LineReader& r, Reading& reading) {
  const std::string key = r.word();
  if (key.empty() || key[0] == '#') return;
  if (key == "label" || key == "label-escaped") {
    const bool escaped = key == "label-escaped";
    m.label = escaped ? unescaped_label(r.rest_as_is(), r) : r.rest();
    if (reading.checking == Checking::Sound) check_label(m.label, escaped, r);
    return;
  }
  if (key == "unchecked") {
    reading.checking = Checking::Unchecked;
  } else if (key == "generation") {
    const std::string g = r.word();
    if (g != "new" && g != "old") r.fail("generation is new or old");
    m.old_generation = g == "old";
  } else if (key == "layer") {
    Layer layer;
    layer.zbot = r.real();
    for (double& v : layer.soil) v = r.real();
    m.layers.push_back(layer);
  } else if (key == "py") {
    SlotCurves& slot = slot_of(m, r, reading);
    slot.py = read_curve(r, reading.checking);
  } else if (key == "tz") {
    SlotCurves& slot = slot_of(m, r, reading);
    slot.tz = read_curve(r, reading.checking);
  } else if (key == "qz") {
    SlotCurves& slot = slot_of(m, r, reading);
    slot.qz = read_curve(r, reading.checking);
  } else if (key == "diameters") {
    m.diameters.clear();
    while (!r.at_end()) m.diameters.push_back(r.real());
  } else if (key == "scour") {
    m.scour_z = r.real();
  } else if (key == "modulus") {
    m.soil_e0 = r.real();
    m.soil_ez = r.real();
    m.soil_nu = r.real();
  } else if (key == "dsp") {
    DisplacementRow row;
    row.z = r.real();
    std::size_t n = 0;
    while (!r.at_end()) {
      if (n == row.values.size()) {
        r.fail("more than " + std::to_string(kDisplacementValues) + " displacement values");
      }
      row.values[n++] = r.real();
    }
    m.dsp.push_back(row);
  } else if (key == "groups") {
    m.groups = r.integer();
  } else if (key == "counts") {
    m.counts = {r.integer(), r.integer(), r.integer()};
  } else {
    r.fail("unknown keyword " + key);
  }
  if (!r.at_end()) r.fail("too many values");
}

// Shortest text that reads back to exactly the same double.
std::string number(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  const auto plain_nan = std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN());
  if (std::isnan(v) && (bits & ~(std::uint64_t{1} << 63U)) != plain_nan) {
    char hex[17];
    const auto written = std::to_chars(hex, hex + sizeof hex, bits, 16);
    return std::string(kNanBits) + std::string(hex, written.ptr) + ")";
  }
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, v);
  return {text, result.ptr};
}

void write_curve(std::ostream& out, const char* key, std::size_t slot, const Curve& c) {
  out << key << ' ' << slot << ' ' << c.npts << ' ' << c.iorg;
  for (double p : c.par) out << ' ' << number(p);
  for (const auto& [stress, displacement] : c.points) {
    out << "  " << number(stress) << ' ' << number(displacement);
  }
  out << '\n';
}

// Whether the model reads back under Checking::Sound.
bool sound(const ToolModel& m) {
  if (m.label.size() > kLabelLength) return false;
  for (const Layer& layer : m.layers) {
    if (static_cast<int>(layer.slots.size()) > m.diameter_groups()) return false;
    for (const SlotCurves& slot : layer.slots) {
      for (const Curve* c : {&slot.py, &slot.tz, &slot.qz}) {
        if (c->npts > kCurvePoints || static_cast<int>(c->points.size()) < c->npts) return false;
      }
    }
  }
  return true;
}

}  // namespace

ToolModel read_description(std::istream& in, Checking checking) {
  ToolModel m;
  Reading reading{checking, {}};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    LineReader r(line, number);
    read_line(m, r, reading);
  }
  const SlotUse& highest = reading.highest_slot;
  if (reading.checking == Checking::Sound && highest.slot > m.diameter_groups()) {
    LineReader(std::string(), highest.line)
        .fail("curve slot " + std::to_string(highest.slot) + " is beyond the " +
              std::to_string(m.diameter_groups()) + " diameters given");
  }
  return m;
}

void write_description(const ToolModel& m, std::ostream& out) {
  if (!sound(m)) out << "unchecked\n";
  if (plain_label(m.label)) {
    out << "label " << m.label << '\n';
  } else {
    out << "label-escaped " << escaped_label(m.label) << '\n';
  }
  out << "generation " << (m.old_generation ? "old" : "new") << '\n';
  out << "diameters";
  for (double d : m.diameters) out << ' ' << number(d);
  out << '\n';
  if (m.groups) out << "groups " << *m.groups << '\n';
  for (const Layer& layer : m.layers) {
    out << "layer " << number(layer.zbot);
    for (double v : layer.soil) out << ' ' << number(v);
    out << '\n';
    for (std::size_t i = 0; i < layer.slots.size(); ++i) {
      write_curve(out, "py", i + 1, layer.slots[i].py);
      write_curve(out, "tz", i + 1, layer.slots[i].tz);
      write_curve(out, "qz", i + 1, layer.slots[i].qz);
    }
  }
  out << "scour " << number(m.scour_z) << '\n';
  out << "modulus " << number(m.soil_e0) << ' ' << number(m.soil_ez) << ' '
      << number(m.soil_nu) << '\n';
  for (const DisplacementRow& row : m.dsp) {
    out << "dsp " << number(row.z);
    for (double v : row.values) out << ' ' << number(v);
    out << '\n';
  }
  if (m.counts.layers || m.counts.dsp || m.counts.diameters) {
    out << "counts " << m.num_layers() << ' ' << m.num_dsp() << ' ' << m.num_diameters() << '\n';
  }
}

}  // namespace zadaza_make
