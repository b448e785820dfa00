// What the Windows files of this layer share: Windows errors as the layer's numbers, UTF-8
// names as full wide paths, and the guard that keeps a console event out of a step of the
// staged files.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "os/errors.hpp"
#include "os/files.hpp"

namespace os::windows {

// Room for a full path made from a name of at most 4096 characters, its folder and the
// prefix of a long path.
inline constexpr std::size_t kWidePath = 2 * 4096 + 300;
using WidePath = std::array<wchar_t, kWidePath>;

int from_windows_error(DWORD error);

inline Error last_error() { return {from_windows_error(::GetLastError())}; }

// The standard files stand for whatever handle the process has for them when they are used, so
// that the C runtime's redirections (_dup2 onto 0, 1 or 2, which sets the standard handle) and
// SetStdHandle reach the console units too. Their values are no handle's: handles are
// multiples of 4.
inline constexpr FileHandle kStandardInput = STD_INPUT_HANDLE;
inline constexpr FileHandle kStandardOutput = STD_OUTPUT_HANDLE;
inline constexpr FileHandle kStandardError = STD_ERROR_HANDLE;

inline HANDLE handle_of(FileHandle file) {
  if (file == kStandardInput || file == kStandardOutput || file == kStandardError) {
    return ::GetStdHandle(static_cast<DWORD>(file));
  }
  return reinterpret_cast<HANDLE>(file);
}
inline FileHandle file_of(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

// The full path of a UTF-8 name, '/' and '\' both separating folders, with the prefix that
// lifts the length limit of the older calls when it is long.
Error full_path(const char* name, WidePath& path);

// Held by a step of the staged files and by a console event being handled; entered again by
// the thread that holds it.
CRITICAL_SECTION& termination_guard();

}  // namespace os::windows
