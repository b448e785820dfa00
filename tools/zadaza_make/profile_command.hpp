// zadaza-make --profile: a ZADAZA file of the standard curve families from a soil profile.
#pragma once

#include <span>

namespace zadaza_make {

inline constexpr const char* kProfileHelp =
    "\n"
    "Standard curves from a soil profile:\n"
    "  zadaza-make --profile PROFILE.csv --diameters D1,D2,... --loading static|cyclic\n"
    "              [--spacing H] [--label TEXT] OUTPUT.zdz\n"
    "  writes the P-y (Matlock clay, API sand), T-z and Q-z curves of every diameter, layer\n"
    "  by layer. Lengths are in m and forces in kN: diameters, depths and H in m, strengths,\n"
    "  limits and stresses in kPa, unit weights and k in kN/m3, phi in degrees.\n"
    "  PROFILE.csv has a header row and one row per soil unit from the mudline down,\n"
    "  without gaps: columns top, bottom, soil (clay or sand), unit_weight (effective);\n"
    "  clay: su_top, su_bottom, eps50, J, t_res; sand: phi, k, beta, f_lim, Nq, q_lim.\n"
    "  A value missing, unreadable or out of range is refused naming its row and column,\n"
    "  and nothing is written.\n"
    "  --diameters D1,...  the pile diameters, m, at most 15\n"
    "  --loading           static or cyclic: the P-y curves' loading\n"
    "  --spacing H         each unit is cut into the fewest equal layers no thicker than H\n"
    "                      (default 1 m); at most 80 layers in all\n"
    "  --label TEXT        the file's label, at most 80 characters (default: the profile's\n"
    "                      file name)\n"
    "  Exit status 0 written, 1 the profile or a file refused, 2 usage error.\n";

// Whether the arguments ask for a file from a profile.
bool asks_for_profile(std::span<const char* const> arguments);

// Writes the file and returns the exit status.
int run_profile(std::span<const char* const> arguments);

}  // namespace zadaza_make
