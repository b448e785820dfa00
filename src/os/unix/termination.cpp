#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "os/termination.hpp"

namespace os {
namespace {

// Every catchable signal whose default action ends the program, but SIGPIPE, which
// prepare_console turns into refused writes.
constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGUSR1,
                                  SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU};

TerminationHandler handler = nullptr;

sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal_number : kEndingSignals) sigaddset(&set, signal_number);
  return set;
}

extern "C" void on_ending_signal(int signal_number) { handler(signal_number); }

}  // namespace

void on_termination(TerminationHandler new_handler) {
  handler = new_handler;
  struct sigaction action {};
  action.sa_handler = on_ending_signal;
  // One handler at a time: a second signal waits for the first to end the program.
  action.sa_mask = ending_signals();
  for (const int signal_number : kEndingSignals) sigaction(signal_number, &action, nullptr);
  std::signal(SIGXFSZ, SIG_IGN);
}

void hold_termination() {
  const sigset_t set = ending_signals();
  sigprocmask(SIG_BLOCK, &set, nullptr);
}

void release_termination() {
  const sigset_t set = ending_signals();
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

void end_interrupted(int cause) {
  std::signal(cause, SIG_DFL);
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
