#include "command_line.hpp"

#include <charconv>
#include <string_view>

#include "io/units.hpp"

#ifndef ZADAZA2KRANO_VERSION
#error "ZADAZA2KRANO_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace zadaza_make {
namespace {

constexpr std::string_view kUsages[] = {
    "[--old] [--blocks full|led0] [--text] [--unchecked] DESCRIPTION.txt\nOUTPUT",
    "--synthetic --layers L --diameters N --in-use U --dsp R [--seed S]\n"
    "[--old] [--blocks full|led0] [--text] OUTPUT",
    "--decode [--old] ZADAZA_FILE [-o DESCRIPTION.txt]",
    "--from-table [--old] [--blocks full|led0] [--text] CURVES.csv OUTPUT",
};

constexpr std::string_view kAbout[] = {
    "Writes a binary ZADAZA pile-soil file for trying and testing zadaza2krano, from a text",
    "description, a synthetic soil or a table of curves (as zadaza-view --table writes it);",
    "or decodes a ZADAZA file into a text description. The description format is installed",
    "as share/doc/zadaza2krano/zadaza-make-format.md (tools/zadaza_make/README.md in the",
    "sources); examples/soil.txt, a whole description, as share/doc/zadaza2krano/examples/.",
    "Each option may be given once.",
};

constexpr std::string_view kExitStatuses[] = {
    "0  written",
    "1  the description, the table or a file is refused; --decode: the ZADAZA file cannot be",
    "   opened",
    "2  a usage error; --decode: also a damaged file or an output that cannot be written",
    "3  --decode: the ZADAZA file exceeds the size limits",
};

constexpr io::ProgramText kProgram{
    .name = "zadaza-make",
    .version = ZADAZA2KRANO_VERSION,
    .usages = kUsages,
    .about = kAbout,
    .exit_statuses = kExitStatuses,
};

constexpr std::string_view kCountForm = "a whole number of 0 or more";

bool read_count(std::string_view text, int& n) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  return error == std::errc{} && end == text.data() + text.size() && n >= 0;
}

bool take_blocks(Options& o, std::string_view value) {
  if (value != "full" && value != "led0") return false;
  o.style = value == "full" ? BlockStyle::Full : BlockStyle::LeadZero;
  return true;
}

bool take_seed(Options& o, std::string_view value) {
  int seed = 0;
  if (!read_count(value, seed)) return false;
  o.size.seed = static_cast<std::uint32_t>(seed);
  return true;
}

constexpr io::Option<Options> kOptions[] = {
    {{.name = "--old",
      .help = "write the Old generation (two counts instead of three, and always\n"
              "4 diameter groups per layer: fewer diameters get empty groups)"},
     [](Options& o, std::string_view) { return o.old_generation = true; }},
    {{.name = "--blocks",
      .value_name = "full|led0",
      .form = "full or led0",
      .help = "record framing; led0 ends a record of 128 * k bytes with an\n"
              "empty block (default: full)"},
     take_blocks},
    {{.name = "--text", .help = "write the model as a text description instead"},
     [](Options& o, std::string_view) { return o.text = true; }},
    {{.name = "--unchecked",
      .help = "write what the description says even where the converter cannot\n"
              "read a sound file from it (to test damaged input)"},
     [](Options& o, std::string_view) { return o.unchecked = true; }},
    {{.name = "--synthetic", .help = "make the soil: sand over soft clay, stresses in kPa, metres"},
     [](Options& o, std::string_view) { return o.synthetic = true; }},
    {{.name = "--layers", .value_name = "L", .form = kCountForm,
      .help = "synthetic: number of layers"},
     [](Options& o, std::string_view v) { return read_count(v, o.size.layers); }},
    {{.name = "--diameters", .value_name = "N", .form = kCountForm,
      .help = "synthetic: number of diameter slots"},
     [](Options& o, std::string_view v) { return read_count(v, o.size.diameters); }},
    {{.name = "--in-use", .value_name = "U", .form = kCountForm,
      .help = "synthetic: diameters in use (0.9, 1.2, 1.5, 2.0, ...)"},
     [](Options& o, std::string_view v) { return read_count(v, o.size.in_use); }},
    {{.name = "--dsp", .value_name = "R", .form = kCountForm,
      .help = "synthetic: number of soil displacement rows"},
     [](Options& o, std::string_view v) { return read_count(v, o.size.dsp); }},
    {{.name = "--seed", .value_name = "S", .form = kCountForm,
      .help = "synthetic: varies the soil (default: 1)"},
     take_seed},
    {{.name = "--decode",
      .help = "write the text description of ZADAZA_FILE, read as the converter\n"
              "reads it; its reading lines go to standard error"},
     [](Options& o, std::string_view) { return o.decode = true; }},
    {{.name = "-o", .value_name = "DESCRIPTION.txt", .form = "a file name",
      .help = "decode: the description's file (default: standard output)"},
     [](Options& o, std::string_view v) {
       o.output = v;
       return !v.empty();
     }},
    {{.name = "--from-table",
      .help = "make the file from a CSV table of curve points: columns layer,\n"
              "z_bottom, diameter, curve, point, displacement and stress"},
     [](Options& o, std::string_view) { return o.from_table = true; }},
};

io::UsageError take_file(Options& o, std::string_view file) {
  o.files.emplace_back(file);
  return {};
}

// What the whole command line asks, once every option is read.
io::UsageError checked(const Options& o) {
  if (o.synthetic + o.decode + o.from_table > 1) {
    return io::refusal("--synthetic, --decode and --from-table exclude each other",
                       "give one of them");
  }
  if (!o.output.empty() && !o.decode) {
    return io::refusal("-o is for --decode", "give the OUTPUT file after the input");
  }
  if (o.decode && o.files.size() != 1U) {
    return io::refusal("wrong number of files", "give one ZADAZA_FILE with --decode");
  }
  if (!o.decode && o.files.size() != (o.synthetic ? 1U : 2U)) {
    return io::refusal("wrong number of files",
                       o.synthetic    ? "give one OUTPUT file with --synthetic"
                       : o.from_table ? "give a CURVES.csv and an OUTPUT file"
                                      : "give a DESCRIPTION.txt and an OUTPUT file");
  }
  return {};
}

}  // namespace

MakeCommand parse_command_line(std::span<const char* const> arguments) {
  MakeCommand command;
  const io::ParsedArguments parsed =
      io::parse_arguments(arguments, kOptions, take_file, command.options);
  command.action = parsed.action;
  command.error = parsed.error;
  if (parsed.action != io::CommandAction::Run) return command;
  if (const io::UsageError error = checked(command.options)) {
    command.action = io::CommandAction::Refused;
    command.error = error;
  }
  return command;
}

void write_help() { io::write_help(io::kConsoleOut, kProgram, kOptions); }

void write_version() { io::write_version(io::kConsoleOut, kProgram); }

void report_usage_error(const io::UsageError& error) { io::report_usage_error(kProgram, error); }

}  // namespace zadaza_make
