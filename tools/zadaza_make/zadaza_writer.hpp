// Writes a ToolModel as a framed binary ZADAZA file.
#pragma once

#include <string>

#include "tool_model.hpp"

namespace zadaza_make {

enum class BlockStyle {
  Full,     // 128-byte blocks, then a last block holding the rest (a full one when it fits)
  LeadZero  // 128-byte blocks, and a record of a multiple of 128 bytes ends in an empty block
};

// The bytes of the file, framed.
std::string zadaza_file_bytes(const ToolModel& model, BlockStyle style);

}  // namespace zadaza_make
