// zadaza-make: writes binary ZADAZA files from a text description or a synthetic soil model;
// zadaza-make --help tells how.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/run.hpp"
#include "command_line.hpp"
#include "decode.hpp"
#include "description.hpp"
#include "from_table.hpp"
#include "io/units.hpp"
#include "os/arguments.hpp"
#include "os/files.hpp"
#include "synthetic.hpp"
#include "zadaza_view/converter_adapter.hpp"
#include "zadaza_view/output_files.hpp"
#include "zadaza_writer.hpp"

namespace {

using zadaza_make::Options;

zadaza_make::ToolModel model_of(const Options& o) {
  if (o.synthetic) return zadaza_make::synthetic_model(o.size);
  // A table's CR LF ends are its own to read; a description is read as text.
  std::ifstream in(o.files[0], o.from_table ? std::ios::binary : std::ios::in);
  if (!in) throw std::runtime_error("cannot read " + o.files[0]);
  try {
    if (o.from_table) return zadaza_make::read_curve_table(in, o.old_generation);
    return zadaza_make::read_description(
        in, o.unchecked ? zadaza_make::Checking::Unchecked : zadaza_make::Checking::Sound);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(o.files[0] + ": " + e.what());
  }
}

// Reads the file with the converter's own reader, so a file is refused as the converter
// refuses it, with its message and exit status; standard output carries only the description.
int decode(const Options& o) {
  io::write_console_on_standard_error();
  const std::string& zadaza_file = o.files[0];
  switch (view::read_zadaza(zadaza_file, o.old_generation)) {
    case view::ReadOutcome::NotOpened: return app::kInputUnopenedExit;
    case view::ReadOutcome::LimitsBroken: return app::kConversionFailedExit;
    case view::ReadOutcome::Read: break;
  }
  io::flush_all();
  std::ostringstream text;
  zadaza_make::write_description(zadaza_make::decoded_model(view::soil_model(), o.old_generation),
                                 text);
  if (o.output.empty()) {
    std::cout << text.str();
    if (std::cout.flush()) return EXIT_SUCCESS;
    io::report_error({"cannot write standard output"});
    return io::kIoFailureExit;
  }
  view::protect_zadaza_file(zadaza_file);
  if (const std::string why = view::write_output_file(o.output, text.str()); !why.empty()) {
    io::report_error({"cannot write '", o.output, "': ", why});
    return io::kIoFailureExit;
  }
  return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  io::set_program_name("zadaza-make");
  // Lines end as written on every system, and a console that goes away is a refused write.
  os::prepare_console();
  const zadaza_make::MakeCommand command =
      zadaza_make::parse_command_line(os::program_arguments(argc, argv));
  switch (command.action) {
    case io::CommandAction::Help:
      zadaza_make::write_help();
      io::flush_all();
      return EXIT_SUCCESS;
    case io::CommandAction::Version:
      zadaza_make::write_version();
      io::flush_all();
      return EXIT_SUCCESS;
    case io::CommandAction::Refused:
      zadaza_make::report_usage_error(command.error);
      return io::kUsageErrorExit;
    case io::CommandAction::Run:
      break;
  }
  const Options& o = command.options;
  try {
    if (o.decode) return decode(o);
    zadaza_make::ToolModel model = model_of(o);
    if (o.old_generation) model.old_generation = true;
    // The groups written count, not the diameters listed: a decoded file may name more
    // diameters than the 4 groups its layers hold.
    const auto groups = static_cast<std::size_t>(model.diameter_groups());
    if (model.old_generation && groups > zadaza_make::kOldDiameterGroups && !o.unchecked) {
      throw std::runtime_error("the Old generation holds 4 diameters, " + std::to_string(groups) +
                               " given; write the New generation");
    }
    const std::string& output = o.files.back();
    if (o.text) {
      std::ofstream out(output);
      zadaza_make::write_description(model, out);
      if (!out.flush()) throw std::runtime_error("cannot write " + output);
    } else {
      zadaza_make::write_zadaza_file(model, o.style, output);
    }
    return EXIT_SUCCESS;
  } catch (const std::exception& e) {
    io::report_error({e.what()});
    return EXIT_FAILURE;
  }
}
