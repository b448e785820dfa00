// What the POSIX files of this layer share: errno as the layer's numbers, and the repeat of a
// call that a signal interrupted.
#pragma once

#include <cerrno>

#include "os/errors.hpp"
#include "os/files.hpp"

namespace os::posix {

// The layer's number for an errno value (the same number on Linux).
int from_errno(int error);

// The refusal errno now holds.
inline Error last_error() { return {from_errno(errno)}; }

inline int descriptor_of(FileHandle file) { return static_cast<int>(file); }

// Repeats a call that a signal interrupted before it did anything (a negative result with
// errno EINTR).
template <typename Call>
auto retry_on_interrupt(Call call) {
  for (;;) {
    const auto result = call();
    if (!(result < 0 && errno == EINTR)) return result;
  }
}

}  // namespace os::posix
