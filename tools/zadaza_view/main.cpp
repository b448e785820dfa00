// zadaza-view: draws every curve of a ZADAZA file before and after conversion, on one
// self-contained HTML page, with the converter's own reader, scaling and thinning.
// zadaza-view --help tells how.
#include "io/units.hpp"
#include "os/arguments.hpp"
#include "os/files.hpp"
#include "os/staged_files.hpp"
#include "os/termination.hpp"
#include "viewer.hpp"

int main(int argc, char** argv) {
  io::set_program_name("zadaza-view");
  // A console that goes away must surface as a refused write, not as a silent kill; an
  // interrupted run leaves no half-written file.
  os::prepare_console();
  os::on_termination([](int cause) {
    os::discard_all_staged_files();
    os::end_interrupted(cause);
  });
  const int status = view::run_viewer(os::program_arguments(argc, argv));
  io::flush_all();
  return status;
}
