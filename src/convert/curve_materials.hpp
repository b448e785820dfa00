// Spring curve materials: the scaled curves of one diameter become thinned spring materials.
#pragma once

#include <cstdint>
#include <span>

#include "convert/workspace.hpp"

namespace convert {

// Appends, per layer 1..NUM_LAYERS, the P-y, T-z and Q-z materials of diameter D built from the
// workspace's PYCRV, TZCRV and QZCRV (kind 2, curve law 4, 4 and 2, near-duplicate points
// dropped) to its material store, raising NMAT by 3 per layer. The caller makes sure the
// store has room for them. More than 100 points per curve writes the G2K_MATR error lines on
// OUTPUT_UNIT, sets `status` to -1 and builds nothing.
void G2K_MATR(ConversionWorkspace& workspace, std::int32_t NUM_LAYERS,
              std::int32_t points_per_curve, std::int32_t ID_OFFSET, double D, int OUTPUT_UNIT,
              std::int32_t& status);

// Copies the n (force, displacement) pairs of `curve` to the front of `buffer`, leaving out
// every pair that equals the last pair kept within 1 %, and returns the kept count in n.
void CRV_THIN(std::span<const double> curve, std::span<double> buffer, std::int32_t& n);

// Whether candidate x counts as equal to reference r: the ratio r / x lies strictly within
// 1 -/+ tol; magnitudes below 1.0E-99 count as zero, and zero equals only zero.
bool SAME_REL(double x, double r, double tol);

// Fill and copy reals, two per (force, displacement) pair.
void R_FILL(std::span<double> array, std::int32_t pairs, double value);
void R_COPY(std::span<const double> source, std::span<double> destination, std::int32_t pairs);

}  // namespace convert
