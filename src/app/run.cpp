#include "app/run.hpp"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "app/dialogue.hpp"
#include "app/explanations.hpp"
#include "convert/g2krano.hpp"
#include "convert/settings.hpp"
#include "convert/workspace.hpp"
#include "format/layout.hpp"
#include "io/answers.hpp"
#include "io/open_unit.hpp"
#include "io/text.hpp"
#include "io/units.hpp"
#include "zadaza/echo.hpp"
#include "zadaza/plausibility.hpp"
#include "zadaza/reader.hpp"
#include "zadaza/soil_model.hpp"

namespace app {

using io::trimmed;

namespace {

constexpr auto kProcessing = format::layout<"(A,A)">;
constexpr auto kStarts = format::layout<"(/,A,/)">;
constexpr auto kCurvePoints = format::layout<"(/,A,I4)">;
constexpr auto kCount = format::layout<"(A,I4)">;
constexpr auto kMudline = format::layout<"(A,F9.1)">;
constexpr auto kCoordinateFactor = format::layout<"(A,F9.1,/)">;
constexpr auto kOutcome = format::layout<"(/,A,/)">;

constexpr int kDiametersLookedAt = 4;
constexpr double kSmallestDiameter = 1.0E-10;

// The run's static storage besides the soil model (which the reader fills): the file names,
// the settings and the conversion's working storage.
FileName ZADAZA_FILE;
FileName OUTPUT_FILE;
FileName ECHO_FILE;
convert::ConversionSettings CONVERSION_SETTINGS;
convert::ConversionWorkspace WORKSPACE;

// The status of the whole run: 0 while all is well; -1 after a size-limit or conversion
// failure; minus the status number after a refused file opening. Written only by
// record_outcome, read once for the outcome line.
std::int32_t RUN_STATUS = 0;

// Every subsystem's outcome passes through here. The first failure is the one kept, so a later
// success (the echo file opening after a refused output file, say) cannot hide it.
void record_outcome(std::int32_t status) {
  if (RUN_STATUS == 0) RUN_STATUS = status;
}

constexpr std::int32_t kFailed = -1;

// A run that reached its end: completed, or failed (a refused opening, the size limits, the
// conversion).
int exit_status() { return RUN_STATUS == 0 ? kCompletedExit : kConversionFailedExit; }

std::string_view text_of(const FileName& name) { return {name.data(), name.size()}; }

// Sequential formatted text, status UNKNOWN, silent. Returns the opener's result: 0, or the
// negative status of the refusal.
std::int32_t open_text_file(const FileName& name, int unit) {
  constexpr std::int32_t kUnknown = 1;
  constexpr std::int32_t kSequential = 10;
  constexpr std::int32_t kFormatted = 1;
  constexpr std::int32_t kBlankNull = 0;
  constexpr std::int32_t kNoRecordLength = 0;
  constexpr std::int32_t kNoReport = -1;
  constexpr std::int32_t kSilent = -io::kConsoleOut;
  std::int32_t result = 0;
  io::open_unit(text_of(name), kFileNameLength, unit, kUnknown, kSequential, kFormatted,
                kBlankNull, kNoRecordLength, kNoReport, kSilent, result);
  return result;
}

void write_summary(const convert::ConversionSettings& settings, std::int32_t NUM_LAYERS) {
  io::write(io::kConsoleOut, kCurvePoints,
            {"  .. Number of P_d curve points", zadaza::MAX_CURVE_POINTS});
  io::write(io::kConsoleOut, kCount, {"  .. Number of Soil Layers     ", NUM_LAYERS});
  io::write(io::kConsoleOut, kCount, {"  .. Maximum Piles             ", zadaza::MAX_PILES});
  io::write(io::kConsoleOut, kMudline, {"  .. Z_Coord for Mudline       ", settings.MUDLINE_Z});
  io::write(io::kConsoleOut, kCoordinateFactor,
            {"  .. Coordinate  Factor        ", settings.COORD_FACTOR});
}

void copy_name(std::string_view name, FileName& to) {
  to.fill(' ');
  std::copy_n(name.begin(), std::min(name.size(), to.size()), to.begin());
}

// The ZADAZA file named and opened on unit 89; false when the run ends here: an empty name
// (`status` 0) or a refused opening (`status` 1). At a terminal a refused name is asked again.
bool open_input_file(int& status) {
  for (;;) {
    ask_zadaza_file(ZADAZA_FILE);
    const std::string_view name = trimmed(text_of(ZADAZA_FILE));
    status = kCompletedExit;
    if (name.empty()) return false;
    const int error = zadaza::open_zadaza_file(name);
    if (error == 0) return true;
    explain_unopened_input(name, error);
    status = kInputUnopenedExit;
    if (!io::answers_are_typed()) return false;
  }
}

// The output file named and opened on unit 91; returns the opener's result. At a terminal a
// refused name is asked again; otherwise the run goes on without the file.
std::int32_t open_output_file() {
  const bool typed = io::answers_are_typed();
  for (;;) {
    ask_output_file(OUTPUT_FILE, ZADAZA_FILE);
    const std::int32_t opening = open_text_file(OUTPUT_FILE, OUTPUT_UNIT);
    if (opening == 0) return opening;
    explain_unopened_output("output file", trimmed(text_of(OUTPUT_FILE)), opening,
                            typed ? "asked again" : kGoesOnWithout);
    if (!typed) return opening;
  }
}

// An echo report showing asterisks is still read by people, who see them: a warning.
void warn_of_echo_asterisks() {
  const format::AsteriskFields& asterisks = io::asterisk_fields(zadaza::ECHO_UNIT);
  if (asterisks.any()) {
    explain_asterisk_fields("echo file", trimmed(text_of(ECHO_FILE)), asterisks,
                            AsteriskWeight::Warning);
  }
}

// On Y, the echo report on unit 92, named `echo_file` or the ZADAZA name with ".echo". At a
// terminal a refused opening asks the echo question again; otherwise the report goes nowhere
// and the run ends failed.
void write_echo_if_asked(std::string_view echo_file) {
  const bool typed = io::answers_are_typed();
  while (ask_echo()) {
    if (echo_file.empty()) {
      ECHO_FILE = ZADAZA_FILE;
      name_echo_file(ECHO_FILE);
    } else {
      copy_name(echo_file, ECHO_FILE);
    }
    const std::int32_t echo_opening = open_text_file(ECHO_FILE, zadaza::ECHO_UNIT);
    if (echo_opening != 0) {
      explain_unopened_output("echo file", trimmed(text_of(ECHO_FILE)), echo_opening,
                              typed ? "answer N to go on without it" : kGoesOnWithout);
      if (typed) continue;
    }
    record_outcome(echo_opening);
    zadaza::WRITE_ECHO();
    if (echo_opening == 0) warn_of_echo_asterisks();
    return;
  }
}

// "Feiled" is the converter's own spelling, kept on purpose: scripts look for it.
void write_outcome() {
  io::write(io::kConsoleOut, kOutcome,
            {RUN_STATUS == 0 ? "  Conversion Completed " : "  Conversion Feiled!   "});
}

}  // namespace

std::int32_t count_active_diameters(const zadaza::DiameterReals& DIAM) {
  std::int32_t count = 0;
  while (count < kDiametersLookedAt && !(DIAM(count + 1) <= kSmallestDiameter)) ++count;
  return count;
}

void reset_run_storage() {
  zadaza::SOIL_MODEL = zadaza::SoilModel{};
  ZADAZA_FILE = FileName{};
  OUTPUT_FILE = FileName{};
  ECHO_FILE = FileName{};
  CONVERSION_SETTINGS = convert::ConversionSettings{};
  WORKSPACE = convert::ConversionWorkspace{};
  RUN_STATUS = 0;
}

int run_converter(std::string_view echo_file) {
  io::stage_replaced_files();
  const zadaza::Generation generation = ask_generation();
  write_banner(generation);

  if (int status = 0; !open_input_file(status)) return status;
  const std::string_view zadaza_name = trimmed(text_of(ZADAZA_FILE));

  if (!ask_settings(CONVERSION_SETTINGS)) return kUnusableAnswerExit;
  const std::int32_t output_opening = open_output_file();
  record_outcome(output_opening);
  const std::string_view output_name = trimmed(text_of(OUTPUT_FILE));

  io::write(io::kConsoleOut, kProcessing, {" Processing file               : ", zadaza_name});
  if (!zadaza::read_zadaza_file(generation)) {
    record_outcome(kFailed);
    io::discard_staged_files();
    explain_size_limit(zadaza_name);
    return exit_status();
  }
  zadaza::warn_implausible(zadaza::SOIL_MODEL, count_active_diameters(zadaza::SOIL_MODEL.DIAM),
                           CONVERSION_SETTINGS.MUDLINE_Z, CONVERSION_SETTINGS.COORD_FACTOR);

  write_echo_if_asked(echo_file);

  io::write(io::kConsoleOut, kStarts, {" Starts generating Krano input....."});
  const zadaza::SoilModel& model = zadaza::SOIL_MODEL;
  CONVERSION_SETTINGS.ACTIVE_DIAMETERS = count_active_diameters(model.DIAM);
  write_summary(CONVERSION_SETTINGS, model.NUM_LAYERS);
  const bool converted = convert::G2KRANO(model, CONVERSION_SETTINGS, WORKSPACE, OUTPUT_UNIT);
  record_outcome(converted ? 0 : kFailed);
  // A soil file with asterisks in a number field cannot be read: its bytes stay as written,
  // and the run failed.
  const format::AsteriskFields& asterisks = io::asterisk_fields(OUTPUT_UNIT);
  const bool readable = output_opening != 0 || !asterisks.any();
  record_outcome(readable ? 0 : kFailed);

  io::commit_staged_files();
  write_outcome();
  io::end_commit_step();
  if (!converted && output_opening == 0) {
    explain_failed_conversion(output_name, WORKSPACE.skipped_diameters,
                              CONVERSION_SETTINGS.ACTIVE_DIAMETERS);
  }
  if (!readable) {
    explain_asterisk_fields("output file", output_name, asterisks, AsteriskWeight::Failure);
  }
  return exit_status();
}

}  // namespace app
