#pragma once
// ASCII Character Values: the 256 byte values with their names; the chosen one is typed into an
// edit control as its token.

#include "support/support.h"
#include "support/window_handle.h"

namespace gage {

// Runs the picker modally, owned by owner, for the single-line edit targetEdit.
void OpenAsciiPicker(Support& support, WindowHandle owner, WindowHandle targetEdit);

}  // namespace gage
