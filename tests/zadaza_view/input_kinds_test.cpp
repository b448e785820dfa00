// The viewer tells a ZADAZA file from a soil file by bytes it reads once, so a pipe serves as
// well as a file; what is neither is refused in one line, nothing written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/run.hpp"
#include "io/units.hpp"
#include "runs.hpp"
#include "support/process.hpp"

namespace view_test {
namespace {

enum class Through { File, Pipe };

struct KindCase {
  const char* name;
  const char* source;   // a file of the folder below
  std::string options;  // besides the table and the input's name
  Through through;
  int status;
  const char* refusal;  // empty: the table is the one the file itself gives
};

const std::string kZadazaTable = "--mudline 0";
const std::string kSoilTable;
const char* const kNeither = "is neither a ZADAZA file nor a soil file";

const KindCase kCases[] = {
    {"ZadazaFileThroughAPipe", "in.zdz", kZadazaTable, Through::Pipe, app::kCompletedExit, ""},
    {"SoilFileThroughAPipe", "in.knf", kSoilTable, Through::Pipe, app::kCompletedExit, ""},
    {"Description", "d.txt", kZadazaTable, Through::File, io::kIoFailureExit, kNeither},
    {"DescriptionThroughAPipe", "d.txt", kZadazaTable, Through::Pipe, io::kIoFailureExit, kNeither},
    {"DescriptionAsASoilFile", "d.txt", kSoilTable, Through::File, io::kIoFailureExit, kNeither},
    {"Empty", "empty", kZadazaTable, Through::File, io::kIoFailureExit, kNeither},
    {"BinaryOfAnotherKind", "binary", kZadazaTable, Through::File, io::kIoFailureExit, kNeither},
};

// The folder every case reads from: a ZADAZA file, its KNF conversion, the description it was
// made from, an empty file and binary data of another kind.
const TempDir& sources() {
  static const TempDir made;
  static const bool filled = [] {
    write_file(made / "d.txt",
               "diameters 1.0 2.0\nlayer 5.0 0 0 0 0 0 0 0 0 0 0\n"
               "py 1 3 1 0 0 0 -1 -0.01 0 0 1 0.01\n"
               "tz 2 3 1 0 0 0 -1 -0.01 0 0 1 0.01\n");
    make_zadaza(made, "d.txt in.zdz");
    EXPECT_EQ(run(made, shell_quoted(kConverter), knf_answers("in.zdz", "in.knf", false, 0)).status,
              app::kCompletedExit);
    write_file(made / "empty", "");
    std::string binary;
    for (int b = 0; b < 256; ++b) binary += static_cast<char>(b);
    write_file(made / "binary", binary);
    return true;
  }();
  EXPECT_TRUE(filled);
  return made;
}

class InputKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(InputKinds, AreToldFromBytesReadOnce) {
  const KindCase& c = GetParam();
  if (c.through == Through::Pipe && test_support::kOnWindows) {
    GTEST_SKIP() << "Windows has no named pipes in its folders";
  }
  TempDir folder;
  const fs::path source = sources() / c.source;
  std::string input = shell_quoted(source);
  if (c.through == Through::Pipe) {
    ASSERT_TRUE(test_support::make_fifo((folder / "pipe").string()));
    // The writer is started first and waits for the viewer to open the pipe.
    const std::string writer = "cd " + shell_quoted(folder.dir()) + " && (timeout 20 cat " +
                               shell_quoted(source) + " > pipe &)";
    ASSERT_EQ(std::system(writer.c_str()), 0);
    input = "pipe";
  }
  const std::string viewer = shell_quoted(kViewer) + " " + c.options;
  const Outcome shown = run(folder, viewer + " --table out.csv " + input);
  EXPECT_EQ(shown.status, c.status) << shown.err;
  if (*c.refusal != '\0') {
    EXPECT_NE(shown.err.find(c.refusal), std::string::npos) << shown.err;
    EXPECT_EQ(shown.err.find('\n'), shown.err.size() - 1) << "one line: " << shown.err;
    EXPECT_FALSE(fs::exists(folder / "out.csv"));
    return;
  }
  const Outcome from_file = run(folder, viewer + " --table ref.csv " + shell_quoted(source));
  ASSERT_EQ(from_file.status, app::kCompletedExit) << from_file.err;
  EXPECT_EQ(read_file(folder / "out.csv"), read_file(folder / "ref.csv"));
}

INSTANTIATE_TEST_SUITE_P(Viewer, InputKinds, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace view_test
