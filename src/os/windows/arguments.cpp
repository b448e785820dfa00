#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstddef>

#include "os/arguments.hpp"

namespace os {
namespace {

// A command line holds at most 32767 wide characters; each becomes at most 3 bytes of UTF-8
// (a surrogate pair, 2 wide characters, becomes 4).
constexpr std::size_t kMostWide = 32768;
char texts[3 * kMostWide];
const char* words[kMostWide / 2];

}  // namespace

std::span<const char* const> program_arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return {argv + 1, argc < 1 ? 0 : static_cast<std::size_t>(argc - 1)};
  std::size_t used = 0;
  std::size_t n = 0;
  for (int i = 1; i < count && n < std::size(words); ++i) {
    const int room = static_cast<int>(sizeof texts - used);
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, texts + used, room,
                                             nullptr, nullptr);
    if (length == 0) break;
    words[n++] = texts + used;
    used += static_cast<std::size_t>(length);
  }
  ::LocalFree(wide);
  return {words, n};
}

}  // namespace os
