// Captures what the conversion writes on a unit: the unit is bound to a fresh temporary file
// and the lines are read back, CR LF checked and stripped.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "convert/workspace.hpp"
#include "io/units.hpp"
#include "support/test_support.hpp"

namespace convert_test {

inline constexpr int kOutputUnit = 91;

class OutputCapture {
 public:
  explicit OutputCapture(int unit = kOutputUnit) : unit_(unit) {
    EXPECT_EQ(io::bind_text_file(unit_, path_, false, false, true), 0) << path_;
  }
  ~OutputCapture() { io::close_unit(unit_); }
  OutputCapture(const OutputCapture&) = delete;
  OutputCapture& operator=(const OutputCapture&) = delete;

  // Everything written so far, as lines without their CR LF.
  std::vector<std::string> lines() const {
    io::flush_all();
    const std::string text = test_support::read_file(path_);
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        ADD_FAILURE() << "line without CR LF: " << text.substr(start);
        break;
      }
      result.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return result;
  }

 private:
  int unit_;
  test_support::TempDir folder_;
  std::string path_ = folder_.path("output.txt");
};

// The lines as one text, one per line, for readable failure messages.
inline std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

// The tests' own conversion workspace, large enough to stay off the stack.
inline convert::ConversionWorkspace& workspace() {
  static convert::ConversionWorkspace the_workspace;
  return the_workspace;
}

// The workspace's material store, emptied.
inline convert::MaterialStore& empty_store() {
  convert::MaterialStore& store = workspace().MATERIAL_STORE;
  store.NMAT = 0;
  store.MATID.element.fill(0);
  store.MATTYP.element.fill(0);
  store.RMAT.element.fill(0.0);
  return store;
}

// Appends a material with the given kind, identifier and leading reals RMAT(1..).
inline std::int32_t add_material(convert::MaterialStore& store, std::int32_t kind,
                                 std::int32_t id, std::initializer_list<double> reals = {}) {
  const std::int32_t m = ++store.NMAT;
  store.MATTYP(m) = kind;
  store.MATID(m) = id;
  int i = 1;
  for (const double r : reals) store.RMAT(i++, m) = r;
  return m;
}

}  // namespace convert_test
