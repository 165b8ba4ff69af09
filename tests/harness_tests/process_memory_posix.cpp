#include <malloc.h>

#include "process_memory.h"

namespace gage::harness {

std::size_t ProcessMemoryInUse() {
    return static_cast<std::size_t>(::mallinfo2().uordblks);
}

}  // namespace gage::harness
