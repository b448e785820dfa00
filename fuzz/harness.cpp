#include "harness.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "io/answers.hpp"
#include "io/binary_records.hpp"
#include "io/units.hpp"

namespace fuzz {
namespace {

// The units the program binds: its text files and the ZADAZA file.
constexpr int kTextUnits[] = {91, 92};
constexpr int kZadazaUnit = 89;

struct IoFailure {
  int exit_status;
};

[[noreturn]] void throw_io_failure(int exit_status) { throw IoFailure{exit_status}; }

[[noreturn]] void give_up(const char* what) {
  std::perror(what);
  std::abort();
}

void write_all(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(descriptor, bytes.data(), bytes.size());
    if (n <= 0) give_up("fuzz harness: write");
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

char scratch_folder[] = "/tmp/zadaza2krano-fuzz-XXXXXX";

void remove_scratch_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch_folder, ignored);
}

void reset_units() {
  io::discard_staged_files();
  for (const int unit : kTextUnits) io::close_unit(unit);
  io::close_binary_file(kZadazaUnit);
  io::forget_console_input();
  io::flush_all();
}

}  // namespace

void set_up_harness() {
  io::set_failure_handler(throw_io_failure);
  const int null_device = ::open("/dev/null", O_WRONLY);
  const int input = ::memfd_create("standard-input", 0);
  if (null_device < 0 || input < 0) give_up("fuzz harness: open");
  if (::dup2(null_device, STDOUT_FILENO) < 0 || ::dup2(input, STDIN_FILENO) < 0) {
    give_up("fuzz harness: dup2");
  }
  ::close(null_device);
  ::close(input);
  if (::mkdtemp(scratch_folder) == nullptr || ::chdir(scratch_folder) != 0) {
    give_up("fuzz harness: folder");
  }
  std::atexit(remove_scratch_folder);
}

void feed_standard_input(std::string_view bytes) {
  if (::ftruncate(STDIN_FILENO, 0) != 0 || ::lseek(STDIN_FILENO, 0, SEEK_SET) != 0) {
    give_up("fuzz harness: standard input");
  }
  write_all(STDIN_FILENO, bytes);
  if (::lseek(STDIN_FILENO, 0, SEEK_SET) != 0) give_up("fuzz harness: standard input");
}

void write_scratch_file(const char* name, std::string_view bytes) {
  const int descriptor = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (descriptor < 0) give_up("fuzz harness: scratch file");
  write_all(descriptor, bytes);
  ::close(descriptor);
}

int run_catching(void (*body)()) {
  int status = -1;
  try {
    body();
  } catch (const IoFailure& failure) {
    status = failure.exit_status;
  }
  reset_units();
  return status;
}

}  // namespace fuzz
