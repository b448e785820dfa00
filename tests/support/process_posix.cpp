#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "support/process.hpp"
#include "support/test_support.hpp"

namespace test_support {
namespace {

// In the child: the descriptor becomes `target`, or the child ends with status 127.
void redirect(int descriptor, int target) {
  if (descriptor < 0 || ::dup2(descriptor, target) < 0) ::_exit(127);
  ::close(descriptor);
}

int open_for_writing(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
}

// A pseudo-terminal without echo: its controlling side in `terminal`, the side a program reads
// in `typed`.
void open_terminal(int& terminal, int& typed) {
  terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  typed = ::open(::ptsname(terminal), O_RDWR | O_NOCTTY);
  termios modes{};
  if (typed < 0 || ::tcgetattr(typed, &modes) != 0) throw std::runtime_error("no pseudo-terminal");
  modes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  ::tcsetattr(typed, TCSANOW, &modes);
}

void write_all(int to, const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const ssize_t written = ::write(to, text.data() + at, text.size() - at);
    if (written <= 0) break;
    at += static_cast<std::size_t>(written);
  }
}

}  // namespace

bool running_as_root() { return ::geteuid() == 0; }

bool make_fifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

bool make_device(const std::string& path, Device device) {
  constexpr unsigned kMemoryDevices = 1;  // Linux's major number of null and zero
  const unsigned minor = device == Device::Null ? 3 : 5;
  return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(kMemoryDevices, minor)) == 0;
}

StreamOnFile::StreamOnFile(Stream stream, const std::string& path)
    : stream_(stream),
      saved_(::dup(stream == Stream::Input ? STDIN_FILENO : STDOUT_FILENO)),
      file_(stream == Stream::Input ? ::open(path.c_str(), O_RDONLY) : open_for_writing(path)) {
  if (saved_ < 0 || file_ < 0) throw std::runtime_error("cannot open " + path);
  ::dup2(static_cast<int>(file_), stream == Stream::Input ? STDIN_FILENO : STDOUT_FILENO);
}

StreamOnFile::~StreamOnFile() {
  ::dup2(static_cast<int>(saved_), stream_ == Stream::Input ? STDIN_FILENO : STDOUT_FILENO);
  ::close(static_cast<int>(saved_));
  ::close(static_cast<int>(file_));
}

HeldOpen::HeldOpen(const std::string&) {}
HeldOpen::~HeldOpen() = default;

struct RunningProgram::Process {
  TempDir capture;
  pid_t child = -1;
  int input = -1;     // the writing end of an open console input
  int terminal = -1;  // the controlling side of a typed console input, kept to the end
};

RunningProgram::RunningProgram(const Launch& launch, Input input) : process_(new Process) {
  Process& p = *process_;
  int console_input[2] = {-1, -1};
  if (input == Input::Open) {
    if (::pipe(console_input) != 0) throw std::runtime_error("pipe failed");
  } else if (input == Input::Typed) {
    open_terminal(p.terminal, console_input[0]);
  } else {
    write_file(p.capture.path("input"), launch.input);
  }
  int gone[2] = {-1, -1};
  if (launch.console == Console::Gone) {
    if (::pipe(gone) != 0) throw std::runtime_error("pipe failed");
    // Closed before the program starts, so that not one line can reach a reader.
    ::close(gone[0]);
  }
  std::vector<char*> argv;
  for (const std::string& word : launch.command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  p.child = ::fork();
  if (p.child < 0) throw std::runtime_error("fork failed");
  if (p.child == 0) {
    if (!launch.folder.empty() && ::chdir(launch.folder.c_str()) != 0) ::_exit(127);
    if (input == Input::Open) {
      ::close(console_input[1]);
      redirect(console_input[0], STDIN_FILENO);
    } else if (input == Input::Typed) {
      ::close(p.terminal);
      redirect(console_input[0], STDIN_FILENO);
    } else {
      redirect(::open(p.capture.path("input").c_str(), O_RDONLY), STDIN_FILENO);
    }
    redirect(launch.console == Console::Gone ? gone[1] : open_for_writing(p.capture.path("console")),
             STDOUT_FILENO);
    redirect(open_for_writing(p.capture.path("errors")), STDERR_FILENO);
    ::alarm(launch.seconds);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  if (launch.console == Console::Gone) ::close(gone[1]);
  if (input == Input::Open) {
    ::close(console_input[0]);
    p.input = console_input[1];
    // A program that stops reading early ends the writing quietly, not the test by SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    write_all(p.input, launch.input);
  } else if (input == Input::Typed) {
    ::close(console_input[0]);
    write_all(p.terminal, launch.input);
  }
}

RunningProgram::~RunningProgram() {
  if (process_->child > 0) finish();
}

std::string RunningProgram::console() const { return read_file(process_->capture / "console"); }

bool RunningProgram::stop(Stop how) { return signal(how == Stop::Interrupt ? SIGINT : SIGTERM); }

bool RunningProgram::signal(int number) { return ::kill(process_->child, number) == 0; }

ProgramRun RunningProgram::finish() {
  Process& p = *process_;
  if (p.input >= 0) ::close(p.input);
  p.input = -1;
  int status = 0;
  while (::waitpid(p.child, &status, 0) < 0 && errno == EINTR) {
  }
  p.child = -1;
  if (p.terminal >= 0) ::close(p.terminal);
  p.terminal = -1;
  ProgramRun run;
  run.exited = WIFEXITED(status);
  run.exit_status = run.exited ? WEXITSTATUS(status) : -1;
  run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  run.timed_out = run.signal == SIGALRM;
  run.console = read_file(p.capture / "console");
  run.errors = read_file(p.capture / "errors");
  return run;
}

}  // namespace test_support
