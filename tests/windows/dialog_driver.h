#pragma once
// Drives a real dialog the way a user does, from a second thread, by control id only: the test
// opens the dialog on its main thread (modal, as the host does) and DriveDialog works it from
// another. Every step goes through the messages a user's action produces, and every wait is on
// a condition, with a time-out so that a broken dialog fails the test instead of hanging it.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/window_text.h"

namespace gage::test {

// A test's own window, destroyed at the end of the test.
struct WindowDestroyer {
    void operator()(HWND window) const { ::DestroyWindow(window); }
};
using WindowOwner = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// Polls condition until it holds, the time-out passes or the dialog's opener has returned;
// true when it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A visible dialog window of this process with this title (any when empty) and owner (any when
// null).
HWND FindProcessWindow(std::string_view title, HWND owner = nullptr);

class DialogDriver {
  public:
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}
    // Works the dialog titled title with drive once it is visible; false when it did not come or
    // drive failed an assertion, so that the caller can stop too.
    static bool Attach(std::string_view title, const std::function<void(DialogDriver&)>& drive);

    HWND Window() const { return dialog_; }
    HWND Control(int id) const { return ::GetDlgItem(dialog_, id); }
    bool IsVisible(int id) const { return ::IsWindowVisible(Control(id)) != FALSE; }
    bool IsEnabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    std::string Text(int id) const { return WindowText(Control(id)); }
    bool WaitText(int id, std::string_view text) const {
        return WaitFor([&] { return Text(id) == text; });
    }

    // Types text into an edit in place of what it holds: the edit gets the focus, its text is
    // replaced as typing replaces it (the edit itself notifies EN_UPDATE and EN_CHANGE).
    void SetEditText(int id, const std::string& text);
    void SetEditTexts(std::initializer_list<std::pair<int, std::string>> edits) {
        for (const auto& [id, text] : edits) {
            SetEditText(id, text);
        }
    }

    // A user's pick, CBN_SELCHANGE or LBN_SELCHANGE following; by text: the first item that
    // begins with prefix, false when there is none.
    void SelectCombo(int id, int position) { Select(id, CB_SETCURSEL, CBN_SELCHANGE, position); }
    void SelectList(int id, int position) { Select(id, LB_SETCURSEL, LBN_SELCHANGE, position); }
    bool SelectComboText(int id, std::string_view prefix) { return SelectText(id, prefix, true); }
    bool SelectListText(int id, std::string_view prefix) { return SelectText(id, prefix, false); }
    int ComboCount(int id) const { return static_cast<int>(Send(id, CB_GETCOUNT)); }
    void DoubleClickList(int id, int position);
    std::vector<std::string> ListLines(int id) const;
    int ListSelection(int id) const { return static_cast<int>(Send(id, LB_GETCURSEL)); }
    void SwitchTab(int id, int position);  // TCN_SELCHANGING, the switch, TCN_SELCHANGE

    // A click on a button (also a check box, which then toggles). Posted: the click may open a
    // modal window, so the caller waits for what the click is to do. False when the button is
    // disabled or hidden, as a user could not click it.
    bool Click(int id) { return Press(id, false); }
    // The same click, returning once the dialog has handled it; only for a click that opens
    // no window (a message box answered by a hook is none).
    bool ClickNow(int id) { return Press(id, true); }
    // Clicks button and works the window titled title that the click opens, as Attach does.
    bool Open(int button, std::string_view title, const std::function<void(DialogDriver&)>& drive) {
        return Click(button) && Attach(title, drive);
    }
    // Clicks button (OK, Cancel ...) and true once the dialog has closed.
    bool CloseWith(int button) { return Click(button) && WaitClosed(); }
    // Escape pressed in the dialog's focused control.
    void PressEscape();
    // Escape, and true once the dialog has closed.
    bool Dismiss() {
        PressEscape();
        return WaitClosed();
    }
    // Alt and key pressed together (a control's accelerator, the underlined character).
    void PressAlt(char key);
    // The id of the control that has the keyboard focus; 0 when none of the dialog's has it.
    int FocusedControl() const;
    // Returns once the dialog thread has handled everything sent before (not what was posted).
    void Sync() const { ::SendMessageA(dialog_, WM_NULL, 0, 0); }
    bool WaitClosed() const {
        return WaitFor([&] { return !::IsWindow(dialog_); });
    }

  private:
    void Select(int id, UINT message, int notification, int position);
    bool SelectText(int id, std::string_view prefix, bool combo);
    bool Press(int id, bool wait);
    LRESULT Send(int id, UINT message) const { return ::SendMessageA(Control(id), message, 0, 0); }

    HWND dialog_;
};

// The next message box owned by owner (its text is control 0xFFFF, its buttons IDYES, IDNO ...);
// none when none came in time.
std::optional<DialogDriver> WaitForMessageBox(HWND owner);

// Counts the messages the test's main thread (the dialogs' thread) takes from its queue that
// counts accepts, such as a dialog's timer ticks. Made and destroyed on that thread.
class MessageCounter {
  public:
    explicit MessageCounter(std::function<bool(const MSG&)> counts);
    ~MessageCounter();  // not copied: its count is atomic

    int Count() const { return count_; }
    // True once count more messages have come than when it was called.
    bool WaitForMore(int count) const;
    void Take(const MSG& message);

  private:
    std::function<bool(const MSG&)> counts_;
    std::atomic<int> count_{0};
};

// For scripts/screenshots.sh: repaints window once it has handled what was sent, writes NAME.ready
// (holding the window's title) into GAGE_SCREENSHOT_DIR and waits until the script has taken the
// picture and removed it. False when no folder was given or the picture was not taken in time.
bool HoldForScreenshot(HWND window, const std::string& name);

// Runs open on this thread while drive works the dialog from a second thread. When drive is done
// (or gave up after a failed assertion) and the dialog is still open, the rest of its windows
// are closed as a user would (message boxes cancelled, Escape), so that open returns.
void DriveDialog(const std::function<void()>& open, const std::function<void()>& drive);

}  // namespace gage::test
