// A KRANO soil file read back as the converter writes it: the SOILCHAR blocks with their
// layers, then the material table in SESAM records or in KNF kind blocks. Every field is read
// from the columns its layout gives it; what cannot be read is reported with its line number.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace soil {

// What an identifier field holds when it cannot be read: a number no identifier field can hold
// (none is 11 characters wide), so it names nothing and nothing is found by it.
inline constexpr std::int32_t kUnreadableIdentifier = std::numeric_limits<std::int32_t>::min();

// A number as the file writes it: its value and its text, blanks trimmed. A field of
// asterisks or an unreadable field has no value (NaN) and is reported.
struct Written {
  double value = 0.0;
  std::string text;
};

struct Layer {
  int line = 0;
  Written top;
  Written bottom;
  std::array<std::int32_t, 3> materials{};  // P-y, T-z, Q-z
};

struct Block {
  int line = 0;
  std::int32_t soil_id = 0;
  std::int32_t type = 0;
  Written mudline;
  Written diameter;
  Written force_factor;
  Written length_factor;
  std::vector<Layer> layers;
};

// A field a record holds as 0, with its place as a reader is told it ("line 2 field 1").
struct ZeroField {
  std::string name;
  Written value;
};

struct Point {
  Written force;
  Written displacement;
};

enum class TableFormat { None, Sesam, Knf };

struct Material {
  int line = 0;
  std::int32_t id = 0;
  std::int32_t kind = 0;  // the converter's kind numbers: 2 spring curve, 1, 3, 5, 10, 12, 18
  std::string keyword;    // "MISOPL", "ELPLCURV", "SPRIDIAG", "Elastic" ...
  bool elastoplastic = false;  // spring curves: ELPLCURV, or a SESAM curve law of 4
  Written law;                 // SESAM only: the curve law code as written
  // SESAM only: the fields the record holds as 0, line 1's after the law code, then line 2's.
  std::vector<ZeroField> zero_fields;
  std::vector<Point> points;   // spring curves
  // The other kinds' values in store order: MISOIEP and Elastic 5, CompS 7, Bearing S11 to
  // S66, spring matrices all 36 entries (zero off the diagonal of SPRIDIAG), MREF the six
  // referenced identifiers.
  std::vector<Written> values;
};

// A line that holds an error banner or the warning of the material table.
struct Banner {
  int line = 0;
  std::string text;
};

struct Problem {
  int line = 0;
  std::string what;
  std::string text;  // the line as it stands; nothing for the end of the file
};

struct SoilFile {
  TableFormat format = TableFormat::None;
  std::vector<Block> blocks;
  std::vector<Material> materials;
  std::vector<Banner> banners;
  std::vector<Problem> problems;
};

// Reads the whole text of a soil file; LF, CR LF and CR alone each end a line.
SoilFile read_soil_file(std::string_view text);

// Whether the start of a file is text (no control bytes but line ends and tabs), as a soil
// file is, rather than a binary ZADAZA file.
bool looks_like_soil_file(std::string_view start);

std::string_view format_name(TableFormat format);  // "none", "SESAM", "KNF"

// Whether the value is written at all, not asterisks or unreadable.
bool readable(const Written& w);

// The first spring curve material with the identifier, or none; none for an unreadable one.
const Material* find_spring_curve(const std::vector<Material>& materials, std::int32_t id);
const Material* find_spring_curve(const SoilFile& file, std::int32_t id);

// The identifier as a reader is shown it: its number, or "(unreadable)".
std::string identifier_text(std::int32_t id);

}  // namespace soil
