#include "io/units.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace io {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kMaxNameLength = 1023;

static_assert(kBufferSize >= 2 * kMaxRenderedChars);

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool known = false;

  bool same_as(const FileIdentity& other) const {
    return known && other.known && device == other.device && inode == other.inode;
  }
};

// All zero is an unbound unit, so the table needs no initialisation beyond the console.
struct Unit {
  bool is_bound = false;
  int descriptor = 0;
  std::size_t used = 0;
  FileIdentity identity;
  std::array<char, kMaxNameLength + 1> name{};
  std::size_t name_length = 0;

  bool bound() const { return is_bound; }
  std::string_view file_name() const { return {name.data(), name_length}; }
};

std::array<Unit, MAX_UNIT + 1> units;

const bool console_bound = [] {
  units[CONSOLE_OUT].is_bound = true;
  units[CONSOLE_OUT].descriptor = STDOUT_FILENO;
  return true;
}();

// Kept apart from the table so that the table stays small to scan.
char buffers[MAX_UNIT + 1][kBufferSize];

FileIdentity protected_input;

FailureHandler failure_handler = nullptr;

bool valid_unit(int unit) { return unit >= 1 && unit <= MAX_UNIT; }

bool is_console(int unit) { return unit == CONSOLE_IN || unit == CONSOLE_OUT; }

FileIdentity identity_of(const struct stat& status) {
  return {status.st_dev, status.st_ino, true};
}

// Hands the buffered characters of the unit to the operating system; 0 or the errno of the
// refusal. The buffer is emptied either way, so a refusal is reported once.
int drain(Unit& u) {
  const char* data = buffers[&u - units.data()];
  std::size_t done = 0;
  int error = 0;
  while (done < u.used) {
    const ssize_t n = ::write(u.descriptor, data + done, u.used - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  u.used = 0;
  return error;
}

[[noreturn]] void fail_write(int unit, int error) {
  constexpr std::string_view kRefused = "write refused: ";
  static char what[160];
  const char* reason = std::strerror(error);
  const std::size_t reason_length = std::min(std::strlen(reason), sizeof what - kRefused.size());
  std::copy(kRefused.begin(), kRefused.end(), what);
  std::copy_n(reason, reason_length, what + kRefused.size());
  fail_io(unit, {what, kRefused.size() + reason_length});
}

void flush_unit(int unit) {
  Unit& u = units[static_cast<std::size_t>(unit)];
  if (!u.bound() || u.used == 0) return;
  if (const int error = drain(u); error != 0) fail_write(unit, error);
}

void unbind(Unit& u) {
  if (u.descriptor > STDERR_FILENO) ::close(u.descriptor);
  u = Unit{};
}

bool in_use(const FileIdentity& candidate) {
  if (candidate.same_as(protected_input)) return true;
  return std::any_of(units.begin(), units.end(),
                     [&](const Unit& u) { return candidate.same_as(u.identity); });
}

// Binds the open descriptor to the unit, which close_unit has emptied.
void attach(int unit, int descriptor, const FileIdentity& identity, std::string_view name) {
  Unit& u = units[static_cast<std::size_t>(unit)];
  u.is_bound = true;
  u.descriptor = descriptor;
  u.identity = identity;
  u.name_length = name.size();
  std::copy(name.begin(), name.end(), u.name.begin());
}

// Several units may share an output device (a terminal, /dev/null); only regular files are
// guarded against a second writer.
FileIdentity guarded_identity(const struct stat& status) {
  return S_ISREG(status.st_mode) ? identity_of(status) : FileIdentity{};
}

void append(char*& out, std::string_view text) {
  std::copy(text.begin(), text.end(), out);
  out += text.size();
}

}  // namespace

void write(int unit, const Layout& layout, std::initializer_list<Value> values) {
  write(unit, layout, std::span<const Value>(values.begin(), values.size()));
}

void write(int unit, const Layout& layout, std::span<const Value> values) {
  if (!is_bound(unit)) return;
  Unit& u = units[static_cast<std::size_t>(unit)];
  if (kBufferSize - u.used < kMaxRenderedChars) flush_unit(unit);
  u.used += format_layout(layout, values, buffers[unit] + u.used, kBufferSize - u.used);
}

void flush_all() {
  for (int unit = 1; unit <= MAX_UNIT; ++unit) flush_unit(unit);
}

bool is_bound(int unit) { return valid_unit(unit) && units[static_cast<std::size_t>(unit)].bound(); }

int bind_text_file(int unit, std::string_view name, bool must_exist, bool must_not_exist,
                   bool replace) {
  if (!valid_unit(unit)) return EBADF;
  if (is_console(unit)) return FILE_IN_USE;
  if (name.size() > kMaxNameLength) return ENAMETOOLONG;
  // What the unit held is written out before anything may be truncated, and a refused
  // opening leaves the unit unbound.
  close_unit(unit);
  char path[kMaxNameLength + 1];
  std::copy(name.begin(), name.end(), path);
  path[name.size()] = '\0';

  // Never O_TRUNC here: the file must be known not to be in use before anything is lost.
  int flags = O_WRONLY | O_CLOEXEC;
  if (!must_exist) flags |= O_CREAT;
  if (must_not_exist) flags |= O_CREAT | O_EXCL;
  const int descriptor = ::open(path, flags, 0666);
  if (descriptor < 0) return errno;

  struct stat status {};
  if (::fstat(descriptor, &status) != 0) {
    const int error = errno;
    ::close(descriptor);
    return error;
  }
  const FileIdentity identity = guarded_identity(status);
  if (in_use(identity)) {
    ::close(descriptor);
    return FILE_IN_USE;
  }
  if (replace && S_ISREG(status.st_mode) && ::ftruncate(descriptor, 0) != 0) {
    const int error = errno;
    ::close(descriptor);
    return error;
  }
  attach(unit, descriptor, identity, name);
  return 0;
}

int bind_scratch_file(int unit) {
  if (!valid_unit(unit)) return EBADF;
  if (is_console(unit)) return FILE_IN_USE;
  close_unit(unit);
  int descriptor = ::open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (descriptor < 0) {
    // File systems without nameless files: a fresh name, removed at once.
    char path[] = "/tmp/zadaza2krano-XXXXXX";
    descriptor = ::mkstemp(path);
    if (descriptor < 0) return errno;
    ::unlink(path);
  }
  attach(unit, descriptor, FileIdentity{}, {});
  return 0;
}

void close_unit(int unit) {
  if (!is_bound(unit)) return;
  flush_unit(unit);
  unbind(units[static_cast<std::size_t>(unit)]);
}

void protect_input_file(int descriptor) {
  struct stat status {};
  if (::fstat(descriptor, &status) == 0) protected_input = identity_of(status);
}

void report_error(std::initializer_list<std::string_view> pieces) {
  for (Unit& u : units) {
    if (u.bound()) drain(u);
  }
  constexpr std::string_view kProgram = "zadaza2krano: ";
  static char line[kProgram.size() + 2 * (kMaxNameLength + 1) + 512];
  char* out = line;
  append(out, kProgram);
  for (const std::string_view piece : pieces) {
    const auto room = static_cast<std::size_t>(line + sizeof line - 1 - out);
    append(out, piece.substr(0, room));
  }
  *out++ = '\n';
  for (const char* p = line; p < out;) {
    const ssize_t n = ::write(STDERR_FILENO, p, static_cast<std::size_t>(out - p));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    p += n;
  }
}

void set_failure_handler(FailureHandler handler) { failure_handler = handler; }

void fail_io(int unit, std::string_view what, std::string_view file) {
  if (file.empty() && is_bound(unit)) file = units[static_cast<std::size_t>(unit)].file_name();
  char number[12];
  const char* number_end = std::to_chars(number, number + sizeof number, unit).ptr;
  const std::string_view unit_number(number, static_cast<std::size_t>(number_end - number));
  if (file.empty()) {
    report_error({what, ", unit ", unit_number});
  } else {
    report_error({what, ", unit ", unit_number, ", file ", file});
  }
  if (failure_handler != nullptr) failure_handler(IO_FAILURE_EXIT);
  std::_Exit(IO_FAILURE_EXIT);
}

}  // namespace io
