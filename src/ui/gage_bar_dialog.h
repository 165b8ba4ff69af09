#pragma once
// The Gage Bar Columns display: the first 20 gages with a bar each, read once or polled.

#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

// Runs the display modally, owned by owner, over context's gage table. 1 once it has closed.
int OpenGageBarColumns(UiContext& context, WindowHandle owner);

}  // namespace gage
