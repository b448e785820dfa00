// Standard curves from a profile (zadaza-make --profile) and the check of a ZADAZA file against
// them (zadaza-view --check), run as a user runs them.
#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "converter_adapter.hpp"
#include "families/curves.hpp"
#include "runs.hpp"

namespace {

using view_test::kConverter;
using view_test::kMaker;
using view_test::kViewer;
using view_test::Outcome;
using view_test::read_file;
using view_test::run;
using view_test::shell_quoted;
using view_test::TempDir;
using view_test::write_file;

// Soft clay, sand, stiff clay: 4 + 6 + 10 layers of 1 m.
constexpr const char* kProfile =
    "top,bottom,soil,unit_weight,su_top,su_bottom,eps50,J,t_res,phi,k,beta,f_lim,Nq,q_lim\n"
    "0,4,clay,6,10,30,0.02,0.5,0.8,,,,,,\n"
    "4,10,sand,9,,,,,,33,16000,0.29,15,12,600\n"
    "10,20,clay,8,15,120,0.005,0.25,0.9,,,,,,\n";
constexpr int kProfileLayers = 20;

void make_profile_file(const TempDir& dir, const std::string& loading) {
  write_file(dir / "profile.csv", kProfile);
  view_test::make_zadaza(
      dir, "--profile profile.csv --diameters 2.0,0.5 --loading " + loading + " soil.zdz");
}

Outcome check(const TempDir& dir, const std::string& file, const std::string& loading,
              const std::string& more = "") {
  return run(
      dir, shell_quoted(kViewer) + " --check profile.csv --loading " + loading + " " + file + more);
}

std::vector<std::string> curve_lines(const std::string& console) {
  std::vector<std::string> lines;
  std::istringstream in(console);
  for (std::string line; std::getline(in, line);) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.starts_with(" diameter ")) lines.push_back(line);
  }
  return lines;
}

// The file's description with one line changed by `edit`: the line of layer `layer`
// ("layer ZBOT ...") or of one of its curves ("py SLOT ..."), words in place.
using Edit = void (*)(std::vector<std::string>& words);

std::string edited(const std::string& description, int layer, const std::string& line_start,
                   Edit edit) {
  std::istringstream in(description);
  std::string out;
  int at_layer = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words_in(line);
    std::vector<std::string> words;
    for (std::string w; words_in >> w;) words.push_back(w);
    if (!words.empty() && words[0] == "layer") ++at_layer;
    if (at_layer == layer && line.starts_with(line_start)) {
      edit(words);
      line.clear();
      for (const std::string& w : words) line += w + " ";
    }
    out += line + "\n";
  }
  return out;
}

// Makes changed.zdz from soil.zdz with the edit.
void make_changed(const TempDir& dir, int layer, const std::string& line_start, Edit edit) {
  const Outcome decoded = run(dir, shell_quoted(kMaker) + " --decode soil.zdz");
  ASSERT_EQ(decoded.status, 0) << decoded.err;
  write_file(dir / "changed.txt", edited(decoded.out, layer, line_start, edit));
  view_test::make_zadaza(dir, "changed.txt changed.zdz");
}

TEST(ProfileCheck, AFileMadeFromTheProfileChecksCleanAndConverts) {
  for (const std::string loading : {"static", "cyclic"}) {
    SCOPED_TRACE(loading);
    const TempDir dir;
    make_profile_file(dir, loading);
    const Outcome checked = check(dir, "soil.zdz", loading, " -o check.html");
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    EXPECT_TRUE(curve_lines(checked.out).empty()) << checked.out;
    const std::string page = read_file(dir / "check.html");
    EXPECT_NE(page.find("data-layer=\"" + std::to_string(kProfileLayers) + "\""),
              std::string::npos);
    // The converter takes it as it is, and so does the viewer.
    const Outcome converted = run(dir, shell_quoted(kConverter),
                                  view_test::knf_answers("soil.zdz", "soil.knf", false, 0));
    EXPECT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(converted.err, "");
    EXPECT_EQ(run(dir, shell_quoted(kViewer) + " soil.zdz").status, 0);
  }
  // Checked against the other loading, the clay P-y curves differ.
  const TempDir dir;
  make_profile_file(dir, "static");
  EXPECT_EQ(check(dir, "soil.zdz", "cyclic").status, 1);
}

// A P-y curve's stresses scaled by 1.2.
void scale_stresses(std::vector<std::string>& words) {
  // py SLOT NPTS IORG PAR1 PAR2 PAR3, then stress and displacement of each point.
  for (std::size_t w = 7; w < words.size(); w += 2) {
    std::ostringstream scaled;
    scaled << std::setprecision(17) << std::stod(words[w]) * 1.2;
    words[w] = scaled.str();
  }
}

TEST(ProfileCheck, OneScaledCurveFailsAlone) {
  const TempDir dir;
  make_profile_file(dir, "static");
  make_changed(dir, 3, "py 1 ", scale_stresses);
  const Outcome checked = check(dir, "changed.zdz", "static");
  EXPECT_EQ(checked.status, 1) << checked.err;
  const std::vector<std::string> lines = curve_lines(checked.out);
  ASSERT_EQ(lines.size(), 1U) << checked.out;
  const std::string named = " diameter 2, layer 3, P-y: deviation ";
  ASSERT_TRUE(lines[0].starts_with(named)) << lines[0];
  // The clay curve reaches pu: 0.2 of it.
  EXPECT_NEAR(std::stod(lines[0].substr(named.size())), 0.2, 1e-12);
  // Within a tolerance above the change, it passes.
  EXPECT_EQ(check(dir, "changed.zdz", "static", " --tolerance 0.21").status, 0);
}

// The converter skips a diameter whose identifiers clash with an earlier one's: it has no
// springs to scale its curves to forces with. It is named on standard error and on the page,
// which draws none of its curves, and its curves are still checked on their stresses.
TEST(ProfileCheck, ADiameterTheConverterSkipsIsNamedAndStillChecked) {
  const struct {
    const char* why;
    Edit edit;  // of slot 2's P-y curve in layer 3; none: the file as made
    int status;
    std::vector<std::string> beyond;  // the curves beyond the tolerance
  } cases[] = {
      {"as made", nullptr, 0, {}},
      {"its curve scaled", scale_stresses, 1, {" diameter 1.5004, layer 3, P-y: deviation 0.2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const TempDir dir;
    write_file(dir / "profile.csv", kProfile);
    view_test::make_zadaza(dir,
                           "--profile profile.csv --diameters 1.5,1.5004 --loading static soil.zdz");
    if (c.edit != nullptr) make_changed(dir, 3, "py 2 ", c.edit);
    const Outcome checked = check(dir, c.edit ? "changed.zdz" : "soil.zdz", "static", " -o c.html");
    EXPECT_EQ(checked.status, c.status) << checked.err;
    std::vector<std::string> beyond = curve_lines(checked.out);
    // The deviation to 12 digits: the family's ultimate stress is the file's, times 1.2.
    for (std::string& line : beyond) {
      const std::size_t number = line.find("deviation ") + std::string("deviation ").size();
      std::ostringstream rounded;
      rounded << std::setprecision(12) << std::stod(line.substr(number));
      line = line.substr(0, number) + rounded.str();
    }
    EXPECT_EQ(beyond, c.beyond) << checked.out;
    EXPECT_NE(checked.err.find("diameter 1.5004 is skipped by the converter: "),
              std::string::npos)
        << checked.err;
    EXPECT_EQ(checked.err.find("diameter 1.5 is skipped"), std::string::npos) << checked.err;
    const std::string page = read_file(dir / "c.html");
    EXPECT_NE(page.find("data-skipped-diameter=\"1.5004\""), std::string::npos);
    EXPECT_NE(page.find("data-diameter=\"1.5\""), std::string::npos);
    EXPECT_EQ(page.find("data-diameter=\"1.5004\""), std::string::npos);
  }
}

TEST(ProfileCheck, ACurveWithoutPointsIsNoMatch) {
  const TempDir dir;
  make_profile_file(dir, "static");
  // Q-z of diameter 0.5 in layer 4: no points at all.
  make_changed(dir, 4, "qz 2 ", [](std::vector<std::string>& words) {
    words.resize(7);  // qz SLOT NPTS IORG PAR1 PAR2 PAR3
    words[2] = "0";
  });
  const Outcome checked = check(dir, "changed.zdz", "static");
  EXPECT_EQ(checked.status, 1) << checked.err;
  const std::vector<std::string> lines = curve_lines(checked.out);
  ASSERT_EQ(lines.size(), 1U) << checked.out;
  EXPECT_EQ(lines[0], " diameter 0.5, layer 4, Q-z: no point off the origin");
}

TEST(ProfileCheck, AMovedLayerIsCaught) {
  const TempDir dir;
  make_profile_file(dir, "static");
  // Layer 12's bottom from 12 m to 13.5 m: its curves and the next layer's sit too deep.
  make_changed(dir, 12, "layer ", [](std::vector<std::string>& words) { words[1] = "13.5"; });
  const Outcome checked = check(dir, "changed.zdz", "static");
  EXPECT_EQ(checked.status, 1) << checked.err;
  const std::vector<std::string> lines = curve_lines(checked.out);
  ASSERT_FALSE(lines.empty());
  for (const std::string& line : lines) {
    EXPECT_TRUE(line.find(", layer 12, ") != std::string::npos ||
                line.find(", layer 13, ") != std::string::npos)
        << line;
  }
}

TEST(ProfileCheck, ALayerBelowTheProfileIsAnError) {
  const TempDir dir;
  make_profile_file(dir, "static");
  make_changed(dir, kProfileLayers, "layer ",
               [](std::vector<std::string>& words) { words[1] = "25"; });
  const Outcome checked = check(dir, "changed.zdz", "static", " -o check.html");
  EXPECT_EQ(checked.status, 2);
  EXPECT_NE(checked.err.find("layer " + std::to_string(kProfileLayers) + " "), std::string::npos)
      << checked.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "check.html"));
}

TEST(ProfileCheck, AFileWithoutCurvesIsAnError) {
  const TempDir dir;
  write_file(dir / "profile.csv", kProfile);
  write_file(dir / "empty.txt", "label no layers\ngeneration new\ndiameters 2\n");
  view_test::make_zadaza(dir, "empty.txt empty.zdz");
  const Outcome checked = check(dir, "empty.zdz", "static");
  EXPECT_EQ(checked.status, 2);
  EXPECT_NE(checked.err.find("no curve to check"), std::string::npos) << checked.err;
}

struct BadRun {
  const char* why;
  std::string arguments;
  int status;
  const char* says;
};

TEST(ProfileCheck, RefusedRunsWriteNothing) {
  const std::string bad_row = std::string(kProfile) + "20,25,sand,9,,,,,,50,16000,0.29,15,12,600\n";
  const BadRun kRuns[] = {
      {"a value out of range", "--profile bad.csv --diameters 2 --loading static out.zdz", 1,
       "bad.csv: row 5, column phi"},
      {"too many layers",
       "--profile profile.csv --diameters 2 --loading static --spacing 0.2 out.zdz", 1,
       "raise --spacing"},
      {"no loading", "--profile profile.csv --diameters 2 out.zdz", 2, "--loading"},
      {"a diameter twice", "--profile profile.csv --diameters 2,2 --loading static out.zdz", 2,
       "--diameters"},
      {"a diameter of 0", "--profile profile.csv --diameters 0 --loading static out.zdz", 2,
       "--diameters"},
      {"a spacing of 0", "--profile profile.csv --diameters 2 --loading cyclic --spacing 0 out.zdz",
       2, "--spacing"},
      {"the profile as output", "--profile profile.csv --diameters 2 --loading static profile.csv",
       1, "is the profile"},
      {"values that overflow", "--profile huge.csv --diameters 2 --loading static out.zdz", 1,
       "row 2: the curves at depth 0.5 m"},
      {"a label longer than a file holds",
       "--profile profile.csv --diameters 2 --loading static --label " +
           std::string(std::tuple_size_v<decltype(zadaza::SoilModel::ANALYSIS_LABEL)> + 1, 'x') +
           " out.zdz",
       2, "--label"},
      {"a missing profile", "--profile none.csv --diameters 2 --loading static out.zdz", 1,
       "none.csv"},
  };
  for (const BadRun& r : kRuns) {
    SCOPED_TRACE(r.why);
    const TempDir dir;
    write_file(dir / "profile.csv", kProfile);
    write_file(dir / "bad.csv", bad_row);
    write_file(dir / "huge.csv",
               std::string(kProfile).replace(std::string(kProfile).find("0,4,clay,6,10"), 13,
                                             "0,4,clay,6,1e308"));
    write_file(dir / "out.zdz", "earlier");
    const Outcome made = run(dir, shell_quoted(kMaker) + " " + r.arguments);
    EXPECT_EQ(made.status, r.status);
    EXPECT_NE(made.err.find(r.says), std::string::npos) << made.err;
    // The earlier file as it was, the inputs too, and no temporary file left.
    EXPECT_EQ(read_file(dir / "out.zdz"), "earlier");
    EXPECT_EQ(read_file(dir / "profile.csv"), kProfile);
    EXPECT_EQ(test_support::file_names(dir.dir()).size(), 4U);
  }
}

// The layer records, read back by the converter's reader, against values worked out by hand.
TEST(ProfileCheck, LayersHoldTheirSoilAndCurveHeadings) {
  const TempDir dir;
  make_profile_file(dir, "static");
  ASSERT_EQ(view::read_zadaza((dir / "soil.zdz").string(), false), view::ReadOutcome::Read);
  const zadaza::SoilModel& m = view::soil_model();
  ASSERT_EQ(m.NUM_LAYERS, kProfileLayers);
  ASSERT_EQ(m.NUM_DIAMETERS, 2);
  EXPECT_EQ(m.DIAM(1), 2.0);
  EXPECT_EQ(m.DIAM(2), 0.5);
  struct LayerValues {
    int layer;
    std::array<double, families::kLayerSoilFields> soil;
  };
  // unit weight, phi, su at X, 0, 0, eps50, J, k, s, X
  const LayerValues kLayers[] = {
      {2, {6.0, 0.0, 17.5, 0.0, 0.0, 0.02, 0.5, 0.0, 9.0, 1.5}},
      {5, {9.0, 33.0, 0.0, 0.0, 0.0, 0.0, 0.0, 16000.0, 28.5, 4.5}},
      {20, {8.0, 0.0, 114.75, 0.0, 0.0, 0.005, 0.25, 0.0, 154.0, 19.5}},
  };
  for (const LayerValues& l : kLayers) {
    SCOPED_TRACE(l.layer);
    EXPECT_DOUBLE_EQ(m.ZBOT(l.layer), l.layer);
    for (std::size_t f = 0; f < l.soil.size(); ++f) {
      EXPECT_NEAR(m.LAYER_SOIL(static_cast<int>(f + 1), l.layer), l.soil[f], 1e-12 * l.soil[f])
          << f;
    }
    for (int slot = 1; slot <= 2; ++slot) {
      for (const auto* count : {&m.NPTS_PY, &m.NPTS_TZ, &m.NPTS_QZ}) {
        EXPECT_EQ((*count)(slot, l.layer), families::kCurvePoints);
      }
      for (const auto* origin : {&m.IORG_PY, &m.IORG_TZ, &m.IORG_QZ}) {
        EXPECT_EQ((*origin)(slot, l.layer), families::kOriginPoint);
      }
      EXPECT_EQ(m.QZ_PAR(3, slot, l.layer), 0.0);
      EXPECT_EQ(m.PY_PAR(3, slot, l.layer), m.PY_PAR(1, slot, l.layer));
    }
  }
  // pu of layer 2 at D 2 (as expected_curves.py works it out), PAR 1 of its P-y curve.
  EXPECT_NEAR(m.PY_PAR(1, 1, 2), 68.0625, 1e-12 * 68.0625);
  EXPECT_EQ(m.SCOUR_Z, 0.0);
  EXPECT_EQ(m.NUM_DSP, 0);
  EXPECT_EQ(std::string(m.ANALYSIS_LABEL.data(), 11), "profile.csv");
}

}  // namespace
