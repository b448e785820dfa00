// A soil profile as the curve families read it: soil units from the mudline down, each of clay
// or sand with the values its families need. Lengths in m, forces in kN, stresses in kPa,
// unit weights in kN/m3.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tools {
struct CsvTable;
}

namespace families {

enum class Soil { Clay, Sand };
enum class Loading { Static, Cyclic };

struct ClayValues {
  double su_top = 0.0;     // undrained shear strength at the unit's top, kPa
  double su_bottom = 0.0;  // and at its bottom; linear between
  double eps50 = 0.0;      // strain at half the strength
  double J = 0.0;          // the lateral resistance's depth coefficient
  double t_res = 0.0;      // residual skin friction over tmax
};

struct SandValues {
  double phi = 0.0;    // friction angle, degrees
  double k = 0.0;      // initial modulus of subgrade reaction, kN/m3
  double beta = 0.0;   // shaft friction factor
  double f_lim = 0.0;  // limiting skin friction, kPa
  double Nq = 0.0;     // end bearing factor
  double q_lim = 0.0;  // limiting end bearing, kPa
};

struct SoilUnit {
  int row = 0;  // the profile table's row, the header being row 1
  double top = 0.0;
  double bottom = 0.0;
  Soil soil = Soil::Clay;
  double unit_weight = 0.0;  // effective, kN/m3
  ClayValues clay;
  SandValues sand;
};

struct Profile {
  std::vector<SoilUnit> units;  // from the mudline down, without gaps

  double bottom() const { return units.empty() ? 0.0 : units.back().bottom; }
};

// A profile the layers cannot be cut from.
struct ProfileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The profile of a table with the columns top, bottom, soil, unit_weight and the columns of
// each row's soil (clay: su_top, su_bottom, eps50, J, t_res; sand: phi, k, beta, f_lim, Nq,
// q_lim), in any order; other columns are passed over. Throws std::runtime_error naming the
// row and column of the first value missing, unreadable or outside what the soil can be.
Profile profile_of(const tools::CsvTable& table);

// Where the soil is at depth x: the unit holding it and the effective vertical stress and
// undrained strength (0 for sand) there; no unit above the mudline or below the profile.
struct SoilAt {
  const SoilUnit* unit = nullptr;  // none outside the profile
  double s = 0.0;                  // effective vertical stress, kPa
  double su = 0.0;                 // undrained shear strength, kPa
};
SoilAt soil_at(const Profile& profile, double x);

}  // namespace families
