#include "io/staged_files.hpp"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "io/interrupts.hpp"
#include "io/units.hpp"

namespace io::staging {
namespace {

constexpr int kAttempts = 100;

struct StagedFile {
  // Set last when staging and cleared first when finishing, so that a signal handler sees
  // either nothing or a complete entry.
  volatile std::sig_atomic_t active = 0;
  int folder = -1;  // the folder of the name, for every later step
  dev_t folder_device = 0;
  ino_t folder_inode = 0;
  std::array<char, 64> temporary{};
  std::array<char, NAME_MAX + 1> entry{};
};

std::array<StagedFile, kMaxUnit + 1> staged;

std::string_view entry_of(const StagedFile& file) { return file.entry.data(); }

// The folder part of `path` ("." when there is none) opened for the *at calls.
int open_folder(const char* path, const char*& entry) {
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) {
    entry = path;
    return ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  }
  entry = slash + 1;
  if (slash == path) return ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
  static char folder[PATH_MAX];
  const auto length = static_cast<std::size_t>(slash - path);
  if (length >= sizeof folder) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(folder, path, length);
  folder[length] = '\0';
  return ::open(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool place_taken(dev_t device, ino_t inode, std::string_view entry) {
  return std::any_of(staged.begin(), staged.end(), [&](const StagedFile& file) {
    return file.active != 0 && file.folder_device == device && file.folder_inode == inode &&
           entry_of(file) == entry;
  });
}

// ".zadaza2krano-<process>-<unit>[-<attempt>]": short, so any folder that holds the real name
// holds it too, and unique to this run.
void temporary_name(int unit, int attempt, std::array<char, 64>& name) {
  constexpr std::string_view kStem = ".zadaza2krano-";
  char* out = std::copy(kStem.begin(), kStem.end(), name.data());
  char* const end = name.data() + name.size() - 1;
  out = std::to_chars(out, end, ::getpid()).ptr;
  *out++ = '-';
  out = std::to_chars(out, end, unit).ptr;
  if (attempt > 0) {
    *out++ = '-';
    out = std::to_chars(out, end, attempt).ptr;
  }
  *out = '\0';
}

// The replaced file's permissions and, where allowed, its owner; a new file keeps what the
// creation mask gave it.
void take_over(int descriptor, const struct stat& existing) {
  ::fchmod(descriptor, existing.st_mode & 07777);
  if (::fchown(descriptor, existing.st_uid, existing.st_gid) != 0) {
    // Only the owner's own group or root may hand a file on; the permissions still hold.
  }
}

void finish(StagedFile& file) {
  file.active = 0;
  ::close(file.folder);
  file.folder = -1;
}

}  // namespace

int create(int unit, const char* path, const struct stat* existing, int& descriptor) {
  StagedFile& file = staged[static_cast<std::size_t>(unit)];
  if (file.active != 0) discard(unit);
  const char* entry = nullptr;
  const int folder = open_folder(path, entry);
  if (folder < 0) return errno;
  struct stat folder_status {};
  if (::fstat(folder, &folder_status) != 0 || std::strlen(entry) > NAME_MAX) {
    const int error = std::strlen(entry) > NAME_MAX ? ENAMETOOLONG : errno;
    ::close(folder);
    return error;
  }
  if (place_taken(folder_status.st_dev, folder_status.st_ino, entry)) {
    ::close(folder);
    return kFileInUse;
  }
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    temporary_name(unit, attempt, file.temporary);
    descriptor = retry_on_interrupt([&] {
      return ::openat(folder, file.temporary.data(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    });
    if (descriptor >= 0) break;
    if (errno != EEXIST) break;
  }
  if (descriptor < 0) {
    const int error = errno;
    ::close(folder);
    return error;
  }
  if (existing != nullptr) take_over(descriptor, *existing);
  file.folder = folder;
  file.folder_device = folder_status.st_dev;
  file.folder_inode = folder_status.st_ino;
  std::strcpy(file.entry.data(), entry);
  file.active = 1;
  return 0;
}

bool is_staged(int unit) { return staged[static_cast<std::size_t>(unit)].active != 0; }

int commit(int unit) {
  StagedFile& file = staged[static_cast<std::size_t>(unit)];
  if (file.active == 0) return 0;
  if (::renameat(file.folder, file.temporary.data(), file.folder, file.entry.data()) != 0) {
    return errno;
  }
  finish(file);
  return 0;
}

void discard(int unit) {
  StagedFile& file = staged[static_cast<std::size_t>(unit)];
  if (file.active == 0) return;
  ::unlinkat(file.folder, file.temporary.data(), 0);
  finish(file);
}

void discard_all() {
  for (StagedFile& file : staged) {
    if (file.active != 0) ::unlinkat(file.folder, file.temporary.data(), 0);
  }
}

}  // namespace io::staging
