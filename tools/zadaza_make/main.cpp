// zadaza-make: writes binary ZADAZA files from a text description, a synthetic soil model, a
// table of curves or a soil profile; zadaza-make --help tells how.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/run.hpp"
#include "command_line.hpp"
#include "common/staged_output.hpp"
#include "decode.hpp"
#include "description.hpp"
#include "from_table.hpp"
#include "io/units.hpp"
#include "os/arguments.hpp"
#include "os/files.hpp"
#include "profile_command.hpp"
#include "synthetic.hpp"
#include "zadaza_view/converter_adapter.hpp"
#include "zadaza_writer.hpp"

namespace {

using zadaza_make::Options;

// A missing input or a folder is refused before it is opened: a stream reads a folder as an
// empty description.
void refuse_unreadable_input(const std::string& path) {
  os::FileFacts facts;
  os::Error error = os::facts_of(path.c_str(), facts);
  if (!error && facts.kind == os::FileKind::Folder) error = {os::kIsAFolder};
  if (error) throw std::runtime_error("cannot read '" + path + "': " + std::string(error.text()));
}

zadaza_make::ToolModel model_of(const Options& o) {
  if (o.synthetic) return zadaza_make::synthetic_model(o.size);
  refuse_unreadable_input(o.files[0]);
  // A table's CR LF ends are its own to read; a description is read as text.
  std::ifstream in(o.files[0], o.from_table ? std::ios::binary : std::ios::in);
  if (!in) throw std::runtime_error("cannot read '" + o.files[0] + "'");
  try {
    if (!o.from_table) {
      return zadaza_make::read_description(
          in, o.unchecked ? zadaza_make::Checking::Unchecked : zadaza_make::Checking::Sound);
    }
    zadaza_make::CurveTable table = zadaza_make::read_curve_table(in, o.old_generation);
    for (const std::string& warning : table.warnings) io::report_error({o.files[0], ": ", warning});
    return std::move(table.model);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(o.files[0] + ": " + e.what());
  }
}

std::string description_of(const zadaza_make::ToolModel& model) {
  std::ostringstream text;
  zadaza_make::write_description(model, text);
  return text.str();
}

int make(const Options& o) {
  const std::string& output = o.files.back();
  if (!o.synthetic) tools::protect_input(o.files[0]);
  std::optional<tools::StagedOutput> staged;
  const std::string input = o.from_table ? "the table" : "the description";
  if (std::string refused = tools::stage_output(staged, output, input); !refused.empty()) {
    throw std::runtime_error(refused);
  }
  zadaza_make::ToolModel model = model_of(o);
  if (o.old_generation) model.old_generation = true;
  // The groups written count, not the diameters listed: a decoded file may name more
  // diameters than the 4 groups its layers hold.
  const auto groups = static_cast<std::size_t>(model.diameter_groups());
  if (model.old_generation && groups > zadaza_make::kOldDiameterGroups && !o.unchecked) {
    throw std::runtime_error("the Old generation holds " +
                             std::to_string(zadaza_make::kOldDiameterGroups) + " diameters, " +
                             std::to_string(groups) + " given; write the New generation");
  }
  const std::string content =
      o.text ? description_of(model) : zadaza_make::zadaza_file_bytes(model, o.style);
  if (std::string refused = tools::write_staged(*staged, output, content); !refused.empty()) {
    throw std::runtime_error(refused);
  }
  return EXIT_SUCCESS;
}

// Reads the file with the converter's own reader, so a file is refused as the converter
// refuses it, with its message and exit status; standard output carries only the description.
int decode(const Options& o) {
  io::write_console_on_standard_error();
  const std::string& zadaza_file = o.files[0];
  tools::protect_input(zadaza_file);
  std::optional<tools::StagedOutput> staged;
  if (!o.output.empty()) {
    if (std::string refused = tools::stage_output(staged, o.output, "the ZADAZA file");
        !refused.empty()) {
      io::report_error({refused});
      return io::kIoFailureExit;
    }
  }
  switch (view::read_zadaza(zadaza_file, o.old_generation)) {
    case view::ReadOutcome::NotOpened: return app::kInputUnopenedExit;
    case view::ReadOutcome::LimitsBroken: return app::kConversionFailedExit;
    case view::ReadOutcome::Read: break;
  }
  io::flush_all();
  const std::string text =
      description_of(zadaza_make::decoded_model(view::soil_model(), o.old_generation));
  if (!staged) {
    std::cout << text;
    if (std::cout.flush()) return EXIT_SUCCESS;
    io::report_error({"cannot write standard output"});
    return io::kIoFailureExit;
  }
  if (std::string refused = tools::write_staged(*staged, o.output, text); !refused.empty()) {
    io::report_error({refused});
    return io::kIoFailureExit;
  }
  return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  io::set_program_name("zadaza-make");
  // Lines end as written on every system, and a console that goes away is a refused write;
  // an ending signal leaves no temporary file.
  os::prepare_console();
  tools::discard_outputs_on_termination();
  const std::span<const char* const> arguments = os::program_arguments(argc, argv);
  const zadaza_make::MakeCommand command = zadaza_make::parse_command_line(arguments);
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
    if (!o.profile.empty()) {
      zadaza_make::write_profile_file(o);
      return EXIT_SUCCESS;
    }
    return o.decode ? decode(o) : make(o);
  } catch (const std::exception& e) {
    io::report_error({e.what()});
    return EXIT_FAILURE;
  }
}
