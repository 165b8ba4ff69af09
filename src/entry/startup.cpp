#include "entry/startup.h"

namespace gage {

void StartUp(Runtime& runtime, void* module) { runtime.support.SetModule(module); }

void ShutDown(Runtime& runtime) { runtime.TearDown(); }

}  // namespace gage
