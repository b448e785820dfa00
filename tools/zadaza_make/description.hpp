// The text description of a soil model that zadaza-make reads (see README.md).
#pragma once

#include <iosfwd>

#include "tool_model.hpp"

namespace zadaza_make {

// What a description may say. Sound: only what makes a file the converter reads soundly (no
// curve slot beyond the diameters, point counts of at most 23 with as many pairs given, a
// label of at most 80 characters without a carriage return). Unchecked: whatever it says,
// for files that test the converter on unsound input.
enum class Checking { Sound, Unchecked };

// Reads a description; throws std::runtime_error naming the line of the first mistake.
ToolModel read_description(std::istream& in, Checking checking);

// Writes the model as a description that read_description reads back to the same model.
void write_description(const ToolModel& model, std::ostream& out);

}  // namespace zadaza_make
