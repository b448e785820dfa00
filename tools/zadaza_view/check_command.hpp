// zadaza-view --check: a ZADAZA file's curves against the standard families of a soil profile.
#pragma once

#include "options.hpp"

namespace view {

inline constexpr int kCheckWithin = 0;
inline constexpr int kCheckBeyond = 1;
inline constexpr int kCheckError = 2;

// Runs the check the options ask for and returns its exit status.
int run_check(const Options& options);

}  // namespace view
