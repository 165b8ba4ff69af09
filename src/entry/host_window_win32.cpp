#include <windows.h>

#include "entry/host_window.h"

#include "entry/engine_commands.h"
#include "ui/config_dialog.h"
#include "ui/gage_bar_dialog.h"

namespace gage {

bool SendAddString(WindowHandle window, unsigned message, const char* text) {
    if (window == nullptr || !::IsWindow(window)) {
        return false;
    }
    const LRESULT result = ::SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(text));
    return result >= 0;  // CB_ERR and LB_ERR are -1, CB_ERRSPACE -2
}

bool IsLiveWindow(WindowHandle window) {
    return window != nullptr && ::IsWindow(window) != 0;
}

void BringToForeground(WindowHandle window) {
    if (IsLiveWindow(window)) {
        ::ShowWindow(window, SW_SHOW);
        ::SetForegroundWindow(window);
    }
}

bool DialogsAvailable() {
    return true;
}

void RunConfigurationDialog(Runtime& runtime, WindowHandle window) {
    UiContext context{EngineContext(runtime), runtime.gages, runtime.configDialog,
                      &runtime.formatEditingForm};
    OpenGageServerConfiguration(context, window);
}

void RunGageBarColumns(Runtime& runtime, WindowHandle window) {
    UiContext context{EngineContext(runtime), runtime.gages, runtime.configDialog};
    OpenGageBarColumns(context, window);
}

}  // namespace gage
