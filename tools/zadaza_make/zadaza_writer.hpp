// Writes a ToolModel as a framed binary ZADAZA file.
#pragma once

#include <string>

#include "tool_model.hpp"

namespace zadaza_make {

enum class BlockStyle {
  Full,     // 128-byte blocks, then a last block holding the rest (a full one when it fits)
  LeadZero  // 128-byte blocks, and a record of a multiple of 128 bytes ends in an empty block
};

// Writes the file; throws std::runtime_error when it cannot be written.
void write_zadaza_file(const ToolModel& model, BlockStyle style, const std::string& path);

}  // namespace zadaza_make
