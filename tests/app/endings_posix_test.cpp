// Endings only POSIX has, run end to end: every other signal that ends a process by default, a
// file size limit, and a symbolic link planted at the output name by another user.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <set>
#include <string>
#include <vector>

#include "converter_run.hpp"

namespace {

using namespace converter_test;

const char* const kSmall = "--layers 2 --diameters 1 --in-use 1 --dsp 0 --seed 3";
const std::string kToEcho = "\nsoil.dat\nP\n0\n1\n1\n0\n1\n\n";

class Endings : public ConverterRun {
 protected:
  void make_earlier_files() const {
    make_file("soil.dat.fem", "earlier output\r\n");
    make_file("soil.dat.echo", "earlier echo\r\n");
  }
  void expect_earlier_files_alone() const {
    EXPECT_EQ(read_file(work() / "soil.dat.fem"), "earlier output\r\n");
    EXPECT_EQ(read_file(work() / "soil.dat.echo"), "earlier echo\r\n");
    EXPECT_EQ(files(), (std::set<std::string>{"soil.dat", "soil.dat.fem", "soil.dat.echo"}));
  }
};

enum class Kind { Ending, Crash };

struct Ending {
  std::string name;
  int number;
  Kind kind;
};

// Every signal whose default action ends a process and that a program may catch, but PIPE
// and XFSZ (refused writes instead), and INT and TERM (their own tests).
std::vector<Ending> catchable_endings() {
  std::vector<Ending> all = {
      {"HUP", SIGHUP, Kind::Ending},       {"QUIT", SIGQUIT, Kind::Ending},
      {"USR1", SIGUSR1, Kind::Ending},     {"USR2", SIGUSR2, Kind::Ending},
      {"ALRM", SIGALRM, Kind::Ending},     {"VTALRM", SIGVTALRM, Kind::Ending},
      {"PROF", SIGPROF, Kind::Ending},     {"XCPU", SIGXCPU, Kind::Ending},
      {"IO", SIGIO, Kind::Ending},         {"SYS", SIGSYS, Kind::Ending},
      {"TRAP", SIGTRAP, Kind::Ending},     {"STKFLT", SIGSTKFLT, Kind::Ending},
      {"PWR", SIGPWR, Kind::Ending},       {"SEGV", SIGSEGV, Kind::Crash},
      {"BUS", SIGBUS, Kind::Crash},        {"FPE", SIGFPE, Kind::Crash},
      {"ILL", SIGILL, Kind::Crash},        {"ABRT", SIGABRT, Kind::Crash}};
  for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) {
    all.push_back({"RTMIN+" + std::to_string(number - SIGRTMIN), number, Kind::Ending});
  }
  return all;
}

// Sent while the output file is staged: no temporary file stays, the earlier files are kept,
// the end is the signal's own; a crash signal says nothing, every other one says so.
TEST_F(Endings, EveryCatchableSignalDiscardsTheStagedFiles) {
  // A crash signal's default action dumps core; not into the working folder.
  rlimit core{};
  ASSERT_EQ(::getrlimit(RLIMIT_CORE, &core), 0);
  core.rlim_cur = 0;
  ASSERT_EQ(::setrlimit(RLIMIT_CORE, &core), 0);
  make_zadaza(kSmall, "soil.dat");
  make_earlier_files();
  for (const Ending& signal : catchable_endings()) {
    SCOPED_TRACE(signal.name);
    const std::optional<Outcome> r = run_and_signal(kToEcho, kEcho, signal.number);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->signal, signal.number);
    EXPECT_EQ(r->errors, signal.kind == Kind::Crash
                             ? ""
                             : "zadaza2krano: interrupted; no output was written\n");
    expect_earlier_files_alone();
  }
}

TEST_F(Endings, FileSizeLimitIsARefusedWriteThatKeepsTheEarlierFiles) {
  make_zadaza("--layers 40 --diameters 4 --in-use 4 --dsp 15 --seed 2", "soil.dat");
  make_earlier_files();
  // 64 blocks of the shell's unit, far below the echo report of this file.
  const Outcome r = test_support::run_program(
      {{"sh", "-c", "ulimit -f 64 && exec \"$0\"", ZZ_CONVERTER}, work().string(), kToEcho + "Y\n"});
  EXPECT_EQ(r.exit_status, 2) << r.errors;
  EXPECT_NE(r.errors.find("write refused: File too large"), std::string::npos) << r.errors;
  EXPECT_TRUE(r.errors.ends_with("; no output was written\n")) << r.errors;
  expect_earlier_files_alone();
}

// As root, a link at the output name to a file of another user: the output is root's own new
// file, and the link's target stays the other user's, as it was.
TEST_F(Endings, LinkToAnotherUsersFileGivesAFileOfTheRunner) {
  if (!test_support::running_as_root()) GTEST_SKIP() << "only root can plant another's file";
  constexpr uid_t kNobody = 65534;
  make_zadaza(kSmall, "soil.dat");
  make_file("theirs.txt", "theirs\r\n");
  ASSERT_EQ(::chown((work() / "theirs.txt").c_str(), kNobody, kNobody), 0);
  fs::permissions(work() / "theirs.txt", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("theirs.txt", work() / "out.fem");
  const mode_t mask = ::umask(0);
  ::umask(mask);

  const Outcome r = run("\nsoil.dat\nP\n0\n1\n1\n0\n1\nout.fem\nN\n");
  EXPECT_EQ(r.exit_status, 0) << r.errors;
  struct stat out {};
  struct stat theirs {};
  ASSERT_EQ(::lstat((work() / "out.fem").c_str(), &out), 0);
  ASSERT_EQ(::lstat((work() / "theirs.txt").c_str(), &theirs), 0);
  EXPECT_TRUE(S_ISREG(out.st_mode));
  EXPECT_EQ(out.st_uid, ::geteuid());
  EXPECT_EQ(out.st_mode & 07777, 0666 & ~mask);
  EXPECT_EQ(theirs.st_uid, kNobody);
  EXPECT_EQ(theirs.st_mode & 07777, 0600U);
  EXPECT_EQ(read_file(work() / "theirs.txt"), "theirs\r\n");
}

}  // namespace
