#include "os/arguments.hpp"

#include <cstddef>

namespace os {

std::span<const char* const> program_arguments(int argc, char** argv) {
  if (argc < 1) return {};
  return {argv + 1, static_cast<std::size_t>(argc - 1)};
}

}  // namespace os
