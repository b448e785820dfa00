#include "command_line.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <tuple>

#include "io/units.hpp"
#include "zadaza/soil_model.hpp"

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
    "--profile PROFILE.csv --diameters D1,D2,... --loading static|cyclic\n"
    "[--spacing H] [--label TEXT] OUTPUT.zdz",
};

constexpr std::string_view kAbout[] = {
    "Writes a binary ZADAZA pile-soil file for trying and testing zadaza2krano, from a text",
    "description, a synthetic soil, a table of curves (as zadaza-view --table writes it) or",
    "the standard curves of a soil profile; or decodes a ZADAZA file into a text description.",
    "The description format is installed as share/doc/zadaza2krano/zadaza-make-format.md",
    "(tools/zadaza_make/README.md in the sources); examples/soil.txt, a whole description,",
    "as share/doc/zadaza2krano/examples/.",
    "Each option may be given once.",
};

constexpr std::string_view kProfileText[] = {
    "Standard curves from a soil profile (--profile):",
    "  writes the P-y (Matlock clay, API sand), T-z and Q-z curves of every diameter, layer",
    "  by layer. Lengths are in m and forces in kN: diameters, depths and H in m, strengths,",
    "  limits and stresses in kPa, unit weights and k in kN/m3, phi in degrees.",
    "  PROFILE.csv has a header row and one row per soil unit from the mudline down,",
    "  without gaps: columns top, bottom, soil (clay or sand), unit_weight (effective);",
    "  clay: su_top, su_bottom, eps50, J, t_res; sand: phi, k, beta, f_lim, Nq, q_lim.",
    "  A value missing, unreadable or out of range is refused naming its row and column,",
    "  and nothing is written.",
};

constexpr std::string_view kExitStatuses[] = {
    "0  written",
    "1  the description, the table, the profile or a file is refused; --decode: the ZADAZA",
    "   file cannot be opened",
    "2  a usage error; --decode: also a damaged file or an output that cannot be written",
    "3  --decode: the ZADAZA file exceeds the size limits",
};

constexpr io::ProgramText kProgram{
    .name = "zadaza-make",
    .version = ZADAZA2KRANO_VERSION,
    .usages = kUsages,
    .about = kAbout,
    .after_options = kProfileText,
    .exit_statuses = kExitStatuses,
};

constexpr std::string_view kCountForm = "a whole number of 0 or more";

bool read_count(std::string_view text, int& n) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  return error == std::errc{} && end == text.data() + text.size() && n >= 0;
}

bool read_real(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc{} && stop == end && std::isfinite(value);
}

// "1.5,2.0": each above 0, different, at most as many as the file has diameter slots.
bool read_diameters(std::string_view text, std::vector<double>& diameters) {
  diameters.clear();
  for (std::size_t from = 0; from <= text.size();) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    double d = 0.0;
    if (!read_real(text.substr(from, comma - from), d) || !(d > 0.0)) return false;
    if (std::find(diameters.begin(), diameters.end(), d) != diameters.end()) return false;
    diameters.push_back(d);
    from = comma + 1;
  }
  return static_cast<int>(diameters.size()) <= zadaza::MAX_PILES;
}

// --diameters means a count of slots with --synthetic and the diameters with --profile; the
// value is taken when it reads as either, and read for its mode once the mode is known.
constexpr io::OptionRule kSlotCount{
    .name = "--diameters", .value_name = "N", .form = "a whole number of 0 or more with --synthetic"};
constexpr io::OptionRule kDiameterList{
    .name = "--diameters",
    .value_name = "D1,D2,...",
    .form = "different diameters above 0 in m with --profile, at most 15, such as 1.5,2.0"};

bool take_diameters(Options& o, std::string_view value) {
  int count = 0;
  std::vector<double> diameters;
  if (!read_count(value, count) && !read_diameters(value, diameters)) return false;
  o.diameters_given = std::string(value);
  return true;
}

bool take_size(int& size, Options& o, std::string_view value) {
  o.synthetic_size_given = true;
  return read_count(value, size);
}

constexpr io::OptionRule kLoading{.name = "--loading",
                                  .value_name = "static|cyclic",
                                  .form = "static or cyclic",
                                  .help = "profile: the loading of the P-y curves"};

bool take_loading(Options& o, std::string_view value) {
  if (value != "static" && value != "cyclic") return false;
  o.loading = value == "static" ? families::Loading::Static : families::Loading::Cyclic;
  return true;
}

bool take_spacing(Options& o, std::string_view value) {
  double spacing = 0.0;
  if (!read_real(value, spacing) || !(spacing > 0.0)) return false;
  o.spacing = spacing;
  return true;
}

constexpr std::size_t kLabelLength =
    std::tuple_size_v<decltype(zadaza::SoilModel::ANALYSIS_LABEL)>;

bool take_label(Options& o, std::string_view value) {
  o.label = std::string(value);
  return value.size() <= kLabelLength;
}

bool take_blocks(Options& o, std::string_view value) {
  if (value != "full" && value != "led0") return false;
  o.style = value == "full" ? BlockStyle::Full : BlockStyle::LeadZero;
  return true;
}

bool take_seed(Options& o, std::string_view value) {
  o.synthetic_size_given = true;
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
     [](Options& o, std::string_view v) { return take_size(o.size.layers, o, v); }},
    {{.name = "--diameters",
      .value_name = "N|D1,D2,...",
      .form = "a whole number of 0 or more with --synthetic, or different diameters above 0 "
              "in m with --profile, such as 1.5,2.0",
      .help = "synthetic: number of diameter slots; profile: the pile\n"
              "diameters in m, different, at most 15, one slot each"},
     take_diameters},
    {{.name = "--in-use", .value_name = "U", .form = kCountForm,
      .help = "synthetic: diameters in use (0.9, 1.2, 1.5, 2.0, ...)"},
     [](Options& o, std::string_view v) { return take_size(o.size.in_use, o, v); }},
    {{.name = "--dsp", .value_name = "R", .form = kCountForm,
      .help = "synthetic: number of soil displacement rows"},
     [](Options& o, std::string_view v) { return take_size(o.size.dsp, o, v); }},
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
    {{.name = "--profile",
      .value_name = "PROFILE.csv",
      .form = "a CSV file name",
      .help = "write the standard curves of the soil profile (below)"},
     [](Options& o, std::string_view v) { return !(o.profile = v).empty(); }},
    {kLoading, take_loading},
    {{.name = "--spacing",
      .value_name = "H",
      .form = "a thickness above 0 in m, such as 0.5",
      .help = "profile: each soil unit is cut into the fewest equal layers no\n"
              "thicker than H (default 1 m); at most 80 layers in all"},
     take_spacing},
    {{.name = "--label",
      .value_name = "TEXT",
      .form = "a text of at most 80 characters",
      .help = "profile: the file's label, at most 80 characters (default: the\n"
              "profile's file name)"},
     take_label},
};

io::UsageError take_file(Options& o, std::string_view file) {
  o.files.emplace_back(file);
  return {};
}

// The modes' own options, given outside their mode, would be passed over without a word.
io::UsageError options_outside_their_mode(const Options& o) {
  const bool profile = !o.profile.empty();
  if (o.synthetic + o.decode + o.from_table + profile > 1) {
    return io::refusal("--synthetic, --decode, --from-table and --profile exclude each other",
                       "give one of them");
  }
  if (!profile && (o.loading || o.spacing || o.label)) {
    return io::refusal("--loading, --spacing and --label are for --profile",
                       "give --profile PROFILE.csv");
  }
  if (!o.synthetic && o.synthetic_size_given) {
    return io::refusal("--layers, --in-use, --dsp and --seed are for --synthetic",
                       "give --synthetic");
  }
  if (!o.synthetic && !profile && o.diameters_given) {
    return io::refusal("--diameters is for --synthetic and --profile", "give one of them");
  }
  if (profile && (o.old_generation || o.text || o.unchecked || o.style != BlockStyle::Full)) {
    return io::refusal("--profile takes only --diameters, --loading, --spacing and --label",
                       "it writes a New generation file in full blocks");
  }
  if (!o.output.empty() && !o.decode) {
    return io::refusal("-o is for --decode", "give the OUTPUT file after the input");
  }
  return {};
}

// --diameters read as its mode means it.
io::UsageError read_diameters_given(Options& o) {
  if (o.synthetic && o.diameters_given && !read_count(*o.diameters_given, o.size.diameters)) {
    return io::bad_value(kSlotCount.name, *o.diameters_given, kSlotCount);
  }
  if (o.profile.empty()) return {};
  if (!o.diameters_given) return io::missing_option(kDiameterList);
  if (!read_diameters(*o.diameters_given, o.pile_diameters)) {
    return io::bad_value(kDiameterList.name, *o.diameters_given, kDiameterList);
  }
  return {};
}

io::UsageError files_given(const Options& o) {
  if (o.decode && o.files.size() != 1U) {
    return io::refusal("wrong number of files", "give one ZADAZA_FILE with --decode");
  }
  const bool one_output = o.synthetic || !o.profile.empty();
  if (!o.decode && o.files.size() != (one_output ? 1U : 2U)) {
    return io::refusal("wrong number of files",
                       o.synthetic           ? "give one OUTPUT file with --synthetic"
                       : !o.profile.empty()  ? "give one OUTPUT.zdz file with --profile"
                       : o.from_table        ? "give a CURVES.csv and an OUTPUT file"
                                             : "give a DESCRIPTION.txt and an OUTPUT file");
  }
  return {};
}

// What the whole command line asks, once every option is read.
io::UsageError checked(Options& o) {
  if (io::UsageError error = options_outside_their_mode(o)) return error;
  if (io::UsageError error = read_diameters_given(o)) return error;
  if (!o.profile.empty() && !o.loading) return io::missing_option(kLoading);
  return files_given(o);
}

}  // namespace

MakeCommand parse_command_line(std::span<const char* const> arguments) {
  return io::read_command(arguments, kOptions, take_file, checked);
}

void write_help() { io::write_help(io::kConsoleOut, kProgram, kOptions); }

void write_version() { io::write_version(io::kConsoleOut, kProgram); }

void report_usage_error(const io::UsageError& error) { io::report_usage_error(kProgram, error); }

}  // namespace zadaza_make
