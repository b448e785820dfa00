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

namespace zadaza_make {
namespace {

constexpr int kMaxLayers = 80;
constexpr int kMaxDiameters = 15;
constexpr int kOldDiameters = 4;  // the Old generation always holds four diameter groups

constexpr std::array<const char*, 3> kCurveNames{"P-y", "T-z", "Q-z"};

using Record = std::vector<std::string>;

struct Row {
  int number = 0;  // as a spreadsheet numbers it: the header is row 1
  Record fields;
};

std::string shortest(double v) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

[[noreturn]] void fail_at(int row, const std::string& column, const std::string& what) {
  throw std::runtime_error("row " + std::to_string(row) +
                           (column.empty() ? "" : ", column " + column) + ": " + what);
}

// RFC 4180: fields separated by commas, records by CR LF or LF; a quoted field may hold
// commas, line ends and doubled quotes.
std::vector<Row> records_of(const std::string& text) {
  std::vector<Row> rows;
  Record record;
  std::string field;
  bool quoted = false;
  bool was_quoted = false;
  int line = 1;
  int record_line = 1;
  const auto end_record = [&] {
    record.push_back(field);
    const bool blank = record.size() == 1 && record[0].empty() && !was_quoted;
    if (!blank) rows.push_back({record_line, record});
    record.clear();
    field.clear();
    was_quoted = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
    } else if (c == '"' && field.empty()) {
      quoted = was_quoted = true;
    } else if (c == ',') {
      record.push_back(field);
      field.clear();
      was_quoted = false;
    } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (c == '\r') ++i;
      end_record();
      record_line = ++line;
    } else {
      field += c;
    }
  }
  if (quoted) fail_at(record_line, "", "a quoted field is not closed");
  if (!field.empty() || !record.empty() || was_quoted) end_record();
  return rows;
}

struct Columns {
  static constexpr std::array<const char*, 7> kNeeded{"layer",        "z_bottom", "diameter",
                                                      "curve",        "point",    "displacement",
                                                      "stress"};
  std::array<std::size_t, kNeeded.size()> at{};
};

enum Column : std::size_t { kLayer, kZBottom, kDiameter, kCurve, kPoint, kDisplacement, kStress };

Columns columns_of(const Row& header) {
  Columns c;
  for (std::size_t n = 0; n < Columns::kNeeded.size(); ++n) {
    const auto found = std::find(header.fields.begin(), header.fields.end(), Columns::kNeeded[n]);
    if (found == header.fields.end()) {
      const bool semicolons = header.fields.size() == 1 && header.fields[0].find(';') != std::string::npos;
      fail_at(header.number, "", std::string("no column ") + Columns::kNeeded[n] +
                                     (semicolons ? " (are the columns separated by semicolons? "
                                                   "save the table with commas)"
                                                 : ""));
    }
    c.at[n] = static_cast<std::size_t>(std::distance(header.fields.begin(), found));
  }
  return c;
}

class RowReader {
 public:
  RowReader(const Row& row, const Columns& columns) : row_(row), columns_(columns) {}

  const std::string& text(Column c) const {
    const std::size_t at = columns_.at[c];
    if (at >= row_.fields.size()) fail(c, "the row ends before this column");
    return row_.fields[at];
  }
  double real(Column c) const { return number<double>(c); }
  int integer(Column c) const { return number<int>(c); }
  [[noreturn]] void fail(Column c, const std::string& what) const {
    fail_at(row_.number, Columns::kNeeded[c], what);
  }
  int number() const { return row_.number; }

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
  const Row& row_;
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
  if (layer < 1 || layer > kMaxLayers) r.fail(kLayer, "layers are numbered 1 to at most 80");
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
  if (point < 1 || point > kCurvePoints) r.fail(kPoint, "points are numbered 1 to 23");
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
      fail_at(k == 0 ? given.first_row : given.rows[k - 1], Columns::kNeeded[kPoint],
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
      fail_at(entry.row, Columns::kNeeded[kLayer],
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
          fail_at(entry.row, Columns::kNeeded[kCurve],
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

}  // namespace

ToolModel read_curve_table(std::istream& in, bool old_generation) {
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // Spreadsheets save UTF-8 tables with a byte order mark.
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  const std::vector<Row> rows = records_of(text);
  if (rows.empty()) fail_at(1, "", "the table is empty; it needs a header row");
  const Columns columns = columns_of(rows.front());
  Table table;
  const int diameter_limit = old_generation ? kOldDiameters : kMaxDiameters;
  for (std::size_t n = 1; n < rows.size(); ++n) add_row(table, RowReader(rows[n], columns), diameter_limit);
  return model_of(table, old_generation);
}

}  // namespace zadaza_make
