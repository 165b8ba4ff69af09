#pragma once
// Plain text on the clipboard (Windows only).

#include <string>

#include "support/window_handle.h"

namespace gage {

// The clipboard's text; empty when it holds none or cannot be opened.
std::string ClipboardText(WindowHandle owner);

// Replaces the clipboard's contents with text. False when memory or the clipboard could not be
// had; the clipboard is then as it was or empty.
bool SetClipboardText(WindowHandle owner, const std::string& text);

}  // namespace gage
