#include "from_table.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <istream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/run.hpp"
#include "common/csv.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza_make {
namespace {

constexpr int kOldDiameters = static_cast<int>(kOldDiameterGroups);

constexpr std::array<const char*, 3> kCurveNames{"P-y", "T-z", "Q-z"};

std::string shortest(double v) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

struct Columns {
  static constexpr std::array<const char*, 7> kNeeded{"layer",        "z_bottom", "diameter",
                                                      "curve",        "point",    "displacement",
                                                      "stress"};
  std::array<std::size_t, kNeeded.size()> at{};
};

enum Column : std::size_t { kLayer, kZBottom, kDiameter, kCurve, kPoint, kDisplacement, kStress };

Columns columns_of(const tools::CsvTable& table) {
  Columns c;
  for (std::size_t n = 0; n < Columns::kNeeded.size(); ++n) {
    const std::optional<std::size_t> found = tools::column_index(table, Columns::kNeeded[n]);
    if (!found) {
      const bool semicolons =
          table.columns.size() == 1 && table.columns[0].find(';') != std::string::npos;
      tools::refuse_row(1, "", std::string("no column ") + Columns::kNeeded[n] +
                                   (semicolons ? " (are the columns separated by semicolons? "
                                                 "save the table with commas)"
                                               : ""));
    }
    c.at[n] = *found;
  }
  return c;
}

class RowReader {
 public:
  RowReader(const tools::CsvRow& row, const Columns& columns) : row_(row), columns_(columns) {}

  // The reader gives every row as many fields as the header has columns.
  const std::string& text(Column c) const { return row_.fields[columns_.at[c]]; }
  double real(Column c) const { return number<double>(c); }
  int integer(Column c) const { return number<int>(c); }
  [[noreturn]] void fail(Column c, const std::string& what) const {
    tools::refuse_row(row_.row, Columns::kNeeded[c], what);
  }
  int number() const { return row_.row; }

 private:
  template <typename Number>
  Number number(Column c) const {
    const std::string& t = text(c);
    Number v{};
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (error != std::errc{} || end != t.data() + t.size() || t.empty()) unreadable(c, t);
    return v;
  }
  [[noreturn]] void unreadable(Column c, const std::string& t) const {
    const bool comma = t.find(',') != std::string::npos;
    fail(c, "unreadable number '" + t + "'" + (comma ? "; write a decimal point, not a comma" : ""));
  }
  const tools::CsvRow& row_;
  const Columns& columns_;
};

// Where each curve's points came from, to name the row of a fault found later.
struct CurvePoints {
  std::array<std::optional<std::pair<double, double>>, kCurvePoints> points;
  std::array<int, kCurvePoints> rows{};
  int first_row = 0;
};

struct LayerEntry {
  double zbot = 0.0;
  int row = 0;
};

struct Table {
  std::vector<double> diameters;  // in order of first appearance
  std::map<int, LayerEntry> layers;
  // (layer, diameter slot, curve type) -> points
  std::map<std::array<int, 3>, CurvePoints> curves;
};

int curve_type(const RowReader& r) {
  const std::string& name = r.text(kCurve);
  for (std::size_t c = 0; c < kCurveNames.size(); ++c) {
    if (name == kCurveNames[c]) return static_cast<int>(c);
  }
  r.fail(kCurve, "curve '" + name + "' is not P-y, T-z or Q-z");
}

int slot_of(Table& t, const RowReader& r, int limit) {
  const double d = r.real(kDiameter);
  const auto found = std::find_if(t.diameters.begin(), t.diameters.end(), [d](double known) {
    return known == d || (std::isnan(known) && std::isnan(d));
  });
  if (found != t.diameters.end()) return static_cast<int>(found - t.diameters.begin()) + 1;
  if (static_cast<int>(t.diameters.size()) == limit) {
    r.fail(kDiameter, "more than " + std::to_string(limit) + " diameters");
  }
  t.diameters.push_back(d);
  return static_cast<int>(t.diameters.size());
}

void add_row(Table& t, const RowReader& r, int diameter_limit) {
  const int layer = r.integer(kLayer);
  if (layer < 1 || layer > zadaza::MAX_LAYERS) {
    r.fail(kLayer, "layers are numbered 1 to at most " + std::to_string(zadaza::MAX_LAYERS));
  }
  const double zbot = r.real(kZBottom);
  const auto [entry, added] = t.layers.try_emplace(layer, LayerEntry{zbot, r.number()});
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  if (!added && bits(entry->second.zbot) != bits(zbot)) {
    r.fail(kZBottom, "layer " + std::to_string(layer) + " has another z_bottom in row " +
                         std::to_string(entry->second.row));
  }
  const int slot = slot_of(t, r, diameter_limit);
  const int type = curve_type(r);
  const int point = r.integer(kPoint);
  if (point < 1 || point > kCurvePoints) {
    r.fail(kPoint, "points are numbered 1 to " + std::to_string(kCurvePoints));
  }
  CurvePoints& curve = t.curves[{layer, slot, type}];
  if (curve.first_row == 0) curve.first_row = r.number();
  auto& place = curve.points[static_cast<std::size_t>(point - 1)];
  if (place) r.fail(kPoint, "point " + std::to_string(point) + " of this curve is given twice");
  place = std::pair{r.real(kStress), r.real(kDisplacement)};
  curve.rows[static_cast<std::size_t>(point - 1)] = r.number();
}

Curve curve_of(const CurvePoints& given, const std::string& what) {
  Curve c;
  const auto last = std::find_if(given.points.rbegin(), given.points.rend(),
                                 [](const auto& p) { return p.has_value(); });
  const auto count = static_cast<std::size_t>(std::distance(last, given.points.rend()));
  for (std::size_t k = 0; k < count; ++k) {
    if (!given.points[k]) {
      tools::refuse_row(k == 0 ? given.first_row : given.rows[k - 1], Columns::kNeeded[kPoint],
              "point " + std::to_string(k + 1) + " of the " + what + " is missing" +
                  (k == 0 ? "" : " after this row"));
    }
    c.points.push_back(*given.points[k]);
  }
  c.npts = static_cast<int>(count);
  return c;
}

ToolModel model_of(const Table& t, bool old_generation) {
  ToolModel m;
  m.old_generation = old_generation;
  m.diameters = t.diameters;
  if (old_generation) m.diameters.resize(kOldDiameters, 0.0);
  int expected = 1;
  for (const auto& [layer, entry] : t.layers) {
    if (layer != expected) {
      tools::refuse_row(entry.row, Columns::kNeeded[kLayer],
              "layer " + std::to_string(layer) + " where layer " + std::to_string(expected) +
                  " is due; layers are numbered 1 to n");
    }
    ++expected;
    Layer l;
    l.zbot = entry.zbot;
    for (std::size_t slot = 1; slot <= t.diameters.size(); ++slot) {
      SlotCurves curves;
      for (int type = 0; type < 3; ++type) {
        const auto found = t.curves.find({layer, static_cast<int>(slot), type});
        const std::string what = kCurveNames[static_cast<std::size_t>(type)];
        if (found == t.curves.end()) {
          tools::refuse_row(entry.row, Columns::kNeeded[kCurve],
                  "layer " + std::to_string(layer) + " has no " + what + " curve for diameter " +
                      shortest(t.diameters[slot - 1]));
        }
        Curve& c = type == 0 ? curves.py : type == 1 ? curves.tz : curves.qz;
        c = curve_of(found->second, what + " curve of layer " + std::to_string(layer) +
                                        " for diameter " + shortest(t.diameters[slot - 1]));
      }
      l.slots.push_back(curves);
    }
    m.layers.push_back(l);
  }
  return m;
}

std::string ordinal(std::size_t n) {
  const std::size_t tens = n % 100;
  const char* suffix = tens >= 11 && tens <= 13 ? "th"
                       : n % 10 == 1           ? "st"
                       : n % 10 == 2           ? "nd"
                       : n % 10 == 3           ? "rd"
                                               : "th";
  return std::to_string(n) + suffix;
}

// The diameters, in the order the file lists them, that the converter passes over.
std::vector<std::string> unconverted_diameters(const std::vector<double>& diameters) {
  zadaza::DiameterReals DIAM;
  for (std::size_t i = 0; i < diameters.size(); ++i) DIAM(static_cast<int>(i) + 1) = diameters[i];
  const auto converted = static_cast<std::size_t>(app::count_active_diameters(DIAM));
  std::vector<std::string> warnings;
  for (std::size_t i = converted; i < diameters.size(); ++i) {
    warnings.push_back("warning: diameter " + shortest(diameters[i]) + ", the " + ordinal(i + 1) +
                       ", will not be converted: the converter converts the first " +
                       std::to_string(converted) + " diameters of this file; its curves are " +
                       "written all the same");
  }
  return warnings;
}

}  // namespace

CurveTable read_curve_table(std::istream& in, bool old_generation) {
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const tools::CsvTable csv = tools::read_csv(text);
  const Columns columns = columns_of(csv);
  Table table;
  const int diameter_limit = old_generation ? kOldDiameters : zadaza::MAX_PILES;
  for (const tools::CsvRow& row : csv.rows) add_row(table, RowReader(row, columns), diameter_limit);
  return {model_of(table, old_generation), unconverted_diameters(table.diameters)};
}

}  // namespace zadaza_make
