#pragma once
// Built-in help: the library's compiled help file beside it, opened at the topic, where the
// platform has a viewer for it.

#include "support/window_handle.h"

namespace gage::builtin {

// The help file's name, looked for in the directory of the library module.
inline constexpr const char* kHelpFileName = "tqxGageSrvr6.chm";

// Opens help topic contextId (the file's start page for 0 or less) without waiting for the
// viewer. False when there is no help file or viewer; the caller then logs the request.
bool OpenHelpTopic(void* module, WindowHandle owner, int contextId);

}  // namespace gage::builtin
