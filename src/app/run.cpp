#include "app/run.hpp"

#include <cstdint>
#include <string_view>

#include "app/dialogue.hpp"
#include "app/explanations.hpp"
#include "convert/g2krano.hpp"
#include "convert/settings.hpp"
#include "convert/workspace.hpp"
#include "format/layout.hpp"
#include "io/open_unit.hpp"
#include "io/text.hpp"
#include "io/units.hpp"
#include "zadaza/echo.hpp"
#include "zadaza/plausibility.hpp"
#include "zadaza/reader.hpp"
#include "zadaza/soil_model.hpp"

namespace app {

using io::ADDEXT;
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

void write_echo_report() {
  ADDEXT(ECHO_FILE, kFileNameLength, ".echo", 5);
  const std::int32_t echo_opening = open_text_file(ECHO_FILE, zadaza::ECHO_UNIT);
  if (echo_opening != 0) {
    explain_unopened_output("echo file", trimmed(text_of(ECHO_FILE)), echo_opening);
  }
  record_outcome(echo_opening);
  zadaza::WRITE_ECHO();
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

int run_converter() {
  io::stage_replaced_files();
  const zadaza::Generation generation = ask_generation();
  write_banner(generation);

  ask_zadaza_file(ZADAZA_FILE);
  const std::string_view zadaza_name = trimmed(text_of(ZADAZA_FILE));
  if (zadaza_name.empty()) return kCompletedExit;
  if (const int error = zadaza::open_zadaza_file(zadaza_name); error != 0) {
    explain_unopened_input(zadaza_name, error);
    return kInputUnopenedExit;
  }
  ECHO_FILE = ZADAZA_FILE;

  ask_settings(CONVERSION_SETTINGS);
  ask_output_file(OUTPUT_FILE, ZADAZA_FILE);
  const std::int32_t output_opening = open_text_file(OUTPUT_FILE, OUTPUT_UNIT);
  record_outcome(output_opening);
  const std::string_view output_name = trimmed(text_of(OUTPUT_FILE));
  if (output_opening != 0) explain_unopened_output("output file", output_name, output_opening);

  io::write(io::kConsoleOut, kProcessing, {" Processing file               : ", zadaza_name});
  if (!zadaza::read_zadaza_file(generation)) {
    record_outcome(kFailed);
    io::discard_staged_files();
    explain_size_limit(zadaza_name);
    return exit_status();
  }
  zadaza::warn_implausible(zadaza::SOIL_MODEL, count_active_diameters(zadaza::SOIL_MODEL.DIAM));

  if (ask_echo()) write_echo_report();

  io::write(io::kConsoleOut, kStarts, {" Starts generating Krano input....."});
  const zadaza::SoilModel& model = zadaza::SOIL_MODEL;
  CONVERSION_SETTINGS.ACTIVE_DIAMETERS = count_active_diameters(model.DIAM);
  write_summary(CONVERSION_SETTINGS, model.NUM_LAYERS);
  const bool converted = convert::G2KRANO(model, CONVERSION_SETTINGS, WORKSPACE, OUTPUT_UNIT);
  record_outcome(converted ? 0 : kFailed);

  io::commit_staged_files();
  write_outcome();
  io::end_commit_step();
  if (!converted && output_opening == 0) {
    explain_failed_conversion(output_name, WORKSPACE.skipped_diameters,
                              CONVERSION_SETTINGS.ACTIVE_DIAMETERS,
                              CONVERSION_SETTINGS.OUTPUT_FORMAT);
  }
  return exit_status();
}

}  // namespace app
