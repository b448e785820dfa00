#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <string_view>

#include "os/files.hpp"
#include "os/unix/system.hpp"

namespace os {
namespace {

using posix::descriptor_of;
using posix::last_error;
using posix::retry_on_interrupt;

FileFacts facts_from(const struct stat& status) {
  FileFacts facts;
  facts.kind = S_ISREG(status.st_mode)   ? FileKind::Regular
               : S_ISDIR(status.st_mode) ? FileKind::Folder
                                         : FileKind::Other;
  facts.identity = {static_cast<std::uint64_t>(status.st_dev),
                    static_cast<std::uint64_t>(status.st_ino), true};
  return facts;
}

Error open_descriptor(const char* name, int flags, FileHandle& file) {
  const int descriptor = retry_on_interrupt([&] { return ::open(name, flags | O_CLOEXEC, 0666); });
  if (descriptor < 0) return last_error();
  file = descriptor;
  return {};
}

// The folder for temporary files: TMPDIR, as POSIX programs take it, or /tmp.
const char* temporary_folder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

}  // namespace

bool is_folder_separator(char c) { return c == '/'; }

FileHandle standard_input() { return STDIN_FILENO; }
FileHandle standard_output() { return STDOUT_FILENO; }
FileHandle standard_error() { return STDERR_FILENO; }

Error facts_of(const char* name, FileFacts& facts) {
  struct stat status {};
  if (::stat(name, &status) != 0) return last_error();
  facts = facts_from(status);
  return {};
}

Error facts_of(FileHandle file, FileFacts& facts) {
  struct stat status {};
  if (::fstat(descriptor_of(file), &status) != 0) return last_error();
  facts = facts_from(status);
  return {};
}

Error open_for_reading(const char* name, FileHandle& file, FileFacts& facts) {
  if (const Error error = open_descriptor(name, O_RDONLY, file)) return error;
  const Error error = facts_of(file, facts);
  if (error || facts.kind == FileKind::Folder) {
    close_file(file);
    file = kNoFile;
    return error ? error : Error{kIsAFolder};
  }
  return {};
}

Error open_for_writing(const char* name, bool must_exist, bool must_not_exist, FileHandle& file) {
  int flags = O_WRONLY;
  if (!must_exist) flags |= O_CREAT;
  if (must_not_exist) flags |= O_CREAT | O_EXCL;
  return open_descriptor(name, flags, file);
}

Error check_writable(const char* name) {
  FileHandle file = kNoFile;
  if (const Error error = open_descriptor(name, O_WRONLY, file)) return error;
  close_file(file);
  return {};
}

Error empty_file(FileHandle file) {
  if (::ftruncate(descriptor_of(file), 0) != 0) return last_error();
  return {};
}

Error open_scratch_file(FileHandle& file) {
  const char* folder = temporary_folder();
#ifdef O_TMPFILE
  if (!open_descriptor(folder, O_TMPFILE | O_RDWR, file)) return {};
#endif
  // Without nameless files: a fresh name, removed at once.
  char path[4096];
  const std::string_view stem = "/zadaza2krano-XXXXXX";
  const std::string_view start = folder;
  if (start.size() + stem.size() >= sizeof path) return {kNameTooLong};
  char* end = std::copy(start.begin(), start.end(), path);
  *std::copy(stem.begin(), stem.end(), end) = '\0';
  const int descriptor = ::mkstemp(path);
  if (descriptor < 0) return last_error();
  ::unlink(path);
  file = descriptor;
  return {};
}

Error write_all(FileHandle file, const char* data, std::size_t size) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t n =
        retry_on_interrupt([&] { return ::write(descriptor_of(file), data + done, size - done); });
    if (n < 0) return last_error();
    if (n == 0) return {kInputOutputError};
    done += static_cast<std::size_t>(n);
  }
  return {};
}

Error read_some(FileHandle file, char* data, std::size_t room, std::size_t& got) {
  const ssize_t n = retry_on_interrupt([&] { return ::read(descriptor_of(file), data, room); });
  if (n < 0) return last_error();
  got = static_cast<std::size_t>(n);
  return {};
}

void close_file(FileHandle file) { ::close(descriptor_of(file)); }

void prepare_console() { std::signal(SIGPIPE, SIG_IGN); }

bool advise_huge_pages([[maybe_unused]] void* start, [[maybe_unused]] std::size_t size) {
#ifdef MADV_HUGEPAGE
  return ::madvise(start, size, MADV_HUGEPAGE) == 0;
#else
  return false;
#endif
}

}  // namespace os
