#pragma once
// The small signs of activity and trouble the channel layer gives without a window of its own:
// the exclamation beep before an error box (or for a socket option that could not be set), and
// the wait cursor while a host name is looked up. Nothing happens where there is no display.

namespace gage {

void ExclamationBeep();

// Shows the wait cursor for its lifetime and restores the previous cursor afterwards.
class ScopedWaitCursor {
  public:
    ScopedWaitCursor();
    ~ScopedWaitCursor();
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

  private:
    [[maybe_unused]] void* previous_ = nullptr;
};

}  // namespace gage
