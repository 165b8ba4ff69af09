#pragma once
// The Gaging Device Format Definition dialog: creates or edits one gage format and tries it on
// the gage before it is saved.

#include "config/gage_record.h"
#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

// Runs the dialog for format format of interface type type (0: a new format), testing with a
// copy of gage. 1 when the format was saved, 0 otherwise; gage itself is not changed.
int EditFormat(UiContext& context, WindowHandle owner, const GageRecord& gage, int type,
               int format);

}  // namespace gage
