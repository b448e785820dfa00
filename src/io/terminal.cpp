#include "io/terminal.hpp"

#include <unistd.h>

namespace io {

bool console_input_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

}  // namespace io
