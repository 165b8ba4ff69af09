#include "support/builtin_controls.h"

namespace gage::builtin {

void ApplyEditFilter(WindowHandle, int, int, int, double, double) {}

void* ShowWaitCursor() {
    return nullptr;
}

}  // namespace gage::builtin
