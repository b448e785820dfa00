// The whole run: dialogue, openings, reading, echo, summary, conversion and outcome.
#pragma once

#include <cstdint>
#include <string_view>

#include "zadaza/soil_model.hpp"

namespace app {

inline constexpr int OUTPUT_UNIT = 91;

// Exit statuses: the run completed (or was stopped by an all-blank ZADAZA name); the ZADAZA
// file could not be opened for reading; input/output failures end with io::kIoFailureExit;
// the run ended "Conversion Feiled!" or on a size-limit failure of the ZADAZA file.
inline constexpr int kCompletedExit = 0;
inline constexpr int kInputUnopenedExit = 1;
inline constexpr int kConversionFailedExit = 3;
// An answer the run cannot use (an output format other than 1 or 2), not typed at a terminal:
// the run ends before any file is written, as after an input/output failure.
inline constexpr int kUnusableAnswerExit = 2;

// The number of diameters converted: among the first four, those before the first one that is
// 1.0E-10 or less. A NaN is not, so it counts (and the conversion then refuses it).
std::int32_t count_active_diameters(const zadaza::DiameterReals& DIAM);

// Runs one conversion on the console; returns the exit status. Input/output failures end the
// program inside, through io::fail_io; every other end of a run returns here. The echo
// report, when asked for, is written to `echo_file`, or, when that is empty, to the ZADAZA
// name with ".echo" added.
int run_converter(std::string_view echo_file = {});

// Puts the run's static storage (soil model, file names, settings, workspace, run status) back
// as the program finds it at start; for harnesses that run the converter many times in one
// process.
void reset_run_storage();

}  // namespace app
