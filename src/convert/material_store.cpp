#include "convert/material_store.hpp"

namespace convert {

MaterialStore MATERIAL_STORE;

}  // namespace convert
