// Fixed-column fields holding one value each, of widths and digit counts known only at run
// time: the characters of Fw.d, Ew.d, 1PEw.d and Aw (fields.hpp has Iw and the quick E forms).
//
// Every function writes exactly `width` characters at `out`, right-aligned and blank-filled on
// the left; a value that does not fit is shown as `width` asterisks. Real fields show the
// digits of the exact binary value rounded to nearest, ties to even. Nothing is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace format {

// Fw.d: `digits` digits after the point; a lone 0 before the point only when a column is free.
void write_fixed_field(double value, std::size_t width, std::uint8_t digits, char* out);

// Ew.d: 0.d1...dd and a 4-character exponent (E+05, or +101 from an exponent of 100 on).
// `digits` is at least 1.
void write_exponent_field(double value, std::size_t width, std::uint8_t digits, char* out);

// 1PEw.d: one digit before the point, `digits` after it, and the exponent as in Ew.d.
void write_scaled_exponent_field(double value, std::size_t width, std::uint8_t digits, char* out);

// Aw: the value right-aligned when it is shorter than the field, else its first `width`
// characters.
void write_text_field(std::string_view value, std::size_t width, char* out);

}  // namespace format
