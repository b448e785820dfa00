// The whole run of zadaza-view: read, convert, draw, write.
#pragma once

#include <span>
#include <string>

#include "app/run.hpp"
#include "io/units.hpp"

namespace view {

// Exit statuses: the converter's, for the same causes.
inline constexpr int kCompleted = app::kCompletedExit;
inline constexpr int kNotOpened = app::kInputUnopenedExit;
inline constexpr int kUsageOrOutputFailure = io::kIoFailureExit;
inline constexpr int kLimitOrConversionFailure = app::kConversionFailedExit;

// Writes the program's name ("zadaza-view: ") and the message on standard error, after the
// console lines so far.
void report(const std::string& message);

// Writes the line on the console, after the console lines written so far.
void say(const std::string& line);

// Runs with the arguments after the program name and returns the exit status. A damaged
// ZADAZA file ends the program inside, with the converter's diagnostic and status 2.
int run_viewer(std::span<const char* const> arguments);

}  // namespace view
