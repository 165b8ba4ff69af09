#pragma once
// The Advanced dialog of the format definition: the editing form's commands, delays and buffer
// options.

#include <windows.h>

#include "config/gage_record.h"

namespace gage {

class Support;

// Runs the dialog on form; OK stores the controls into it. 1 for OK, 0 for Cancel.
int RunAdvancedDialog(Support& support, HWND owner, GageFormat& form);

}  // namespace gage
