// zadaza2krano: converts a ZADAZA pile-soil file into a KRANO soil file, asking its settings on
// the console.
#include <csignal>

#include "app/run.hpp"
#include "io/units.hpp"

int main() {
  // A console that goes away must surface as a refused write, not as a silent kill.
  std::signal(SIGPIPE, SIG_IGN);
  io::discard_staged_files_on_signals();
  const int status = app::run_converter();
  io::flush_all();
  return status;
}
