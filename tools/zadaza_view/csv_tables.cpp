#include "csv_tables.hpp"

#include "markup.hpp"

namespace view {

std::string make_csv(const DiameterCharts& diameter) {
  std::string out =
      "layer,curve type,material identifier,point number,displacement,force,kept by the "
      "thinning\r\n";
  for (const Chart& chart : diameter.charts) {
    const std::string start = std::to_string(chart.layer) + "," +
                              std::string(curve_name(chart.type)) + "," +
                              (chart.has_material ? std::to_string(chart.material_id) : "") + ",";
    for (int k = 0; k < kCurvePoints; ++k) {
      const ChartPoint& p = chart.curve[static_cast<std::size_t>(k)];
      out += start + std::to_string(k + 1) + "," + shortest(p.displacement) + "," +
             shortest(p.force) + (p.kept ? ",yes\r\n" : ",no\r\n");
    }
  }
  return out;
}

std::string csv_file_name(const DiameterCharts& diameter) {
  return "diameter" + std::to_string(diameter.slot) + "-" + shortest(diameter.diameter) + ".csv";
}

}  // namespace view
