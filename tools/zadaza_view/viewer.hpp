// The whole run of zadaza-view: read, convert, draw, write.
#pragma once

#include <string>
#include <vector>

namespace view {

// Exit statuses, the converter's where the cause is the same.
inline constexpr int kCompleted = 0;
inline constexpr int kNotOpened = 1;
inline constexpr int kUsageOrOutputFailure = 2;
inline constexpr int kLimitOrConversionFailure = 3;

// Runs with the arguments after the program name and returns the exit status. A damaged
// ZADAZA file ends the program inside, with the converter's diagnostic and status 2.
int run_viewer(const std::vector<std::string>& arguments);

}  // namespace view
