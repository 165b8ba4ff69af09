#pragma once
// The text of a window or control, whole, as a std::string (Windows only).

#include <string>

#include "support/window_handle.h"

namespace gage {

// Empty for a window without text, or no window at all.
std::string WindowText(WindowHandle window);

}  // namespace gage
