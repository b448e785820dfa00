// The whole run: dialogue, openings, reading, echo, summary, conversion and outcome.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace app {

inline constexpr int OUTPUT_UNIT = 91;

// Exit status when the ZADAZA file cannot be opened for reading.
inline constexpr int INPUT_UNOPENED_EXIT = 1;

// The number of diameters converted: the leading diameters above 1.0E-10 among the first four.
std::int32_t count_active_diameters(const zadaza::DiameterReals& DIAM);

// Runs one conversion on the console; returns the exit status (0 after every normal end, the
// early ones included). Input/output failures end the program inside, through io::fail_io.
int run_converter();

}  // namespace app
