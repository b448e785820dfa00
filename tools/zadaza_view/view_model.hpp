// The one model of what the viewer shows, whichever file it reads: blocks (one per diameter),
// their layers with levels, and per layer the springs with their written points and, where a
// ZADAZA file is the source, the curve they were made from with the points kept; and the
// warnings the converter gives for the same file and settings. The page, the table, the JSON
// and the compare are made from this model only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "charts.hpp"
#include "converter_adapter.hpp"
#include "soil_file/soil_file.hpp"

namespace view {

struct ModelLayer {
  int number = 0;
  std::string top_written;  // from a soil file: the levels as written
  std::string bottom_written;
  std::optional<double> z_top;     // depth below the mudline; none from a soil file
  std::optional<double> z_bottom;  // depth below the mudline; none from a soil file
  double level_top = 0.0;          // the levels of the SOILCHAR layer line
  double level_bottom = 0.0;
  // P-y, T-z, Q-z. From a soil file, a material the table lacks (or one that is no spring
  // curve) is a spring without material (has_material false) and without points.
  std::vector<Chart> springs;
};

// A SOILCHAR line as a soil file writes it: each number with its value and its text.
struct WrittenSoilchar {
  int line = 0;
  std::int32_t type = 0;
  soil::Written diameter;
  soil::Written mudline;
  soil::Written force_factor;
  soil::Written length_factor;
};

struct ModelBlock {
  int slot = 0;  // the ZADAZA file's diameter slot; 0 from a soil file
  double diameter = 0.0;
  std::optional<std::int32_t> soil_id;     // none for a diameter the converter skips
  std::string skipped;                     // why the converter skips it; empty when written
  std::string skipped_in_sesam;            // why a SESAM conversion alone skips it
  std::vector<ModelLayer> layers;          // none for a skipped diameter
  std::optional<WrittenSoilchar> written;  // from a soil file
};

// What a ZADAZA file holds besides its curves.
struct ZadazaFileFacts {
  std::string label;  // the analysis label as the file holds it, trailing blanks and all
  std::int32_t layers = 0;
  std::int32_t displacement_rows = 0;
  std::int32_t diameter_blocks = 0;
  std::vector<double> layer_bottoms;  // the depth of every layer's bottom, layer 1 first
};

struct ViewModel {
  std::vector<ModelBlock> blocks;
  std::vector<std::string> warnings;  // the converter's warnings for the same settings
  std::vector<std::string> notes;     // what the reader found in a soil file
  // From a soil file: its material table whole, every kind, in the order written, each value
  // with its text; every line or field the reader could not read, with the line's text; and
  // its error banners.
  std::vector<soil::Material> materials;
  std::vector<soil::Problem> problems;
  std::vector<soil::Banner> banners;
  soil::TableFormat table_format = soil::TableFormat::None;  // a soil file's material table
  std::optional<ZadazaFileFacts> zadaza_facts;
};

// What of a ZADAZA file is shown, and the settings the levels are given for.
struct ZadazaSelection {
  std::vector<int> slots;  // diameter slots, ascending
  int first_layer = 1;
  int last_layer = 0;
  double mudline = 0.0;
  double coord_factor = -1.0;  // +1.0 POS, -1.0 NEG
};

// Why the converter skips a diameter, as its banner's detail line says it, without the marks:
// "Identifiers already used by another diameter".
std::string skip_text(convert::DiameterOutcome outcome);

// The selected diameters of the converted ones (every diameter in use, in the converter's
// order), each with the selected layers; a skipped diameter has its reason and no layers. The
// file's facts come from the soil data model.
ViewModel zadaza_view_model(const std::vector<ConvertedDiameter>& converted,
                            const ZadazaSelection& selection, const zadaza::SoilModel& model);

// Every SOILCHAR block of a soil file, each layer with the materials it names, the material
// table, and the file's notes and problems.
ViewModel soil_view_model(const soil::SoilFile& file);

// The first spring curve of the model's material table with the identifier; none for an
// unreadable identifier or from a ZADAZA file.
const soil::Material* find_spring_curve(const ViewModel& view, std::int32_t id);

// A layer's level as the soil file writes it: its value and its text.
soil::Written top_level(const ModelLayer& layer);
soil::Written bottom_level(const ModelLayer& layer);

}  // namespace view
