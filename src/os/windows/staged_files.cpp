#include <algorithm>
#include <array>
#include <cwchar>

#include "os/staged_files.hpp"
#include "os/windows/system.hpp"

namespace os {
namespace {

using windows::last_error;
using windows::WidePath;

constexpr int kAttempts = 100;
constexpr std::size_t kEntryLength = 255;

struct StagedFile {
  // Set once the entry is complete and cleared first when finishing; a console event is
  // handled only between the steps (termination_guard).
  volatile LONG active = 0;
  WidePath target{};
  WidePath temporary{};
};

std::array<StagedFile, kStagedFiles> staged;

StagedFile& file_of(int place) { return staged[static_cast<std::size_t>(place)]; }

// One step of the staged files, kept whole against a console event.
class Step {
 public:
  Step() { ::EnterCriticalSection(&windows::termination_guard()); }
  ~Step() { ::LeaveCriticalSection(&windows::termination_guard()); }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;
};

// Names differing only in case are one file on Windows.
bool same_name(const wchar_t* a, const wchar_t* b) {
  return ::CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool place_taken(const WidePath& target) {
  return std::any_of(staged.begin(), staged.end(), [&](const StagedFile& file) {
    return file.active != 0 && same_name(file.target.data(), target.data());
  });
}

void append_number(wchar_t*& out, unsigned long number) {
  wchar_t digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + number % 10);
    number /= 10;
  } while (number != 0);
  while (n > 0) *out++ = digits[--n];
}

// "<folder>\.zadaza2krano-<process>-<place>[-<attempt>]" beside the target.
void temporary_name(const WidePath& target, std::size_t folder_length, int place, int attempt,
                    WidePath& name) {
  std::wmemcpy(name.data(), target.data(), folder_length);
  wchar_t* out = name.data() + folder_length;
  constexpr wchar_t kStem[] = L"\\.zadaza2krano-";
  out = std::copy(kStem, kStem + std::wcslen(kStem), out);
  append_number(out, ::GetCurrentProcessId());
  *out++ = L'-';
  append_number(out, static_cast<unsigned long>(place));
  if (attempt > 0) {
    *out++ = L'-';
    append_number(out, static_cast<unsigned long>(attempt));
  }
  *out = L'\0';
}

// The folder must exist and be a folder, as POSIX would find when creating the file.
Error check_folder(const WidePath& target, std::size_t folder_length) {
  static WidePath folder;
  std::wmemcpy(folder.data(), target.data(), folder_length);
  folder[folder_length] = L'\0';
  // A drive's root keeps its separator ("C:\").
  if (folder_length > 0 && folder[folder_length - 1] == L':') {
    folder[folder_length] = L'\\';
    folder[folder_length + 1] = L'\0';
  }
  const DWORD attributes = ::GetFileAttributesW(folder.data());
  if (attributes == INVALID_FILE_ATTRIBUTES) return last_error();
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return {kNotAFolder};
  return {};
}

// The file is registered while each name is tried, so a console event at any moment finds it.
// A replaced file passes nothing on: the new file gets the permissions its folder gives.
Error create_temporary(int place, StagedFile& file, std::size_t folder_length,
                       FileHandle& handle) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    file.active = 0;
    temporary_name(file.target, folder_length, place, attempt, file.temporary);
    file.active = 1;
    const HANDLE created = ::CreateFileW(
        file.temporary.data(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE) {
      handle = windows::file_of(created);
      return {};
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  const Error error = last_error();
  file.active = 0;
  return error;
}

}  // namespace

Error stage_file(int place, const char* name, FileHandle& handle) {
  const Step step;
  StagedFile& file = file_of(place);
  if (file.active != 0) discard_staged_file(place);
  static WidePath target;
  if (const Error error = windows::full_path(name, target)) return error;
  const std::size_t length = std::wcslen(target.data());
  const wchar_t* separator = std::wcsrchr(target.data(), L'\\');
  if (separator == nullptr) return {kNoSuchFile};
  const auto folder_length = static_cast<std::size_t>(separator - target.data());
  const std::size_t entry_length = length - folder_length - 1;
  if (entry_length == 0) return {kIsAFolder};
  if (entry_length > kEntryLength) return {kNameTooLong};
  if (const Error error = check_folder(target, folder_length)) return error;
  if (place_taken(target)) return {kBusy};
  file.target = target;
  return create_temporary(place, file, folder_length, handle);
}

bool is_staged(int place) { return file_of(place).active != 0; }

Error commit_staged_file(int place) {
  const Step step;
  StagedFile& file = file_of(place);
  if (file.active == 0) return {};
  if (!::MoveFileExW(file.temporary.data(), file.target.data(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return last_error();
  }
  file.active = 0;
  return {};
}

void discard_staged_file(int place) {
  const Step step;
  StagedFile& file = file_of(place);
  if (file.active == 0) return;
  ::DeleteFileW(file.temporary.data());
  file.active = 0;
}

void discard_all_staged_files() {
  for (StagedFile& file : staged) {
    if (file.active != 0) ::DeleteFileW(file.temporary.data());
  }
}

}  // namespace os
