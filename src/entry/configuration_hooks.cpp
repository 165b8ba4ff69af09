#include "entry/configuration_hooks.h"

namespace gage {

// Until the reading engine is in, loading opens nothing and sends nothing.
ConfigurationHooks MakeConfigurationHooks(Runtime&) { return {}; }

}  // namespace gage
