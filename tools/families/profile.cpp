#include "profile.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/csv.hpp"

namespace families {
namespace {

constexpr int kHeaderRow = 1;

std::string shortest(double v) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, v).ptr};
}

std::string quoted(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text).push_back('\'');
  return quoted;
}

[[noreturn]] void refuse(int row, std::string_view column, const std::string& why) {
  tools::refuse_row(row, column, why);
}

// A row's fields by column name.
class ProfileRow {
 public:
  ProfileRow(const tools::CsvTable& table, const tools::CsvRow& row) : table_(table), row_(row) {}

  int number() const { return row_.row; }

  std::string_view text(std::string_view column) const {
    const std::optional<std::size_t> at = tools::column_index(table_, column);
    if (!at) refuse(row_.row, column, "the table has no column " + std::string(column));
    if (*at >= row_.fields.size()) refuse(row_.row, column, "the row ends before this column");
    return row_.fields[*at];
  }

  double number(std::string_view column) const {
    const std::string_view field = text(column);
    double value = 0.0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty()) refuse(row_.row, column, "empty; give a number");
    if (error != std::errc{} || stop != end || !std::isfinite(value)) {
      refuse(row_.row, column, quoted(field) + " is not a number");
    }
    return value;
  }

  // A number above 0: a unit weight, strength, stiffness, factor or limit.
  double positive(std::string_view column) const {
    const double value = number(column);
    if (!(value > 0.0)) {
      refuse(row_.row, column, "must be above 0, is " + std::string(text(column)));
    }
    return value;
  }

  double within(std::string_view column, double low, double high, std::string_view range) const {
    const double value = number(column);
    if (value < low || value > high) {
      refuse(row_.row, column, std::string(text(column)) + " is outside " + std::string(range));
    }
    return value;
  }

 private:
  const tools::CsvTable& table_;
  const tools::CsvRow& row_;
};

Soil soil_of(const ProfileRow& row) {
  const std::string_view soil = row.text("soil");
  if (soil == "clay") return Soil::Clay;
  if (soil == "sand") return Soil::Sand;
  refuse(row.number(), "soil", quoted(soil) + " is neither clay nor sand");
}

ClayValues clay_of(const ProfileRow& row) {
  ClayValues c;
  c.su_top = row.positive("su_top");
  c.su_bottom = row.positive("su_bottom");
  c.eps50 = row.number("eps50");
  if (!(c.eps50 > 0.0) || c.eps50 > 0.1) {
    refuse(row.number(), "eps50", std::string(row.text("eps50")) + " is outside 0 to 0.1");
  }
  c.J = row.number("J");
  if (c.J < 0.0) refuse(row.number(), "J", "must be 0 or above, is " + std::string(row.text("J")));
  c.t_res = row.within("t_res", 0.7, 1.0, "0.7 to 1.0");
  return c;
}

SandValues sand_of(const ProfileRow& row) {
  SandValues s;
  s.phi = row.within("phi", 20.0, 45.0, "20 to 45 degrees");
  s.k = row.positive("k");
  s.beta = row.positive("beta");
  s.f_lim = row.positive("f_lim");
  s.Nq = row.positive("Nq");
  s.q_lim = row.positive("q_lim");
  return s;
}

SoilUnit unit_of(const ProfileRow& row, double expected_top) {
  SoilUnit u;
  u.row = row.number();
  u.top = row.number("top");
  if (u.top != expected_top) {
    refuse(u.row, "top",
           std::string(row.text("top")) + " does not follow on: the unit above ends at " +
               shortest(expected_top) + " (the first starts at 0)");
  }
  u.bottom = row.number("bottom");
  if (!(u.bottom > u.top)) refuse(u.row, "bottom", "must be below top");
  u.soil = soil_of(row);
  u.unit_weight = row.positive("unit_weight");
  if (u.soil == Soil::Clay) {
    u.clay = clay_of(row);
  } else {
    u.sand = sand_of(row);
  }
  return u;
}

}  // namespace

Profile profile_of(const tools::CsvTable& table) {
  Profile profile;
  for (const tools::CsvRow& row : table.rows) {
    profile.units.push_back(unit_of(ProfileRow(table, row), profile.bottom()));
  }
  if (profile.units.empty()) refuse(kHeaderRow + 1, "top", "the profile has no soil unit");
  return profile;
}

SoilAt soil_at(const Profile& profile, double x) {
  SoilAt at;
  if (!(x >= 0.0)) return at;  // above the mudline, or not a depth
  for (const SoilUnit& u : profile.units) {
    const double depth = std::min(x, u.bottom) - u.top;
    at.s += u.unit_weight * depth;
    if (x <= u.bottom) {
      at.unit = &u;
      if (u.soil == Soil::Clay) {
        at.su = u.clay.su_top + (u.clay.su_bottom - u.clay.su_top) * depth / (u.bottom - u.top);
      }
      return at;
    }
  }
  return SoilAt{};
}

}  // namespace families
