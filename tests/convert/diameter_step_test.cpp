#include "convert/diameter_step.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "convert/identifiers.hpp"
#include "output_capture.hpp"

namespace {

using convert::DiameterOutcome;
using convert_test::kOutputUnit;
using convert_test::OutputCapture;

constexpr auto Built = DiameterOutcome::Built;
constexpr auto OutOfRange = DiameterOutcome::IdentifiersOutOfRange;
constexpr auto AlreadyUsed = DiameterOutcome::IdentifiersAlreadyUsed;

constexpr std::int32_t kLayers = 2;

struct StepCase {
  const char* name;
  std::vector<double> diameters;
  std::int32_t offset;
  std::int32_t format;
  std::vector<DiameterOutcome> outcomes;
};

const StepCase kCases[] = {
    {"Distinct", {1.5, 2.0, 762.0}, 0, convert::kKnfFormat, {Built, Built, Built}},
    {"SameCodes", {1.5, 1.5004}, 0, convert::kKnfFormat, {Built, AlreadyUsed}},
    {"SameSoilIdOnly", {10.5, 10.6}, 0, convert::kSesamFormat, {Built, AlreadyUsed}},
    {"SameCodeFromMetresAndMillimetres",
     {1.5, 1500.0},
     0,
     convert::kKnfFormat,
     {Built, AlreadyUsed}},
    {"ClashWithASkippedOneIsNoClash",
     {3e9, 3e9, 0.9},
     0,
     convert::kKnfFormat,
     {OutOfRange, OutOfRange, Built}},
    {"OutOfRangeThenAClashWithTheFirstBuilt",
     {2.0, 3e9, 2.0004},
     0,
     convert::kSesamFormat,
     {Built, OutOfRange, AlreadyUsed}},
    {"SesamFieldNarrowerThanKnf", {200000.0}, 0, convert::kSesamFormat, {OutOfRange}},
    {"KnfFieldTakesIt", {200000.0}, 0, convert::kKnfFormat, {Built}},
    {"NotFinite",
     {std::numeric_limits<double>::quiet_NaN(), 1.0},
     0,
     convert::kKnfFormat,
     {OutOfRange, Built}},
};

zadaza::SoilModel& model_of(const std::vector<double>& diameters) {
  static zadaza::SoilModel model;
  model = zadaza::SoilModel{};
  model.NUM_LAYERS = kLayers;
  for (std::int32_t j = 1; j <= kLayers; ++j) model.ZBOT(j) = j;
  for (std::size_t i = 0; i < diameters.size(); ++i) {
    const auto slot = static_cast<std::int32_t>(i + 1);
    model.DIAM(slot) = diameters[i];
    for (std::int32_t j = 1; j <= kLayers; ++j) model.PY_P(2, slot, j) = 1.0;
  }
  return model;
}

// Each diameter's outcome as G2KRANO decides it; a built one's materials follow the ones
// before it and carry its identifiers; a skipped one adds nothing; the step writes nothing,
// so the viewer can run it with no file bound.
TEST(DiameterStep, DecidesAsTheConversionAndBuildsOnlyWhatItKeeps) {
  for (const StepCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const zadaza::SoilModel& model = model_of(c.diameters);
    convert::ConversionSettings settings;
    settings.ID_OFFSET = c.offset;
    settings.OUTPUT_FORMAT = c.format;
    convert::ConversionWorkspace& workspace = convert_test::workspace();
    OutputCapture out;
    convert::begin_conversion(workspace);
    std::int32_t built = 0;
    for (std::size_t i = 0; i < c.diameters.size(); ++i) {
      std::int32_t status = 0;
      const auto slot = static_cast<std::int32_t>(i + 1);
      const convert::ConvertedDiameterStep step =
          convert::convert_diameter(model, settings, slot, workspace, kOutputUnit, status);
      EXPECT_EQ(step.outcome, c.outcomes[i]) << "diameter " << c.diameters[i];
      EXPECT_EQ(status, 0);
      if (step.outcome != Built) {
        EXPECT_FALSE(convert::skip_reason(step.outcome).empty());
        continue;
      }
      EXPECT_TRUE(convert::skip_reason(step.outcome).empty());
      EXPECT_EQ(step.Soil_ID, convert::soil_id(c.diameters[i]));
      EXPECT_EQ(step.first_material, 3 * kLayers * built + 1);
      EXPECT_EQ(workspace.MATERIAL_STORE.MATID(step.first_material + 3 * kLayers - 1),
                convert::MAT_ID(c.diameters[i], kLayers, convert::kQzCurve, c.offset));
      ++built;
    }
    EXPECT_EQ(workspace.MATERIAL_STORE.NMAT, 3 * kLayers * built);
    EXPECT_EQ(workspace.skipped_diameters, static_cast<std::int32_t>(c.diameters.size()) - built);
    EXPECT_TRUE(out.lines().empty());
  }
}

}  // namespace
