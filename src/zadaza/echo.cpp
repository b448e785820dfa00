#include "zadaza/echo.hpp"

#include <string_view>

#include "io/units.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza {
namespace {

constexpr auto kLabel = format::layout<"(A)">;
constexpr auto kLayerCount = format::layout<"(/,I4,' soil layers defined')">;
constexpr auto kLayerTableHeading = format::layout<
    "(2X,'       Depth ',/,' Layer   below    Effective   Frict.','   Undrai.    Poiss    Shear',/,"
    "' number  mudline    unit      angle  ','  shear     ratio    modulus',/,"
    "'        (bottom     weight    (deg.)  ','strength',/,'         of layer)')">;
constexpr auto kLayerRow = format::layout<"(I4,1P,E11.3,E11.3,F7.1,E11.3,E11.3,F5.2,5E11.3)">;
constexpr auto kDiameters = format::layout<"(I4,' pile diameters.  Diameters',1P,4E11.3,/)">;
constexpr auto kDiameterTitle = format::layout<"(' Data for diameter',1P,E11.3,/)">;
constexpr auto kPointCounts = format::layout<
    "(2X,'Layer    Number of points in P-delta curves :',/,' number     P-y       T-z       Q-z',/,"
    "I4,3I10)">;
constexpr auto kOrigins = format::layout<
    "(2X,'Layer    Point number defining origo in curves :',/,' number     P-y       T-z       Q-z',/,"
    "I4,3I10)">;
constexpr auto kCurveHeading = format::layout<
    "(2X,'__________P-y_______  __________T-z_______  ','__________Q-z_______',/,"
    "'       P       delta         P       delta  ','        P       delta')">;
constexpr auto kCurvePoint = format::layout<"(1P,6E11.3)">;
constexpr auto kParameterHeading = format::layout<
    "(2X,'P-y                 T-z       ','                    Q-z',/,"
    "'Max      Init.      Max       ','Init      Max       Max       Init     Max    ',/,"
    "'stress   stiff      compr.    ','stiff     tension   compr.    stiff    tension',/,"
    "'(f/L^2)  (f/L^3)    stress    ','(f/L^3)   stress    force     (f/L^3)  force',/,"
    "'                    (f/L^2)   ','          (f/L^2)   (f/L^2)            (f/L^2)')">;
constexpr auto kParameters = format::layout<"(1X,1P,9E11.3)", 8>;
constexpr auto kScour = format::layout<"(2X,'General scour line z-level :',1P,E11.2)">;
constexpr auto kSoilModulus = format::layout<
    "(2X,'Soil modulus for pile soil interaction : ',/,'E(z) =',1P,E10.3,'  +  z *',E10.3,/,"
    "'Nu   =',F5.2)">;
constexpr auto kDisplacementHeading = format::layout<
    "(2X,'Soil displacement values :      ','Open hole',/,"
    "'z-level    x-disp    y-disp     ','z-disp     diameter')">;
constexpr auto kDisplacementRow = format::layout<"(1X,1P,5E11.3)">;

// Loops run to the count but never past the model's extents.
int bounded(std::int32_t count, int extent) {
  return count < 0 ? 0 : (count > extent ? extent : count);
}

void write_layer_table(const SoilModel& m) {
  io::write(ECHO_UNIT, kLayerCount, {m.NUM_LAYERS});
  io::write(ECHO_UNIT, kLayerTableHeading);
  const auto& s = m.LAYER_SOIL;
  for (int j = 1; j <= bounded(m.NUM_LAYERS, MAX_LAYERS); ++j) {
    io::write(ECHO_UNIT, kLayerRow,
              {j, m.ZBOT(j), s(1, j), s(2, j), s(3, j), s(4, j), s(5, j), s(6, j), s(7, j),
               s(8, j), s(9, j), s(10, j)});
  }
}

void write_layer_curves(const SoilModel& m, int i, int j) {
  io::write(ECHO_UNIT, kPointCounts, {j, m.NPTS_PY(i, j), m.NPTS_TZ(i, j), m.NPTS_QZ(i, j)});
  io::write(ECHO_UNIT, kOrigins, {j, m.IORG_PY(i, j), m.IORG_TZ(i, j), m.IORG_QZ(i, j)});
  io::write(ECHO_UNIT, kCurveHeading);
  for (int k = 1; k <= MAX_CURVE_POINTS; ++k) {
    io::write(ECHO_UNIT, kCurvePoint,
              {m.PY_P(k, i, j), m.PY_DELTA(k, i, j), m.TZ_P(k, i, j), m.TZ_DELTA(k, i, j),
               m.QZ_P(k, i, j), m.QZ_DELTA(k, i, j)});
  }
  io::write(ECHO_UNIT, kParameterHeading);
  io::write(ECHO_UNIT, kParameters,
            {m.PY_PAR(1, i, j), m.PY_PAR(2, i, j), m.TZ_PAR(1, i, j), m.TZ_PAR(2, i, j),
             m.TZ_PAR(3, i, j), m.QZ_PAR(1, i, j), m.QZ_PAR(2, i, j), m.QZ_PAR(3, i, j)});
}

void write_diameter_blocks(const SoilModel& m) {
  for (int i = 1; i <= MAX_PILES; ++i) {
    io::write(ECHO_UNIT, kDiameterTitle, {m.DIAM(i)});
    for (int j = 1; j <= bounded(m.NUM_LAYERS, MAX_LAYERS); ++j) write_layer_curves(m, i, j);
  }
}

void write_general_data(const SoilModel& m) {
  io::write(ECHO_UNIT, kScour, {m.SCOUR_Z});
  io::write(ECHO_UNIT, kSoilModulus, {m.SOIL_E0, m.SOIL_EZ, m.SOIL_NU});
}

void write_displacements(const SoilModel& m) {
  if (m.NUM_DSP < 1) return;
  io::write(ECHO_UNIT, kDisplacementHeading);
  for (int r = 1; r <= bounded(m.NUM_DSP, DSP_ROWS); ++r) {
    io::write(ECHO_UNIT, kDisplacementRow,
              {m.DSP_Z(r), m.DSP_VAL(1, r), m.DSP_VAL(2, r), m.DSP_VAL(3, r), m.DSP_VAL(4, r)});
  }
}

}  // namespace

void WRITE_ECHO() {
  const SoilModel& m = SOIL_MODEL;
  io::write(ECHO_UNIT, kLabel, {std::string_view{m.ANALYSIS_LABEL.data(), m.ANALYSIS_LABEL.size()}});
  write_layer_table(m);
  io::write(ECHO_UNIT, kDiameters, {m.NUM_DIAMETERS, m.DIAM(1), m.DIAM(2), m.DIAM(3), m.DIAM(4)});
  write_diameter_blocks(m);
  write_general_data(m);
  write_displacements(m);
}

}  // namespace zadaza
