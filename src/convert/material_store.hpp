// The material store: every material the conversion builds, written out after the last
// diameter by the material table writer. This header is the one place that knows where a
// spring curve material keeps its fields in RMAT.
#pragma once

#include <cstdint>

#include "io/array.hpp"

namespace convert {

inline constexpr int MAX_MATERIALS = 2000;
inline constexpr int MATERIAL_RECORD_LENGTH = 58;

// Positions of a spring curve material's fields in its record RMAT(., m), counted from 1.
inline constexpr int RMAT_LAW = 1;           // 4 elasto-plastic (ELPLCURV), 2 hyper-elastic
inline constexpr int RMAT_FIRST_UNUSED = 2;  // 2 to 7 stay zero
inline constexpr int RMAT_LAST_UNUSED = 7;
inline constexpr int RMAT_POINT_COUNT = 8;  // number of (force, displacement) pairs
inline constexpr int RMAT_FIRST_PAIR = 9;   // then force, displacement, force, ...

// The position of the force of pair k (from 1); its displacement follows it.
constexpr int rmat_force_of_pair(int k) { return RMAT_FIRST_PAIR + 2 * (k - 1); }

// Pairs up to the end of the record.
inline constexpr int MAX_RECORD_PAIRS = (MATERIAL_RECORD_LENGTH - RMAT_FIRST_PAIR + 1) / 2;

// Material kinds known to the writers; the conversion itself builds only spring curves.
inline constexpr std::int32_t MISOIEP_KIND = 1;
inline constexpr std::int32_t SPRING_CURVE_KIND = 2;
inline constexpr std::int32_t SPRING_REFERENCE_KIND = 3;
inline constexpr std::int32_t SPRING_MATRIX_KIND = 5;
inline constexpr std::int32_t ELASTIC_KIND = 10;
inline constexpr std::int32_t COMPS_KIND = 12;
inline constexpr std::int32_t BEARING_KIND = 18;

struct MaterialStore {
  std::int32_t NMAT = 0;                                          // materials 1..NMAT are valid
  io::Array<std::int32_t, MAX_MATERIALS> MATID;                   // identifier of material m
  io::Array<std::int32_t, MAX_MATERIALS> MATTYP;                  // kind of material m
  io::Array<double, MATERIAL_RECORD_LENGTH, MAX_MATERIALS> RMAT;  // RMAT(value, m)
};

}  // namespace convert
