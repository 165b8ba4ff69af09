#pragma once
// The Serial Data Monitor: shows what arrives on one connection and sends typed lines to it.

#include "config/connection_record.h"
#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

// Prepares record's connection and runs the monitor on it; a connection that was closed before is
// closed again afterwards. The dialog's result (1 after Close), or 0 when the connection cannot be
// prepared.
int OpenSerialMonitor(UiContext& context, WindowHandle owner, ConnectionRecord& record);

}  // namespace gage
