// Start-up and shutdown follow the process attach and detach notifications.

#include <windows.h>

#include "entry/library_instance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gage::StartLibrary(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        gage::StopLibrary();
    }
    return TRUE;
}
