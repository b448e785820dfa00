// Names at the limits, run end to end: an output name of the system's longest file name is
// written like any other, and an echo file named by --echo-file frees the ZADAZA name from the
// room ".echo" would need.
#include <unistd.h>

#include <string>

#include "app/dialogue.hpp"
#include "converter_run.hpp"

namespace {

using namespace converter_test;

const char* const kSmall = "--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 4";

// The folder's longest file name.
std::size_t longest_name(const fs::path& folder) {
  return static_cast<std::size_t>(::pathconf(folder.c_str(), _PC_NAME_MAX));
}

struct OutputName {
  const char* name;
  int beyond_longest;
  int exit_status;
  const std::string& outcome;
};

class LongOutputNames : public ConverterRun, public ::testing::WithParamInterface<OutputName> {};

TEST_P(LongOutputNames, AreWrittenUpToTheLongestAndRefusedBeyond) {
  const OutputName& c = GetParam();
  make_zadaza(kSmall, "soil.zdz");
  const std::string output(longest_name(work()) + static_cast<std::size_t>(c.beyond_longest), 'o');
  const Outcome r = run("\nsoil.zdz\nP\n0\n1\n1\n0\n1\n" + output + "\nN\n");
  EXPECT_EQ(r.exit_status, c.exit_status) << r.errors;
  EXPECT_TRUE(r.console.ends_with(c.outcome)) << r.console;
  const bool written = c.exit_status == 0;
  const std::set<std::string> expected =
      written ? std::set<std::string>{"soil.zdz", output} : std::set<std::string>{"soil.zdz"};
  EXPECT_EQ(files(), expected);
  if (!written) {
    EXPECT_NE(r.errors.find("cannot open output file"), std::string::npos) << r.errors;
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongOutputNames,
                         ::testing::Values(OutputName{"TheLongest", 0, 0, kCompleted},
                                           OutputName{"OneBeyond", 1, 3, kFailed}),
                         [](const auto& info) { return std::string(info.param.name); });

// A ZADAZA name that leaves no room for ".echo": as a path near the length the converter keeps
// whole, and as a file name near the system's longest. With --echo the echo name cannot be
// built and the run is refused or fails; with --echo-file it is never built.
struct EchoCase {
  const char* name;
  bool deep_path;      // else a long file name in the working folder
  bool echo_file;      // --echo-file soil.echo, else --echo
  int exit_status;
  std::string error;   // a piece of standard error, or empty for none at all
};

class NearLimitZadazaNames : public ConverterRun, public ::testing::WithParamInterface<EchoCase> {
 protected:
  void TearDown() override {
    // The deep folders are removed by relative names: their absolute names are too long.
    if (!top_.empty()) {
      const fs::path back = fs::current_path();
      fs::current_path(work());
      fs::remove_all(top_);
      fs::current_path(back);
    }
  }

  // The ZADAZA file's name relative to the working folder, one byte short of leaving room for
  // ".echo" in the converter's name length.
  std::string deep_zadaza_name() {
    const std::size_t length = static_cast<std::size_t>(app::kFileNameLength) -
                               app::kEchoExtension.size() + 1;
    const std::string folder(200, 'd');
    std::string name;
    while (name.size() + folder.size() + 1 + 50 < length) name += folder + "/";
    top_ = folder;
    const fs::path back = fs::current_path();
    fs::current_path(work());
    fs::create_directories(name);
    fs::current_path(back);
    return name + std::string(length - name.size(), 'z');
  }

  std::string top_;
};

TEST_P(NearLimitZadazaNames, NeedNoRoomForEchoWithEchoFile) {
  const EchoCase& c = GetParam();
  const std::string zadaza =
      c.deep_path ? deep_zadaza_name()
                  : std::string(longest_name(work()) - app::kEchoExtension.size() + 1, 'z');
  make_zadaza(kSmall, zadaza.c_str());
  std::vector<std::string> command = {ZZ_CONVERTER, "--mudline", "0", "--format", "1",
                                      "-o", "soil.fem"};
  if (c.echo_file) {
    command.insert(command.end(), {"--echo-file", "soil.echo"});
  } else {
    command.push_back("--echo");
  }
  command.push_back(zadaza);
  const Outcome r = test_support::run_program({command, work().string()});
  EXPECT_EQ(r.exit_status, c.exit_status) << r.errors;
  if (c.error.empty()) {
    EXPECT_EQ(r.errors, "");
    EXPECT_TRUE(r.console.ends_with(kCompleted)) << r.console;
    EXPECT_EQ(files().count("soil.echo"), 1U);
    EXPECT_EQ(files().count("soil.fem"), 1U);
  } else {
    EXPECT_NE(r.errors.find(c.error), std::string::npos) << r.errors;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, NearLimitZadazaNames,
    ::testing::Values(
        EchoCase{"DeepPathWithEchoFile", true, true, 0, ""},
        EchoCase{"DeepPathWithEcho", true, false, 2, "the echo name, ZADAZA_FILE with .echo added"},
        EchoCase{"LongFileNameWithEchoFile", false, true, 0, ""},
        EchoCase{"LongFileNameWithEcho", false, false, 3, "cannot open echo file"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
