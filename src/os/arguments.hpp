// The program's command-line arguments as the rest of the program reads them: UTF-8 text,
// whatever the system passes them in.
#pragma once

#include <span>

namespace os {

// The arguments after the program name. On POSIX they are `argv` as given; on Windows they
// are read again from the wide command line, so that names beyond the console's code page
// arrive whole. The texts live as long as the program.
std::span<const char* const> program_arguments(int argc, char** argv);

}  // namespace os
