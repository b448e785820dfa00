#include "curve_table.hpp"

#include <charconv>
#include <cmath>

#include "markup.hpp"

namespace view {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void append_number(std::string& out, double v) {
  char buffer[32];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

void append_integer(std::string& out, std::int64_t v) {
  char buffer[24];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// The fields of a row in column order, each written by `number`, `integer`, `none` or `text`.
template <typename Writer>
void write_fields(const TableRow& r, Writer& w) {
  w.number(r.diameter);
  r.soil_id ? w.integer(*r.soil_id) : w.none();
  w.integer(r.layer);
  r.z_bottom ? w.number(*r.z_bottom) : w.none();
  w.number(r.level_top);
  w.number(r.level_bottom);
  w.text(curve_name(r.curve));
  r.material_id ? w.integer(*r.material_id) : w.none();
  w.integer(r.point);
  w.number(r.displacement);
  r.stress ? w.number(*r.stress) : w.none();
  w.number(r.force);
  w.integer(r.kept ? 1 : 0);
}

// No field needs quotes: numbers and the curve names hold no comma, quote or line end.
struct CsvFields {
  std::string& out;
  bool first = true;
  void separate() {
    if (!first) out += ',';
    first = false;
  }
  void number(double v) { separate(); append_number(out, v); }
  void integer(std::int64_t v) { separate(); append_integer(out, v); }
  void none() { separate(); }
  void text(std::string_view t) { separate(); out += t; }
};

// A JSON string: valid UTF-8 as it stands, other bytes read as Latin-1, controls escaped.
void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[c >> 4U];
      out += kHex[c & 0xFU];
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = utf8_sequence(text, i); length != 0) {
      out.append(text.substr(i, length));
      i += length - 1;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6U));
      out += static_cast<char>(0x80 | (c & 0x3FU));
    }
  }
  out += '"';
}

void append_json_number(std::string& out, double v) {
  if (std::isfinite(v)) {
    append_number(out, v);
  } else {
    out += "null";
  }
}

// Writes an object's members: each key, then the caller writes its value where key() returns.
class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) {}
  std::string& key(std::string_view name) {
    out_ += first_ ? "{" : ", ";
    first_ = false;
    append_json_string(out_, name);
    out_ += ": ";
    return out_;
  }
  void end() { out_ += first_ ? "{}" : "}"; }

 private:
  std::string& out_;
  bool first_ = true;
};

struct JsonFields {
  JsonObject object;
  std::size_t column = 0;
  std::string& key() { return object.key(kTableColumns[column++]); }
  void number(double v) { append_json_number(key(), v); }
  void integer(std::int64_t v) { append_integer(key(), v); }
  void none() { key() += "null"; }
  void text(std::string_view t) { append_json_string(key(), t); }
};

void append_json_numbers(std::string& out, const std::vector<double>& values) {
  out += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) out += ", ";
    append_json_number(out, values[i]);
  }
  out += ']';
}

}  // namespace

std::string table_json_header(const TableHeader& h, const ZadazaFileFacts& file,
                              const TableRequest& request) {
  std::string out;
  const std::string_view label{file.label};
  const auto last = label.find_last_not_of(' ');
  JsonObject header(out);
  append_json_string(header.key("label"), label.substr(0, last == std::string_view::npos ? 0 : last + 1));
  append_json_string(header.key("zadaza_file"), h.zadaza_file);
  append_json_string(header.key("generation"), h.old_generation ? "old" : "new");
  append_integer(header.key("layers"), file.layers);
  append_integer(header.key("displacement_rows"), file.displacement_rows);
  append_integer(header.key("diameter_blocks"), file.diameter_blocks);
  append_json_numbers(header.key("diameters_in_use"), h.diameters_in_use);
  JsonObject settings(header.key("settings"));
  append_json_number(settings.key("mudline"), request.mudline.value_or(0.0));
  append_json_string(settings.key("orientation"), request.orientation());
  append_integer(settings.key("offset"), h.id_offset);
  append_json_numbers(settings.key("diameters"), h.diameters_selected);
  append_integer(settings.key("first_layer"), h.first_layer);
  append_integer(settings.key("last_layer"), h.last_layer);
  settings.end();
  header.end();
  return out;
}

std::string table_json_header(const SoilTableHeader& h) {
  std::string out;
  JsonObject header(out);
  append_json_string(header.key("soil_file"), h.soil_file);
  append_json_string(header.key("format"), h.format);
  append_integer(header.key("soilchar_blocks"), static_cast<std::int64_t>(h.blocks));
  append_integer(header.key("materials"), static_cast<std::int64_t>(h.materials));
  header.end();
  return out;
}

namespace {

TableRow layer_row(const ModelBlock& block, const ModelLayer& layer, const Chart& spring) {
  TableRow row;
  row.diameter = block.diameter;
  row.soil_id = block.soil_id;
  row.layer = layer.number;
  row.z_bottom = layer.z_bottom;
  row.level_top = layer.level_top;
  row.level_bottom = layer.level_bottom;
  row.curve = spring.type;
  if (spring.has_material) row.material_id = spring.material_id;
  return row;
}

void append_source_rows(TableRow row, const Chart& spring, std::vector<TableRow>& rows) {
  for (const ChartPoint& p : spring.curve) {
    ++row.point;
    row.displacement = p.displacement;
    row.stress = p.stress;
    row.force = p.force;
    row.kept = p.kept;
    rows.push_back(row);
  }
}

void append_written_rows(TableRow row, const Chart& spring, std::vector<TableRow>& rows) {
  row.kept = true;
  for (const CurvePair& p : spring.written) {
    ++row.point;
    row.displacement = p.displacement;
    row.force = p.force;
    rows.push_back(row);
  }
}

}  // namespace

std::vector<TableRow> table_rows(const ViewModel& model) {
  std::vector<TableRow> rows;
  for (const ModelBlock& block : model.blocks) {
    for (const ModelLayer& layer : block.layers) {
      for (const Chart& spring : layer.springs) {
        const TableRow row = layer_row(block, layer, spring);
        if (spring.has_source) {
          append_source_rows(row, spring, rows);
        } else {
          append_written_rows(row, spring, rows);
        }
      }
    }
  }
  return rows;
}

std::string table_csv(const std::vector<TableRow>& rows) {
  std::string out;
  out.reserve(96 * (rows.size() + 1));
  for (const std::string_view column : kTableColumns) {
    if (!out.empty()) out += ',';
    out += column;
  }
  out += kLineEnd;
  for (const TableRow& row : rows) {
    CsvFields fields{out};
    write_fields(row, fields);
    out += kLineEnd;
  }
  return out;
}

std::string table_json(std::string_view header, const std::vector<TableRow>& rows) {
  std::string out;
  out.reserve(256 * (rows.size() + 4));
  JsonObject table(out);
  table.key("header") += header;
  table.key("rows") += '[';
  for (std::size_t i = 0; i < rows.size(); ++i) {
    out += i == 0 ? "\r\n  " : ",\r\n  ";
    JsonFields fields{JsonObject(out)};
    write_fields(rows[i], fields);
    fields.object.end();
  }
  out += "\r\n]";
  table.end();
  out += "\r\n";
  return out;
}

}  // namespace view
