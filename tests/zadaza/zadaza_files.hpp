// Reading a ZADAZA file into a fresh SOIL_MODEL, its console lines captured.
#pragma once

#include <string>

#include "zadaza/reader.hpp"

namespace zadaza_test {

// Zeroes SOIL_MODEL, opens the file on the ZADAZA unit and reads it. Returns what the reader
// returns; the console lines it wrote go to `console` when given.
struct ReadOutcome {
  bool limits_met = false;
  std::string console;
};
ReadOutcome read_model(const std::string& path, zadaza::Generation generation);

void reset_model();

}  // namespace zadaza_test
