// The ZADAZA reader: loads the whole file on unit 89 into SOIL_MODEL in one pass.
#pragma once

#include <string_view>

namespace zadaza {

inline constexpr int ZADAZA_UNIT = 89;

enum class Generation { New, Old };

// The diameter groups of every layer of an Old file, which has no diameter count.
inline constexpr int kOldGenerationDiameters = 4;

// Opens the ZADAZA file for reading only (never creating it) on ZADAZA_UNIT. Returns 0, or the
// operating system's positive error number when it cannot be opened (missing, unreadable, a
// folder).
int open_zadaza_file(std::string_view name);

// Reads records 1 to 8 into SOIL_MODEL, writing the progress lines on the console. Returns
// whether the size limits held; when one does not, writes its three error lines and reads no
// further. Damaged or short records end the program through the input/output layer.
bool read_zadaza_file(Generation generation);

}  // namespace zadaza
