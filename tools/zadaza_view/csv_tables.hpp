// The points of one diameter as a CSV table, one row per ZADAZA point.
#pragma once

#include <string>

#include "charts.hpp"

namespace view {

// Header row "layer,curve type,material identifier,point number,displacement,force,kept by the
// thinning", then per chart its 23 scaled points in order; numbers read back exactly, kept is
// yes or no, the identifier empty when the diameter has no materials. Lines end CR LF.
std::string make_csv(const DiameterCharts& diameter);

// The table's file name in the CSV folder: "diameter" + slot + "-" + diameter + ".csv".
std::string csv_file_name(const DiameterCharts& diameter);

}  // namespace view
