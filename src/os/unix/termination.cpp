#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "os/termination.hpp"

namespace os {
namespace {

// Every catchable signal whose default action ends the program, but SIGPIPE, which
// prepare_console turns into refused writes, and SIGXFSZ, ignored so that a file size limit is
// a refused write; the real-time signals come beside these. SIGSTKFLT and SIGPWR are Linux's.
constexpr int kEndingSignals[] = {
    SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM,
    SIGPROF, SIGXCPU, SIGIO,     SIGSYS,  SIGTRAP,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

// The signals of a fault in the program itself (or sent as if it were one). They are never
// held: a fault cannot wait.
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

TerminationHandler handler = nullptr;

// The handler of a crash runs here, so that a stack overflow can still remove the staged files.
alignas(16) char crash_stack[64 * 1024];

template <typename Visit>
void for_each_ending_signal(Visit visit) {
  for (const int signal_number : kEndingSignals) visit(signal_number);
#if defined(SIGRTMIN) && defined(SIGRTMAX)
  for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number) {
    visit(signal_number);
  }
#endif
}

sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for_each_ending_signal([&set](int signal_number) { sigaddset(&set, signal_number); });
  return set;
}

extern "C" void on_ending_signal(int signal_number) { handler(signal_number); }

void install(int signal_number, const struct sigaction& action) {
  sigaction(signal_number, &action, nullptr);
}

}  // namespace

void on_termination(TerminationHandler new_handler) {
  handler = new_handler;
  struct sigaction action {};
  action.sa_handler = on_ending_signal;
  // One handler at a time: a second signal waits for the first to end the program.
  action.sa_mask = ending_signals();
  for_each_ending_signal([&action](int signal_number) { install(signal_number, action); });

  stack_t crash_room{};
  crash_room.ss_sp = crash_stack;
  crash_room.ss_size = sizeof crash_stack;
  sigaltstack(&crash_room, nullptr);
  action.sa_flags = SA_ONSTACK;
  for (const int signal_number : kCrashSignals) install(signal_number, action);
  std::signal(SIGXFSZ, SIG_IGN);
}

bool is_crash(int cause) {
  for (const int signal_number : kCrashSignals) {
    if (signal_number == cause) return true;
  }
  return false;
}

void hold_termination() {
  const sigset_t set = ending_signals();
  sigprocmask(SIG_BLOCK, &set, nullptr);
}

void release_termination() {
  const sigset_t set = ending_signals();
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

// The signal comes again with its default action once it is let through: the end (and for a
// crash the core dump) is the one it would have been without a handler.
void end_interrupted(int cause) {
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigaction(cause, &default_action, nullptr);
  std::raise(cause);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, cause);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::_exit(128 + cause);
}

void write_error_text(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace os
