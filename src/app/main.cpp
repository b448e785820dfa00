// zadaza2krano: converts a ZADAZA pile-soil file into a KRANO soil file, asking its settings on
// the console or taking them from the command line.
#include "app/command_line.hpp"
#include "io/units.hpp"
#include "os/arguments.hpp"
#include "os/files.hpp"

int main(int argc, char** argv) {
  // A console that goes away must surface as a refused write, not as a silent kill.
  os::prepare_console();
  io::discard_staged_files_on_signals();
  const int status = app::run_command(app::parse_command_line(os::program_arguments(argc, argv)));
  io::flush_all();
  return status;
}
