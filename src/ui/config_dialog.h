#pragma once
// The Gage Server Configuration dialog: the connections and the gages on two tabs, with Add,
// Edit and Delete; closing it saves BRW_GAGE.CFG.

#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

// Runs the dialog modally, owned by owner. While it is open context.configDialog holds its
// window. Returns once it has closed (and saved).
void OpenGageServerConfiguration(UiContext& context, WindowHandle owner);

}  // namespace gage
