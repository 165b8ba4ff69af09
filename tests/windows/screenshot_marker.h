#pragma once
// For the DISABLED_ScreenshotStates tests that scripts/screenshots.sh runs: announces a window
// to photograph and waits until the script has taken the picture.

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "dialog_driver.h"

namespace gage::test {

// The folder the script reads markers from; null when not run by the script.
inline const char* ScreenshotFolder() {
    return std::getenv("GAGE_SCREENSHOT_DIR");
}

// Writes NAME.ready (holding the window's title) and waits until the script has removed it;
// false when it was not removed in time.
inline bool HoldForScreenshot(const std::string& name, HWND window) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::string marker = std::string(ScreenshotFolder()) + "\\" + name + ".ready";
    std::array<char, 256> title{};
    ::GetWindowTextA(window, title.data(), static_cast<int>(title.size()));
    std::ofstream(marker) << title.data();
    return WaitFor([&] { return ::GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; },
                   std::chrono::minutes(2));
}

}  // namespace gage::test
