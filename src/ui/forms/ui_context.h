#pragma once
// What the configuration dialogs work on: the runtime's tables and the reading engine, by
// reference. The runtime owns all of it; a context is cheap to make for each dialog.

#include "config/gage_record.h"
#include "reading/read_context.h"
#include "support/window_handle.h"

namespace gage {

struct UiContext {
    ReadContext engine;  // channels, connections, settings, support, clock
    GageTable& gages;
    WindowHandle& configDialog;  // the open configuration dialog, for commands 3 and 18
    // The format dialog's editing form, kept from one opening to the next; none: a fresh one
    // for each opening.
    GageFormat* formatEditingForm = nullptr;
};

}  // namespace gage
