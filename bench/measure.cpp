// Paired timing of two commands: runs them alternately, each with its own standard input, and
// reports per command the median CPU time (user + system, from the kernel's accounting of the
// finished child; only the sum is exact, the split between the two is sampled), the median wall time and the largest peak resident set size, then the
// ratio of the medians of CPU time.
//
// Usage: bench-measure RUNS STDIN_A -- COMMAND_A... -- STDIN_B -- COMMAND_B...
// Every run's standard output goes to /dev/null; a run that does not exit with status 0 stops
// the measurement.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Command {
  const char* input = nullptr;
  std::vector<char*> argv;
  std::vector<double> cpu_ms;
  std::vector<double> wall_ms;
  long peak_rss_kib = 0;
};

double ms_of(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

void run_once(Command& c) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open(c.input, O_RDONLY);
    const int out = ::open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0) ::_exit(127);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::execv(c.argv[0], c.argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "bench-measure: %s failed\n", c.argv[0]);
    std::exit(1);
  }
  const auto end = std::chrono::steady_clock::now();
  c.cpu_ms.push_back(ms_of(usage.ru_utime) + ms_of(usage.ru_stime));
  c.wall_ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  c.peak_rss_kib = std::max(c.peak_rss_kib, usage.ru_maxrss);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// STDIN -- COMMAND... up to the next "--" or the end.
char** parse(char** arg, char** end, Command& c) {
  if (end - arg < 3 || std::strcmp(arg[1], "--") != 0) return nullptr;
  c.input = arg[0];
  arg += 2;
  while (arg < end && std::strcmp(*arg, "--") != 0) c.argv.push_back(*arg++);
  c.argv.push_back(nullptr);
  return arg < end ? arg + 1 : arg;
}

}  // namespace

int main(int argc, char** argv) {
  Command a, b;
  char** end = argv + argc;
  char** next = argc > 1 ? parse(argv + 2, end, a) : nullptr;
  if (next != nullptr) next = parse(next, end, b);
  const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
  if (next == nullptr || runs < 1 || a.argv.size() < 2 || b.argv.size() < 2) {
    std::fprintf(stderr,
                 "usage: bench-measure RUNS STDIN_A -- COMMAND_A... -- STDIN_B -- COMMAND_B...\n");
    return 2;
  }
  run_once(a);  // warm the file cache and the page cache of both programs
  run_once(b);
  a.cpu_ms.clear(), a.wall_ms.clear(), b.cpu_ms.clear(), b.wall_ms.clear();
  for (int i = 0; i < runs; ++i) {
    // Alternate which goes first so that neither always follows the other.
    Command& first = i % 2 == 0 ? a : b;
    Command& second = i % 2 == 0 ? b : a;
    run_once(first);
    run_once(second);
  }
  const double cpu_a = median(a.cpu_ms), cpu_b = median(b.cpu_ms);
  std::printf("A cpu_ms %.2f wall_ms %.2f peak_rss_kib %ld\n", cpu_a, median(a.wall_ms),
              a.peak_rss_kib);
  std::printf("B cpu_ms %.2f wall_ms %.2f peak_rss_kib %ld\n", cpu_b, median(b.wall_ms),
              b.peak_rss_kib);
  std::printf("ratio A/B cpu %.2f\n", cpu_a / cpu_b);
  return 0;
}
