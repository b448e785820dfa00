// Pages of soil files: one file drawn block by block with the notes an engineer must see, and
// two files compared with their differing springs drawn over each other.
#pragma once

#include <string>
#include <vector>

#include "soil_compare.hpp"
#include "soil_file/soil_file.hpp"
#include "view_model.hpp"

namespace view {

// What the page's Notes list, of a soil file's model: lines that cannot be read, error
// banners, identifiers used twice, layers naming a material the table lacks, materials no
// layer names, and springs whose displacements go back.
std::vector<std::string> soil_file_notes(const ViewModel& view);

// The notes of layers naming a material the table lacks, or one that is no spring curve.
std::vector<std::string> layer_material_notes(const ViewModel& view);

// The page of a soil file's view model.
std::string make_soil_page(const std::string& name, const ViewModel& view);

struct ComparedFiles {
  std::string a_name;
  std::string b_name;
  const ViewModel& a;  // each a soil file's model
  const ViewModel& b;
  double tolerance = 0.0;
};

std::string make_comparison_page(const ComparedFiles& files, const SoilComparison& comparison);

}  // namespace view
