// zadaza-make --decode: a ZADAZA file read by the converter's reader, written as a text
// description, made again into a file that converts identically, and is the same file when
// zadaza-make wrote the first one. Its refusals are in bad_input_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "runs.hpp"

namespace view_test {
namespace {

struct Made {
  std::string name;
  std::string make_arguments;  // with the description, if any, as in.txt
  std::string description;
  bool old_generation = false;
  std::string blocks = "full";
};

void PrintTo(const Made& m, std::ostream* out) { *out << m.name; }

std::vector<Made> generated_files() {
  std::vector<Made> files;
  for (int seed = 1; seed <= 16; ++seed) {
    const int layers = seed * 37 % 81;
    const int diameters = 1 + seed % 15;
    std::ostringstream made;
    made << "--synthetic --layers " << layers << " --diameters " << diameters << " --in-use "
         << std::min(diameters, seed % 5) << " --dsp " << seed % 16 << " --seed " << seed;
    files.push_back({"New" + std::to_string(seed), made.str(), "", false,
                     seed % 2 == 0 ? "led0" : "full"});
    std::ostringstream old;
    old << "--synthetic --old --layers " << seed * 5 % 81 << " --diameters 4 --in-use "
        << seed % 5 << " --dsp " << (seed + 3) % 16 << " --seed " << seed;
    files.push_back({"Old" + std::to_string(seed), old.str(), "", true,
                     seed % 3 == 0 ? "led0" : "full"});
  }
  // Files only an unchecked description gives, which the converter still reads.
  const std::string layer = "layer 5 1 2 3 4 5 6 7 8 9 10\n";
  files.push_back({"LabelOfBlanksAndControls", "--unchecked in.txt",
                   "label-escaped \\x20 two leading blanks,\\x09a tab \\\\ \\x0d\\x00\ncounts -3 -1 2\n", false});
  files.push_back({"OddNumbers", "--unchecked in.txt",
                   "label odd\ndiameters 1.5 -0 0\n" + layer +
                       "py 1 30 -4 nan -inf 4.9e-324  -0 1e-300  nan 0  inf -inf\n"
                       "tz 2 -1 0 0 0 0  1.7976931348623157e308 -2.5e-310\n"
                       "dsp 0 0 0\ndsp 1 2 3\ncounts 1 4 3\n",
                   false});
  // Curves whose last point, within or beyond the point count, holds a -0.0.
  files.push_back({"CurvesEndingInNegativeZero", "--unchecked in.txt",
                   "label zeros\ndiameters 1.5\n" + layer +
                       "py 1 2 0 0 0 0  1 0.1  0 -0\n"
                       "tz 1 1 0 0 0 0  1 0.1  -0 0\n"
                       "qz 1 3 0 0 0 0  1 0.1  2 0.2  -0 -0\n",
                   false});
  files.push_back({"OldDiametersBeyondItsGroups", "--old --unchecked in.txt",
                   "label groups\ndiameters 0.9 1.2 0 0 2.5 3.5\n", true});
  return files;
}

std::string converter_options(bool old_generation) {
  return std::string(old_generation ? " --old" : "") + " --mudline -20 --echo";
}

// Everything a conversion of sub/in.zdz gives: both soil files, the echo report, the consoles.
std::string conversion_outputs(const TempDir& folder, const std::string& sub, bool old_generation) {
  std::string all;
  for (const char* format : {"knf", "sesam"}) {
    const Outcome run_outcome =
        run(folder / sub, shell_quoted(kConverter) + converter_options(old_generation) +
                              " --format " + format + " -o out in.zdz");
    all += std::to_string(run_outcome.status) + run_outcome.out + run_outcome.err +
           read_file(folder / (sub + "/out")) + read_file(folder / (sub + "/in.zdz.echo"));
  }
  return all;
}

class Decoded : public ::testing::TestWithParam<Made> {};

TEST_P(Decoded, MakesTheSameFileAndTheSameConversion) {
  const Made& m = GetParam();
  TempDir folder;
  fs::create_directories(folder / "first");
  fs::create_directories(folder / "again");
  if (!m.description.empty()) write_file(folder / "first/in.txt", m.description);
  ASSERT_EQ(
      run(folder / "first", shell_quoted(kMaker) + " --blocks " + m.blocks + " " +
                                m.make_arguments + " in.zdz").status,
      0);
  const Outcome decoded = run(folder, shell_quoted(kMaker) + " --decode" +
                                          (m.old_generation ? " --old" : "") + " first/in.zdz");
  ASSERT_EQ(decoded.status, 0) << decoded.err;
  write_file(folder / "again/in.txt", decoded.out);
  const Outcome made =
      run(folder / "again", shell_quoted(kMaker) + " --blocks " + m.blocks + " in.txt in.zdz");
  ASSERT_EQ(made.status, 0) << made.err << decoded.out;

  EXPECT_TRUE(same_lines(read_file(folder / "again/in.zdz"), read_file(folder / "first/in.zdz")))
      << decoded.out.substr(0, 2000);
  EXPECT_TRUE(same_lines(conversion_outputs(folder, "again", m.old_generation),
                         conversion_outputs(folder, "first", m.old_generation)));
  // The reader's lines stay off standard output, which carries the description alone.
  EXPECT_NE(decoded.err.find(" Reading  Label"), std::string::npos) << decoded.err;
}

INSTANTIATE_TEST_SUITE_P(Files, Decoded, ::testing::ValuesIn(generated_files()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace view_test
