#include <windows.h>

#include "support/builtin_controls.h"

namespace gage::builtin {

void* ShowWaitCursor() {
    HCURSOR wait = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT
    return ::SetCursor(wait);
}

}  // namespace gage::builtin
