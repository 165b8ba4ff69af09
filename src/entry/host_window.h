#pragma once
// The few things the entry point asks of the host's windows. Windows sends real messages; other
// platforms have no host windows, and the dialog commands say so in the log.

#include "entry/runtime.h"
#include "support/window_handle.h"

namespace gage {

// Sends an add-string message (combo or list box) with the text; true when the window took it.
bool SendAddString(WindowHandle window, unsigned message, const char* text);
// True while window is an existing window.
bool IsLiveWindow(WindowHandle window);
// Shows the window and brings it to the foreground.
void BringToForeground(WindowHandle window);
// Whether this build has the configuration dialogs and the bar display.
bool DialogsAvailable();
// Runs the Gage Server Configuration dialog modally, owned by window; it saves BRW_GAGE.CFG as
// it closes. Only where DialogsAvailable().
void RunConfigurationDialog(Runtime& runtime, WindowHandle window);
// Runs the Gage Bar Columns display modally, owned by window. Only where DialogsAvailable().
void RunGageBarColumns(Runtime& runtime, WindowHandle window);

}  // namespace gage
