#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "os/staged_files.hpp"
#include "os/unix/system.hpp"

namespace os {
namespace {

using posix::last_error;
using posix::retry_on_interrupt;

#ifdef NAME_MAX
constexpr std::size_t kEntryLength = NAME_MAX;
#else
constexpr std::size_t kEntryLength = 255;
#endif

// A folder opened only to name files in it; where the system has no such opening, a read one.
#ifdef O_PATH
constexpr int kFolderOpening = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderOpening = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

constexpr int kAttempts = 100;

struct StagedFile {
  // Set once the entry is complete and cleared first when finishing, so that a signal handler
  // sees either nothing or a complete entry.
  volatile std::sig_atomic_t active = 0;
  int folder = -1;  // the folder of the name, for every later step
  dev_t folder_device = 0;
  ino_t folder_inode = 0;
  std::array<char, 64> temporary{};
  std::array<char, kEntryLength + 1> entry{};
};

std::array<StagedFile, kStagedFiles> staged;

StagedFile& file_of(int place) { return staged[static_cast<std::size_t>(place)]; }

std::string_view entry_of(const StagedFile& file) { return file.entry.data(); }

// The folder part of `name` ("." when there is none) opened for the *at calls.
int open_folder(const char* name, const char*& entry) {
  const char* slash = std::strrchr(name, '/');
  if (slash == nullptr) {
    entry = name;
    return ::open(".", kFolderOpening);
  }
  entry = slash + 1;
  if (slash == name) return ::open("/", kFolderOpening);
  static char folder[PATH_MAX];
  const auto length = static_cast<std::size_t>(slash - name);
  if (length >= sizeof folder) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(folder, name, length);
  folder[length] = '\0';
  return ::open(folder, kFolderOpening);
}

bool place_taken(const struct stat& folder, std::string_view entry) {
  return std::any_of(staged.begin(), staged.end(), [&](const StagedFile& file) {
    return file.active != 0 && file.folder_device == folder.st_dev &&
           file.folder_inode == folder.st_ino && entry_of(file) == entry;
  });
}

// ".zadaza2krano-<process>-<place>[-<attempt>]": short, so any folder that holds the real name
// holds it too, and unique to this run.
void temporary_name(int place, int attempt, std::array<char, 64>& name) {
  constexpr std::string_view kStem = ".zadaza2krano-";
  char* out = std::copy(kStem.begin(), kStem.end(), name.data());
  char* const end = name.data() + name.size() - 1;
  out = std::to_chars(out, end, ::getpid()).ptr;
  *out++ = '-';
  out = std::to_chars(out, end, place).ptr;
  if (attempt > 0) {
    *out++ = '-';
    out = std::to_chars(out, end, attempt).ptr;
  }
  *out = '\0';
}

// An earlier regular file at the name passes on its permissions and, where allowed, its
// owner. A link or anything else there passes nothing on: the new file keeps what the
// creation mask gave it and belongs to the runner.
void take_over_earlier_file(const StagedFile& file, int descriptor) {
  struct stat earlier {};
  if (::fstatat(file.folder, file.entry.data(), &earlier, AT_SYMLINK_NOFOLLOW) != 0) return;
  if (!S_ISREG(earlier.st_mode)) return;
  ::fchmod(descriptor, earlier.st_mode & 07777);
  if (::fchown(descriptor, earlier.st_uid, earlier.st_gid) != 0) {
    // Only the owner's own group or root may hand a file on; the permissions still hold.
  }
}

// Tries the temporary names in turn; the entry is active while each is being created, so a
// signal at any moment finds the file.
Error create_temporary(int place, StagedFile& file, int& descriptor) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    file.active = 0;
    temporary_name(place, attempt, file.temporary);
    file.active = 1;
    descriptor = retry_on_interrupt([&] {
      return ::openat(file.folder, file.temporary.data(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      0666);
    });
    if (descriptor >= 0) return {};
    if (errno != EEXIST) break;
  }
  const Error error = last_error();
  file.active = 0;
  return error;
}

void finish(StagedFile& file) {
  file.active = 0;
  ::close(file.folder);
  file.folder = -1;
}

}  // namespace

Error stage_file(int place, const char* name, FileHandle& handle) {
  StagedFile& file = file_of(place);
  if (file.active != 0) discard_staged_file(place);
  const char* entry = nullptr;
  const int folder = open_folder(name, entry);
  if (folder < 0) return last_error();
  struct stat folder_status {};
  Error error;
  if (::fstat(folder, &folder_status) != 0) {
    error = last_error();
  } else if (*entry == '\0') {
    error = {kIsAFolder};
  } else if (std::strlen(entry) > kEntryLength) {
    error = {kNameTooLong};
  } else if (place_taken(folder_status, entry)) {
    error = {kBusy};
  }
  if (error) {
    ::close(folder);
    return error;
  }
  file.folder = folder;
  file.folder_device = folder_status.st_dev;
  file.folder_inode = folder_status.st_ino;
  std::strcpy(file.entry.data(), entry);
  int descriptor = -1;
  if (const Error refused = create_temporary(place, file, descriptor)) {
    ::close(folder);
    file.folder = -1;
    return refused;
  }
  take_over_earlier_file(file, descriptor);
  handle = descriptor;
  return {};
}

bool is_staged(int place) { return file_of(place).active != 0; }

Error commit_staged_file(int place) {
  StagedFile& file = file_of(place);
  if (file.active == 0) return {};
  if (::renameat(file.folder, file.temporary.data(), file.folder, file.entry.data()) != 0) {
    return last_error();
  }
  finish(file);
  return {};
}

void discard_staged_file(int place) {
  StagedFile& file = file_of(place);
  if (file.active == 0) return;
  ::unlinkat(file.folder, file.temporary.data(), 0);
  finish(file);
}

void discard_all_staged_files() {
  for (StagedFile& file : staged) {
    if (file.active != 0) ::unlinkat(file.folder, file.temporary.data(), 0);
  }
}

}  // namespace os
