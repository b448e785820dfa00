#include "output_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace view {
namespace {

struct Identity {
  dev_t device = 0;
  ino_t inode = 0;
  bool known = false;
};

Identity zadaza_file;

Identity identity_of(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  return {status.st_dev, status.st_ino, true};
}

std::string reason(int error) { return std::strerror(error); }

bool write_all(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(descriptor, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The permissions a newly created file would get.
mode_t created_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void protect_zadaza_file(const std::string& path) { zadaza_file = identity_of(path); }

bool is_zadaza_file(const std::string& path) {
  const Identity other = identity_of(path);
  return zadaza_file.known && other.known && other.device == zadaza_file.device &&
         other.inode == zadaza_file.inode;
}

std::string write_output_file(const std::string& path, std::string_view content) {
  if (is_zadaza_file(path)) return "it is the ZADAZA file";
  std::string temporary = path + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) return reason(errno);
  temporary = name.data();
  int error = 0;
  errno = 0;
  if (::fchmod(descriptor, created_mode()) != 0 || !write_all(descriptor, content)) {
    error = errno != 0 ? errno : EIO;
  }
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return reason(error);
  }
  return {};
}

}  // namespace view
