#include "entry/engine_commands.h"

// Placeholder until the reading engine is in: these commands do nothing and answer 0.

namespace gage {

std::intptr_t InitGages(Runtime&, WindowHandle) { return 0; }
std::intptr_t InitPorts(Runtime&, WindowHandle) { return 0; }
std::intptr_t FlushPorts(Runtime&, WindowHandle) { return 0; }
std::intptr_t ClosePorts(Runtime&) { return 0; }
std::intptr_t ReadNamedGage(Runtime&, WindowHandle, const char*, unsigned) { return 0; }
std::intptr_t ReadNamedGageValue(Runtime&, WindowHandle, const char*) { return 0; }
std::intptr_t SendSubgroupCommand(Runtime&, WindowHandle, const char*, bool) { return 0; }

}  // namespace gage
