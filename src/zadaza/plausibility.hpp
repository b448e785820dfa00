// Checks of a ZADAZA file that read without error but whose data look wrong. Each finding is a
// warning on standard error; the run goes on and its output is unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "zadaza/soil_model.hpp"

namespace zadaza {

// One finding, as the text of its warning line (without "warning: "), held in fixed storage.
class Finding {
 public:
  static constexpr std::size_t kLength = 320;  // the longest finding with room to spare
  // Appends the pieces; what does not fit is cut.
  void append(std::initializer_list<std::string_view> pieces);
  std::string_view text() const { return {text_.data(), length_}; }

 private:
  std::array<char, kLength> text_{};
  std::size_t length_ = 0;
};

// The findings of one check of a model, in the order of the checks: the layer order, the
// layers above the mudline, every repeated diameter, then the three curve checks.
struct Findings {
  static constexpr std::size_t kMost = 2 + (MAX_PILES - 1) + 3;
  std::array<Finding, kMost> found{};
  std::size_t count = 0;
  Finding& add() { return found[count++]; }
};

// Finds when layer bottoms do not increase in depth; when, with a mudline other than 0, a layer
// bottom lies at or above the mudline depth abs(MUDLINE_Z) (naming its level,
// (ZBOT - abs(MUDLINE_Z)) * COORD_FACTOR); when one of the first `active_diameters` diameters
// repeats another; and, for the curves of the diameters in use, when a displacement decreases
// before the curve's tail of (0, 0) points, and when such a tail follows non-zero points;
// and when a curve of a diameter in use holds a value that is not finite.
Findings find_implausible(const SoilModel& model, std::int32_t active_diameters,
                          double MUDLINE_Z, double COORD_FACTOR);

// Writes each finding of find_implausible as one line "warning: <finding>" on standard error.
void warn_implausible(const SoilModel& model, std::int32_t active_diameters, double MUDLINE_Z,
                      double COORD_FACTOR);

}  // namespace zadaza
