// zadaza-make: writes binary ZADAZA files from a text description or a synthetic soil model;
// zadaza-make --help tells how.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/run.hpp"
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

using zadaza_make::BlockStyle;

struct Options {
  bool help = false;
  bool version = false;
  bool old_generation = false;
  bool unchecked = false;
  bool synthetic = false;
  bool text = false;
  bool decode = false;
  bool from_table = false;
  std::string output;  // --decode: empty for standard output
  BlockStyle style = BlockStyle::Full;
  zadaza_make::SyntheticSize size;
  std::vector<std::string> files;
};

constexpr const char* kHelp =
    "usage: zadaza-make [--old] [--blocks full|led0] [--text] [--unchecked] DESCRIPTION.txt\n"
    "                   OUTPUT\n"
    "       zadaza-make --synthetic --layers L --diameters N --in-use U --dsp R [--seed S]\n"
    "                   [--old] [--blocks full|led0] [--text] OUTPUT\n"
    "       zadaza-make --decode [--old] ZADAZA_FILE [-o DESCRIPTION.txt]\n"
    "       zadaza-make --from-table [--old] [--blocks full|led0] [--text] CURVES.csv OUTPUT\n"
    "       zadaza-make --help | --version\n"
    "\n"
    "Writes a binary ZADAZA pile-soil file for trying and testing zadaza2krano, from a text\n"
    "description, a synthetic soil or a table of curves (as zadaza-view --table writes it);\n"
    "or decodes a ZADAZA file into a text description. The description format is installed\n"
    "as share/doc/zadaza2krano/zadaza-make-format.md (tools/zadaza_make/README.md in the\n"
    "sources); examples/soil.txt, a whole description, as share/doc/zadaza2krano/examples/.\n"
    "\n"
    "Options (each may be given once):\n"
    "  --old               write the Old generation (two counts instead of three, and always\n"
    "                      4 diameter groups per layer: fewer diameters get empty groups)\n"
    "  --blocks full|led0  record framing; led0 ends a record of 128 * k bytes with an\n"
    "                      empty block (default: full)\n"
    "  --text              write the model as a text description instead\n"
    "  --unchecked         write what the description says even where the converter cannot\n"
    "                      read a sound file from it (to test damaged input)\n"
    "  --synthetic         make the soil: sand over soft clay, stresses in kPa, metres\n"
    "  --layers L          synthetic: number of layers\n"
    "  --diameters N       synthetic: number of diameter slots\n"
    "  --in-use U          synthetic: diameters in use (0.9, 1.2, 1.5, 2.0, ...)\n"
    "  --dsp R             synthetic: number of soil displacement rows\n"
    "  --seed S            synthetic: varies the soil (default: 1)\n"
    "  --decode            write the text description of ZADAZA_FILE, read as the converter\n"
    "                      reads it; its reading lines go to standard error\n"
    "  -o DESCRIPTION.txt  decode: the description's file (default: standard output)\n"
    "  --from-table        make the file from a CSV table of curve points: columns layer,\n"
    "                      z_bottom, diameter, curve, point, displacement and stress\n"
    "  -h, --help          show this help and exit\n"
    "  --version           show the program name and version and exit\n"
    "\n"
    "Exit status: 0 written, 1 the description, the table or a file is refused, 2 usage\n"
    "error; decode: the converter's, 0 written, 1 the ZADAZA file cannot be opened, 2 a\n"
    "damaged file, a usage error or an output that cannot be written, 3 beyond the size\n"
    "limits.\n";

constexpr const char* kUsageHint = "'zadaza-make --help' lists the options";

constexpr const char* kOptionList =
    "the options are --old, --blocks, --text, --unchecked, --synthetic, --layers, --diameters, "
    "--in-use, --dsp, --seed, --decode, -o, --from-table, --profile, -h/--help and --version";

constexpr const char* kCountForm = "a whole number of 0 or more";

// A mistake on the command line, as opposed to one in the description or a file.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool read_count(const std::string& text, int& n) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  return error == std::errc{} && end == text.data() + text.size() && n >= 0;
}

struct MakeOption {
  std::string_view name;
  const char* form;  // what its value must be; nullptr: it takes no value
  bool (*apply)(Options&, const std::string& value);
};

const MakeOption kOptions[] = {
    {"--old", nullptr, [](Options& o, const std::string&) { return o.old_generation = true; }},
    {"--unchecked", nullptr, [](Options& o, const std::string&) { return o.unchecked = true; }},
    {"--synthetic", nullptr, [](Options& o, const std::string&) { return o.synthetic = true; }},
    {"--text", nullptr, [](Options& o, const std::string&) { return o.text = true; }},
    {"--decode", nullptr, [](Options& o, const std::string&) { return o.decode = true; }},
    {"--from-table", nullptr, [](Options& o, const std::string&) { return o.from_table = true; }},
    {"-o", "a file name",
     [](Options& o, const std::string& v) {
       o.output = v;
       return !v.empty();
     }},
    {"--blocks", "full or led0",
     [](Options& o, const std::string& v) {
       o.style = v == "full" ? BlockStyle::Full : BlockStyle::LeadZero;
       return v == "full" || v == "led0";
     }},
    {"--layers", kCountForm,
     [](Options& o, const std::string& v) { return read_count(v, o.size.layers); }},
    {"--diameters", kCountForm,
     [](Options& o, const std::string& v) { return read_count(v, o.size.diameters); }},
    {"--in-use", kCountForm,
     [](Options& o, const std::string& v) { return read_count(v, o.size.in_use); }},
    {"--dsp", kCountForm, [](Options& o, const std::string& v) { return read_count(v, o.size.dsp); }},
    {"--seed", kCountForm,
     [](Options& o, const std::string& v) {
       int seed = 0;
       if (!read_count(v, seed)) return false;
       o.size.seed = static_cast<std::uint32_t>(seed);
       return true;
     }},
};

std::string quoted(const std::string& text) {
  std::string quoted(1, '\'');
  quoted.append(text).push_back('\'');
  return quoted;
}

Options parse(std::span<const char* const> arguments) {
  Options o;
  std::set<std::string_view> given;
  for (std::size_t a = 0; a < arguments.size(); ++a) {
    const std::string arg = arguments[a];
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      return o;
    }
    if (arg == "--version") {
      o.version = true;
      return o;
    }
    if (!arg.starts_with("-") || arg.size() == 1) {
      o.files.push_back(arg);
      continue;
    }
    const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [&](const MakeOption& m) { return m.name == arg; });
    if (option == std::end(kOptions)) {
      throw UsageError("unknown option " + quoted(arg) + "; " + kOptionList);
    }
    if (!given.insert(option->name).second) {
      throw UsageError("option given twice " + quoted(arg) + "; give each option once");
    }
    const std::string takes = option->form == nullptr ? "" : arg + " takes " + option->form;
    if (option->form != nullptr && a + 1 >= arguments.size()) {
      throw UsageError("missing value for option " + quoted(arg) + "; " + takes);
    }
    const std::string value = option->form == nullptr ? "" : arguments[++a];
    if (!option->apply(o, value)) {
      throw UsageError("bad value for option " + quoted(arg) + ": " + quoted(value) + "; " + takes);
    }
  }
  if (o.synthetic + o.decode + o.from_table > 1) {
    throw UsageError("--synthetic, --decode and --from-table exclude each other");
  }
  if (!o.output.empty() && !o.decode) throw UsageError("-o is for --decode");
  if (o.decode && o.files.size() != 1U) throw UsageError("give one ZADAZA_FILE with --decode");
  if (!o.decode && o.files.size() != (o.synthetic ? 1U : 2U)) {
    throw UsageError(o.synthetic    ? "give one OUTPUT file with --synthetic"
                     : o.from_table ? "give a CURVES.csv and an OUTPUT file"
                                    : "give a DESCRIPTION.txt and an OUTPUT file");
  }
  return o;
}

zadaza_make::ToolModel model_of(const Options& o) {
  if (o.synthetic) return zadaza_make::synthetic_model(o.size);
  // A table's CR LF ends are its own to read; a description is read as text.
  std::ifstream in(o.files[0], o.from_table ? std::ios::binary : std::ios::in);
  if (!in) throw std::runtime_error("cannot read " + o.files[0]);
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

// The output staged before any input is read, so that a refused name costs no reading; why
// not, or empty.
std::string stage_output(std::optional<tools::StagedOutput>& staged, const std::string& path,
                         std::string_view input) {
  if (std::string refused = tools::refused_outputs({path}, input); !refused.empty()) return refused;
  staged.emplace(path);
  if (staged->refusal().empty()) return {};
  return "cannot write '" + path + "': " + staged->refusal();
}

std::string written(tools::StagedOutput& staged, const std::string& path, std::string_view content) {
  if (staged.write(content) && staged.commit()) return {};
  return "cannot write '" + path + "': " + staged.refusal();
}

int make(const Options& o) {
  const std::string& output = o.files.back();
  if (!o.synthetic) tools::protect_input(o.files[0]);
  std::optional<tools::StagedOutput> staged;
  const std::string input = o.from_table ? "the table" : "the description";
  if (std::string refused = stage_output(staged, output, input); !refused.empty()) {
    throw std::runtime_error(refused);
  }
  zadaza_make::ToolModel model = model_of(o);
  if (o.old_generation) model.old_generation = true;
  // The groups written count, not the diameters listed: a decoded file may name more
  // diameters than the 4 groups its layers hold.
  const auto groups = static_cast<std::size_t>(model.diameter_groups());
  if (model.old_generation && groups > zadaza_make::kOldDiameterGroups && !o.unchecked) {
    throw std::runtime_error("the Old generation holds 4 diameters, " + std::to_string(groups) +
                             " given; write the New generation");
  }
  const std::string content =
      o.text ? description_of(model) : zadaza_make::zadaza_file_bytes(model, o.style);
  if (std::string refused = written(*staged, output, content); !refused.empty()) {
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
    if (std::string refused = stage_output(staged, o.output, "the ZADAZA file"); !refused.empty()) {
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
  if (std::string refused = written(*staged, o.output, text); !refused.empty()) {
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
  try {
    const std::span<const char* const> arguments = os::program_arguments(argc, argv);
    if (zadaza_make::asks_for_profile(arguments)) return zadaza_make::run_profile(arguments);
    const Options o = parse(arguments);
    if (o.help || o.version) {
      if (o.help) std::cout << kHelp << zadaza_make::kProfileHelp;
      if (o.version) std::cout << "zadaza-make " ZADAZA2KRANO_VERSION "\n";
      return std::cout.flush() ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    return o.decode ? decode(o) : make(o);
  } catch (const UsageError& e) {
    io::report_error({e.what()});
    io::report_error({kUsageHint});
    return 2;
  } catch (const std::exception& e) {
    io::report_error({e.what()});
    return EXIT_FAILURE;
  }
}
