#include "zadaza/reader.hpp"

#include <array>

#include "io/binary_records.hpp"
#include "io/text.hpp"
#include "io/units.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza {
namespace {

constexpr auto kReadingLabel = format::layout<"(/,A,A)", 1>;
constexpr auto kFromUnit = format::layout<"(A,I3)">;
constexpr auto kLimitTitle = format::layout<"(A)">;
constexpr auto kLimitValue = format::layout<"(A,I3)">;
constexpr auto kLabelHeading = format::layout<"(/,A,A)">;
constexpr auto kCountHeading = format::layout<"(A,I4)">;
constexpr auto kLastCountHeading = format::layout<"(A,I4,/)">;

// The generations differ in one record only, so a file of the other generation fails on its
// record structure.
constexpr std::string_view kReadAsNewHint =
    "the file was read as a New ZADAZA file: if it is an Old one, answer O to the first "
    "question (option --old); otherwise it may be damaged or not a ZADAZA file";
constexpr std::string_view kReadAsOldHint =
    "the file was read as an Old ZADAZA file: if it is a New one, answer N to the first "
    "question (no option --old); otherwise it may be damaged or not a ZADAZA file";

// The integers of records 3 and 4 that nothing uses.
std::array<std::int32_t, 2> unused_integers;

void read_label() {
  io::read_record(ZADAZA_UNIT, {io::item(SOIL_MODEL.ANALYSIS_LABEL)});
}

void read_counts(Generation generation) {
  SoilModel& m = SOIL_MODEL;
  if (generation == Generation::New) {
    io::read_record(ZADAZA_UNIT,
                    {io::item(m.NUM_LAYERS), io::item(m.NUM_DSP), io::item(m.NUM_DIAMETERS)});
  } else {
    io::read_record(ZADAZA_UNIT, {io::item(m.NUM_LAYERS), io::item(m.NUM_DSP)});
    m.NUM_DIAMETERS = kOldGenerationDiameters;
  }
}

// "availabe" and "exeeded" are the converter's own spellings, kept on purpose: scripts look
// for these lines as they stand. The diameter limit is newer and spelt plainly.
void write_limit_error(std::string_view title, std::string_view count_text, int limit,
                       std::int32_t actual) {
  io::write(io::kConsoleOut, kLimitTitle, {title});
  io::write(io::kConsoleOut, kLimitValue, {"          Max availabe       :", limit});
  io::write(io::kConsoleOut, kLimitValue, {count_text, actual});
}

// Writes the error lines of the first limit the counts break; true when all hold.
bool limits_met() {
  const SoilModel& m = SOIL_MODEL;
  if (m.NUM_LAYERS > MAX_LAYERS) {
    write_limit_error("***Error: Max Layers exeeded! ", "          Actual layers      :",
                      MAX_LAYERS, m.NUM_LAYERS);
    return false;
  }
  if (m.NUM_DSP > MAX_DSP) {
    write_limit_error("***Error: Max NumDsp exeeded! ", "          Actual layers      :",
                      MAX_DSP, m.NUM_DSP);
    return false;
  }
  // The model has MAX_PILES diameter slots per layer; more could not be stored.
  if (m.NUM_DIAMETERS > MAX_PILES) {
    io::write(io::kConsoleOut, kLimitTitle, {"***Error: Max Diameters exceeded!"});
    io::write(io::kConsoleOut, kLimitValue, {"          Max available      :", MAX_PILES});
    io::write(io::kConsoleOut, kLimitValue, {"          Actual diameters   :", m.NUM_DIAMETERS});
    return false;
  }
  return true;
}

void write_headings() {
  const SoilModel& m = SOIL_MODEL;
  const std::string_view label{m.ANALYSIS_LABEL.data(), m.ANALYSIS_LABEL.size()};
  const int last = io::ILAST(label, static_cast<int>(label.size()));
  io::write(io::kConsoleOut, kLabelHeading,
            {" Analysis Label     : ", label.substr(0, static_cast<std::size_t>(last))});
  io::write(io::kConsoleOut, kCountHeading, {" Number of layers   : ", m.NUM_LAYERS});
  io::write(io::kConsoleOut, kCountHeading, {" Number of DSP      : ", m.NUM_DSP});
  io::write(io::kConsoleOut, kLastCountHeading, {" Number of diameters: ", m.NUM_DIAMETERS});
}

void read_layer(int j) {
  SoilModel& m = SOIL_MODEL;
  io::read_record(ZADAZA_UNIT, {io::item(unused_integers[0]), io::item(m.ZBOT(j)),
                                io::items_from(m.LAYER_SOIL.at(1, j), 10)});
}

void read_diameter_heading(int i, int j) {
  SoilModel& m = SOIL_MODEL;
  io::read_record(ZADAZA_UNIT,
                  {io::item(unused_integers[0]), io::item(unused_integers[1]),
                   io::item(m.NPTS_PY(i, j)), io::item(m.NPTS_TZ(i, j)), io::item(m.NPTS_QZ(i, j)),
                   io::item(m.IORG_PY(i, j)), io::item(m.IORG_TZ(i, j)),
                   io::item(m.IORG_QZ(i, j))});
}

// The (P, delta) pairs of one curve, straight into the points of the two arrays.
io::ReadItem curve(CurveArray& p, CurveArray& delta, int i, int j) {
  return io::pairs_into(p.at(1, i, j), delta.at(1, i, j), MAX_CURVE_POINTS);
}

void read_py_tz_curves(int i, int j) {
  SoilModel& m = SOIL_MODEL;
  io::read_record(ZADAZA_UNIT, {curve(m.PY_P, m.PY_DELTA, i, j), curve(m.TZ_P, m.TZ_DELTA, i, j)});
}

void read_qz_curve_and_parameters(int i, int j) {
  SoilModel& m = SOIL_MODEL;
  std::array<io::ReadItem, 1 + 9> items;
  io::ReadItem* at = items.data();
  *at++ = curve(m.QZ_P, m.QZ_DELTA, i, j);
  for (int par = 1; par <= 3; ++par) {
    *at++ = io::item(m.PY_PAR(par, i, j));
    *at++ = io::item(m.TZ_PAR(par, i, j));
    *at++ = io::item(m.QZ_PAR(par, i, j));
  }
  io::read_record(ZADAZA_UNIT, items);
}

void read_general_data() {
  SoilModel& m = SOIL_MODEL;
  io::read_record(ZADAZA_UNIT,
                  {io::item(m.SCOUR_Z), io::item(m.DIAM.element), io::item(m.SOIL_E0),
                   io::item(m.SOIL_EZ), io::item(m.SOIL_NU)});
}

void read_displacements() {
  SoilModel& m = SOIL_MODEL;
  io::read_record(ZADAZA_UNIT, {io::item(m.DSP_Z.element), io::item(m.DSP_VAL.element)});
}

}  // namespace

int open_zadaza_file(std::string_view name) {
  os::FileIdentity identity;
  const int error = io::open_binary_file(ZADAZA_UNIT, name, identity);
  if (error == 0) io::protect_input_file(identity);
  return error;
}

bool read_zadaza_file(Generation generation) {
  SoilModel& m = SOIL_MODEL;
  io::set_structure_hint(ZADAZA_UNIT,
                         generation == Generation::New ? kReadAsNewHint : kReadAsOldHint);
  io::write(io::kConsoleOut, kReadingLabel, {" Reading  Label ..... "});
  io::write(io::kConsoleOut, kFromUnit, {" From Unit    :", ZADAZA_UNIT});
  read_label();
  read_counts(generation);
  if (!limits_met()) return false;
  write_headings();
  for (int j = 1; j <= m.NUM_LAYERS; ++j) {
    read_layer(j);
    for (int i = 1; i <= m.NUM_DIAMETERS; ++i) {
      read_diameter_heading(i, j);
      read_py_tz_curves(i, j);
      read_qz_curve_and_parameters(i, j);
    }
  }
  read_general_data();
  if (m.NUM_DSP >= 1) read_displacements();
  return true;
}

}  // namespace zadaza
