// Error banners of the conversion. They go into the output file between the records already
// written: an empty line, then the text after two blanks.
#pragma once

#include <cstdint>
#include <string_view>

#include "format/layout.hpp"
#include "io/units.hpp"

namespace convert {

inline constexpr auto kBannerLine = format::layout<"(/,2X,A)">;
inline constexpr auto kLimitLine = format::layout<"(/,2X,A,I4)">;

// A banner such as "*** ERROR IN G2K_WMAT ***".
inline void write_banner(int unit, std::string_view banner) {
  io::write(unit, kBannerLine, {banner});
}

// The banner, then the limit that was exceeded, for example
// "*** Number of Materials Exceeds Max of " and 1000.
inline void write_limit_banner(int unit, std::string_view banner, std::string_view limit_text,
                               std::int32_t limit) {
  write_banner(unit, banner);
  io::write(unit, kLimitLine, {limit_text, limit});
}

}  // namespace convert
