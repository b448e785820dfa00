// Bad input tried as a new user would: for each, the end of the console, the line on standard
// error, the exit status, and that the ZADAZA file and an earlier output file are left as they
// were unless the run reached its outcome line.
#include <string>

#include "converter_run.hpp"

namespace {

using namespace converter_test;

enum class Zadaza { Good, Old, Missing, Folder, Text, Empty, Cut };

// Made in the working folder before the run: nothing, a folder ro that may not be written, or
// the earlier output file made read-only.
enum class Prepare { Nothing, ReadOnlyFolder, ReadOnlyOutput };

struct BadInput {
  const char* name;
  Zadaza zadaza;
  std::string path;  // of the ZADAZA file in the working folder
  std::string answers;
  Prepare prepare;
  bool other_user;      // a permission case: run as a user other than root
  std::string console_end;
  std::string error_piece;
  int exit_status;
  bool earlier_output_kept;
};

std::string answers(const std::string& zadaza, const std::string& origo = "0",
                    const std::string& format = "1", const std::string& output = "",
                    const std::string& generation = "N", const std::string& echo = "N") {
  return generation + "\n" + zadaza + "\n" + "P\n" + origo + "\n1\n1\n0\n" + format + "\n" +
         output + "\n" + echo + "\n";
}

const std::string kSmall = "--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 6";
const std::string kNoOutput = "; no output was written";
const std::string kEarlier = "earlier output\r\n";
const std::string k200 =
    std::string(63, 'a') + "/" + std::string(63, 'b') + "/" + std::string(63, 'c') + "/soil.zdz";
const std::string k62 = std::string(58, 'n') + ".zdz";
const std::string kFromUnit = " From Unit    : 89\r\n";
const std::string kReadAsNew =
    "zadaza2krano: the file was read as a New ZADAZA file: if it is an "
    "Old one, answer O to the first question";

class BadInputs : public ConverterRun, public ::testing::WithParamInterface<BadInput> {
 protected:
  void make(const BadInput& c) {
    const fs::path zadaza = work() / c.path;
    fs::create_directories(zadaza.parent_path());
    switch (c.zadaza) {
      case Zadaza::Good:
        make_zadaza(kSmall, c.path.c_str());
        break;
      case Zadaza::Old:
        make_zadaza("--old --layers 2 --diameters 4 --in-use 2 --dsp 0", c.path.c_str());
        break;
      case Zadaza::Missing:
        break;
      case Zadaza::Folder:
        fs::create_directory(zadaza);
        break;
      case Zadaza::Text:
        make_file(c.path.c_str(), "this is not a ZADAZA file\n");
        break;
      case Zadaza::Empty:
        make_file(c.path.c_str(), "");
        break;
      case Zadaza::Cut:
        make_zadaza(kSmall, c.path.c_str());
        fs::resize_file(zadaza, fs::file_size(zadaza) / 2);
        break;
    }
    make_file((c.path + ".fem").c_str(), kEarlier);
  }
};

TEST_P(BadInputs, EndAsDocumented) {
  const BadInput& c = GetParam();
  make(c);
  // The read-only attribute of a file holds for every Windows user.
  if (c.other_user && !kOnWindows && !as_other_user()) {
    GTEST_SKIP() << "runs as root and cannot run the converter as another user";
  }
  const fs::perms read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  if (c.prepare == Prepare::ReadOnlyFolder) {
    if (kOnWindows) GTEST_SKIP() << "a read-only folder takes new files on Windows";
    fs::create_directory(work() / "ro");
    fs::permissions(work() / "ro", read_only | fs::perms::owner_exec | fs::perms::group_exec |
                                       fs::perms::others_exec);
  } else if (c.prepare == Prepare::ReadOnlyOutput) {
    fs::permissions(work() / (c.path + ".fem"), read_only);
  }
  const fs::path zadaza = work() / c.path;
  const bool regular = fs::is_regular_file(zadaza);
  const std::string before = regular ? read_file(zadaza) : "";

  const Outcome r = run(c.answers);
  EXPECT_TRUE(r.console.ends_with(c.console_end)) << r.console;
  if (c.error_piece.empty()) {
    EXPECT_EQ(r.errors, "");
  } else {
    EXPECT_NE(r.errors.find(c.error_piece), std::string::npos) << r.errors;
    EXPECT_TRUE(r.errors.ends_with("\n")) << r.errors;
  }
  EXPECT_EQ(r.exit_status, c.exit_status);
  if (regular) {
    EXPECT_EQ(read_file(zadaza), before);
  }
  const std::string output = read_file(work() / (c.path + ".fem"));
  EXPECT_EQ(output == kEarlier, c.earlier_output_kept) << output.substr(0, 200);
  for (const std::string& name : files()) EXPECT_FALSE(name.starts_with(".zadaza2krano")) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadInputs,
    ::testing::Values(
        BadInput{"MissingZadazaFile", Zadaza::Missing, "soil.zdz", answers("soil.zdz"), Prepare::Nothing, false,
                 kZadazaFile,
                 "zadaza2krano: cannot open ZADAZA file 'soil.zdz': No such file or directory; "
                 "check the name and that it is a readable file\n",
                 1, true},
        BadInput{"FolderAsZadazaFile", Zadaza::Folder, "soil.zdz", answers("soil.zdz"), Prepare::Nothing, false,
                 kZadazaFile, "'soil.zdz': Is a directory;", 1, true},
        BadInput{"TextFileAsZadazaFile", Zadaza::Text, "soil.zdz", answers("soil.zdz"), Prepare::Nothing, false,
                 kFromUnit,
                 "zadaza2krano: illegal structure for unformatted file, unit 89, file soil.zdz" +
                     kNoOutput + "\n" + kReadAsNew,
                 2, true},
        BadInput{"EmptyZadazaFile", Zadaza::Empty, "soil.zdz", answers("soil.zdz"), Prepare::Nothing, false,
                 kFromUnit, "end-of-file during read, unit 89, file soil.zdz" + kNoOutput, 2, true},
        BadInput{"ZadazaFileCutInMidRecord", Zadaza::Cut, "soil.zdz", answers("soil.zdz"), Prepare::Nothing,
                 false, "", "unit 89, file soil.zdz" + kNoOutput + "\n" + kReadAsNew, 2, true},
        BadInput{"OldFileAnsweredNew", Zadaza::Old, "soil.zdz", answers("soil.zdz"), Prepare::Nothing, false,
                 kFromUnit, kNoOutput + "\n" + kReadAsNew, 2, true},
        BadInput{"NewFileAnsweredOld", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "1", "", "O"), Prepare::Nothing, false, "",
                 kNoOutput + "\nzadaza2krano: the file was read as an Old ZADAZA file: if it is "
                             "a New one, answer N to the first question",
                 2, true},
        BadInput{"Name200Characters", Zadaza::Good, k200, answers(k200), Prepare::Nothing, false, kCompleted, "",
                 0, false},
        BadInput{"Name62WithDefaultOutputName", Zadaza::Good, k62, answers(k62), Prepare::Nothing, false,
                 kCompleted, "", 0, false},
        BadInput{"NumberAnswerAbc", Zadaza::Good, "soil.zdz", answers("soil.zdz", "abc"), Prepare::Nothing, false,
                 kOrigo,
                 "zadaza2krano: unreadable number 'abc' for \"Origo of soil axis system\", unit 5" +
                     kNoOutput + "\n",
                 2, true},
        BadInput{"NumberAnswerBeyondTheLargest", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "1e999"), Prepare::Nothing, false, kOrigo,
                 "unreadable number '1e999' for \"Origo of soil axis system\"", 2, true},
        BadInput{"NumberAnswerWithDecimalComma", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "-20,5"), Prepare::Nothing, false, kCompleted,
                 "read as -20, the rest \",5\" ignored; type a decimal point, not a comma\n", 0,
                 false},
        BadInput{"EmptyConsole", Zadaza::Good, "soil.zdz", "", Prepare::Nothing, false, kGeneration,
                 "zadaza2krano: end of console input, unit 5" + kNoOutput + "\n", 2, true},
        BadInput{"OutputIntoMissingFolder", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "1", "nowhere/out.fem"), Prepare::Nothing, false, kFailed,
                 "zadaza2krano: cannot open output file 'nowhere/out.fem': No such file or "
                 "directory; check that its folder exists; the run goes on without it and ends "
                 "\"Conversion Feiled!\"\n",
                 3, true},
        BadInput{"OutputIntoReadOnlyFolder", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "1", "ro/out.fem"), Prepare::ReadOnlyFolder, true,
                 kFailed,
                 "zadaza2krano: cannot open output file 'ro/out.fem': Permission denied; check "
                 "that the file and its folder may be written;",
                 3, true},
        BadInput{"ExistingReadOnlyOutputFile", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "1", "soil.zdz.fem"), Prepare::ReadOnlyOutput, true,
                 kFailed, "cannot open output file 'soil.zdz.fem': Permission denied;", 3, true},
        BadInput{"OutputNameIsTheZadazaName", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "1", "./soil.zdz"), Prepare::Nothing, false, kFailed,
                 "zadaza2krano: cannot open output file './soil.zdz': it is the ZADAZA file being "
                 "read; give another name;",
                 3, true},
        BadInput{"OutputNameIsTheEchoName", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "1", "soil.zdz.echo", "N", "Y"), Prepare::Nothing, false, kFailed,
                 "zadaza2krano: cannot open echo file 'soil.zdz.echo': it is the output file of "
                 "this run; give another output name;",
                 3, true},
        BadInput{"UnknownOutputFormatEndsBeforeTheOutputQuestion", Zadaza::Good, "soil.zdz",
                 answers("soil.zdz", "0", "3"), Prepare::Nothing, false,
                 kOutputFormat,
                 "zadaza2krano: output format 3 is not known; answer 1 (SESAM records) or 2 "
                 "(KNF)\n",
                 2, true}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; });

// The console input ending before each answer in turn ends the run with status 2 and touches
// no earlier file.
TEST_F(ConverterRun, ConsoleInputEndingAtEveryQuestion) {
  make_zadaza(kSmall, "soil.zdz");
  make_file("soil.zdz.fem", kEarlier);
  make_file("soil.zdz.echo", kEarlier);
  const std::string all = answers("soil.zdz", "0", "1", "", "N", "Y");
  std::size_t cut = 0;
  for (int answered = 0; answered < 10; ++answered, cut = all.find('\n', cut) + 1) {
    const Outcome r = run(all.substr(0, cut));
    EXPECT_EQ(r.exit_status, 2) << answered;
    EXPECT_TRUE(r.errors.ends_with("end of console input, unit 5" + kNoOutput + "\n"))
        << answered << ": " << r.errors;
    EXPECT_EQ(read_file(work() / "soil.zdz.fem"), kEarlier) << answered;
    EXPECT_EQ(read_file(work() / "soil.zdz.echo"), kEarlier) << answered;
    EXPECT_EQ(files(), (std::set<std::string>{"soil.zdz", "soil.zdz.fem", "soil.zdz.echo"}));
  }
}

}  // namespace
