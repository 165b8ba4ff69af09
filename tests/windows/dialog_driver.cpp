#include "dialog_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <thread>

#include "support/window_text.h"

namespace gage::test {

namespace {

// Set while a dialog's opener has returned: nothing more is coming, waits end at once.
std::atomic<bool> g_openerReturned{false};

constexpr auto kPollInterval = std::chrono::milliseconds(10);

// The whole text: a view that has gathered many kilobytes is compared whole.
std::string TextOf(HWND window) {
    return WindowText(window);
}

bool IsDialogClass(HWND window) {
    char name[16] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof(name)));
    return std::string_view(name) == "#32770";
}

struct WindowSearch {
    std::string_view title;  // empty: any
    HWND owner;              // null: any
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) ||
        !IsDialogClass(window)) {
        return TRUE;
    }
    if (search.owner != nullptr && ::GetWindow(window, GW_OWNER) != search.owner) {
        return TRUE;
    }
    if (!search.title.empty() && TextOf(window) != search.title) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindDialogWindow(std::string_view title, HWND owner) {
    WindowSearch search{title, owner};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The window that has the keyboard focus on the thread that runs dialog.
HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    if (::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) {
        return info.hwndFocus;
    }
    return dialog;
}

void PressKey(HWND target, WPARAM key) {
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// The first item of a list or combo whose text begins with prefix, or -1.
int FindItem(HWND control, UINT findMessage, std::string_view prefix) {
    const std::string wanted(prefix);
    const LRESULT position = ::SendMessageA(control, findMessage, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(wanted.c_str()));
    return position < 0 ? -1 : static_cast<int>(position);
}

// Closes whatever the driver left open: message boxes first (their cancel or default answer),
// then the dialog itself with Escape.
void CloseLeftovers(HWND dialog) {
    for (int round = 0; round < 50 && ::IsWindow(dialog); ++round) {
        if (HWND box = FindDialogWindow({}, dialog)) {
            ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageA(box, WM_CLOSE, 0, 0);
        } else {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        WaitFor([&] { return !::IsWindow(dialog); }, std::chrono::milliseconds(200));
    }
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (g_openerReturned || std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

HWND FindProcessWindow(std::string_view title, HWND owner) {
    return FindDialogWindow(title, owner);
}

HWND WaitForWindow(std::string_view title, HWND owner, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindDialogWindow(title, owner)) != nullptr; }, timeout);
    return found;
}

std::optional<MessageBoxSeen> WaitForMessageBox(HWND owner, std::chrono::milliseconds timeout) {
    HWND box = WaitForWindow({}, owner, timeout);
    if (box == nullptr) {
        return std::nullopt;
    }
    HWND text = ::GetDlgItem(box, 0xFFFF);  // the message box's text static
    return MessageBoxSeen{box, TextOf(box), text != nullptr ? TextOf(text) : std::string()};
}

bool AnswerMessageBox(const MessageBoxSeen& box, int button) {
    HWND control = ::GetDlgItem(box.window, button);
    if (control == nullptr) {
        return false;
    }
    ::PostMessageA(control, BM_CLICK, 0, 0);
    return WaitFor([&] { return !::IsWindow(box.window); });
}

std::optional<DialogDriver> DialogDriver::Attach(std::string_view title) {
    HWND dialog = WaitForWindow(title);
    if (dialog == nullptr) {
        return std::nullopt;
    }
    return DialogDriver(dialog);
}

bool DialogDriver::IsVisible(int id) const {
    HWND control = Control(id);
    return control != nullptr && ::IsWindowVisible(control);
}

bool DialogDriver::IsEnabled(int id) const {
    HWND control = Control(id);
    return control != nullptr && ::IsWindowEnabled(control);
}

std::string DialogDriver::Text(int id) const {
    HWND control = Control(id);
    return control != nullptr ? TextOf(control) : std::string();
}

void DialogDriver::SetEditText(int id, const std::string& text) {
    HWND edit = Control(id);
    ::SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogDriver::LeaveControl() {
    ::SendMessageA(dialog_, WM_NEXTDLGCTL, 0, FALSE);
}

void DialogDriver::Notify(int id, int code) const {
    ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(Control(id)));
}

void DialogDriver::SelectCombo(int id, int position) {
    ::SendMessageA(Control(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    Notify(id, CBN_SELCHANGE);
}

bool DialogDriver::SelectComboText(int id, std::string_view prefix) {
    const int position = FindItem(Control(id), CB_FINDSTRING, prefix);
    if (position >= 0) {
        SelectCombo(id, position);
    }
    return position >= 0;
}

void DialogDriver::SelectList(int id, int position) {
    ::SendMessageA(Control(id), LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    Notify(id, LBN_SELCHANGE);
}

bool DialogDriver::SelectListText(int id, std::string_view prefix) {
    const int position = FindItem(Control(id), LB_FINDSTRING, prefix);
    if (position >= 0) {
        SelectList(id, position);
    }
    return position >= 0;
}

void DialogDriver::DoubleClickList(int id, int position) {
    SelectList(id, position);
    ::PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(Control(id)));
}

std::vector<std::string> DialogDriver::ListLines(int id) const {
    std::vector<std::string> lines;
    HWND list = Control(id);
    const LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string line(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(line.data()));
        line.resize(std::char_traits<char>::length(line.c_str()));
        lines.push_back(line);
    }
    return lines;
}

int DialogDriver::ListSelection(int id) const {
    return static_cast<int>(::SendMessageA(Control(id), LB_GETCURSEL, 0, 0));
}

void DialogDriver::SwitchTab(int id, int position) {
    HWND tabs = Control(id);
    NMHDR header{tabs, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGING)};
    ::SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    ::SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(position), 0);
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    ::SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
}

int DialogDriver::TabSelection(int id) const {
    return static_cast<int>(::SendMessageA(Control(id), TCM_GETCURSEL, 0, 0));
}

bool DialogDriver::Click(int id) {
    if (!IsEnabled(id) || !IsVisible(id)) {
        return false;
    }
    ::PostMessageA(Control(id), BM_CLICK, 0, 0);
    return true;
}

void DialogDriver::PressEscape() {
    PressKey(FocusOf(dialog_), VK_ESCAPE);
}

void DialogDriver::PressAlt(char key) {
    constexpr LPARAM kAltDown = 1 << 29;
    HWND focus = FocusOf(dialog_);
    const auto upper = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(key)));
    ::PostMessageA(focus, WM_SYSKEYDOWN, upper, kAltDown | 1);
    ::PostMessageA(focus, WM_SYSCHAR, static_cast<WPARAM>(key), kAltDown | 1);
    ::PostMessageA(focus, WM_SYSKEYUP, upper, static_cast<LPARAM>(0xC0000001u) | kAltDown);
}

int DialogDriver::FocusedControl() const {
    HWND focus = FocusOf(dialog_);
    return focus != dialog_ && ::IsChild(dialog_, focus) ? ::GetDlgCtrlID(focus) : 0;
}

void DialogDriver::Sync() const {
    ::SendMessageA(dialog_, WM_NULL, 0, 0);
}

bool DialogDriver::WaitClosed(std::chrono::milliseconds timeout) const {
    return WaitFor([&] { return !::IsWindow(dialog_); }, timeout);
}

void DriveDialog(const std::function<void()>& open, const std::function<void()>& drive) {
    g_openerReturned = false;
    std::thread driver([&] {
        drive();
        // Whatever drive left open (a failed step) is closed, so that open returns.
        const bool closed = WaitFor([] { return FindDialogWindow({}, nullptr) == nullptr; },
                                    std::chrono::milliseconds(2000));
        if (!closed) {
            ADD_FAILURE() << "the dialog was left open";
            while (HWND left = FindDialogWindow({}, nullptr)) {
                HWND top = left;
                while (HWND owner = ::GetWindow(top, GW_OWNER)) {
                    if (!IsDialogClass(owner)) {
                        break;
                    }
                    top = owner;
                }
                CloseLeftovers(top);
                if (::IsWindow(top)) {
                    break;  // it will not close; open's return ends the waits
                }
            }
        }
    });
    open();
    g_openerReturned = true;
    driver.join();
}

}  // namespace gage::test
