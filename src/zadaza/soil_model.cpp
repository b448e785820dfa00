#include "zadaza/soil_model.hpp"

namespace zadaza {

SoilModel SOIL_MODEL;

}  // namespace zadaza
