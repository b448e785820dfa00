// The material store: every material the conversion builds, written out after the last
// diameter by the material table writer.
#pragma once

#include <cstdint>

#include "zadaza/soil_model.hpp"

namespace convert {

inline constexpr int MAX_MATERIALS = 2000;
inline constexpr int MATERIAL_RECORD_LENGTH = 58;
// 8 header values, then (force, displacement) pairs up to the end of the record.
inline constexpr int MAX_RECORD_PAIRS = (MATERIAL_RECORD_LENGTH - 8) / 2;

// Material kinds known to the writers; the conversion itself builds only spring curves.
inline constexpr std::int32_t MISOIEP_KIND = 1;
inline constexpr std::int32_t SPRING_CURVE_KIND = 2;
inline constexpr std::int32_t SPRING_REFERENCE_KIND = 3;
inline constexpr std::int32_t SPRING_MATRIX_KIND = 5;
inline constexpr std::int32_t ELASTIC_KIND = 10;
inline constexpr std::int32_t COMPS_KIND = 12;
inline constexpr std::int32_t BEARING_KIND = 18;

struct MaterialStore {
  std::int32_t NMAT = 0;                                  // materials 1..NMAT are valid
  zadaza::Array<std::int32_t, MAX_MATERIALS> MATID;       // identifier of material m
  zadaza::Array<std::int32_t, MAX_MATERIALS> MATTYP;      // kind of material m
  zadaza::Array<double, MATERIAL_RECORD_LENGTH, MAX_MATERIALS> RMAT;  // RMAT(value, m)
};

// The store of the run, filled by G2KRANO.
extern MaterialStore MATERIAL_STORE;

}  // namespace convert
