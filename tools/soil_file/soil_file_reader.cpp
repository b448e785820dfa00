#include "soil_file.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "convert/material_store.hpp"
#include "convert/record_layouts.hpp"

namespace soil {
namespace {

using format::LineShape;

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// The columns of every record line, from the layouts the writers use.
constexpr LineShape kSoilcharFixed = format::line_shape(convert::kSoilcharFixed);
constexpr LineShape kSoilcharExponent = format::line_shape(convert::kSoilcharExponent);
constexpr LineShape kLayerLine = format::line_shape(convert::kLayerLine);
constexpr LineShape kMisoplLine1 = format::line_shape(convert::kMisoplLine1);
constexpr LineShape kMisoplLine2 = format::line_shape(convert::kMisoplLine2);
constexpr LineShape kMisoplCount = format::line_shape(convert::kMisoplCount);
constexpr LineShape kMisoplPair = format::line_shape(convert::kMisoplPair);
constexpr LineShape kElplcurv = format::line_shape(convert::kElplcurv);
constexpr LineShape kHypelast = format::line_shape(convert::kHypelast);
constexpr LineShape kCurvePair = format::line_shape(convert::kCurvePair);
constexpr LineShape kMisoiep = format::line_shape(convert::kMisoiep);
constexpr LineShape kMref = format::line_shape(convert::kMref);
constexpr LineShape kSprifull = format::line_shape(convert::kSprifull);
constexpr LineShape kSprifullRow = format::line_shape(convert::kSprifullRow);
constexpr LineShape kSpridiag = format::line_shape(convert::kSpridiag);
constexpr LineShape kSpridiagRest = format::line_shape(convert::kSpridiagRest);
constexpr LineShape kElastic = format::line_shape(convert::kElastic);
constexpr LineShape kComps = format::line_shape(convert::kComps);
constexpr LineShape kBearing = format::line_shape(convert::kBearing);
constexpr LineShape kBearingRest = format::line_shape(convert::kBearingRest);

constexpr int kMatrixSide = 6;
constexpr std::string_view kBannerStart = "  ***";

// The fixed text a line of this shape starts with, up to its first field.
std::string_view leading_text(const LineShape& shape) {
  std::size_t n = 0;
  while (n < shape.length && shape.is_text_column(n)) ++n;
  return {shape.text.data(), n};
}

std::string_view without_trailing_blanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return without_trailing_blanks(text);
}

std::string_view keyword_of(const LineShape& shape) { return trimmed(leading_text(shape)); }

enum class Fit { Fits, Short, Long, Other };

// Whether the line has the shape's fixed text where it has text of its own, and its length.
Fit fit(const LineShape& shape, std::string_view line) {
  const std::size_t n = std::min(line.size(), shape.length);
  for (std::size_t i = 0; i < n; ++i) {
    if (shape.is_text_column(i) && line[i] != shape.text[i]) return Fit::Other;
  }
  if (line.size() < shape.length) return Fit::Short;
  return line.size() > shape.length ? Fit::Long : Fit::Fits;
}

// The second line of a heading layout: the line that tells one heading from another.
template <class L>
std::string heading_title(const L&) {
  const typename L::Values none{};
  std::string text(L::size(none), ' ');
  L::render(none, text.data());
  const std::size_t first_end = text.find("\r\n");
  return text.substr(first_end + 2, text.size() - first_end - 4);
}

struct KindHeading {
  std::int32_t kind;
  std::string title;
};

const std::array<KindHeading, 7>& kind_headings() {
  static const std::array<KindHeading, 7> headings{
      KindHeading{convert::kElasticKind, heading_title(convert::kElasticHeading)},
      {convert::kMisoiepKind, heading_title(convert::kMisoiepHeading)},
      {convert::kSpringMatrixKind, heading_title(convert::kSpringMatrixHeading)},
      {convert::kSpringCurveKind, heading_title(convert::kSpringCurveHeading)},
      {convert::kSpringReferenceKind, heading_title(convert::kSpringReferenceHeading)},
      {convert::kCompsKind, heading_title(convert::kCompsHeading)},
      {convert::kBearingKind, heading_title(convert::kBearingHeading)}};
  return headings;
}

std::string_view without_leading_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

bool all_asterisks(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c == '*'; });
}

// An exponent from 100 on is written without its E ("1.00000+200").
std::optional<double> parse_real(std::string_view text) {
  std::string number(text);
  if (number.find_first_of("Ee") == std::string::npos) {
    const std::size_t sign = number.find_first_of("+-", 1);
    if (sign != std::string::npos) number.insert(sign, 1, 'E');
  }
  double value = 0.0;
  const char* end = number.data() + number.size();
  const auto result = std::from_chars(number.data(), end, value);
  if (number.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

std::optional<std::int32_t> parse_integer(std::string_view text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

// The largest whole number of `digits` digits.
double largest_whole_number(int digits) {
  double power = 1.0;
  for (int d = 0; d < digits; ++d) power *= 10.0;
  return power - 1.0;
}

std::string columns(const format::FieldPlace& place) {
  return "columns " + std::to_string(place.column + 1) + "-" +
         std::to_string(place.column + place.width);
}

class Reader {
 public:
  explicit Reader(std::string_view text) { split(text); }

  SoilFile read() {
    while (at_ < lines_.size()) read_line();
    return std::move(file_);
  }

 private:
  // The fields of one line read by their columns; what cannot be read is reported.
  class Fields {
   public:
    Fields(Reader& reader, const LineShape& shape, std::string_view line, int number)
        : reader_(reader), shape_(shape), line_(line), number_(number) {}

    Written real(std::size_t k, std::string_view name) const {
      const std::optional<std::string_view> text = field_text(k, name);
      if (!text) return {kNoValue, ""};
      const std::optional<double> value = parse_real(*text);
      if (!value) report_unreadable(k, name, *text);
      return {value.value_or(kNoValue), std::string(*text)};
    }

    // A SESAM identifier: a real that must be exactly a whole number the field's digits hold.
    std::int32_t sesam_identifier(std::size_t k, std::string_view name) const {
      const std::optional<std::string_view> text = field_text(k, name);
      if (!text) return kUnreadableIdentifier;
      const std::optional<double> value = parse_real(*text);
      if (!value) {
        report_unreadable(k, name, *text);
        return kUnreadableIdentifier;
      }
      const format::FieldPlace& place = shape_.field[k];
      const std::string said =
          std::string(name) + " '" + std::string(*text) + "' in " + columns(place);
      if (!std::isfinite(*value) || std::fabs(*value) > largest_whole_number(place.digits)) {
        reader_.problem(number_, said + " has more than " + std::to_string(place.digits) +
                                     " digits: no identifier can be written so");
        return kUnreadableIdentifier;
      }
      if (*value != std::trunc(*value)) {
        reader_.problem(number_, said + " is not a whole number: it names no identifier");
        return kUnreadableIdentifier;
      }
      return static_cast<std::int32_t>(*value);
    }

    // An integer field that holds an identifier; what cannot be read names nothing.
    std::int32_t identifier(std::size_t k, std::string_view name) const {
      const std::optional<std::string_view> text = field_text(k, name);
      if (!text) return kUnreadableIdentifier;
      const std::optional<std::int32_t> value = parse_integer(*text);
      if (!value) report_unreadable(k, name, *text);
      return value.value_or(kUnreadableIdentifier);
    }

    // A field the record always holds as 0.
    Written zero(std::size_t k, std::string_view name) const {
      Written w = real(k, name);
      if (readable(w) && w.value != 0.0) {
        reader_.problem(number_, std::string(name) + " '" + w.text + "' in " +
                                     columns(shape_.field[k]) + ": the record holds 0 there");
      }
      return w;
    }

    std::int32_t integer(std::size_t k, std::string_view name) const {
      const std::optional<std::string_view> text = field_text(k, name);
      if (!text) return 0;
      const std::optional<std::int32_t> value = parse_integer(*text);
      if (!value) report_unreadable(k, name, *text);
      return value.value_or(0);
    }

    std::string_view raw(std::size_t k) const {
      const format::FieldPlace& place = shape_.field[k];
      if (place.column + place.width > line_.size()) return {};
      return line_.substr(place.column, place.width);
    }

   private:
    // The field's text without its leading blanks; nothing for a field the line is too short
    // for (the short line is reported already) or a field of asterisks (reported here).
    std::optional<std::string_view> field_text(std::size_t k, std::string_view name) const {
      const format::FieldPlace& place = shape_.field[k];
      if (place.column + place.width > line_.size()) return std::nullopt;
      const std::string_view text = without_leading_blanks(raw(k));
      if (all_asterisks(text)) {
        reader_.problem(number_, "field of asterisks in " + columns(place) + " (" +
                                     std::string(name) + "): the value did not fit its field");
        return std::nullopt;
      }
      return text;
    }

    void report_unreadable(std::size_t k, std::string_view name, std::string_view text) const {
      reader_.problem(number_, "unreadable " + std::string(name) + " '" + std::string(text) +
                                   "' in " + columns(shape_.field[k]));
    }

    Reader& reader_;
    const LineShape& shape_;
    std::string_view line_;
    int number_;
  };

  // LF, CR LF and CR alone each end a line.
  void split(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      lines_.push_back(text.substr(start, end - start));
      const bool cr_lf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
      start = end + (cr_lf ? 2 : 1);
    }
  }

  int number() const { return static_cast<int>(at_) + 1; }

  void problem(int line, std::string what) {
    const auto at = static_cast<std::size_t>(line - 1);
    const std::string_view text = at < lines_.size() ? lines_[at] : std::string_view();
    file_.problems.push_back({line, std::move(what), std::string(text)});
  }

  // Takes the current line as one of `shape`, reporting a length that differs from it.
  Fields take(const LineShape& shape, std::string_view record) {
    const std::string_view line = lines_[at_];
    const int n = number();
    ++at_;
    const Fit f = fit(shape, line);
    if (f == Fit::Short || f == Fit::Long) {
      problem(n, std::string(f == Fit::Short ? "short record" : "line too long") + ": " +
                     std::string(record) + " has " + std::to_string(line.size()) +
                     " characters where its layout writes " + std::to_string(shape.length));
    } else if (f == Fit::Other) {
      problem(n, std::string(record) + ": the line does not have the record's fixed text");
    }
    return Fields(*this, shape, line, n);
  }

  // Whether the current line can continue a record with a line of `shape`.
  bool continues(const LineShape& shape) const {
    return at_ < lines_.size() && !lines_[at_].empty() && fit(shape, lines_[at_]) != Fit::Other;
  }

  // The next line of a record that must have it; false, reported, when the record ends early.
  bool next_of_record(const LineShape& shape, const std::string& record) {
    if (continues(shape)) return true;
    problem(number(), "short record: " + record + " ends before " +
                          (at_ < lines_.size() ? "this line" : "the end of the file"));
    return false;
  }

  void read_line() {
    const std::string_view line = lines_[at_];
    if (line.empty()) return read_empty_line();
    if (line.front() == '\'') return read_comment();
    if (line == convert::kMaterialsMissing) {
      file_.banners.push_back({number(), std::string(trimmed(line))});
      ++at_;
      return;
    }
    if (line.starts_with(leading_text(kSoilcharFixed))) return read_soilchar();
    if (line.starts_with(convert::kMisopl)) return read_misopl();
    if (read_knf_record(line)) return;
    if (in_layers_ && fit(kLayerLine, line) != Fit::Other) return read_layer();
    problem(number(), "unknown line");
    ++at_;
  }

  // An empty line opens a banner; alone it is an unknown line.
  void read_empty_line() {
    if (at_ + 1 < lines_.size() && lines_[at_ + 1].starts_with(kBannerStart)) {
      file_.banners.push_back({number() + 1, std::string(trimmed(lines_[at_ + 1]))});
      at_ += 2;
      return;
    }
    problem(number(), "empty line that opens no error banner");
    ++at_;
  }

  // Comment lines; a heading's title line sets what the records after it are. Its trailing
  // blanks do not count: an editor may have taken them.
  void read_comment() {
    static const std::string kSoilTitle = heading_title(convert::kSoilHeading);
    static const std::string kLayerTitle = heading_title(convert::kLayerHeading);
    const std::string_view line = without_trailing_blanks(lines_[at_++]);
    if (line == without_trailing_blanks(kSoilTitle)) {
      in_layers_ = false;
    } else if (line == without_trailing_blanks(kLayerTitle)) {
      in_layers_ = !file_.blocks.empty();
      if (!in_layers_) problem(number() - 1, "layer heading before any SOILCHAR line");
    } else {
      for (const KindHeading& heading : kind_headings()) {
        if (line == without_trailing_blanks(heading.title)) {
          block_kind_ = heading.kind;
          in_layers_ = false;
        }
      }
    }
  }

  void read_soilchar() {
    // A line longer than the fixed form is of the exponent form, however long it is.
    const bool exponent_form = lines_[at_].size() > kSoilcharFixed.length;
    const LineShape& shape = exponent_form ? kSoilcharExponent : kSoilcharFixed;
    Block block;
    block.line = number();
    const Fields f = take(shape, "SOILCHAR line");
    block.soil_id = f.identifier(0, "soil identifier");
    block.type = f.integer(1, "type");
    block.mudline = f.real(2, "mudline level");
    block.diameter = f.real(3, "reference diameter");
    block.force_factor = f.real(4, "force factor");
    block.length_factor = f.real(5, "length factor");
    file_.blocks.push_back(std::move(block));
    in_layers_ = false;
  }

  void read_layer() {
    Layer layer;
    layer.line = number();
    const Fields f = take(kLayerLine, "layer line");
    layer.top = f.real(0, "top level");
    layer.bottom = f.real(1, "bottom level");
    layer.materials = {f.identifier(2, "P-y material"), f.identifier(3, "T-z material"),
                       f.identifier(4, "Q-z material")};
    file_.blocks.back().layers.push_back(std::move(layer));
  }

  void enter_table(TableFormat format, std::string_view keyword) {
    in_layers_ = false;
    if (file_.format == TableFormat::None) file_.format = format;
    if (file_.format != format) {
      problem(number(), std::string(keyword) + " record in a file whose material table is " +
                            std::string(format_name(file_.format)));
    }
  }

  static std::string record_name(const Material& m) {
    return m.keyword + " record of material " + std::to_string(m.id);
  }

  Point read_pair(const LineShape& shape, const Material& m) {
    const std::string point = "point " + std::to_string(m.points.size() + 1);
    const Fields f = take(shape, record_name(m) + ", " + point);
    return {f.real(0, point + " force"), f.real(1, point + " displacement")};
  }

  void read_misopl() {
    enter_table(TableFormat::Sesam, "MISOPL");
    Material m;
    m.line = number();
    m.kind = convert::kSpringCurveKind;
    m.keyword = std::string(trimmed(convert::kMisopl));
    {
      const Fields f = take(kMisoplLine1, "MISOPL record");
      m.id = f.sesam_identifier(1, "identifier");
      m.law = f.real(2, "curve law code");
      m.elastoplastic = std::trunc(m.law.value) == convert::kElplcurvLaw;
      for (std::size_t k = 3; k < kMisoplLine1.fields; ++k) {
        const std::string name = "field " + std::to_string(k + 1);
        m.zero_fields.push_back({name, f.zero(k, name)});
      }
    }
    const std::string record = record_name(m);
    if (!next_of_record(kMisoplLine2, record)) return finish(std::move(m));
    {
      const Fields f = take(kMisoplLine2, record + ", line 2");
      for (std::size_t k = 0; k < kMisoplLine2.fields; ++k) {
        const std::string name = "line 2 field " + std::to_string(k + 1);
        m.zero_fields.push_back({name, f.zero(k, name)});
      }
    }
    if (!next_of_record(kMisoplCount, record)) return finish(std::move(m));
    const std::int32_t n = take(kMisoplCount, record + ", point count").integer(0, "point count");
    if (n > convert::kMaxRecordPairs) {
      problem(number() - 1, record + ": " + std::to_string(n) + " points, more than the " +
                                std::to_string(convert::kMaxRecordPairs) + " a record holds");
    } else if (n < 0) {
      problem(number() - 1, record + ": a point count of " + std::to_string(n));
    }
    for (std::int32_t k = 1; k <= n; ++k) {
      if (!next_of_record(kMisoplPair, record + " (" + std::to_string(n) + " points)")) break;
      m.points.push_back(read_pair(kMisoplPair, m));
    }
    finish(std::move(m));
  }

  void finish(Material m) { file_.materials.push_back(std::move(m)); }

  // A KNF record whose first line this is; false when it is none.
  bool read_knf_record(std::string_view line) {
    struct Opening {
      const LineShape* shape;
      std::int32_t kind;
      void (Reader::*rest)(Material&);
    };
    static constexpr std::array<Opening, 9> kOpenings{{
        {&kElplcurv, convert::kSpringCurveKind, &Reader::read_curve_points},
        {&kHypelast, convert::kSpringCurveKind, &Reader::read_curve_points},
        {&kMisoiep, convert::kMisoiepKind, nullptr},
        {&kMref, convert::kSpringReferenceKind, nullptr},
        {&kSprifull, convert::kSpringMatrixKind, &Reader::read_full_matrix},
        {&kSpridiag, convert::kSpringMatrixKind, &Reader::read_diagonal_rest},
        {&kElastic, convert::kElasticKind, nullptr},
        {&kComps, convert::kCompsKind, nullptr},
        {&kBearing, convert::kBearingKind, &Reader::read_bearing_rest},
    }};
    for (const Opening& opening : kOpenings) {
      const LineShape& shape = *opening.shape;
      // The MATERIAL kinds share their keyword and differ in the text after the identifier.
      if (!line.starts_with(leading_text(shape)) || fit(shape, line) == Fit::Other) continue;
      read_knf_first_line(shape, opening.kind);
      if (opening.rest != nullptr) (this->*opening.rest)(file_.materials.back());
      return true;
    }
    return false;
  }

  void read_knf_first_line(const LineShape& shape, std::int32_t kind) {
    Material m;
    m.line = number();
    m.kind = kind;
    m.keyword = std::string(keyword_of(shape));
    if (shape.fields > 1 && shape.field[1].column > shape.field[0].column + shape.field[0].width) {
      // MATERIAL: the kind is named between the identifier and the values.
      const std::size_t from = shape.field[0].column + shape.field[0].width;
      const std::string_view named = trimmed({shape.text.data() + from, shape.field[1].column - from});
      m.keyword = std::string(named.substr(0, named.find(' ')));
    }
    enter_table(TableFormat::Knf, m.keyword);
    if (block_kind_ != kind) {
      problem(number(), m.keyword + " record outside the kind block that holds its kind");
    }
    m.elastoplastic = &shape == &kElplcurv;
    const Fields f = take(shape, m.keyword + " record");
    m.id = f.identifier(0, "identifier");
    const bool matrix = kind == convert::kSpringMatrixKind;
    for (std::size_t k = 1; k < shape.fields; ++k) {
      if (kind == convert::kSpringReferenceKind) {
        const std::int32_t r = f.identifier(k, "reference " + std::to_string(k));
        const double value = r == kUnreadableIdentifier ? kNoValue : static_cast<double>(r);
        m.values.push_back({value, std::string(without_leading_blanks(f.raw(k)))});
      } else {
        m.values.push_back(f.real(k, (matrix ? "diagonal entry " : "value ") + std::to_string(k)));
      }
    }
    file_.materials.push_back(std::move(m));
  }

  void read_curve_points(Material& m) {
    while (continues(kCurvePair)) {
      if (m.points.size() == static_cast<std::size_t>(convert::kMaxRecordPairs)) {
        problem(number(), record_name(m) + ": more points than the " +
                              std::to_string(convert::kMaxRecordPairs) + " a record holds");
      }
      m.points.push_back(read_pair(kCurvePair, m));
    }
  }

  // Rows of `shape` appended to the values, as many as the record has.
  void read_rows(Material& m, const LineShape& shape, int rows, std::string_view entry) {
    const std::string record = record_name(m);
    for (int r = 1; r <= rows; ++r) {
      if (!next_of_record(shape, record)) return;
      const Fields f = take(shape, record + ", line " + std::to_string(r + 1));
      for (std::size_t k = 0; k < shape.fields; ++k) {
        m.values.push_back(f.real(k, std::string(entry) + " " + std::to_string(m.values.size() + 1)));
      }
    }
  }

  void read_full_matrix(Material& m) { read_rows(m, kSprifullRow, kMatrixSide, "entry"); }

  void read_bearing_rest(Material& m) { read_rows(m, kBearingRest, 1, "value"); }

  // The diagonal record: its six entries placed on the diagonal of the full matrix.
  void read_diagonal_rest(Material& m) {
    read_rows(m, kSpridiagRest, 1, "diagonal entry");
    const std::vector<Written> diagonal = std::move(m.values);
    m.values.assign(kMatrixSide * kMatrixSide, Written{0.0, "0"});
    for (std::size_t i = 0; i < diagonal.size(); ++i) {
      m.values[i * (kMatrixSide + 1)] = diagonal[i];
    }
  }

  std::vector<std::string_view> lines_;
  std::size_t at_ = 0;
  bool in_layers_ = false;
  std::int32_t block_kind_ = 0;
  SoilFile file_;
};

}  // namespace

SoilFile read_soil_file(std::string_view text) { return Reader(text).read(); }

bool looks_like_soil_file(std::string_view start) {
  // Bytes above 127 may stand in a hand-edited comment; control bytes only in binary data.
  return !start.empty() && std::all_of(start.begin(), start.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == '\r' || u == '\n' || u == '\t' || (u >= ' ' && u != 127);
  });
}

std::string_view format_name(TableFormat format) {
  switch (format) {
    case TableFormat::Sesam: return "SESAM";
    case TableFormat::Knf: return "KNF";
    case TableFormat::None: break;
  }
  return "none";
}

bool readable(const Written& w) { return !std::isnan(w.value); }

const Material* find_spring_curve(const std::vector<Material>& materials, std::int32_t id) {
  if (id == kUnreadableIdentifier) return nullptr;
  for (const Material& m : materials) {
    if (m.id == id && m.kind == convert::kSpringCurveKind) return &m;
  }
  return nullptr;
}

const Material* find_spring_curve(const SoilFile& file, std::int32_t id) {
  return find_spring_curve(file.materials, id);
}

std::string identifier_text(std::int32_t id) {
  return id == kUnreadableIdentifier ? "(unreadable)" : std::to_string(id);
}

}  // namespace soil
