#include "app/run.hpp"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "app/dialogue.hpp"
#include "app/settings.hpp"
#include "app/text.hpp"
#include "convert/g2krano.hpp"
#include "format/layout.hpp"
#include "io/open_unit.hpp"
#include "io/units.hpp"
#include "zadaza/echo.hpp"
#include "zadaza/reader.hpp"
#include "zadaza/soil_model.hpp"

namespace app {
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

FileName ZADAZA_FILE;
FileName OUTPUT_FILE;
FileName ECHO_FILE;

std::string_view text_of(const FileName& name) { return {name.data(), name.size()}; }

// Sequential formatted text, status UNKNOWN, silent: only the result tells how it went.
void open_text_file(const FileName& name, int unit, std::int32_t& result) {
  constexpr std::int32_t kUnknown = 1;
  constexpr std::int32_t kSequential = 10;
  constexpr std::int32_t kFormatted = 1;
  constexpr std::int32_t kBlankNull = 0;
  constexpr std::int32_t kNoRecordLength = 0;
  constexpr std::int32_t kNoReport = -1;
  constexpr std::int32_t kSilent = -io::CONSOLE_OUT;
  io::open_unit(text_of(name), FILE_NAME_LENGTH, unit, kUnknown, kSequential, kFormatted,
                kBlankNull, kNoRecordLength, kNoReport, kSilent, result);
}

void report_unopened_input(std::string_view name, int error) {
  io::report_error({"cannot open ZADAZA file '", name, "': ", std::strerror(error)});
}

void write_summary(const ConversionSettings& settings, std::int32_t NUM_LAYERS) {
  io::write(io::CONSOLE_OUT, kCurvePoints,
            {"  .. Number of P_d curve points", zadaza::MAX_CURVE_POINTS});
  io::write(io::CONSOLE_OUT, kCount, {"  .. Number of Soil Layers     ", NUM_LAYERS});
  io::write(io::CONSOLE_OUT, kCount, {"  .. Maximum Piles             ", zadaza::MAX_PILES});
  io::write(io::CONSOLE_OUT, kMudline, {"  .. Z_Coord for Mudline       ", settings.MUDLINE_Z});
  io::write(io::CONSOLE_OUT, kCoordinateFactor,
            {"  .. Coordinate  Factor        ", settings.COORD_FACTOR});
}

void convert_model(const ConversionSettings& settings, const zadaza::SoilModel& model) {
  convert::G2KRANO(settings.ACTIVE_DIAMETERS, zadaza::MAX_CURVE_POINTS, zadaza::MAX_PILES,
                   model.NUM_LAYERS, model.PY_P, model.PY_DELTA, model.TZ_P, model.DIAM,
                   model.TZ_DELTA, model.QZ_P, model.QZ_DELTA, model.ZBOT,
                   settings.COORD_FACTOR, settings.MUDLINE_Z, settings.FORCE_SCALE,
                   settings.LENGTH_SCALE, settings.OUTPUT_FORMAT, settings.ID_OFFSET,
                   OUTPUT_UNIT, RUN_STATUS);
}

// A failed opening of the output file must not be hidden by a later successful opening.
void write_echo_report(std::int32_t output_opening) {
  ADDEXT(ECHO_FILE, FILE_NAME_LENGTH, ".echo", 5);
  open_text_file(ECHO_FILE, zadaza::ECHO_UNIT, RUN_STATUS);
  if (output_opening != 0) RUN_STATUS = output_opening;
  zadaza::WRITE_ECHO();
}

void write_outcome() {
  io::write(io::CONSOLE_OUT, kOutcome,
            {RUN_STATUS == 0 ? "  Conversion Completed " : "  Conversion Feiled!   "});
}

}  // namespace

std::int32_t count_active_diameters(const zadaza::DiameterReals& DIAM) {
  std::int32_t count = 0;
  while (count < kDiametersLookedAt && DIAM(count + 1) > kSmallestDiameter) ++count;
  return count;
}

int run_converter() {
  const zadaza::Generation generation = ask_generation();
  write_banner(generation);

  ask_zadaza_file(ZADAZA_FILE);
  const std::string_view zadaza_name = trimmed(text_of(ZADAZA_FILE));
  if (zadaza_name.empty()) return 0;
  if (const int error = zadaza::open_zadaza_file(zadaza_name); error != 0) {
    report_unopened_input(zadaza_name, error);
    return INPUT_UNOPENED_EXIT;
  }
  ECHO_FILE = ZADAZA_FILE;

  ask_settings(CONVERSION_SETTINGS);
  ask_output_file(OUTPUT_FILE, ZADAZA_FILE);
  open_text_file(OUTPUT_FILE, OUTPUT_UNIT, RUN_STATUS);
  const std::int32_t output_opening = RUN_STATUS;

  io::write(io::CONSOLE_OUT, kProcessing, {" Processing file               : ", zadaza_name});
  if (!zadaza::read_zadaza_file(generation, RUN_STATUS)) return 0;

  if (ask_echo()) write_echo_report(output_opening);

  io::write(io::CONSOLE_OUT, kStarts, {" Starts generating Krano input....."});
  const zadaza::SoilModel& model = zadaza::SOIL_MODEL;
  CONVERSION_SETTINGS.ACTIVE_DIAMETERS = count_active_diameters(model.DIAM);
  write_summary(CONVERSION_SETTINGS, model.NUM_LAYERS);
  convert_model(CONVERSION_SETTINGS, model);

  write_outcome();
  return 0;
}

}  // namespace app
