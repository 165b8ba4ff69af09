#pragma once
// Loading BRW_GAGE.CFG into the runtime's tables, at start-up and after the configuration dialog.

#include "entry/runtime.h"
#include "support/window_handle.h"

namespace gage {

// Loads the settled configuration file (with BRW_GAGE.DEF) into the tables; window owns the
// message boxes of opening and initialising. 1 when the file was accepted.
int LoadRuntimeConfiguration(Runtime& runtime, WindowHandle window);

// What command 3 does once its dialog has saved the file: every connection closed and the tables
// freed, then the file loaded again.
void ReloadConfiguration(Runtime& runtime, WindowHandle window);

}  // namespace gage
