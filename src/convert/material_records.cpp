#include "convert/material_records.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "convert/record_layouts.hpp"
#include "convert/rounding.hpp"
#include "io/units.hpp"

namespace convert {

namespace {

// Off-diagonal entries of the spring matrix that decide between the full and the diagonal
// record; the entries from 18 on are not looked at.
constexpr std::array<int, 14> kFullMatrixProbe{2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 16, 17};
// The single-precision 1.0E-6, widened.
constexpr double kFullMatrixFloor = static_cast<double>(1.0E-6F);

double rmat(const MaterialStore& store, int i, std::int32_t m) { return store.RMAT(i, m); }

// A stored point count, kept within what one record can hold.
std::int32_t record_pairs(std::int32_t n) { return std::clamp(n, 0, kMaxRecordPairs); }

void write_misoiep(const MaterialStore& s, std::int32_t m, int unit) {
  io::write(unit, kMisoiep,
            {s.MATID(m), rmat(s, 1, m), rmat(s, 2, m), rmat(s, 3, m), rmat(s, 4, m), rmat(s, 5, m)});
}

void write_spring_curve(const MaterialStore& s, std::int32_t m, int unit) {
  const bool elastoplastic = integer_part(rmat(s, kRmatLaw, m)) == kElplcurvLaw;
  if (elastoplastic) {
    io::write(unit, kElplcurv, {s.MATID(m)});
  } else {
    io::write(unit, kHypelast, {s.MATID(m)});
  }
  const std::int32_t n = record_pairs(integer_part(rmat(s, kRmatPointCount, m)));
  for (int k = 1; k <= n; ++k) {
    const int f = rmat_force_of_pair(k);
    io::write(unit, kCurvePair, {rmat(s, f, m), rmat(s, f + 1, m)});
  }
}

// A reference is a store position; positions of the store's materials are written as their
// identifiers, anything else as it stands.
std::int32_t reference_id(const MaterialStore& s, double stored) {
  const std::int32_t r = NINT(stored);
  return r >= 1 && r <= s.NMAT ? s.MATID(r) : r;
}

void write_spring_reference(const MaterialStore& s, std::int32_t m, int unit) {
  io::write(unit, kMref,
            {s.MATID(m), reference_id(s, rmat(s, 1, m)), reference_id(s, rmat(s, 2, m)),
             reference_id(s, rmat(s, 3, m)), reference_id(s, rmat(s, 4, m)),
             reference_id(s, rmat(s, 5, m)), reference_id(s, rmat(s, 6, m))});
}

bool needs_full_matrix(const MaterialStore& s, std::int32_t m) {
  double sum = 0.0;
  for (const int i : kFullMatrixProbe) sum += std::fabs(rmat(s, i, m));
  return sum >= kFullMatrixFloor;
}

void write_spring_matrix(const MaterialStore& s, std::int32_t m, int unit) {
  if (needs_full_matrix(s, m)) {
    io::write(unit, kSprifull, {s.MATID(m)});
    for (int j = 1; j <= 6; ++j) {
      const int f = 6 * j - 5;
      io::write(unit, kSprifullRow,
                {rmat(s, f, m), rmat(s, f + 1, m), rmat(s, f + 2, m), rmat(s, f + 3, m),
                 rmat(s, f + 4, m), rmat(s, f + 5, m)});
    }
    return;
  }
  io::write(unit, kSpridiag, {s.MATID(m), rmat(s, 1, m), rmat(s, 8, m), rmat(s, 15, m)});
  io::write(unit, kSpridiagRest, {rmat(s, 22, m), rmat(s, 29, m), rmat(s, 36, m)});
}

void write_elastic(const MaterialStore& s, std::int32_t m, int unit) {
  io::write(unit, kElastic,
            {s.MATID(m), rmat(s, 1, m), rmat(s, 2, m), rmat(s, 3, m), rmat(s, 4, m), rmat(s, 5, m)});
}

void write_comps(const MaterialStore& s, std::int32_t m, int unit) {
  io::write(unit, kComps,
            {s.MATID(m), rmat(s, 1, m), rmat(s, 2, m), rmat(s, 3, m), rmat(s, 4, m), rmat(s, 5, m),
             rmat(s, 6, m), rmat(s, 7, m)});
}

void write_bearing(const MaterialStore& s, std::int32_t m, int unit) {
  io::write(unit, kBearing, {s.MATID(m), rmat(s, 2, m), rmat(s, 3, m), rmat(s, 4, m)});
  io::write(unit, kBearingRest, {rmat(s, 5, m), rmat(s, 6, m), rmat(s, 7, m)});
}

}  // namespace

void write_sesam_record(const MaterialStore& store, std::int32_t m, int unit) {
  // A count beyond the record's room is written as the number of pairs actually there, so the
  // record stays readable.
  const std::int32_t n = std::min(NINT(rmat(store, kRmatPointCount, m)), kMaxRecordPairs);
  io::write(unit, kMisoplLine1,
            {kMisopl, static_cast<double>(store.MATID(m)), rmat(store, kRmatLaw, m), 0.0, 0.0});
  io::write(unit, kMisoplLine2, {0.0, 0.0, 0.0, 0.0});
  io::write(unit, kMisoplCount, {n});
  for (int k = 1; k <= n; ++k) {
    const int f = rmat_force_of_pair(k);
    io::write(unit, kMisoplPair, {rmat(store, f, m), rmat(store, f + 1, m)});
  }
}

void write_knf_heading(std::int32_t kind, int unit) {
  switch (kind) {
    case kElasticKind: io::write(unit, kElasticHeading); break;
    case kMisoiepKind: io::write(unit, kMisoiepHeading); break;
    case kSpringMatrixKind: io::write(unit, kSpringMatrixHeading); break;
    case kSpringCurveKind: io::write(unit, kSpringCurveHeading); break;
    case kSpringReferenceKind: io::write(unit, kSpringReferenceHeading); break;
    case kCompsKind: io::write(unit, kCompsHeading); break;
    case kBearingKind: io::write(unit, kBearingHeading); break;
    default: break;
  }
}

void write_knf_record(const MaterialStore& store, std::int32_t m, std::int32_t kind, int unit) {
  switch (kind) {
    case kElasticKind: write_elastic(store, m, unit); break;
    case kMisoiepKind: write_misoiep(store, m, unit); break;
    case kSpringMatrixKind: write_spring_matrix(store, m, unit); break;
    case kSpringCurveKind: write_spring_curve(store, m, unit); break;
    case kSpringReferenceKind: write_spring_reference(store, m, unit); break;
    case kCompsKind: write_comps(store, m, unit); break;
    case kBearingKind: write_bearing(store, m, unit); break;
    default: break;
  }
}

}  // namespace convert
