// The converter run end to end: the real program in a fresh folder of its own, answers piped
// in, console, standard error and exit status kept for comparison.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
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

using test_support::kOnWindows;
using test_support::read_file;

using Outcome = test_support::ProgramRun;

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
  // writable for everyone); false when the test runs as root and cannot change its user, and
  // on Windows, where no test changes its user.
  bool as_other_user() {
    if (test_support::kOnWindows) return false;
    if (!test_support::running_as_root()) return true;
    const std::vector<std::string> nobody =
        test_support::words("setpriv --reuid=nobody --regid=nogroup --clear-groups");
    std::vector<std::string> probe = nobody;
    probe.push_back("true");
    if (test_support::run_program({probe}).exit_status != 0) return false;
    fs::permissions(base_.dir(), fs::perms::all);
    fs::permissions(work(), fs::perms::all);
    user_ = nobody;
    return true;
  }

  Outcome run(const std::string& answers,
              test_support::Console console = test_support::Console::Kept) const {
    std::vector<std::string> command = user_;
    command.push_back(ZZ_CONVERTER);
    return test_support::run_program({command, work().string(), answers, console});
  }

  // Feeds the answers, keeps the console input open, and stops the run once the console shows
  // `awaited` at its end; nothing when the stop could not be sent. The exit status is 128 + the
  // signal when a signal ended it.
  std::optional<Outcome> run_and_stop(const std::string& answers, const std::string& awaited,
                                      test_support::Stop how) const {
    return run_until_shown(answers, awaited,
                           [how](test_support::RunningProgram& p) { return p.stop(how); });
  }

  // The same with the POSIX signal `number`.
  std::optional<Outcome> run_and_signal(const std::string& answers, const std::string& awaited,
                                        int number) const {
    return run_until_shown(answers, awaited,
                           [number](test_support::RunningProgram& p) { return p.signal(number); });
  }

  // A ZADAZA file written by the test tool in the working folder; `diameters`, when given,
  // replaces the diameters of the synthetic file (for example "nan 1.2").
  void make_zadaza(const std::string& arguments, const char* name,
                   const char* diameters = nullptr) const {
    const auto tool = [&](std::vector<std::string> command) {
      command.insert(command.begin(), ZZ_MAKE_TOOL);
      const Outcome made = test_support::run_program({command, work().string()});
      EXPECT_EQ(made.exit_status, 0) << arguments << "\n" << made.errors;
      return made.exit_status == 0;
    };
    std::vector<std::string> synthetic = test_support::words("--synthetic " + arguments);
    if (diameters == nullptr) {
      synthetic.push_back(name);
      tool(synthetic);
      return;
    }
    const fs::path text = base_ / "description.txt";
    synthetic.insert(synthetic.begin() + 1, "--text");
    synthetic.push_back(text.string());
    ASSERT_TRUE(tool(synthetic));
    std::istringstream lines(read_file(text));
    std::ostringstream edited;
    for (std::string line; std::getline(lines, line);) {
      edited << (line.starts_with("diameters ") ? std::string("diameters ") + diameters : line)
             << "\n";
    }
    test_support::write_file(text, edited.str());
    tool({text.string(), name});
  }

  const test_support::TempDir base_;
  std::vector<std::string> user_;  // the words before the program that change its user

 private:
  template <typename Stopper>
  std::optional<Outcome> run_until_shown(const std::string& answers, const std::string& awaited,
                                         Stopper stop) const {
    test_support::RunningProgram running({{ZZ_CONVERTER}, work().string(), answers});
    for (int wait = 0; wait < 1000 && !running.console().ends_with(awaited); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const bool stopped = stop(running);
    Outcome result = running.finish();
    if (!stopped) return std::nullopt;
    if (result.signal != 0) result.exit_status = 128 + result.signal;
    return result;
  }
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
