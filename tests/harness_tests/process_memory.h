#pragma once
// How much memory the process holds, for tests that load and unload the library many times and
// must see it give back what it took (process_memory_posix.cpp / process_memory_win32.cpp).

#include <cstddef>

namespace gage::harness {

// Bytes the process has allocated and not freed, as well as the platform can tell; 0 when it
// cannot (the sanitizer builds check for leaks themselves).
std::size_t ProcessMemoryInUse();

}  // namespace gage::harness
