// Whether the console input is a terminal: an engineer typing the answers as they are asked,
// rather than a pipe or a file prepared beforehand.
#pragma once

namespace io {

bool console_input_is_terminal();

}  // namespace io
