// zadaza-make: writes binary ZADAZA files from a text description or a synthetic soil model.
//
//   zadaza-make [--old] [--blocks full|led0] [--text] DESCRIPTION.txt OUTPUT
//   zadaza-make --synthetic --layers L --diameters N --in-use U --dsp R [--seed S]
//               [--old] [--blocks full|led0] [--text] OUTPUT
//
// --text writes the model as a text description instead of a binary file.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "description.hpp"
#include "synthetic.hpp"
#include "zadaza_writer.hpp"

namespace {

using zadaza_make::BlockStyle;

struct Options {
  bool old_generation = false;
  bool synthetic = false;
  bool text = false;
  BlockStyle style = BlockStyle::Full;
  zadaza_make::SyntheticSize size;
  std::vector<std::string> files;
};

constexpr const char* kUsage =
    "usage: zadaza-make [--old] [--blocks full|led0] [--text] DESCRIPTION.txt OUTPUT\n"
    "       zadaza-make --synthetic --layers L --diameters N --in-use U --dsp R [--seed S]\n"
    "                   [--old] [--blocks full|led0] [--text] OUTPUT\n";

int count_argument(const std::string& option, const char* value) {
  std::size_t end = 0;
  const int n = std::stoi(value, &end);
  if (value[end] != '\0' || n < 0) throw std::runtime_error("bad value for " + option);
  return n;
}

Options parse(int argc, char** argv) {
  Options o;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    const bool has_value = a + 1 < argc;
    if (arg == "--old") {
      o.old_generation = true;
    } else if (arg == "--synthetic") {
      o.synthetic = true;
    } else if (arg == "--text") {
      o.text = true;
    } else if (arg == "--blocks" && has_value) {
      const std::string style = argv[++a];
      if (style != "full" && style != "led0") throw std::runtime_error("--blocks full|led0");
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
    } else if (arg.starts_with("--")) {
      throw std::runtime_error("unknown option " + arg);
    } else {
      o.files.push_back(arg);
    }
  }
  if (o.files.size() != (o.synthetic ? 1U : 2U)) throw std::runtime_error("wrong number of files");
  return o;
}

zadaza_make::ToolModel model_of(const Options& o) {
  if (o.synthetic) return zadaza_make::synthetic_model(o.size);
  std::ifstream in(o.files[0]);
  if (!in) throw std::runtime_error("cannot read " + o.files[0]);
  return zadaza_make::read_description(in);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = parse(argc, argv);
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
  } catch (const std::exception& e) {
    std::cerr << "zadaza-make: " << e.what() << '\n' << kUsage;
    return EXIT_FAILURE;
  }
}
