// Answers typed at a terminal: the converter's console input is a pseudo-terminal, and an
// answer it cannot use is explained on standard error and asked again.
#include <string>

#include "converter_run.hpp"

namespace {

using namespace converter_test;

class TerminalRun : public ConverterRun {
 protected:
  void SetUp() override {
    ConverterRun::SetUp();
    if (test_support::kOnWindows) GTEST_SKIP() << "the tests give a program no console window";
  }

  // The answers typed in advance on a terminal without echo.
  Outcome run_at_terminal(const std::string& answers) const {
    return test_support::RunningProgram({{ZZ_CONVERTER}, work().string(), answers},
                                        test_support::Input::Typed)
        .finish();
  }
};

std::size_t count_of(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(piece, at)) != std::string::npos; at += piece.size()) ++n;
  return n;
}

struct Retyped {
  const char* name;
  std::string answers;
  const std::string& question;  // asked twice
  std::string reason;           // the one line on standard error
};

TEST_F(TerminalRun, AnAnswerThatCannotBeUsedIsExplainedAndAskedAgain) {
  make_zadaza("--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 6", "soil.zdz");
  const std::string start = "\nsoil.zdz\nP\n";
  const std::string settings = "0\n1\n1\n0\n2\n";
  const Retyped cases[] = {
      {"UnreadableMudline", start + "abc\n" + settings + "out.knf\nN\n", kOrigo,
       "answer 'abc' to \"Origo of soil axis system\" is not a number of its kind; type one "
       "number, with a decimal point, not a comma: -20.5"},
      {"DecimalComma", start + "-2,5\n-2.5\n1\n1\n0\n2\nout.knf\nN\n", kOrigo,
       "answer '-2,5' to \"Origo of soil axis system\" holds more than one value; type one "
       "number, with a decimal point, not a comma: -20.5"},
      {"OffsetWithAPoint", start + "0\n1\n1\n1.5\n0\n2\nout.knf\nN\n", kIdOffset,
       "answer '1.5' to \"Number to be added to ID\" is not a number of its kind; type one "
       "whole number, such as 2"},
      {"OrientationUp", "\nsoil.zdz\nup\nP\n" + settings + "out.knf\nN\n", kOrientation,
       "answer 'u' to \"Orientation of soil (POS/NEG)\" is neither P nor N (only the first "
       "letter counts); answer P for a positive or N for a negative soil axis (an empty answer "
       "is N)"},
      {"UnknownFormat", start + "0\n1\n1\n0\n3\n2\nout.knf\nN\n", kOutputFormat,
       "output format 3 is not known; answer 1 (SESAM records) or 2 (KNF)"},
      {"MissingZadazaFile", "\nmissing.zdz\nsoil.zdz\nP\n" + settings + "out.knf\nN\n",
       kZadazaFile,
       "cannot open ZADAZA file 'missing.zdz': No such file or directory; check the name and "
       "that it is a readable file"},
      {"OutputFolderMissing", start + settings + "no/such/out.knf\nout.knf\nN\n", kOutputFile,
       "cannot open output file 'no/such/out.knf': No such file or directory; check that its "
       "folder exists; asked again"},
      {"EchoRefused", start + settings + "soil.zdz.echo\nY\nN\n", kEcho,
       "cannot open echo file 'soil.zdz.echo': it is the output file of this run; give "
       "another output name; answer N to go on without it"},
  };
  for (const Retyped& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome r = run_at_terminal(c.answers);
    EXPECT_EQ(r.exit_status, 0) << r.errors;
    EXPECT_EQ(r.errors, "zadaza2krano: " + c.reason + "\n");
    EXPECT_EQ(count_of(r.console, c.question), 2U) << r.console;
    EXPECT_TRUE(r.console.ends_with(kCompleted)) << r.console;
    for (const std::string& name : files()) EXPECT_FALSE(name.starts_with(".zadaza2krano")) << name;
    fs::remove(work() / "out.knf");
    fs::remove(work() / "soil.zdz.echo");
  }
}

// Piped, an orientation that is neither P nor N is asked again as it always was: no line on
// standard error.
TEST_F(ConverterRun, PipedOrientationIsAskedAgainSilently) {
  make_zadaza("--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 6", "soil.zdz");
  const Outcome r = run("\nsoil.zdz\nup\nP\n0\n1\n1\n0\n2\nout.knf\nN\n");
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  EXPECT_EQ(r.errors, "");
  EXPECT_EQ(count_of(r.console, kOrientation), 2U) << r.console;
}

}  // namespace
