// The echo report: writes back, table by table, what the reader stored in SOIL_MODEL.
#pragma once

namespace zadaza {

inline constexpr int ECHO_UNIT = 92;

// Writes the whole report on ECHO_UNIT, which the caller has opened.
void WRITE_ECHO();

}  // namespace zadaza
