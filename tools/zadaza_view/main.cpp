// zadaza-view: draws every curve of a ZADAZA file before and after conversion, on one
// self-contained HTML page, with the converter's own reader, scaling and thinning.
//
//   zadaza-view [--old] [--diameter D]... [--layers FIRST-LAST] [--offset N]
//               [-o FILE.html] [--table FILE.csv] [--json FILE.json] [--mudline Z]
//               [--orientation pos|neg] ZADAZA_FILE
#include <csignal>
#include <string>
#include <vector>

#include "io/units.hpp"
#include "viewer.hpp"

int main(int argc, char** argv) {
  // A console that goes away must surface as a refused write, not as a silent kill.
  std::signal(SIGPIPE, SIG_IGN);
  io::set_program_name("zadaza-view");
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const int status = view::run_viewer(arguments);
  io::flush_all();
  return status;
}
