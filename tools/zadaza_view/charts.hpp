// What one chart shows: a layer's curve of one type for one diameter, the points the thinning
// kept and dropped, and the notes an engineer should see next to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "converter_adapter.hpp"

namespace view {

enum class CurveType { PY, TZ, QZ };  // the converter's order

inline constexpr std::array<CurveType, kCurveTypes> kCurveTypeOrder{CurveType::PY, CurveType::TZ,
                                                                    CurveType::QZ};

std::string_view curve_name(CurveType type);  // "P-y", "T-z", "Q-z"

struct ChartPoint {
  double displacement = 0.0;
  double force = 0.0;
  bool kept = false;    // the thinning kept it: it is a point of the written material
  double stress = 0.0;  // as in the ZADAZA file
};

// One spring of the view model: the material's points as written and, where a ZADAZA file is
// the source, the curve they were made from with the points the thinning kept.
struct Chart {
  int layer = 0;
  CurveType type = CurveType::PY;
  bool has_material = false;
  std::int32_t material_id = 0;
  std::string keyword;  // from a soil file: the material's record, "MISOPL", "ELPLCURV" ...
  bool has_source = false;                     // a ZADAZA file's curve fills `curve`
  std::array<ChartPoint, kCurvePoints> curve;  // the ZADAZA curve scaled to forces
  std::vector<CurvePair> written;              // the material's points as written
  std::vector<std::string> notes;
};

// Values beyond this magnitude, infinities and NaNs cannot be placed on an axis.
inline constexpr double kLargestDrawable = 1.0e150;
bool drawable(double value);
bool drawable(const ChartPoint& point);

// The chart of one converted curve. A point is kept when it is the next written point, bit for
// bit: the thinning copies the points it keeps unchanged and in order.
Chart make_chart(int layer, CurveType type, const ConvertedCurve& curve);

}  // namespace view

