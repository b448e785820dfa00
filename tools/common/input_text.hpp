// The whole text of a tool's input file, read through the platform layer, so that a refusal
// comes with the system's reason.
#pragma once

#include <string>

#include "os/errors.hpp"

namespace tools {

// Reads the file whole into `text`; the system's refusal when it cannot be opened (a folder is
// refused) or read.
os::Error read_input_text(const std::string& path, std::string& text);

}  // namespace tools
