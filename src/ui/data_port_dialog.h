#pragma once
// The Data port dialog: a connection's interface type and its serial line settings or TCP/IP
// address; interface types are created, modified and removed from here.

#include "config/connection_record.h"
#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

// Runs the dialog on copies of record (its connection is closed first). In modify mode the
// interface type cannot be changed. 1 after OK (record takes the new settings, a serial port
// left open as the last apply configured it), 0 after Cancel (record as it was, closed).
int OpenDataPortDialog(UiContext& context, WindowHandle owner, ConnectionRecord& record,
                       bool modify);

}  // namespace gage
