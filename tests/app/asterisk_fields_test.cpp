// Values too wide for their fields: the files keep the asterisks the layouts write, the soil
// file's run fails naming the first such field, the echo report's run only warns.
#include <cstddef>
#include <sstream>
#include <string>

#include "converter_run.hpp"

namespace {

using namespace converter_test;

struct WideValue {
  const char* name;
  std::string first_layer;  // replaces the example's first layer line's start
  std::string force_scale;
  std::string echo;         // the answer to the echo question
  const char* written;      // the file holding the asterisks
  std::string error_start;  // standard error's line starts so, up to the line number
  std::string field_form;
  std::string value;
  int exit_status;
  std::string outcome;
};

const std::string kExampleFirstLayer = "layer 2.0 9.819 38 ";

// The 1-based number of the first line of `text` holding an asterisk, and the 1-based columns
// of its first run of them; {0, 0, 0} when there is none.
struct FirstAsterisks {
  std::size_t line = 0;
  std::size_t first_column = 0;
  std::size_t last_column = 0;
};

FirstAsterisks first_asterisks(const std::string& text) {
  std::istringstream lines(text);
  std::size_t number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    const std::size_t at = line.find('*');
    if (at == std::string::npos) continue;
    const std::size_t end = line.find_first_not_of('*', at);
    return {number, at + 1, (end == std::string::npos ? line.size() : end)};
  }
  return {};
}

class WideValues : public ConverterRun, public ::testing::WithParamInterface<WideValue> {};

TEST_P(WideValues, KeepTheAsterisksAndNameTheFirstField) {
  const WideValue& c = GetParam();
  std::string description = read_file(fs::path(ZZ_SOURCE_DIR) / "examples" / "soil.txt");
  const std::size_t layer = description.find(kExampleFirstLayer);
  ASSERT_NE(layer, std::string::npos);
  description.replace(layer, kExampleFirstLayer.size(), c.first_layer);
  test_support::write_file(base_ / "soil.txt", description);
  const Outcome made = test_support::run_program(
      {{ZZ_MAKE_TOOL, (base_ / "soil.txt").string(), "soil.zdz"}, work().string()});
  ASSERT_EQ(made.exit_status, 0) << made.errors;

  const Outcome run =
      this->run("N\nsoil.zdz\nP\n0\n" + c.force_scale + "\n1\n0\n1\n\n" + c.echo + "\n");

  EXPECT_EQ(run.exit_status, c.exit_status) << run.errors;
  EXPECT_TRUE(run.console.ends_with(c.outcome)) << run.console;
  // The layouts' asterisks stay in the file: the line and columns named are where they are.
  const FirstAsterisks at = first_asterisks(read_file(work() / c.written));
  ASSERT_NE(at.line, 0U) << c.written << " holds no asterisks";
  const std::string named = c.error_start + " '" + c.written + "' line " +
                            std::to_string(at.line) + ", columns " +
                            std::to_string(at.first_column) + "-" +
                            std::to_string(at.last_column) + " (" + c.field_form +
                            "): the value " + c.value + " is too wide for its field";
  EXPECT_NE(run.errors.find(named), std::string::npos) << named << "\n" << run.errors;
  EXPECT_EQ(files().count("soil.zdz.fem"), 1U);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, WideValues,
    ::testing::Values(
        WideValue{"SoilcharHeadingField", kExampleFirstLayer, "1e20", "N", "soil.zdz.fem",
                  "zadaza2krano: output file", "F10.3", "1e+20", 3, kFailed},
        WideValue{"LayerLevelField", "layer 5e10 9.819 38 ", "1", "N", "soil.zdz.fem",
                  "zadaza2krano: output file", "F12.2", "5e+10", 3, kFailed},
        WideValue{"EchoReportWarnsOnly", "layer 2.0 9.819 1e9 ", "1", "Y", "soil.zdz.echo",
                  "zadaza2krano: warning: echo file", "F7.1", "1e+09", 0, kCompleted}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
