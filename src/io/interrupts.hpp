// The one way this program repeats a system call that a signal interrupted before it did
// anything (it returns a negative value with errno EINTR).
#pragma once

#include <cerrno>

namespace io {

template <typename Call>
auto retry_on_interrupt(Call call) {
  for (;;) {
    const auto result = call();
    if (!(result < 0 && errno == EINTR)) return result;
  }
}

}  // namespace io
