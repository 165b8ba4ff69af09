#include "entry/host_window.h"

namespace gage {

bool SendAddString(WindowHandle, unsigned, const char*) {
    return false;
}
bool IsLiveWindow(WindowHandle) {
    return false;
}
void BringToForeground(WindowHandle) {}
bool DialogsAvailable() {
    return false;
}
void RunConfigurationDialog(Runtime&, WindowHandle) {}
void RunGageBarColumns(Runtime&, WindowHandle) {}

}  // namespace gage
