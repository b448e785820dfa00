// zadaza-make: writes binary ZADAZA files from a text description or a synthetic soil model;
// zadaza-make --help tells how.
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/run.hpp"
#include "decode.hpp"
#include "description.hpp"
#include "from_table.hpp"
#include "io/units.hpp"
#include "synthetic.hpp"
#include "zadaza_view/converter_adapter.hpp"
#include "zadaza_view/output_files.hpp"
#include "zadaza_writer.hpp"

namespace {

using zadaza_make::BlockStyle;

struct Options {
  bool help = false;
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
    "       zadaza-make --help\n"
    "\n"
    "Writes a binary ZADAZA pile-soil file for trying and testing zadaza2krano, from a text\n"
    "description (format: tools/zadaza_make/README.md in the sources), a synthetic soil or a\n"
    "table of curves (as zadaza-view --table writes it); or decodes a ZADAZA file into a text\n"
    "description.\n"
    "\n"
    "Options:\n"
    "  --old               write the Old generation (two counts instead of three)\n"
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
    "\n"
    "Exit status: 0 written, 1 the description, the table or a file is refused, 2 usage\n"
    "error; decode: the converter's, 0 written, 1 the ZADAZA file cannot be opened, 2 a\n"
    "damaged file, a usage error or an output that cannot be written, 3 beyond the size\n"
    "limits.\n";

constexpr const char* kUsageHint = "'zadaza-make --help' lists the options";

// A mistake on the command line, as opposed to one in the description or a file.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

int count_argument(const std::string& option, const char* value) {
  const std::string text = value;
  int n = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc{} || end != text.data() + text.size() || n < 0) {
    throw UsageError("bad value for " + option + ": '" + text + "'");
  }
  return n;
}

Options parse(int argc, char** argv) {
  Options o;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    const bool has_value = a + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      return o;
    } else if (arg == "--old") {
      o.old_generation = true;
    } else if (arg == "--unchecked") {
      o.unchecked = true;
    } else if (arg == "--synthetic") {
      o.synthetic = true;
    } else if (arg == "--text") {
      o.text = true;
    } else if (arg == "--decode") {
      o.decode = true;
    } else if (arg == "--from-table") {
      o.from_table = true;
    } else if (arg == "-o" && has_value) {
      o.output = argv[++a];
      if (o.output.empty()) throw UsageError("-o takes a file name");
    } else if (arg == "--blocks" && has_value) {
      const std::string style = argv[++a];
      if (style != "full" && style != "led0") throw UsageError("--blocks takes full or led0");
      o.style = style == "full" ? BlockStyle::Full : BlockStyle::LeadZero;
    } else if (arg == "--layers" && has_value) {
      o.size.layers = count_argument(arg, argv[++a]);
    } else if (arg == "--diameters" && has_value) {
      o.size.diameters = count_argument(arg, argv[++a]);
    } else if (arg == "--in-use" && has_value) {
      o.size.in_use = count_argument(arg, argv[++a]);
    } else if (arg == "--dsp" && has_value) {
      o.size.dsp = count_argument(arg, argv[++a]);
    } else if (arg == "--seed" && has_value) {
      o.size.seed = static_cast<std::uint32_t>(count_argument(arg, argv[++a]));
    } else if (arg.starts_with("-") && arg.size() > 1) {
      throw UsageError(has_value ? "unknown option " + arg : "unknown option or missing value: " + arg);
    } else {
      o.files.push_back(arg);
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
    std::cerr << "zadaza-make: cannot write standard output\n";
    return io::kIoFailureExit;
  }
  view::protect_zadaza_file(zadaza_file);
  if (const std::string why = view::write_output_file(o.output, text.str()); !why.empty()) {
    std::cerr << "zadaza-make: cannot write '" << o.output << "': " << why << '\n';
    return io::kIoFailureExit;
  }
  return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = parse(argc, argv);
    if (o.help) {
      std::cout << kHelp;
      return std::cout.flush() ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    if (o.decode) return decode(o);
    zadaza_make::ToolModel model = model_of(o);
    if (o.old_generation) model.old_generation = true;
    const std::string& output = o.files.back();
    if (o.text) {
      std::ofstream out(output);
      zadaza_make::write_description(model, out);
      if (!out.flush()) throw std::runtime_error("cannot write " + output);
    } else {
      zadaza_make::write_zadaza_file(model, o.style, output);
    }
    return EXIT_SUCCESS;
  } catch (const UsageError& e) {
    std::cerr << "zadaza-make: " << e.what() << '\n' << "zadaza-make: " << kUsageHint << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "zadaza-make: " << e.what() << '\n';
    return EXIT_FAILURE;
  }
}
