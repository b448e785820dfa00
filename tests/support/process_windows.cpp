#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "support/process.hpp"
#include "support/test_support.hpp"

namespace test_support {
namespace {

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
  return text;
}

// One argument as the C runtime of the started program splits its command line again:
// quotes around it, a quote escaped, backslashes doubled only before a quote.
void append_argument(std::wstring& line, const std::wstring& argument) {
  if (!line.empty()) line += L' ';
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

HANDLE inherited_file(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE file =
      ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path.string());
  return file;
}

// A pipe whose `inherited` end (0 reading, 1 writing) the child gets.
void make_pipe(HANDLE ends[2], int inherited) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!::CreatePipe(&ends[0], &ends[1], &inherit, 0)) throw std::runtime_error("pipe failed");
  ::SetHandleInformation(ends[1 - inherited], HANDLE_FLAG_INHERIT, 0);
}

// Wine now and then refuses to start a program with ERROR_INTERNAL_ERROR (here in about one run
// of all tests in five); the program has not run, and has written nothing. That refusal alone
// is tried again, each try named in the test's output; any other failure to start fails.
constexpr int kStartTries = 5;

bool wine_refused_start(DWORD error) { return error == ERROR_INTERNAL_ERROR; }

void log_start_retry(const std::string& program, DWORD error, int next_try) {
  std::printf("[ RETRY    ] Wine refused to start %s (error %lu), not run: try %d of %d\n",
              program.c_str(), static_cast<unsigned long>(error), next_try, kStartTries);
  std::fflush(stdout);
}

}  // namespace

bool running_as_root() { return false; }

bool make_fifo(const std::string&) { return false; }

bool make_device(const std::string&, Device) { return false; }

StreamOnFile::StreamOnFile(Stream stream, const std::string& path)
    : stream_(stream),
      saved_(reinterpret_cast<std::intptr_t>(
          ::GetStdHandle(stream == Stream::Input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE))) {
  const bool input = stream == Stream::Input;
  const HANDLE file = ::CreateFileW(wide(path).c_str(), input ? GENERIC_READ : GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    input ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  file_ = reinterpret_cast<std::intptr_t>(file);
  ::SetStdHandle(input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE, file);
}

StreamOnFile::~StreamOnFile() {
  ::SetStdHandle(stream_ == Stream::Input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE,
                 reinterpret_cast<HANDLE>(saved_));
  ::CloseHandle(reinterpret_cast<HANDLE>(file_));
}

HeldOpen::HeldOpen(const std::string& path) {
  const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) handle_ = file;
}

HeldOpen::~HeldOpen() {
  if (handle_ != nullptr) ::CloseHandle(handle_);
}

struct RunningProgram::Process {
  TempDir capture;
  PROCESS_INFORMATION started{};
  HANDLE input = nullptr;  // the writing end of an open console input
  DWORD milliseconds = 0;  // the time limit
};

RunningProgram::RunningProgram(const Launch& launch, Input input) : process_(new Process) {
  Process& p = *process_;
  if (input == Input::Typed) throw std::runtime_error("a typed console input needs a terminal");
  p.milliseconds = launch.seconds * 1000;
  HANDLE child_input = nullptr;
  if (input == Input::Open) {
    HANDLE ends[2];
    make_pipe(ends, 0);
    child_input = ends[0];
    p.input = ends[1];
  } else {
    write_file(p.capture / "input", launch.input);
    child_input = inherited_file(p.capture / "input", GENERIC_READ, OPEN_EXISTING);
  }
  HANDLE child_console = nullptr;
  if (launch.console == Console::Gone) {
    HANDLE ends[2];
    make_pipe(ends, 1);
    // Closed before the program starts, so that not one line can reach a reader.
    ::CloseHandle(ends[0]);
    child_console = ends[1];
  } else {
    child_console = inherited_file(p.capture / "console", GENERIC_WRITE, CREATE_ALWAYS);
  }
  const HANDLE child_errors = inherited_file(p.capture / "errors", GENERIC_WRITE, CREATE_ALWAYS);

  std::wstring line;
  for (const std::string& word : launch.command) append_argument(line, wide(word));
  const std::wstring program = wide(launch.command.at(0));
  const std::wstring folder = wide(launch.folder);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_input;
  startup.hStdOutput = child_console;
  startup.hStdError = child_errors;
  // A group of its own, so that a console event can be sent to this program alone.
  BOOL made = FALSE;
  DWORD start_error = 0;
  for (int attempt = 1;; ++attempt) {
    made = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                            CREATE_NEW_PROCESS_GROUP, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &p.started);
    start_error = made ? 0 : ::GetLastError();
    if (!wine_refused_start(start_error) || attempt == kStartTries) break;
    log_start_retry(launch.command.at(0), start_error, attempt + 1);
    ::Sleep(50);
  }
  ::CloseHandle(child_input);
  ::CloseHandle(child_console);
  ::CloseHandle(child_errors);
  if (!made) {
    const std::string refusals =
        wine_refused_start(start_error)
            ? " (Wine refused the start " + std::to_string(kStartTries) + " times)"
            : "";
    throw std::runtime_error("cannot start " + launch.command.at(0) + ": error " +
                             std::to_string(start_error) + refusals);
  }
  if (p.input != nullptr) {
    DWORD written = 0;
    ::WriteFile(p.input, launch.input.data(), static_cast<DWORD>(launch.input.size()), &written,
                nullptr);
  }
}

RunningProgram::~RunningProgram() {
  if (process_->started.hProcess != nullptr) finish();
}

std::string RunningProgram::console() const { return read_file(process_->capture / "console"); }

bool RunningProgram::stop(Stop) {
  return ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, process_->started.dwProcessId) != 0;
}

bool RunningProgram::signal(int) { return false; }

ProgramRun RunningProgram::finish() {
  Process& p = *process_;
  if (p.input != nullptr) ::CloseHandle(p.input);
  p.input = nullptr;
  ProgramRun run;
  if (::WaitForSingleObject(p.started.hProcess, p.milliseconds) == WAIT_TIMEOUT) {
    ::TerminateProcess(p.started.hProcess, 1);
    ::WaitForSingleObject(p.started.hProcess, INFINITE);
    run.timed_out = true;
  }
  DWORD status = 0;
  ::GetExitCodeProcess(p.started.hProcess, &status);
  ::CloseHandle(p.started.hThread);
  ::CloseHandle(p.started.hProcess);
  p.started = {};
  run.exited = !run.timed_out;
  run.exit_status = run.exited ? static_cast<int>(status) : -1;
  run.console = read_file(p.capture / "console");
  run.errors = read_file(p.capture / "errors");
  return run;
}

}  // namespace test_support
