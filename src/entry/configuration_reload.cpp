#include "entry/configuration_reload.h"

#include "config/configuration_file.h"
#include "entry/configuration_hooks.h"

namespace gage {

int LoadRuntimeConfiguration(Runtime& runtime, WindowHandle window) {
    return LoadConfiguration({runtime.gages, runtime.connections}, window,
                             runtime.settings.ConfigurationPath, runtime.settings.DefinitionsPath,
                             MakeConfigurationHooks(runtime));
}

void ReloadConfiguration(Runtime& runtime, WindowHandle window) {
    runtime.TearDown();
    LoadRuntimeConfiguration(runtime, window);  // a refused file leaves the tables empty
}

}  // namespace gage
