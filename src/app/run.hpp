// The whole run: dialogue, openings, reading, echo, summary, conversion and outcome.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace app {

inline constexpr int OUTPUT_UNIT = 91;

// Exit statuses: the run completed (or was stopped by an all-blank ZADAZA name); the ZADAZA
// file could not be opened for reading; input/output failures end with io::kIoFailureExit;
// the run ended "Conversion Feiled!" or on a size-limit failure of the ZADAZA file.
inline constexpr int kCompletedExit = 0;
inline constexpr int kInputUnopenedExit = 1;
inline constexpr int kConversionFailedExit = 3;

// The number of diameters converted: among the first four, those before the first one that is
// 1.0E-10 or less. A NaN is not, so it counts (and the conversion then refuses it).
std::int32_t count_active_diameters(const zadaza::DiameterReals& DIAM);

// Runs one conversion on the console; returns the exit status. Input/output failures end the
// program inside, through io::fail_io; every other end of a run returns here.
int run_converter();

// Puts the run's static storage (soil model, file names, settings, workspace, run status) back
// as the program finds it at start; for harnesses that run the converter many times in one
// process.
void reset_run_storage();

}  // namespace app
