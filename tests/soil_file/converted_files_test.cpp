// Soil files the converter writes, read back: for generated ZADAZA files converted in both
// formats, every material has the identifier, kind and points the converter stored, rounded as
// its record writes them, and every layer names the materials built for it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/run.hpp"
#include "convert/g2krano.hpp"
#include "convert/output_capture.hpp"
#include "convert/record_layouts.hpp"
#include "io/binary_records.hpp"
#include "soil_file/soil_file.hpp"
#include "zadaza/reader.hpp"
#include "zadaza/soil_model.hpp"

namespace {

using convert_test::OutputCapture;

struct Generated {
  int layers;
  int diameters;
  int in_use;
  int seed;
  double coord_factor;
  double force_scale;
};

// 32 files: one to eighty layers, one to four diameters in use, both soil axis orientations,
// and factors in the fixed and in the exponent form of the SOILCHAR line.
std::vector<Generated> generated_files() {
  std::vector<Generated> files;
  const int layers[] = {1, 2, 3, 5, 8, 13, 40, 80};
  for (int i = 0; i < 32; ++i) {
    files.push_back({layers[i % 8], 1 + i % 5, 1 + i % 4, 1 + i, i % 2 == 0 ? 1.0 : -1.0,
                     i % 3 == 0 ? 0.0005 : 1.0});
  }
  return files;
}

// The files stay until the program ends: the last one read stays the protected input, and a
// later file must not take its place on disk.
void read_generated(const Generated& g) {
  static const test_support::TempDir dir;
  const std::string path = dir.path("soil" + std::to_string(g.seed) + ".zdz");
  test_support::make_zadaza("--synthetic --layers " + std::to_string(g.layers) +
                            " --diameters " + std::to_string(std::max(g.diameters, g.in_use)) +
                            " --in-use " + std::to_string(g.in_use) + " --dsp 1 --seed " +
                            std::to_string(g.seed) + " " + path);
  static const zadaza::SoilModel zero{};
  zadaza::SOIL_MODEL = zero;
  ASSERT_EQ(zadaza::open_zadaza_file(path), 0);
  testing::internal::CaptureStdout();
  const bool read = zadaza::read_zadaza_file(zadaza::Generation::New);
  io::flush_all();
  testing::internal::GetCapturedStdout();
  io::close_binary_file(zadaza::ZADAZA_UNIT);
  ASSERT_TRUE(read);
}

std::string converted(const Generated& g, std::int32_t output_format) {
  convert::ConversionSettings settings;
  settings.MUDLINE_Z = -2.0;
  settings.COORD_FACTOR = g.coord_factor;
  settings.FORCE_SCALE = g.force_scale;
  settings.LENGTH_SCALE = 1.0;
  settings.ID_OFFSET = g.seed;
  settings.OUTPUT_FORMAT = output_format;
  settings.ACTIVE_DIAMETERS = app::count_active_diameters(zadaza::SOIL_MODEL.DIAM);
  const OutputCapture capture;
  EXPECT_TRUE(convert::G2KRANO(zadaza::SOIL_MODEL, settings, convert_test::workspace(),
                               convert_test::kOutputUnit));
  std::string text;
  for (const std::string& line : capture.lines()) text += line + "\r\n";
  return text;
}

// A stored point as its pair line writes it, read back from the pair layout's own columns.
template <class L>
std::pair<double, double> as_written(const L& pair_layout, double force, double displacement) {
  constexpr format::LineShape shape = format::line_shape(L{});
  std::string line(L::size({force, displacement}), ' ');
  L::render({force, displacement}, line.data());
  auto field = [&](std::size_t k) {
    return std::strtod(line.substr(shape.field[k].column, shape.field[k].width).c_str(), nullptr);
  };
  (void)pair_layout;
  return {field(0), field(1)};
}

// Returns the number of points compared.
std::size_t expect_store_read_back(const convert::MaterialStore& store,
                                   const soil::SoilFile& file, bool sesam) {
  std::size_t compared = 0;
  EXPECT_EQ(file.materials.size(), static_cast<std::size_t>(store.NMAT));
  if (file.materials.size() != static_cast<std::size_t>(store.NMAT)) return 0;
  for (std::int32_t m = 1; m <= store.NMAT; ++m) {
    // SESAM keeps store order; KNF orders identifiers, which the store holds ascending.
    const soil::Material& read = file.materials[static_cast<std::size_t>(m - 1)];
    SCOPED_TRACE("material " + std::to_string(store.MATID(m)));
    EXPECT_EQ(read.id, store.MATID(m));
    EXPECT_EQ(read.kind, store.MATTYP(m));
    EXPECT_EQ(read.elastoplastic, store.RMAT(convert::kRmatLaw, m) == convert::kElplcurvLaw);
    const auto n = static_cast<std::size_t>(store.RMAT(convert::kRmatPointCount, m));
    EXPECT_EQ(read.points.size(), n);
    if (read.points.size() != n) continue;
    compared += n;
    for (std::size_t k = 1; k <= n; ++k) {
      const int f = convert::rmat_force_of_pair(static_cast<int>(k));
      const double force = store.RMAT(f, m);
      const double displacement = store.RMAT(f + 1, m);
      const auto expected = sesam ? as_written(convert::kMisoplPair, force, displacement)
                                  : as_written(convert::kCurvePair, force, displacement);
      EXPECT_EQ(read.points[k - 1].force.value, expected.first) << "point " << k;
      EXPECT_EQ(read.points[k - 1].displacement.value, expected.second) << "point " << k;
    }
  }
  return compared;
}

void expect_layers_name_their_materials(const convert::MaterialStore& store,
                                        const soil::SoilFile& file) {
  std::int32_t m = 1;
  for (const soil::Block& block : file.blocks) {
    ASSERT_EQ(static_cast<int>(block.layers.size()),
              zadaza::layers_held(zadaza::SOIL_MODEL.NUM_LAYERS));
    for (const soil::Layer& layer : block.layers) {
      for (const std::int32_t id : layer.materials) EXPECT_EQ(id, store.MATID(m++));
    }
  }
  EXPECT_EQ(m - 1, store.NMAT);
}

TEST(ConvertedFiles, ReadBackAsTheConverterStoredThem) {
  std::size_t compared = 0;
  for (const Generated& g : generated_files()) {
    SCOPED_TRACE("seed " + std::to_string(g.seed) + ", " + std::to_string(g.layers) + " layers");
    read_generated(g);
    for (const std::int32_t output_format : {convert::kSesamFormat, convert::kKnfFormat}) {
      const soil::SoilFile file = soil::read_soil_file(converted(g, output_format));
      const bool sesam = output_format == convert::kSesamFormat;
      EXPECT_EQ(file.format, sesam ? soil::TableFormat::Sesam : soil::TableFormat::Knf);
      EXPECT_TRUE(file.problems.empty()) << file.problems.front().line << ": "
                                         << file.problems.front().what;
      EXPECT_TRUE(file.banners.empty());
      EXPECT_EQ(static_cast<int>(file.blocks.size()), std::min(g.in_use, 4));
      const convert::MaterialStore& store = convert_test::workspace().MATERIAL_STORE;
      compared += expect_store_read_back(store, file, sesam);
      expect_layers_name_their_materials(store, file);
    }
  }
  EXPECT_GT(compared, 10000U);
}

}  // namespace
