#pragma once
// Built-in message box: a real box where a user can answer it, otherwise the box's default
// button, so that an unattended run never waits for a click that cannot come.

#include <optional>
#include <string>
#include <string_view>

#include "support/window_handle.h"

namespace gage::builtin {

// The environment variable that keeps every built-in message box from being shown.
inline constexpr const char* kNoMessageBoxesVariable = "ZRNGSV_NO_MESSAGE_BOXES";

// The button a user gets by pressing Enter: the style's button set (OK, OK/Cancel,
// Abort/Retry/Ignore, Yes/No/Cancel, Yes/No, Retry/Cancel, Cancel/Try again/Continue) and its
// default-button bits; a default beyond the set falls back to the first button.
int DefaultButtonAnswer(unsigned style);

// "OK", "Cancel", "Abort", ...; "button N" for anything else.
std::string ButtonName(int answer);

// The log line for a box that was answered without being shown.
std::string DescribeUnshownMessageBox(std::string_view caption, std::string_view text, int answer);

// True when ZRNGSV_NO_MESSAGE_BOXES is set.
bool MessageBoxesSuppressed();

// Platform part: shows the box and returns the pressed button when this process can show one to
// a user; none when it cannot (no window system, or no interactive window station).
std::optional<int> ShowSystemMessageBox(WindowHandle owner, const char* text, const char* caption,
                                        unsigned style);

}  // namespace gage::builtin
