#pragma once
// Built-in dialog-control helpers: the edit filter and the wait cursor. Both act only where there
// is a window system; elsewhere they do nothing.

#include "support/window_handle.h"

namespace gage::builtin {

inline constexpr int kEditFilterText = 2;
inline constexpr int kEditFilterNumber = 3;

// GenEditFilter. Kind 2 (text): at most maxLength characters. Kind 3 (number): at most
// maxCharacters characters, only digits, one decimal point (unless the range is whole numbers)
// and a leading minus (when the range reaches below 0); when minimum < maximum, a value outside
// the range is set to the nearer limit, and a text that is no number is emptied, as the edit
// loses the focus (with a warning beep). Other kinds are left alone. The options are not used.
void ApplyEditFilter(WindowHandle edit, int kind, int maxCharacters, int maxLength, double minimum,
                     double maximum);

// GenWaitCursor: shows the wait cursor and returns the one that was showing.
void* ShowWaitCursor();

}  // namespace gage::builtin
