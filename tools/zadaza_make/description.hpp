// The text description of a soil model that zadaza-make reads (see README.md).
#pragma once

#include <iosfwd>

#include "tool_model.hpp"

namespace zadaza_make {

// Reads a description; throws std::runtime_error naming the line of the first mistake.
ToolModel read_description(std::istream& in);

// Writes the model as a description that read_description reads back to the same model.
void write_description(const ToolModel& model, std::ostream& out);

}  // namespace zadaza_make
