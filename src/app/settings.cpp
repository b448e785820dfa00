#include "app/settings.hpp"

namespace app {

ConversionSettings CONVERSION_SETTINGS;
std::int32_t RUN_STATUS = 0;

}  // namespace app
