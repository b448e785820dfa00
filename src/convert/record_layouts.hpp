// The layouts of every line of a soil file: the SOILCHAR block, the SESAM record and the KNF
// records with their kind headings. The writers write with them and the soil file reader takes
// its columns from them, so the two cannot drift apart.
#pragma once

#include <cstdint>
#include <string_view>

#include "format/layout.hpp"

namespace convert {

// SOILCHAR block.
inline constexpr auto kSoilHeading = format::layout<
    "('''',/,'''','            Soil_ID  Type  Z_mud      D_ref  ','   F_Fac     L_Fac ')">;
inline constexpr auto kSoilcharFixed = format::layout<"(' SOILCHAR ',2I7,4F10.3)">;
inline constexpr auto kSoilcharExponent = format::layout<"(' SOILCHAR ',2I7,4E12.3)">;
inline constexpr auto kLayerHeading = format::layout<
    "('''',/,'''','                           Z_top      Z_bott ','   P-Y       T-Z       Q-Z ')">;
inline constexpr auto kLayerLine = format::layout<"(20X,2F12.2,3I10)">;

// SESAM record of a spring curve material.
inline constexpr auto kMisoplLine1 = format::layout<"(A8,4E16.8)">;
inline constexpr auto kMisoplLine2 = format::layout<"(8X,4E16.8)">;
inline constexpr auto kMisoplCount = format::layout<"(8X,I8)">;
inline constexpr auto kMisoplPair = format::layout<"(8X,2E16.8)">;
// The SESAM keyword is a text of 8 characters, blank padded.
inline constexpr std::string_view kMisopl = "MISOPL  ";

// KNF records.
inline constexpr auto kElplcurv = format::layout<"(' ELPLCURV ',I9)">;
inline constexpr auto kHypelast = format::layout<"(' HYPELAST ',I9)">;
inline constexpr auto kCurvePair = format::layout<"(25X,1P2E15.5)">;
inline constexpr auto kMisoiep = format::layout<"(' MISOIEP  ',I9,1P5E12.3)">;
inline constexpr auto kMref = format::layout<"(' MREF     ',7I9)">;
inline constexpr auto kSprifull = format::layout<"(' SPRIFULL ',I9)">;
inline constexpr auto kSprifullRow = format::layout<"(8X,1P6E13.5)">;
inline constexpr auto kSpridiag = format::layout<"(' SPRIDIAG ',I9,1P3E15.5)">;
inline constexpr auto kSpridiagRest = format::layout<"(19X,1P3E15.5)">;
inline constexpr auto kElastic = format::layout<"(' MATERIAL ',I9,'  Elastic',1P6E11.3)", 6>;
inline constexpr auto kComps = format::layout<"(' MATERIAL ',I9,'  CompS  ',1P10E11.3)", 8>;
inline constexpr auto kBearing = format::layout<"(' MATERIAL ',I9,'  Bearing',' Lin  ',1P3E11.3)">;
inline constexpr auto kBearingRest = format::layout<"(34X,1P3E11.3)">;

// The curve law code of an ELPLCURV record; every other code is HYPELAST.
inline constexpr std::int32_t kElplcurvLaw = 4;

// KNF kind headings.
inline constexpr auto kElasticHeading = format::layout<
    "('''',/,'''','            Mat  ID  MaTyp    E-mod       Poiss     Dummy      Density   ThermX  ')">;
inline constexpr auto kMisoiepHeading = format::layout<
    "('''',/,'''','            Mat  ID     E-mod       Poiss     Yield      Density     ThermX  ')">;
inline constexpr auto kSpringMatrixHeading = format::layout<
    "('''',/,'''','            Mat  ID          S P R I N G    C H A R.')">;
inline constexpr auto kSpringCurveHeading = format::layout<
    "('''',/,'''','            Mat  ID               P           Delta ')">;
inline constexpr auto kSpringReferenceHeading = format::layout<
    "('''',/,'''','            Mat  ID          S P R I N G    R E F S.')">;
inline constexpr auto kCompsHeading = format::layout<
    "('''',/,'''','            Mat  ID  MaTyp    { Data ............ }')">;
inline constexpr auto kBearingHeading = format::layout<
    "('''',/,'''','            Mat  ID  MaTyp  Opt     S11/S44    S22/S55    S33/S66')">;

// The warning before the KNF kind blocks when some material has a kind the writer does not know.
inline constexpr auto kWarning = format::layout<"(A)">;
inline constexpr std::string_view kMaterialsMissing = " WARNING from KWRMAT: Materials missing ! ";

}  // namespace convert
