#include "support/builtin_message_box.h"

namespace gage::builtin {

// No window system to show a box in: the caller logs the text and answers by default.
std::optional<int> ShowSystemMessageBox(WindowHandle, const char*, const char*, unsigned) {
    return std::nullopt;
}

}  // namespace gage::builtin
