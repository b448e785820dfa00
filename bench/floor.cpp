// The floor of the benchmark: what a run costs that only moves the converter's bytes. One
// process that reads its standard input and the input file whole, and writes each output file
// and standard output with the given number of bytes, through buffers of the converter's size.
//
// Usage: bench-floor INPUT [FILE BYTES]... [- BYTES]      ("-" is standard output)
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;  // the converter's unit and record buffers
char buffer[kBufferSize];

bool read_all(int descriptor) {
  for (;;) {
    const ssize_t n = ::read(descriptor, buffer, kBufferSize);
    if (n == 0) return true;
    if (n < 0) return false;
  }
}

bool write_bytes(int descriptor, std::size_t bytes) {
  while (bytes > 0) {
    const std::size_t chunk = bytes < kBufferSize ? bytes : kBufferSize;
    std::memset(buffer, ' ', chunk);  // the converter fills its buffer before writing it
    if (::write(descriptor, buffer, chunk) != static_cast<ssize_t>(chunk)) return false;
    bytes -= chunk;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc % 2 != 0) return 2;
  if (!read_all(STDIN_FILENO)) return 1;
  const int input = ::open(argv[1], O_RDONLY | O_CLOEXEC);
  if (input < 0 || !read_all(input)) return 1;
  for (int i = 2; i + 1 < argc; i += 2) {
    const bool console = std::strcmp(argv[i], "-") == 0;
    const int out = console ? STDOUT_FILENO : ::open(argv[i], O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (out < 0 || (!console && ::ftruncate(out, 0) != 0)) return 1;
    if (!write_bytes(out, std::strtoull(argv[i + 1], nullptr, 10))) return 1;
    if (!console) ::close(out);
  }
  return 0;
}
