// zadaza-view: draws every curve of a ZADAZA file before and after conversion, on one
// self-contained HTML page, with the converter's own reader, scaling and thinning.
//
//   zadaza-view [--old] [--diameter D]... [--layers FIRST-LAST] [--offset N]
//               [-o FILE.html] [--table FILE.csv] [--json FILE.json] [--mudline Z]
//               [--orientation pos|neg] ZADAZA_FILE
#include <span>
#include <string>
#include <vector>

#include "common/staged_output.hpp"
#include "io/units.hpp"
#include "os/arguments.hpp"
#include "os/files.hpp"
#include "viewer.hpp"

int main(int argc, char** argv) {
  io::set_program_name("zadaza-view");
  // A console that goes away must surface as a refused write, not as a silent kill; an
  // interrupted run leaves no half-written file.
  os::prepare_console();
  tools::discard_outputs_on_termination();
  const std::span<const char* const> given = os::program_arguments(argc, argv);
  const std::vector<std::string> arguments(given.begin(), given.end());
  const int status = view::run_viewer(arguments);
  io::flush_all();
  return status;
}
