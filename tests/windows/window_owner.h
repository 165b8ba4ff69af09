#pragma once
// Owns a test window and destroys it at the end of the test.

#include <windows.h>

namespace gage {

class WindowOwner {
  public:
    explicit WindowOwner(HWND window) : window_(window) {}
    ~WindowOwner() {
        if (window_ != nullptr) {
            ::DestroyWindow(window_);
        }
    }
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;
    HWND get() const { return window_; }

  private:
    HWND window_;
};

}  // namespace gage
