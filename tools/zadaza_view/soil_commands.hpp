// zadaza-view on KRANO soil files: drawing one, and comparing two.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "soil_file/soil_file.hpp"
#include "table_options.hpp"

namespace view {

// Differences of a comparison and a file's unreadable lines: those printed, before a count of
// the rest.
inline constexpr std::size_t kListedAtMost = 100;

inline constexpr int kSoilFilesEqual = 0;
inline constexpr int kSoilFilesDiffer = 1;
inline constexpr int kSoilFileUnreadable = 2;

// zadaza-view --compare A B [--tolerance R] [-o PAGE.html]
struct CompareRequest {
  std::vector<std::string> files;  // A and B
  double tolerance = 0.0;
  std::string page;  // empty: none
};

// Runs a comparison and returns its exit status.
int run_comparison(const CompareRequest& o);

// Draws the soil file `path`, read as `file`, on the page (empty: the soil file's name with
// ".html" added, or none when a table is asked for) and writes the tables asked for; returns
// the exit status.
int run_soil_file_view(const std::string& path, const soil::SoilFile& file,
                       const std::string& page, const TableRequest& tables);

}  // namespace view
