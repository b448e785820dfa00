#include "support/test_support.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_support {
namespace {

constexpr unsigned kRunSeconds = 10;

// In the child: the descriptor becomes `target`, or the child ends with status 127.
void redirect(int descriptor, int target) {
  if (descriptor < 0 || ::dup2(descriptor, target) < 0) ::_exit(127);
  ::close(descriptor);
}

}  // namespace

TempDir::TempDir() {
  char pattern[] = "/tmp/zadaza-test-XXXXXX";
  const char* made = ::mkdtemp(pattern);
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = made;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();  // a read error, as on a folder, ends the text instead of throwing
  return all.str();
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  const std::string text = read_file(path);
  return {text.begin(), text.end()};
}

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  write_file(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> file_names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void make_zadaza(const std::string& arguments) {
  const std::string command = std::string("\"") + ZZ_MAKE_TOOL + "\" " + arguments + " > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

ProgramRun run_converter(const std::string& folder, const std::string& answers,
                         Console console) {
  const TempDir capture;
  write_file(capture.path("answers"), answers);
  int gone[2] = {-1, -1};
  if (console == Console::Gone) {
    if (::pipe(gone) != 0) throw std::runtime_error("pipe failed");
    // Closed before the program starts, so that not one line can reach a reader.
    ::close(gone[0]);
  }
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    if (::chdir(folder.c_str()) != 0) ::_exit(127);
    redirect(::open(capture.path("answers").c_str(), O_RDONLY), STDIN_FILENO);
    if (console == Console::Gone) {
      redirect(gone[1], STDOUT_FILENO);
    } else {
      redirect(::open(capture.path("console").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
               STDOUT_FILENO);
    }
    redirect(::open(capture.path("errors").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
             STDERR_FILENO);
    ::alarm(kRunSeconds);
    ::execl(ZZ_CONVERTER, ZZ_CONVERTER, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (console == Console::Gone) ::close(gone[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  ProgramRun run;
  run.exited = WIFEXITED(status);
  run.exit_status = run.exited ? WEXITSTATUS(status) : -1;
  run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  run.console = read_file(capture.path("console"));
  run.errors = read_file(capture.path("errors"));
  return run;
}

}  // namespace test_support
