#pragma once
// The Gaging Device Setup dialog: edits one gage and tries it against its device.

#include "config/gage_record.h"
#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

// Runs the dialog on a working copy of gage. On OK copies it back, opens the gage's connection
// and sends its initialisation command. 1 on OK, 0 on Cancel.
int EditGage(UiContext& context, WindowHandle owner, GageRecord& gage, int gageIndex);

}  // namespace gage
