// The questions of the dialogue and the banner, each asked on the console and answered on the
// console input. Every question is 32 characters, its last one a blank.
#pragma once

#include <array>
#include <string_view>

#include "convert/settings.hpp"
#include "zadaza/reader.hpp"

namespace app {

// File names are kept whole up to this length; a longer answer is refused, never cut.
inline constexpr int kFileNameLength = 4096;
using FileName = std::array<char, kFileNameLength>;

// Added to the ZADAZA file name for the default output name and for the echo file name.
inline constexpr std::string_view kOutputExtension = ".fem";
inline constexpr std::string_view kEchoExtension = ".echo";

// Whether the name without its surrounding blanks, with `extension` added, is still a name that
// is kept whole (kFileNameLength characters at most).
bool fits_with_extension(std::string_view name, std::string_view extension);

// "New or Old ZADAZA data  /New/ ? ": O (either case) selects Old, anything else New.
zadaza::Generation ask_generation();

// Four empty lines, then the banner of the generation.
void write_banner(zadaza::Generation generation);

// The ZADAZA file name as typed, blank-padded; all blank when the answer was empty.
void ask_zadaza_file(FileName& name);

// The orientation (asked again until it reads as P or N), the axis origin, both scaling
// factors, the identifier offset and the output format, in this order. At a terminal an
// answer that cannot be used is asked again after its reason on standard error. False when
// the output format is neither 1 nor 2 (answers not typed at a terminal): the reason is on
// standard error and the run must end before any file is written.
bool ask_settings(convert::ConversionSettings& settings);

// The output file name as typed, or, for an empty answer, the ZADAZA file name with ".fem".
// A name that would grow too long to be kept whole ends the program through io::fail_io.
void ask_output_file(FileName& name, const FileName& zadaza_file);

// "Echo of ZADAZA data   /No/    ? ": whether the answer was Y (either case).
bool ask_echo();

// The echo file name made from the ZADAZA file name in place: ".echo" added. A name that would
// grow too long to be kept whole ends the program through io::fail_io, naming the echo question.
void name_echo_file(FileName& name);

}  // namespace app
