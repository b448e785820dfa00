// zadaza-view --check: a ZADAZA file's curves against the standard families of a soil profile.
#pragma once

#include <string>
#include <vector>

namespace view {

inline constexpr const char* kCheckUsage =
    "       zadaza-view --check PROFILE.csv --loading static|cyclic [--tolerance R] [--old]\n"
    "                   ZADAZA_FILE [-o PAGE.html]\n";

inline constexpr const char* kCheckHelp =
    "\n"
    "Checking a ZADAZA file against the standard curve families:\n"
    "  --check PROFILE.csv  for every layer and diameter in use, the family curves (P-y,\n"
    "                       T-z, Q-z) of the profile at the layer's mid-depth, from the\n"
    "                       file's own layer bottoms; the profile as zadaza-make --profile\n"
    "                       reads it (m, kN, kPa, kN/m3). A curve's deviation is the largest\n"
    "                       |file stress - family stress| at the file's displacements, over\n"
    "                       the family's ultimate stress. Lists every curve beyond R, naming\n"
    "                       the diameter, layer and curve type. Exit status 0 every curve\n"
    "                       within R, 1 some beyond, 2 an error (a layer below the profile,\n"
    "                       a file without curves or that cannot be read, a usage\n"
    "                       error)\n"
    "  --loading            static or cyclic, as the file was made for\n"
    "  --tolerance R        with --check: the largest deviation allowed (default 0.05)\n"
    "  -o PAGE.html         with --check: also write a page with the worst deviation per\n"
    "                       layer and curve type, and the family curve over every chart\n";

inline constexpr int kCheckWithin = 0;
inline constexpr int kCheckBeyond = 1;
inline constexpr int kCheckError = 2;

// Whether the arguments ask for a check.
bool asks_for_check(const std::vector<std::string>& arguments);

// Runs the check and returns its exit status.
int run_check(const std::vector<std::string>& arguments);

}  // namespace view
