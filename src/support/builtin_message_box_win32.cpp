#include <windows.h>

#include "support/builtin_message_box.h"

namespace gage::builtin {

namespace {

// A service or a process on a hidden window station has nobody to click the box: MessageBoxA
// would wait for ever.
bool InteractiveWindowStation() {
    HWINSTA station = ::GetProcessWindowStation();
    if (station == nullptr) {
        return false;
    }
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!::GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) {
        return true;  // cannot tell: assume the ordinary desktop
    }
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

std::optional<int> ShowSystemMessageBox(WindowHandle owner, const char* text, const char* caption,
                                        unsigned style) {
    if (!InteractiveWindowStation()) {
        return std::nullopt;
    }
    HWND window = (owner != nullptr && ::IsWindow(owner)) ? owner : nullptr;
    const int answer = ::MessageBoxA(window, text, caption, style);
    if (answer == 0) {
        return std::nullopt;  // the box could not be created
    }
    return answer;
}

}  // namespace gage::builtin
