// The converter run end to end: the real program in a fresh folder of its own, answers piped
// in, console, standard error and exit status kept for comparison.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.hpp"

namespace converter_test {

namespace fs = std::filesystem;

inline const std::string kDash(45, '-');
inline const std::string kNewBanner = "\r\n\r\n\r\n\r\n" + kDash + "\r\n" + kDash + "\r\n" +
                                      "-------  Z I Z A D E --> K R A N O   --------\r\n"
                                      "-------         Version 1.3          --------\r\n"
                                      "\r\n" +
                                      kDash + "\r\n" + kDash + "\r\n";
inline const std::string kOldBanner = "\r\n\r\n\r\n\r\n" + kDash + "\r\n" +
                                      "-------  Z I Z A D E --> K R A N O   --------\r\n"
                                      "-------       Version 1.0b           --------\r\n"
                                      "-------                              --------\r\n"
                                      "-------   To be used together with   --------\r\n"
                                      "-------     1999 version or older    --------\r\n"
                                      "-------               of             --------\r\n"
                                      "-------             ZADAZA           --------\r\n"
                                      "-------                              --------\r\n"
                                      "\r\n" +
                                      kDash + "\r\n" + kDash + "\r\n";

inline const std::string kGeneration = " New or Old ZADAZA data  /New/ ? ";
inline const std::string kZadazaFile = " Give ZADAZA data file         : ";
inline const std::string kOrientation = " Orientation of soil (POS/NEG) : ";
inline const std::string kOrigo = " Origo of soil axis system     : ";
inline const std::string kForceScale = " Scaling Factor, Force  Unit   : ";
inline const std::string kLengthScale = " Scaling Factor, Length Unit   : ";
inline const std::string kIdOffset = " Number to be added to ID      : ";
inline const std::string kOutputFormat = " Output format, 1:SESAM, 2:KNF : ";
inline const std::string kOutputFile = " Give KRANO soil file (output) : ";
inline const std::string kEcho = " Echo of ZADAZA data   /No/    ? ";
inline const std::string kProcessing = " Processing file               : ";
inline const std::string kCompleted = "\r\n  Conversion Completed \r\n\r\n";
inline const std::string kFailed = "\r\n  Conversion Feiled!   \r\n\r\n";

using test_support::read_file;

using Outcome = test_support::ProgramRun;

// The outcome of a run from its wait status and the files that caught its output.
inline Outcome outcome_of(int status, const fs::path& console, const fs::path& errors) {
  Outcome result;
  result.exited = WIFEXITED(status);
  result.exit_status = result.exited ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result.console = read_file(console);
  result.errors = read_file(errors);
  return result;
}

class ConverterRun : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(work()); }

  fs::path work() const { return base_ / "work"; }

  void make_file(const char* name, const std::string& text) const {
    test_support::write_file(work() / name, text);
  }

  // Files in the working folder after the run.
  std::set<std::string> files() const {
    const std::vector<std::string> names = test_support::file_names(work().string());
    return {names.begin(), names.end()};
  }

  // Runs the converter as another user than root from here on (the working folder becomes
  // writable for everyone); false when the test runs as root and cannot change its user.
  bool as_other_user() {
    if (::getuid() != 0) return true;
    if (std::system("setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null") !=
        0) {
      return false;
    }
    fs::permissions(base_.dir(), fs::perms::all);
    fs::permissions(work(), fs::perms::all);
    user_ = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    return true;
  }

  // A console that is gone is the shared helper's to make; it runs as this user.
  Outcome run(const std::string& answers, test_support::Console console) const {
    return test_support::run_converter(work().string(), answers, console);
  }

  Outcome run(const std::string& answers) const {
    test_support::write_file(base_ / "answers.txt", answers);
    const std::string command = "cd '" + work().string() + "' && exec " + user_ +
                                "'" ZZ_CONVERTER "' < '" + (base_ / "answers.txt").string() +
                                "' > '" + (base_ / "console.txt").string() + "' 2> '" +
                                (base_ / "errors.txt").string() + "'";
    return outcome_of(std::system(command.c_str()), base_ / "console.txt", base_ / "errors.txt");
  }

  // Feeds the answers, keeps the console input open, and sends the signal once the console
  // shows `awaited` at its end. The exit status is 128 + the signal when the signal ended it.
  Outcome run_and_signal(const std::string& answers, const std::string& awaited,
                         int signal_number) const {
    int input[2];
    if (::pipe(input) != 0) return {};
    const fs::path console = base_ / "console.txt";
    const fs::path errors = base_ / "errors.txt";
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(input[0], STDIN_FILENO);
      ::close(input[0]);
      ::close(input[1]);
      if (!std::freopen(console.c_str(), "w", stdout) ||
          !std::freopen(errors.c_str(), "w", stderr) || ::chdir(work().c_str()) != 0) {
        ::_exit(127);
      }
      ::execl(ZZ_CONVERTER, ZZ_CONVERTER, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(input[0]);
    const bool written =
        ::write(input[1], answers.data(), answers.size()) == static_cast<ssize_t>(answers.size());
    for (int wait = 0; written && wait < 1000 && !read_file(console).ends_with(awaited); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, signal_number);
    ::close(input[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    Outcome result = outcome_of(status, console, errors);
    if (!result.exited) result.exit_status = 128 + result.signal;
    return result;
  }

  // A ZADAZA file written by the test tool in the working folder; `diameters`, when given,
  // replaces the diameters of the synthetic file (for example "nan 1.2").
  void make_zadaza(const std::string& arguments, const char* name,
                   const char* diameters = nullptr) const {
    const std::string tool = "cd '" + work().string() + "' && '" ZZ_MAKE_TOOL "' ";
    if (diameters == nullptr) {
      ASSERT_EQ(
          std::system((tool + "--synthetic " + arguments + " " + name + " > /dev/null").c_str()),
          0);
      return;
    }
    const fs::path text = base_ / "description.txt";
    ASSERT_EQ(std::system(
                  (tool + "--synthetic --text " + arguments + " '" + text.string() + "'").c_str()),
              0);
    std::istringstream lines(read_file(text));
    std::ostringstream edited;
    for (std::string line; std::getline(lines, line);) {
      edited << (line.starts_with("diameters ") ? std::string("diameters ") + diameters : line)
             << "\n";
    }
    test_support::write_file(text, edited.str());
    ASSERT_EQ(std::system((tool + "'" + text.string() + "' " + name + " > /dev/null").c_str()), 0);
  }

  const test_support::TempDir base_;
  std::string user_;
};

inline std::string summary(const char* layers, const char* mudline, const char* factor) {
  return kEcho + "\r\n Starts generating Krano input.....\r\n\r\n" +
         "\r\n  .. Number of P_d curve points  23\r\n" + "  .. Number of Soil Layers     " +
         layers + "\r\n" + "  .. Maximum Piles               15\r\n" +
         "  .. Z_Coord for Mudline       " + mudline + "\r\n" + "  .. Coordinate  Factor        " +
         factor + "\r\n\r\n";
}

inline std::string from_echo_question(const std::string& console) {
  const std::size_t at = console.find(kEcho);
  return at == std::string::npos ? console : console.substr(at);
}

}  // namespace converter_test
