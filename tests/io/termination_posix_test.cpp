// The ends a run does not choose, at the moments that matter: a signal before the staged files
// take their names or while they do, a file grown past the size limit, and the record of
// whether output was written. Signals and size limits are POSIX's; each case runs in a child.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>

#include "io/units.hpp"
#include "support/test_support.hpp"

namespace {

constexpr auto kWord = format::layout<"(A)">;
constexpr int kIoFailureExit = 2;

int signal_to_raise = 0;

void raise_signal(int) { std::raise(signal_to_raise); }

void limit_file_size(rlim_t bytes) {
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &limit);
}

class Termination : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::write_file(first_, "earlier first\r\n");
    test_support::write_file(second_, "earlier second\r\n");
  }
  // Stages both files with new contents, `second_lines` lines of them in the second.
  void stage_both(int second_lines = 1) const {
    io::stage_replaced_files();
    io::bind_text_file(11, first_, false, false, true);
    io::bind_text_file(12, second_, false, false, true);
    io::write(11, kWord, {"new first"});
    for (int line = 0; line < second_lines; ++line) io::write(12, kWord, {"new second"});
  }
  std::string contents(const std::string& path) const { return test_support::read_file(path); }
  std::set<std::string> names() const {
    const auto all = test_support::file_names(folder_.dir());
    return {all.begin(), all.end()};
  }

  test_support::TempDir folder_;
  const std::string first_ = folder_.path("first.txt");
  const std::string second_ = folder_.path("second.txt");
};

struct SignalCase {
  const char* name;
  int signal_number;
  bool inside_commit;  // raised after the first file took its name, else before the commit
};

class SignalWindows : public Termination, public ::testing::WithParamInterface<SignalCase> {};

// Either no file takes its name or both do, and the message says which.
TEST_P(SignalWindows, AllOrNoneTakeTheirNamesAndTheMessageSaysWhich) {
  const SignalCase& c = GetParam();
  signal_to_raise = c.signal_number;
  EXPECT_EXIT(
      {
        io::discard_staged_files_on_signals();
        stage_both();
        if (!c.inside_commit) std::raise(c.signal_number);
        io::set_commit_observer(raise_signal);
        io::commit_staged_files();
        io::write(io::kConsoleOut, kWord, {"outcome"});
        io::end_commit_step();
        std::_Exit(0);
      },
      ::testing::KilledBySignal(c.signal_number),
      c.inside_commit ? "^zadaza2krano: interrupted; the output was written\n$"
                      : "^zadaza2krano: interrupted; no output was written\n$");
  const bool written = c.inside_commit;
  EXPECT_EQ(contents(first_), written ? "new first\r\n" : "earlier first\r\n");
  EXPECT_EQ(contents(second_), written ? "new second\r\n" : "earlier second\r\n");
  EXPECT_EQ(names(), (std::set<std::string>{"first.txt", "second.txt"}));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, SignalWindows,
    ::testing::Values(SignalCase{"HangupBefore", SIGHUP, false},
                      SignalCase{"InterruptBefore", SIGINT, false},
                      SignalCase{"QuitBefore", SIGQUIT, false},
                      SignalCase{"TerminateBefore", SIGTERM, false},
                      SignalCase{"User1Before", SIGUSR1, false},
                      SignalCase{"User2Before", SIGUSR2, false},
                      SignalCase{"AlarmBefore", SIGALRM, false},
                      SignalCase{"VirtualAlarmBefore", SIGVTALRM, false},
                      SignalCase{"ProfileBefore", SIGPROF, false},
                      SignalCase{"CpuLimitBefore", SIGXCPU, false},
                      SignalCase{"IoBefore", SIGIO, false},
                      SignalCase{"PowerBefore", SIGPWR, false},
                      SignalCase{"FirstRealTimeBefore", SIGRTMIN, false},
                      SignalCase{"TerminateInside", SIGTERM, true},
                      SignalCase{"InterruptInside", SIGINT, true},
                      SignalCase{"TrapInside", SIGTRAP, true},
                      SignalCase{"LastRealTimeInside", SIGRTMAX, true}),
    [](const ::testing::TestParamInfo<SignalCase>& info) { return info.param.name; });

// A crash cannot wait for the commit step: the files not yet renamed are removed, nothing is
// said, and the end is the crash signal's own, even from inside the commit.
TEST_F(Termination, CrashSignalsAreNotHeldAndSayNothing) {
  for (const int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    SCOPED_TRACE(crash);
    signal_to_raise = crash;
    EXPECT_EXIT(
        {
          const rlimit no_core{};
          setrlimit(RLIMIT_CORE, &no_core);
          io::discard_staged_files_on_signals();
          stage_both();
          io::set_commit_observer(raise_signal);
          io::commit_staged_files();
          io::end_commit_step();
          std::_Exit(0);
        },
        ::testing::KilledBySignal(crash), "^$");
    EXPECT_EQ(contents(first_), "new first\r\n");
    EXPECT_EQ(contents(second_), "earlier second\r\n");
    EXPECT_EQ(names(), (std::set<std::string>{"first.txt", "second.txt"}));
    test_support::write_file(first_, "earlier first\r\n");
  }
}

// Deeper and deeper until the stack is gone; the depth is never reached.
int overflow_stack(int depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  if (depth == std::numeric_limits<int>::max()) return frame[0];
  return overflow_stack(depth + 1) + frame[0];
}

enum class Fault { StackOverflow, Abort };

// Faults of the program itself, not signals sent to it: the staged files are removed even when
// the stack is used up, and the end is the fault's own.
TEST_F(Termination, RealFaultsRemoveTheStagedFiles) {
  const struct {
    const char* name;
    Fault fault;
    int signal_number;
  } faults[] = {{"StackOverflow", Fault::StackOverflow, SIGSEGV}, {"Abort", Fault::Abort, SIGABRT}};
  for (const auto& f : faults) {
    SCOPED_TRACE(f.name);
    EXPECT_EXIT(
        {
          const rlimit no_core{};
          setrlimit(RLIMIT_CORE, &no_core);
          io::discard_staged_files_on_signals();
          stage_both();
          if (f.fault == Fault::StackOverflow) overflow_stack(0);
          std::abort();
        },
        ::testing::KilledBySignal(f.signal_number), "");
    EXPECT_EQ(contents(first_), "earlier first\r\n");
    EXPECT_EQ(names(), (std::set<std::string>{"first.txt", "second.txt"}));
  }
}

// Every staged file is written out before the first takes its name: a write refused at the
// second (past the file size limit) leaves the first under its earlier contents too.
TEST_F(Termination, FileSizeLimitIsARefusedWriteBeforeAnyNameIsTaken) {
  EXPECT_EXIT(
      {
        io::discard_staged_files_on_signals();
        limit_file_size(512);  // room for the message on the captured standard error
        stage_both(100);
        io::commit_staged_files();
        io::flush_all();
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(kIoFailureExit),
      "^zadaza2krano: write refused: File too large, unit 12, file [^,]*second\\.txt; no output "
      "was written\n$");
  EXPECT_EQ(contents(first_), "earlier first\r\n");
  EXPECT_EQ(contents(second_), "earlier second\r\n");
  EXPECT_EQ(names(), (std::set<std::string>{"first.txt", "second.txt"}));
}

struct CaughtFailure {};
[[noreturn]] void throw_failure(int) { throw CaughtFailure{}; }

// A file given its name by close_unit is output written: a later failure must not deny it.
TEST_F(Termination, AFileClosedIntoItsNameCountsAsOutputWritten) {
  for (const bool closed : {false, true}) {
    stage_both();
    if (closed) io::close_unit(11);
    io::set_failure_handler(throw_failure);
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(io::fail_io(5, "probe"), CaughtFailure);
    io::set_failure_handler(nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              closed ? "zadaza2krano: probe, unit 5; the output was written\n"
                     : "zadaza2krano: probe, unit 5; no output was written\n");
    EXPECT_EQ(contents(first_), closed ? "new first\r\n" : "earlier first\r\n");
    io::stage_replaced_files(false);
  }
}

}  // namespace
