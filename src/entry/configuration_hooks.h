#pragma once
// Binds the configuration loader's hooks to the reading engine and the channels of a runtime.

#include "config/configuration_file.h"
#include "entry/runtime.h"

namespace gage {

ConfigurationHooks MakeConfigurationHooks(Runtime& runtime);

}  // namespace gage
