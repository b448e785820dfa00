// The material store: every material the conversion builds, written out after the last
// diameter by the material table writer. This header is the one place that knows where a
// spring curve material keeps its fields in RMAT.
#pragma once

#include <cstdint>

#include "io/array.hpp"

namespace convert {

inline constexpr int kMaxMaterials = 2000;
inline constexpr int kMaterialRecordLength = 58;

// Positions of a spring curve material's fields in its record RMAT(., m), counted from 1.
inline constexpr int kRmatLaw = 1;          // 4 elasto-plastic (ELPLCURV), 2 hyper-elastic
inline constexpr int kRmatFirstUnused = 2;  // 2 to 7 stay zero
inline constexpr int kRmatLastUnused = 7;
inline constexpr int kRmatPointCount = 8;  // number of (force, displacement) pairs
inline constexpr int kRmatFirstPair = 9;   // then force, displacement, force, ...

// The position of the force of pair k (from 1); its displacement follows it.
constexpr int rmat_force_of_pair(int k) { return kRmatFirstPair + 2 * (k - 1); }

// Pairs up to the end of the record.
inline constexpr int kMaxRecordPairs = (kMaterialRecordLength - kRmatFirstPair + 1) / 2;

// Material kinds known to the writers; the conversion itself builds only spring curves.
inline constexpr std::int32_t kMisoiepKind = 1;
inline constexpr std::int32_t kSpringCurveKind = 2;
inline constexpr std::int32_t kSpringReferenceKind = 3;
inline constexpr std::int32_t kSpringMatrixKind = 5;
inline constexpr std::int32_t kElasticKind = 10;
inline constexpr std::int32_t kCompsKind = 12;
inline constexpr std::int32_t kBearingKind = 18;

struct MaterialStore {
  std::int32_t NMAT = 0;                                         // materials 1..NMAT are valid
  io::Array<std::int32_t, kMaxMaterials> MATID;                  // identifier of material m
  io::Array<std::int32_t, kMaxMaterials> MATTYP;                 // kind of material m
  io::Array<double, kMaterialRecordLength, kMaxMaterials> RMAT;  // RMAT(value, m)
};

}  // namespace convert
