#pragma once
// The single runtime that the loaded library serves the host from.

#include "entry/runtime.h"

namespace gage {

// Creates the runtime and runs the start-up sequence (library load).
void StartLibrary(void* module);
// Runs the shutdown sequence and destroys the runtime (library unload).
void StopLibrary();
// The live runtime, or null outside load and unload.
Runtime* LibraryRuntime();

}  // namespace gage
