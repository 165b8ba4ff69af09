#include <windows.h>

#include <vector>

#include "support/window_text.h"

namespace gage {

std::string WindowText(WindowHandle window) {
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

}  // namespace gage
