// Counting allocator for the benchmark build of the converter.
//
// Replaces malloc, calloc, realloc, free, the aligned allocations and the global operator
// new/delete, delegating to the C library's own allocator, and counts every allocation made
// once main has been entered (the link wraps main, see bench/CMakeLists.txt). At exit it writes
// the count and the peak resident set size on standard error.
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
int __real_main(int argc, char** argv);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<unsigned long long> allocations{0};

void count_one() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

// Plain write(2) output: no allocation and no stdio while reporting.
void write_text(const char* text) {
  std::size_t n = 0;
  while (text[n] != '\0') ++n;
  while (n > 0) {
    const ssize_t done = ::write(STDERR_FILENO, text, n);
    if (done <= 0) return;
    text += done;
    n -= static_cast<std::size_t>(done);
  }
}

void write_number(unsigned long long value) {
  char digits[24];
  int at = 23;
  digits[at] = '\0';
  do {
    digits[--at] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  write_text(digits + at);
}

void report() {
  counting.store(false);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  write_text("allocations: ");
  write_number(allocations.load());
  write_text("\npeak RSS KiB: ");
  write_number(static_cast<unsigned long long>(usage.ru_maxrss));
  write_text("\n");
}

void* allocate_or_throw(std::size_t size) {
  count_one();
  void* block = __libc_malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* allocate_aligned_or_throw(std::size_t size, std::align_val_t alignment) {
  count_one();
  void* block = __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

extern "C" {

int __wrap_main(int argc, char** argv) {
  std::atexit(report);
  counting.store(true);
  return __real_main(argc, argv);
}

void* malloc(std::size_t size) {
  count_one();
  return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
  count_one();
  return __libc_calloc(count, size);
}

void* realloc(void* block, std::size_t size) {
  count_one();
  return __libc_realloc(block, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  count_one();
  return __libc_memalign(alignment, size);
}

void* memalign(std::size_t alignment, std::size_t size) {
  count_one();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
  count_one();
  void* block = __libc_memalign(alignment, size);
  if (block == nullptr) return ENOMEM;
  *result = block;
  return 0;
}

void free(void* block) { __libc_free(block); }

}  // extern "C"

void* operator new(std::size_t size) { return allocate_or_throw(size); }
void* operator new[](std::size_t size) { return allocate_or_throw(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  count_one();
  return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  count_one();
  return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocate_aligned_or_throw(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocate_aligned_or_throw(size, alignment);
}
void operator delete(void* block) noexcept { __libc_free(block); }
void operator delete[](void* block) noexcept { __libc_free(block); }
void operator delete(void* block, std::size_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::size_t) noexcept { __libc_free(block); }
void operator delete(void* block, std::align_val_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { __libc_free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  __libc_free(block);
}
