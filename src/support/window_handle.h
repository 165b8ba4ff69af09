#pragma once
// The host's window handle. Declared the way <windows.h> declares HWND (STRICT), so the two are
// the same type on Windows; elsewhere it is an opaque pointer that the library never looks into.

struct HWND__;

namespace gage {
using WindowHandle = HWND__*;
}  // namespace gage
