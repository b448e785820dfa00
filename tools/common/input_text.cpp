#include "input_text.hpp"

#include <cstddef>

#include "os/files.hpp"

namespace tools {
namespace {

constexpr std::size_t kReadPiece = 1 << 16;

}  // namespace

os::Error read_input_text(const std::string& path, std::string& text) {
  os::FileHandle file = os::kNoFile;
  os::FileFacts facts;
  if (const os::Error refused = os::open_for_reading(path.c_str(), file, facts)) return refused;
  text.clear();
  for (;;) {
    const std::size_t had = text.size();
    text.resize(had + kReadPiece);
    std::size_t got = 0;
    const os::Error refused = os::read_some(file, text.data() + had, kReadPiece, got);
    text.resize(had + got);
    if (refused || got == 0) {
      os::close_file(file);
      return refused;
    }
  }
}

}  // namespace tools
