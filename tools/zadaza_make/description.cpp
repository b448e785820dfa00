#include "description.hpp"

#include <charconv>
#include <istream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zadaza_make {
namespace {

class LineReader {
 public:
  LineReader(const std::string& line, int number) : in_(line), number_(number) {}

  double real() {
    std::string word;
    if (!(in_ >> word)) fail("a number is missing");
    double v = 0.0;
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
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error("line " + std::to_string(number_) + ": " + what);
  }

 private:
  std::istringstream in_;
  int number_;
};

Curve read_curve(LineReader& r) {
  Curve c;
  c.npts = r.integer();
  c.iorg = r.integer();
  for (double& p : c.par) p = r.real();
  while (!r.at_end()) {
    const double stress = r.real();
    const double displacement = r.real();
    c.points.emplace_back(stress, displacement);
  }
  if (c.points.size() > kCurvePoints) r.fail("more than 23 points");
  return c;
}

SlotCurves& slot_of(ToolModel& m, LineReader& r) {
  if (m.layers.empty()) r.fail("a curve before the first layer");
  const int slot = r.integer();
  if (slot < 1) r.fail("slot numbers start at 1");
  auto& slots = m.layers.back().slots;
  if (slots.size() < static_cast<std::size_t>(slot)) slots.resize(static_cast<std::size_t>(slot));
  return slots[static_cast<std::size_t>(slot - 1)];
}

void read_line(ToolModel& m, LineReader& r) {
  const std::string key = r.word();
  if (key.empty() || key[0] == '#') return;
  if (key == "label") {
    m.label = r.rest();
    return;
  }
  if (key == "generation") {
    const std::string g = r.word();
    if (g != "new" && g != "old") r.fail("generation is new or old");
    m.old_generation = g == "old";
  } else if (key == "layer") {
    Layer layer;
    layer.zbot = r.real();
    for (double& v : layer.soil) v = r.real();
    m.layers.push_back(layer);
  } else if (key == "py") {
    SlotCurves& slot = slot_of(m, r);
    slot.py = read_curve(r);
  } else if (key == "tz") {
    SlotCurves& slot = slot_of(m, r);
    slot.tz = read_curve(r);
  } else if (key == "qz") {
    SlotCurves& slot = slot_of(m, r);
    slot.qz = read_curve(r);
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
      if (n == row.values.size()) r.fail("more than 15 displacement values");
      row.values[n++] = r.real();
    }
    m.dsp.push_back(row);
  } else if (key == "counts") {
    m.counts = {r.integer(), r.integer(), r.integer()};
  } else {
    r.fail("unknown keyword " + key);
  }
  if (!r.at_end()) r.fail("too many values");
}

// Shortest text that reads back to exactly the same double.
std::string number(double v) {
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

}  // namespace

ToolModel read_description(std::istream& in) {
  ToolModel m;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    LineReader r(line, number);
    read_line(m, r);
  }
  return m;
}

void write_description(const ToolModel& m, std::ostream& out) {
  out << "label " << m.label << '\n';
  out << "generation " << (m.old_generation ? "old" : "new") << '\n';
  out << "diameters";
  for (double d : m.diameters) out << ' ' << number(d);
  out << '\n';
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
