// Whole layouts: how items are driven by their values, where lines end, complete lines of the
// converter's own layouts checked column by column, and the value lists a layout accepts.
#include "format/layout.hpp"

#include <gtest/gtest.h>

#include <array>
#include <span>
#include <string>

namespace {

template <class L>
std::string render(const L&, const typename L::Values& values) {
  std::string out(L::size(values), '?');
  const char* end = L::render(values, out.data());
  EXPECT_EQ(end, out.data() + out.size()) << "size and rendering disagree";
  return out;
}

struct Rendered {
  const char* name;
  std::string got;
  std::string expected;
};

class Renders : public ::testing::TestWithParam<Rendered> {};

TEST_P(Renders, ColumnForColumn) { EXPECT_EQ(GetParam().got, GetParam().expected); }

std::string case_name(const ::testing::TestParamInfo<Rendered>& info) { return info.param.name; }

const std::string k25 = std::string(25, ' ');

INSTANTIATE_TEST_SUITE_P(
    Driving, Renders,
    ::testing::Values(
        Rendered{"BreaksFirst", render(format::layout<"(/,/,/,'x')">, {}), "\r\n\r\n\r\nx\r\n"},
        Rendered{"DoubledApostrophes", render(format::layout<"('''','it''s')">, {}), "'it's\r\n"},
        Rendered{"LiteralKeepsTrailingBlanks", render(format::layout<"('a  ')">, {}), "a  \r\n"},
        Rendered{"TrailingSkipAddsNothing", render(format::layout<"('a',5X,/,3X,'b',2X)">, {}), "a\r\n   b\r\n"},
        Rendered{"LineWithNothingIsEmpty", render(format::layout<"(8X)">, {}), "\r\n"},
        // Values running out exactly at the end: the break after the last field still counts.
        Rendered{"RunOutAtEnd", render(format::layout<"(A,F9.1,/)">, {"x", 1.5}), "x      1.5\r\n\r\n"},
        Rendered{"RunOutBeforeField", render(format::layout<"(A,F9.1,/)", 1>, {"x"}), "x\r\n"},
        Rendered{"NoValuesAtAll", render(format::layout<"(A,F9.1,/)", 0>, {}), "\r\n"},
        Rendered{"TextUpToNextField", render(format::layout<"('a=',I2,' b=',I2,' end')", 1>, {1}), "a= 1 b=\r\n"},
        Rendered{"AllFieldsFilled", render(format::layout<"('a=',I2,' b=',I2,' end')">, {1, 2}), "a= 1 b= 2 end\r\n"},
        Rendered{"RestartOnNewLine", render(format::layout<"(I3,I3)", 5>, {1, 2, 3, 4, 5}), "  1  2\r\n  3  4\r\n  5\r\n"},
        Rendered{"RestartWithBreak", render(format::layout<"('v',I2,/)", 2>, {1, 2}), "v 1\r\n\r\nv 2\r\n\r\n"},
        Rendered{"DollarLeavesLineOpen", render(format::layout<"(' ',A,$)">, {"Give ZADAZA data file : "}), " Give ZADAZA data file : "},
        Rendered{"DollarAfterBreak", render(format::layout<"(/,'x',$)">, {}), "\r\nx"},
        Rendered{"TextWidths", render(format::layout<"(A4,'|',A10,'|',A,A)">, {"FORMATTED", "SEQ", "ab  ", "c"}), "FORM|       SEQ|ab  c\r\n"},
        // Zero of either sign, with and without room for the 0 before the point.
        Rendered{"ZerosInExponentFields",
                 render(format::layout<"(E11.3,E8.3,1P,E11.3,E11.3)">, {0.0, -0.0, -0.0, 0.0}),
                 "  0.000E+00.000E+00  0.000E+00  0.000E+00\r\n"},
        Rendered{"TooNarrowLeavesRest", render(format::layout<"(I4,F5.2,I4)">, {1, 100.0, 2}), "   1*****   2\r\n"},
        // The scale factor applies to exponent fields only.
        Rendered{"EchoLayerRow", render(format::layout<"(I4,1P,E11.3,E11.3,F7.1,E11.3,E11.3,F5.2,5E11.3)">, {1, 5.0, 18.5, 30.0, 0.0, 2.0e4, 0.3, 1.0, 2.0, 3.0, 4.0, 123.0}), "   1  5.000E+00  1.850E+01   30.0  0.000E+00  2.000E+04 0.30  1.000E+00  "
                 "2.000E+00  3.000E+00  4.000E+00  1.230E+02\r\n"},
        // Eight values for nine fields: the line ends after column 89.
        Rendered{"EchoParameters", render(format::layout<"(1X,1P,9E11.3)", 8>, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, -8.0}), "   1.000E+00  2.000E+00  3.000E+00  4.000E+00  5.000E+00  6.000E+00  "
                 "7.000E+00 -8.000E+00\r\n"}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    OwnLines, Renders,
    ::testing::Values(
        Rendered{"SoilHeading", render(format::layout<"('''',/,'''','            Soil_ID  Type  Z_mud      D_ref  ','   F_Fac     L_Fac ')">, {}), "'\r\n'            Soil_ID  Type  Z_mud      D_ref     F_Fac     L_Fac \r\n"},
        Rendered{"SoilFixed", render(format::layout<"(' SOILCHAR ',2I7,4F10.3)">, {1500, 1, 0.0, 1.5, 1.0, 1.0}), " SOILCHAR    1500      1     0.000     1.500     1.000     1.000\r\n"},
        Rendered{"SoilFixedTooWide", render(format::layout<"(' SOILCHAR ',2I7,4F10.3)">, {1500, 1, -2.0, 1.5, 0.0011, 1.0E7}), " SOILCHAR    1500      1    -2.000     1.500     0.001**********\r\n"},
        Rendered{"SoilExponent", render(format::layout<"(' SOILCHAR ',2I7,4E12.3)">, {1500, 1, -100.0, 1.5, 0.0001, 1.0}), " SOILCHAR    1500      1  -0.100E+03   0.150E+01   0.100E-03   0.100E+01\r\n"},
        Rendered{"SoilLayer", render(format::layout<"(20X,2F12.2,3I10)">, {-5.0, -12.0, 1500021, 1500022, 1500023}), "                           -5.00      -12.00   1500021   1500022   1500023\r\n"},
        Rendered{"SoilLayerZeroLevel", render(format::layout<"(20X,2F12.2,3I10)">, {0.0, -0.001, 1500011, 1500012, 1500013}), "                            0.00        0.00   1500011   1500012   1500013\r\n"},
        Rendered{"Misopl", render(format::layout<"(A8,4E16.8)">, {"MISOPL  ", 1500011.0, 4.0, 0.0, 0.0}), "MISOPL    0.15000110E+07  0.40000000E+01  0.00000000E+00  0.00000000E+00\r\n"},
        Rendered{"MisoplCount", render(format::layout<"(8X,I8)">, {2}), "               2\r\n"},
        Rendered{"MisoplPair", render(format::layout<"(8X,2E16.8)">, {100.0, 0.001}), "          0.10000000E+03  0.10000000E-02\r\n"},
        Rendered{"Elplcurv", render(format::layout<"(' ELPLCURV ',I9)">, {1500011}), " ELPLCURV   1500011\r\n"},
        Rendered{"IdentifierTooWide", render(format::layout<"(' ELPLCURV ',I9)">, {1000000000}), " ELPLCURV *********\r\n"},
        Rendered{"CurvePoint", render(format::layout<"(25X,1P2E15.5)">, {250.0, 0.01}),
                 k25 + "    2.50000E+02    1.00000E-02\r\n"},
        Rendered{"Mref", render(format::layout<"(' MREF     ',7I9)">, {1500014, 1500011, 1500012, 0, 0, 0, 0}),
                 " MREF       1500014  1500011  1500012        0        0        0        0\r\n"},
        Rendered{"Spridiag", render(format::layout<"(' SPRIDIAG ',I9,1P3E15.5)">, {7, 1.0E5, 2.0E5, 3.0E5}), " SPRIDIAG         7    1.00000E+05    2.00000E+05    3.00000E+05\r\n"},
        Rendered{"Elastic", render(format::layout<"(' MATERIAL ',I9,'  Elastic',1P6E11.3)", 6>, {20, 2.1E11, 0.3, 0.0, 7850.0, 1.2E-5}), " MATERIAL        20  Elastic  2.100E+11  3.000E-01  0.000E+00  7.850E+03  "
                 "1.200E-05\r\n"},
        Rendered{"EchoDiameters", render(format::layout<"(I4,' pile diameters.  Diameters',1P,4E11.3,/)">, {2, 1.5, 2.0, 0.0, 0.0}), "   2 pile diameters.  Diameters  1.500E+00  2.000E+00  0.000E+00  0.000E+00\r\n\r\n"},
        Rendered{"EchoModulus", render(format::layout<"(2X,'Soil modulus for pile soil interaction : ',/,'E(z) =',1P,E10.3,'  +  z "
                  "*',E10.3,/,'Nu   =',F5.2)">, {1.0E4, -250.0, 0.3}), "  Soil modulus for pile soil interaction : \r\nE(z) = 1.000E+04  +  z "
                 "*-2.500E+02\r\nNu   = 0.30\r\n"},
        Rendered{"SummaryFactor", render(format::layout<"(A,F9.1,/)">, {"  .. Coordinate  Factor        ", -1.0}), "  .. Coordinate  Factor             -1.0\r\n\r\n"}),
    case_name);

// The value list is the layout's own: a wrong kind or a wrong count does not compile.
template <class T, class... A>
concept BracedFrom = requires(A... a) { T{a...}; };
template <class L, class... A>
concept Accepts = BracedFrom<typename L::Values, A...>;

using IntegerAndText = format::Layout<"(I4,A)">;
using TwoReals = format::Layout<"(1P,2E11.3)">;
using OneOfTwo = format::Layout<"(1P,2E11.3)", 1>;
static_assert(Accepts<IntegerAndText, std::int32_t, const char*>);
static_assert(!Accepts<IntegerAndText, double, const char*>);  // a real for an integer field
static_assert(!Accepts<IntegerAndText, std::int32_t, double>);
static_assert(!Accepts<IntegerAndText, std::int32_t>);
static_assert(!Accepts<IntegerAndText, std::int32_t, const char*, std::int32_t>);
static_assert(Accepts<TwoReals, double, double>);
static_assert(!Accepts<TwoReals, std::int32_t, double>);  // an integer for a real field
static_assert(!Accepts<TwoReals, double>);
static_assert(Accepts<OneOfTwo, double> && !Accepts<OneOfTwo, double, double>);
static_assert(Accepts<TwoReals, std::span<const double, 2>>);
static_assert(!Accepts<TwoReals, std::span<const double, 3>>);
static_assert(!Accepts<TwoReals, std::span<const double>>);  // its length is not known
static_assert(!Accepts<IntegerAndText, std::span<const std::int32_t, 2>>);

TEST(LayoutValues, SpanOfOneKindFillsTheFields) {
  const std::array<double, 6> row{1.0, -2.0, 0.0, 4.5e-3, 1.0e100, 12345.0};
  EXPECT_EQ(render(format::layout<"(1P,6E11.3)">, std::span<const double, 6>(row)),
            "  1.000E+00 -2.000E+00  0.000E+00  4.500E-03  1.000+100  1.234E+04\r\n");
}

}  // namespace

namespace {

// A line's shape agrees with the line rendered: its fixed text in the same columns, and each
// field's columns holding that field's value (the k-th field shows k).
template <class L>
void expect_shape_of_rendered(const L& layout, const typename L::Values& values,
                              std::size_t fields) {
  constexpr format::LineShape shape = format::line_shape(L{});
  const std::string line = render(layout, values);
  ASSERT_EQ(shape.length + 2, line.size());
  ASSERT_EQ(shape.fields, fields);
  for (std::size_t i = 0; i < shape.length; ++i) {
    if (shape.is_text_column(i)) {
      EXPECT_EQ(line[i], shape.text[i]) << "column " << i + 1;
    }
  }
  for (std::size_t k = 0; k < shape.fields; ++k) {
    const format::FieldPlace& place = shape.field[k];
    const std::string field = line.substr(place.column, place.width);
    EXPECT_EQ(std::stod(field), static_cast<double>(k + 1)) << field;
    EXPECT_NE(field.front(), '*');
  }
}

TEST(LineShape, PlacesEveryFieldWhereTheLineHasIt) {
  expect_shape_of_rendered(format::layout<"(' KEY ',2I7,1P2E12.3,3X,F8.2)">, {1, 2, 3.0, 4.0, 5.0}, 5);
  expect_shape_of_rendered(format::layout<"(' M ',I9,'  Tag',1P6E11.3)", 3>, {1, 2.0, 3.0}, 3);
  expect_shape_of_rendered(format::layout<"(20X,2F12.2,3I10)">, {1.0, 2.0, 3, 4, 5}, 5);
  expect_shape_of_rendered(format::layout<"(A8,4E16.8)">, {"1", 2.0, 3.0, 4.0, 5.0}, 5);
}

// The number fields a write shows as asterisks: how many, and where the first is in the lines
// the write makes, and what it held. Text fields cut their value and never count.
struct Asterisks {
  const char* name;
  format::AsteriskFields got;
  std::size_t count;
  std::size_t line;
  std::size_t column;
  std::size_t width;
  format::Edit edit;
  double value;
};

template <class L>
format::AsteriskFields asterisks_of(const L&, const typename L::Values& values) {
  std::string out(L::size(values), '?');
  format::AsteriskFields asterisks;
  L::render(values, out.data(), asterisks);
  return asterisks;
}

class AsteriskCount : public ::testing::TestWithParam<Asterisks> {};

TEST_P(AsteriskCount, CountsAndPlacesTheFirst) {
  const Asterisks& c = GetParam();
  EXPECT_EQ(c.got.count, c.count);
  if (c.count == 0) return;
  EXPECT_EQ(c.got.line, c.line);
  EXPECT_EQ(c.got.column, c.column);
  EXPECT_EQ(c.got.width, c.width);
  EXPECT_EQ(c.got.edit, c.edit);
  EXPECT_EQ(c.got.value, c.value);
}

using format::Edit;

INSTANTIATE_TEST_SUITE_P(
    Fields, AsteriskCount,
    ::testing::Values(
        Asterisks{"AllFit", asterisks_of(format::layout<"(I4,F5.2,E11.3)">, {9999, -9.99, 1e300}), 0, 0, 0, 0, Edit::Integer, 0},
        Asterisks{"TextIsCutNotCounted", asterisks_of(format::layout<"(A2,I3)">, {"****", 1}), 0, 0, 0, 0, Edit::Text, 0},
        Asterisks{"IntegerTooWide", asterisks_of(format::layout<"(' X',I4,I4)">, {1, -1000}), 1, 0, 6, 4, Edit::Integer, -1000},
        Asterisks{"FixedTooWideFirstOfTwo", asterisks_of(format::layout<"(20X,2F12.2,3I10)">, {5e10, -5e10, 1, 2, 3}), 2, 0, 20, 12, Edit::Fixed, 5e10},
        Asterisks{"ExponentWithoutRoom", asterisks_of(format::layout<"(1P,E8.3,E11.3)">, {-1.0, -1.0}), 1, 0, 0, 8, Edit::ScaledExponent, -1.0},
        Asterisks{"OnALaterLine", asterisks_of(format::layout<"('''',/,I3,/,F4.1)">, {1, 100.0}), 1, 2, 0, 4, Edit::Fixed, 100.0},
        Asterisks{"RestartedLayout", asterisks_of(format::layout<"(' S',2I3)", 4>, {1, 2, 3, 4000}), 1, 1, 5, 3, Edit::Integer, 4000},
        Asterisks{"SoilcharFixed", asterisks_of(format::layout<"(' SOILCHAR ',2I7,4F10.3)">, {900, 1, 0.0, 0.9, 1e20, 1.0}), 1, 0, 44, 10, Edit::Fixed, 1e20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LayoutLineEnds, CountTheLineEndsWritten) {
  EXPECT_EQ(decltype(format::layout<"(A)">)::kLineEnds, 1U);
  EXPECT_EQ(decltype(format::layout<"('''',/,'''')">)::kLineEnds, 2U);
  EXPECT_EQ(decltype(format::layout<"(/,' x',$)">)::kLineEnds, 1U);
  EXPECT_EQ((format::Layout<"(I3,I3)", 5>::kLineEnds), 3U);
}

}  // namespace
