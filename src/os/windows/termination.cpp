#include <cstdlib>

#include "os/termination.hpp"
#include "os/windows/system.hpp"

namespace os {
namespace {

// The status a program ended by Ctrl-C has on POSIX shells, and so here too.
constexpr int kInterruptedStatus = 130;

TerminationHandler handler = nullptr;
bool held = false;

// Runs on a thread of its own: it waits for a step of the staged files, or a held commit, to
// end, and the program ends inside it.
BOOL WINAPI on_console_event(DWORD event) {
  ::EnterCriticalSection(&windows::termination_guard());
  handler(static_cast<int>(event));
  return TRUE;
}

}  // namespace

namespace windows {

CRITICAL_SECTION& termination_guard() {
  struct Guard {
    CRITICAL_SECTION section;
    Guard() { ::InitializeCriticalSection(&section); }
  };
  static Guard guard;
  return guard.section;
}

}  // namespace windows

void on_termination(TerminationHandler new_handler) {
  windows::termination_guard();
  handler = new_handler;
  ::SetConsoleCtrlHandler(on_console_event, TRUE);
}

// A console event is never a crash.
bool is_crash(int) { return false; }

void hold_termination() {
  if (held) return;
  ::EnterCriticalSection(&windows::termination_guard());
  held = true;
}

void release_termination() {
  if (!held) return;
  held = false;
  ::LeaveCriticalSection(&windows::termination_guard());
}

void end_interrupted(int) {
  ::ExitProcess(kInterruptedStatus);
  std::_Exit(kInterruptedStatus);
}

void write_error_text(std::string_view text) {
  write_all(standard_error(), text.data(), text.size());
}

}  // namespace os
