#pragma once
// What the library does when the host loads it and when the host unloads it.

#include "entry/runtime.h"

namespace gage {

// Settles directories, settings and paths, starts sockets and loads the configuration.
void StartUp(Runtime& runtime, void* module);
// Closes every connection, frees the tables and stops sockets.
void ShutDown(Runtime& runtime);

}  // namespace gage
