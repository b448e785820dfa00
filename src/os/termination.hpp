// The ends the program does not choose: a signal (POSIX), or Ctrl-C, Ctrl-Break or the console
// window closed (Windows).
#pragma once

#include <string_view>

namespace os {

// Called once for the first such end; it may only discard staged files and write on standard
// error (write_error_text), then must call end_interrupted with the cause it was given.
using TerminationHandler = void (*)(int cause);

// Installs the handler for every end of that kind that can be caught: on POSIX the signals
// HUP, INT, QUIT, TERM, USR1, USR2, ALRM, VTALRM, PROF and XCPU. A file grown past the size
// limit is then a refused write (kFileTooLarge), not an end.
void on_termination(TerminationHandler handler);

// From hold_termination to release_termination an end waits; at the release it is handled.
void hold_termination();
void release_termination();

// Ends the program as the cause would have without a handler (POSIX: killed by the signal)
// or with status 130 (Windows).
[[noreturn]] void end_interrupted(int cause);

// Writes the text on standard error; safe in the handler.
void write_error_text(std::string_view text);

}  // namespace os
