// Runs of the real programs, the same on every system: a program with its arguments (no shell
// between), its working folder, its whole console input, and its console output and standard
// error caught in files of a temporary folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// How a run ended and what it wrote on its console and on standard error.
struct ProgramRun {
  bool exited = false;     // ended through exit, not by a signal or the time limit
  int exit_status = -1;    // when it exited
  int signal = 0;          // when a signal ended it (never on Windows)
  bool timed_out = false;  // ended by the test at its time limit
  std::string console;
  std::string errors;
};

enum class Console {
  Kept,  // standard output captured
  Gone,  // standard output a pipe whose reader has already gone
};

struct Launch {
  Launch(std::vector<std::string> command_words, std::string in_folder = "",
         std::string console_input = "", Console output = Console::Kept)
      : command(std::move(command_words)),
        folder(std::move(in_folder)),
        input(std::move(console_input)),
        console(output) {}

  std::vector<std::string> command;  // the program, then its arguments
  std::string folder;                // where it runs; empty: where the test runs
  std::string input;                 // its console input
  Console console = Console::Kept;
  unsigned seconds = 10;             // a run that takes longer is ended
};

// Runs the program to its end; its console input ends after `launch.input`.
ProgramRun run_program(const Launch& launch);

// How a test may stop a running program: Ctrl-C (SIGINT) or a termination request (SIGTERM);
// on Windows both are the console's Ctrl-Break, the one event that reaches a single program.
enum class Stop { Interrupt, Terminate };

enum class Input {
  Open,   // the console input stays open after `launch.input` until finish()
  Ended,  // the console input ends after `launch.input`
  Typed,  // the console input is a terminal on which `launch.input` is typed, without echo
          // (POSIX only: on Windows the program is not started and the run throws)
};

// A program started with `launch.input` on its console input; with the input open it waits at
// the question after the last answer.
class RunningProgram {
 public:
  explicit RunningProgram(const Launch& launch, Input input = Input::Open);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // What the program has written on its console so far.
  std::string console() const;
  // True when the stop was sent.
  bool stop(Stop how);
  // Sends the POSIX signal; false when it could not be sent, and always on Windows.
  bool signal(int number);
  // Ends the console input and waits for the end.
  ProgramRun finish();

 private:
  struct Process;
  std::unique_ptr<Process> process_;
};

// The system the tests run on: a case that cannot arise on Windows is skipped there with the
// reason.
#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

// True when the tests run as the POSIX superuser, whom file permissions do not stop.
bool running_as_root();

// Makes a named pipe (FIFO); false where the system has none.
bool make_fifo(const std::string& path);

// Makes a device node like /dev/null or /dev/zero at `path`, so that no test hands the programs
// the machine's own; false where it cannot be made (not root, or on Windows).
enum class Device { Null, Zero };
bool make_device(const std::string& path, Device device);

// A file opened by this test without sharing, as another program may hold it on Windows, for
// as long as the object lives; held() is false where the system has no such opening.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path);
  ~HeldOpen();
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool held() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

// This test program's own standard input read from the file, or its standard output written
// to it (emptied first), for as long as the object lives: the console of the code under test,
// in the test's process.
enum class Stream { Input, Output };
class StreamOnFile {
 public:
  StreamOnFile(Stream stream, const std::string& path);
  ~StreamOnFile();
  StreamOnFile(const StreamOnFile&) = delete;
  StreamOnFile& operator=(const StreamOnFile&) = delete;

 private:
  Stream stream_;
  std::intptr_t saved_;
  std::intptr_t file_;
};

// The words of a command written as in a shell: blanks separate them, single quotes keep
// blanks inside one.
std::vector<std::string> words(const std::string& line);

}  // namespace test_support
