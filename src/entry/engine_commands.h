#pragma once
// The commands that reach the reading engine and the channels: initialising gages, opening,
// flushing and closing ports, reads and subgroup commands.

#include <cstdint>

#include "entry/runtime.h"
#include "reading/read_context.h"

namespace gage {

// The reading engine's view of the runtime, on the system clock.
ReadContext EngineContext(Runtime& runtime);

std::intptr_t InitGages(Runtime& runtime, WindowHandle window);   // 1
std::intptr_t InitPorts(Runtime& runtime, WindowHandle window);   // 10
std::intptr_t FlushPorts(Runtime& runtime, WindowHandle window);  // 12
std::intptr_t ClosePorts(Runtime& runtime);                       // 13
// 8 and 14: the address of runtime.readingResult, or 0.
std::intptr_t ReadNamedGage(Runtime& runtime, WindowHandle window, const char* name,
                            unsigned options);
// 11: the address of runtime.readValue, an 8-byte double holding the value of the last gage of
// that name read (NO_VALUE, kNoValueBits, when none matched); valid until the next command 11.
std::intptr_t ReadNamedGageValue(Runtime& runtime, WindowHandle window, const char* name);
// 16 and 17: sends each chosen gage's subgroup start or end command; always 1.
std::intptr_t SendSubgroupCommand(Runtime& runtime, WindowHandle window, const char* name,
                                  bool start);

}  // namespace gage
