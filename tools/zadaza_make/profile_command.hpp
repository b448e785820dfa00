// zadaza-make --profile: a ZADAZA file of the standard curve families from a soil profile.
#pragma once

#include "command_line.hpp"

namespace zadaza_make {

// Writes the file the options ask for from the profile; throws std::runtime_error, naming the
// profile's row and column or the file, when the profile or a file is refused, and then
// nothing is written.
void write_profile_file(const Options& o);

}  // namespace zadaza_make
