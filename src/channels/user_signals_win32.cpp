#include <windows.h>

#include "channels/user_signals.h"

namespace gage {

void ExclamationBeep() {
    ::MessageBeep(MB_ICONEXCLAMATION);
}

ScopedWaitCursor::ScopedWaitCursor()
    : previous_(::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}

ScopedWaitCursor::~ScopedWaitCursor() {
    ::SetCursor(static_cast<HCURSOR>(previous_));
}

}  // namespace gage
