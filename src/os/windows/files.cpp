#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <limits>

#include "os/memory.hpp"
#include "os/windows/system.hpp"

namespace os {
namespace {

using windows::full_path;
using windows::handle_of;
using windows::last_error;
using windows::WidePath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::size_t kNameLength = 4096;
// Below this length every call takes a full path without the long-path prefix.
constexpr std::size_t kShortPath = 248;

FileFacts facts_from(HANDLE handle) {
  FileFacts facts;
  BY_HANDLE_FILE_INFORMATION information{};
  if (::GetFileType(handle) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(handle, &information)) {
    return facts;
  }
  facts.kind = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder
                                                                             : FileKind::Regular;
  facts.identity = {information.dwVolumeSerialNumber,
                    (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow,
                    true};
  return facts;
}

bool is_folder(const wchar_t* path) {
  const DWORD attributes = ::GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool is_read_only(const wchar_t* path) {
  const DWORD attributes = ::GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Opens the name as the call asks; a folder is refused as on POSIX, before the system
// refuses it as access denied. A read-only file is refused for writing by its attribute, as
// Windows refuses it, also where an administrator's rights would let the opening through.
Error open_handle(const char* name, DWORD access, DWORD disposition, DWORD flags,
                  FileHandle& file) {
  static WidePath path;
  if (const Error error = full_path(name, path)) return error;
  if (is_folder(path.data()) && (flags & FILE_FLAG_BACKUP_SEMANTICS) == 0) return {kIsAFolder};
  if ((access & GENERIC_WRITE) != 0 && is_read_only(path.data())) return {kAccessDenied};
  const HANDLE handle = ::CreateFileW(path.data(), access, kShareAll, nullptr, disposition,
                                      flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return last_error();
  file = windows::file_of(handle);
  return {};
}

// Whether one folder or file name of the path is longer than a file system holds (255
// characters on NTFS, as on the common POSIX ones), which Windows reports variously.
bool has_overlong_part(const wchar_t* path) {
  constexpr std::size_t kLongestPart = 255;
  std::size_t part = 0;
  for (; *path != L'\0'; ++path) {
    part = *path == L'\\' || *path == L'/' ? 0 : part + 1;
    if (part > kLongestPart) return true;
  }
  return false;
}

}  // namespace

namespace windows {

Error full_path(const char* name, WidePath& path) {
  static wchar_t wide[kNameLength + 1];
  static WidePath full;
  if (*name == '\0') return {kNoSuchFile};
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide, kNameLength + 1) ==
      0) {
    return {::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? kNameTooLong : kInvalidArgument};
  }
  if (has_overlong_part(wide)) return {kNameTooLong};
  const DWORD length = ::GetFullPathNameW(wide, kWidePath - 8, full.data(), nullptr);
  if (length == 0) return last_error();
  if (length >= kWidePath - 8) return {kNameTooLong};
  const bool unc = full[0] == L'\\' && full[1] == L'\\';
  const bool prefixed = unc && (full[2] == L'?' || full[2] == L'.');
  const wchar_t* prefix = length < kShortPath || prefixed ? L"" : unc ? L"\\\\?\\UNC" : L"\\\\?\\";
  const wchar_t* rest = unc && *prefix != L'\0' ? full.data() + 1 : full.data();
  const std::size_t prefix_length = std::wcslen(prefix);
  std::wmemcpy(path.data(), prefix, prefix_length);
  std::wcscpy(path.data() + prefix_length, rest);
  return {};
}

}  // namespace windows

bool is_folder_separator(char c) { return c == '/' || c == '\\'; }

FileHandle standard_input() { return windows::kStandardInput; }
FileHandle standard_output() { return windows::kStandardOutput; }
FileHandle standard_error() { return windows::kStandardError; }

Error facts_of(const char* name, FileFacts& facts) {
  FileHandle file = kNoFile;
  if (const Error error =
          open_handle(name, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, file)) {
    return error;
  }
  facts = facts_from(handle_of(file));
  close_file(file);
  return {};
}

Error facts_of(FileHandle file, FileFacts& facts) {
  facts = facts_from(handle_of(file));
  return {};
}

Error open_for_reading(const char* name, FileHandle& file, FileFacts& facts) {
  if (const Error error =
          open_handle(name, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, file)) {
    return error;
  }
  facts = facts_from(handle_of(file));
  return {};
}

Error open_for_writing(const char* name, bool must_exist, bool must_not_exist, FileHandle& file) {
  const DWORD disposition = must_not_exist ? CREATE_NEW : must_exist ? OPEN_EXISTING : OPEN_ALWAYS;
  return open_handle(name, GENERIC_WRITE, disposition, FILE_ATTRIBUTE_NORMAL, file);
}

Error check_writable(const char* name) {
  FileHandle file = kNoFile;
  if (const Error error =
          open_handle(name, GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, file)) {
    return error;
  }
  close_file(file);
  return {};
}

Error empty_file(FileHandle file) {
  const LARGE_INTEGER start{};
  if (!::SetFilePointerEx(handle_of(file), start, nullptr, FILE_BEGIN) ||
      !::SetEndOfFile(handle_of(file))) {
    return last_error();
  }
  return {};
}

Error open_scratch_file(FileHandle& file) {
  static wchar_t folder[MAX_PATH + 1];
  static wchar_t name[MAX_PATH + 1];
  if (::GetTempPathW(MAX_PATH + 1, folder) == 0 ||
      ::GetTempFileNameW(folder, L"zkr", 0, name) == 0) {
    return last_error();
  }
  const HANDLE handle = ::CreateFileW(
      name, GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS,
      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return last_error();
  file = windows::file_of(handle);
  return {};
}

Error write_all(FileHandle file, const char* data, std::size_t size) {
  constexpr std::size_t kMostAtOnce = std::numeric_limits<DWORD>::max() / 2;
  for (std::size_t done = 0; done < size;) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(size - done, kMostAtOnce));
    if (!::WriteFile(handle_of(file), data + done, piece, &written, nullptr)) return last_error();
    if (written == 0) return {kInputOutputError};
    done += written;
  }
  return {};
}

Error read_some(FileHandle file, char* data, std::size_t room, std::size_t& got) {
  constexpr std::size_t kMostAtOnce = std::numeric_limits<DWORD>::max() / 2;
  DWORD read = 0;
  got = 0;
  if (!::ReadFile(handle_of(file), data, static_cast<DWORD>(std::min(room, kMostAtOnce)), &read,
                  nullptr)) {
    // A pipe whose writer has gone has simply ended.
    const DWORD error = ::GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return {};
    return {windows::from_windows_error(error)};
  }
  got = read;
  return {};
}

void close_file(FileHandle file) { ::CloseHandle(handle_of(file)); }

// The C library's streams (the tools' std::cout) write "\n" as given, as the program's own
// lines are: no CR is ever added.
bool is_terminal(FileHandle file) {
  DWORD mode = 0;
  return ::GetConsoleMode(handle_of(file), &mode) != 0;
}

void prepare_console() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

bool advise_huge_pages(void*, std::size_t) { return false; }

}  // namespace os
