// The ends the program does not choose: a signal (POSIX), or Ctrl-C, Ctrl-Break or the console
// window closed (Windows).
#pragma once

#include <string_view>

namespace os {

// Called once for the first such end; it may only discard staged files and write on standard
// error (write_error_text), then must call end_interrupted with the cause it was given.
using TerminationHandler = void (*)(int cause);

// Installs the handler for every end of that kind that can be caught. On POSIX: every signal
// whose default action ends the program (HUP, INT, QUIT, TERM, USR1, USR2, ALRM, VTALRM, PROF,
// XCPU, IO, SYS, TRAP, and on Linux STKFLT and PWR, and the real-time signals from SIGRTMIN to
// SIGRTMAX), and the crash signals (SEGV, BUS, FPE, ILL, ABRT), whose handler runs on a stack
// of its own so that a stack overflow reaches it too. PIPE is left to prepare_console; a file
// grown past the size limit (XFSZ) is then a refused write (kFileTooLarge), not an end. On
// Windows: Ctrl-C, Ctrl-Break and the console window closed.
void on_termination(TerminationHandler handler);

// Whether the cause is a crash signal: a fault of the program, or a signal sent as one. Never
// held, and no message is due for it, only the staged files removed. False on Windows.
bool is_crash(int cause);

// From hold_termination to release_termination an end waits (a crash does not); at the
// release it is handled.
void hold_termination();
void release_termination();

// Ends the program as the cause would have without a handler (POSIX: killed by the signal,
// with its core dump where its default action makes one) or with status 130 (Windows).
[[noreturn]] void end_interrupted(int cause);

// Writes the text on standard error; safe in the handler.
void write_error_text(std::string_view text);

}  // namespace os
