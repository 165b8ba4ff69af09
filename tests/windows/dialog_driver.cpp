#include "dialog_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <utility>

#include "ui/dialog_controls.h"

namespace gage::test {

namespace {

// Set while a dialog's opener has returned: nothing more is coming, waits end at once.
std::atomic<bool> g_openerReturned{false};

HWND WaitForWindow(std::string_view title, HWND owner) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindProcessWindow(title, owner)) != nullptr; });
    return found;
}

// The window that has the keyboard focus on the thread that runs dialog.
HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : dialog;
}

// The counters of messages the main thread takes from its queue, and their one hook.
std::vector<MessageCounter*> g_counters;
HHOOK g_counterHook = nullptr;

LRESULT CALLBACK TakeMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        for (MessageCounter* counter : g_counters) {
            counter->Take(*reinterpret_cast<const MSG*>(lParam));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (g_openerReturned || std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Dialog-class windows, topmost first.
HWND FindProcessWindow(std::string_view title, HWND owner) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
            (owner == nullptr || ::GetWindow(window, GW_OWNER) == owner) &&
            (title.empty() || WindowText(window) == title)) {
            return window;
        }
    }
    return nullptr;
}

std::optional<DialogDriver> WaitForMessageBox(HWND owner) {
    HWND box = WaitForWindow({}, owner);
    return box ? std::optional(DialogDriver(box)) : std::nullopt;
}

bool DialogDriver::Attach(std::string_view title, const std::function<void(DialogDriver&)>& drive) {
    HWND dialog = WaitForWindow(title, nullptr);
    if (dialog == nullptr) {
        ADD_FAILURE() << title << " did not open";
        return false;
    }
    DialogDriver driver(dialog);
    drive(driver);
    return !::testing::Test::HasFatalFailure();
}

void DialogDriver::SetEditText(int id, const std::string& text) {
    HWND edit = Control(id);
    ::SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogDriver::Select(int id, UINT message, int notification, int position) {
    ::SendMessageA(Control(id), message, static_cast<WPARAM>(position), 0);
    ::SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, notification),
                   reinterpret_cast<LPARAM>(Control(id)));
}

bool DialogDriver::SelectText(int id, std::string_view prefix, bool combo) {
    const std::string wanted(prefix);
    const auto position = static_cast<int>(
        ::SendMessageA(Control(id), combo ? CB_FINDSTRING : LB_FINDSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(wanted.c_str())));
    if (position >= 0) {
        combo ? SelectCombo(id, position) : SelectList(id, position);
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
    for (int position = 0; position < ListCount(dialog_, id); ++position) {
        lines.push_back(ListItemText(dialog_, id, position));
    }
    return lines;
}

void DialogDriver::SwitchTab(int id, int position) {
    NMHDR header{Control(id), static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGING)};
    ::SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    ::SendMessageA(Control(id), TCM_SETCURSEL, static_cast<WPARAM>(position), 0);
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    ::SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
}

bool DialogDriver::Press(int id, bool wait) {
    if (!IsEnabled(id) || !IsVisible(id)) {
        return false;
    }
    return wait ? (::SendMessageA(Control(id), BM_CLICK, 0, 0), true)
                : ::PostMessageA(Control(id), BM_CLICK, 0, 0) != FALSE;
}

void DialogDriver::PressEscape() {
    HWND focus = FocusOf(dialog_);
    ::PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageA(focus, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001u));
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

MessageCounter::MessageCounter(std::function<bool(const MSG&)> counts)
    : counts_(std::move(counts)) {
    if (g_counters.empty()) {
        g_counterHook =
            ::SetWindowsHookExA(WH_GETMESSAGE, TakeMessage, nullptr, ::GetCurrentThreadId());
    }
    g_counters.push_back(this);
}

MessageCounter::~MessageCounter() {
    std::erase(g_counters, this);
    if (g_counters.empty()) {
        ::UnhookWindowsHookEx(g_counterHook);
    }
}

bool MessageCounter::WaitForMore(int count) const {
    const int start = count_;
    return WaitFor([&] { return count_ >= start + count; });
}

void MessageCounter::Take(const MSG& message) {
    if (message.hwnd != nullptr && counts_(message)) {
        ++count_;
    }
}

bool HoldForScreenshot(HWND window, const std::string& name) {
    const char* folder = std::getenv("GAGE_SCREENSHOT_DIR");
    if (folder == nullptr) {
        ADD_FAILURE() << "run through scripts/screenshots.sh";
        return false;
    }
    ::SendMessageA(window, WM_NULL, 0, 0);
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::string marker = std::string(folder) + "\\" + name + ".ready";
    if (!(std::ofstream(marker, std::ios::binary) << WindowText(window))) {
        return false;
    }
    return WaitFor([&] { return ::GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; },
                   std::chrono::minutes(2));
}

void DriveDialog(const std::function<void()>& open, const std::function<void()>& drive) {
    g_openerReturned = false;
    std::thread driver([&] {
        drive();
        // Whatever drive left open (a failed step) is cancelled, the frontmost window first,
        // so that open returns.
        if (!WaitFor([] { return FindProcessWindow({}) == nullptr; }, std::chrono::seconds(2))) {
            ADD_FAILURE() << "the dialog was left open";
            for (int round = 0; round < 50 && !g_openerReturned; ++round) {
                if (HWND left = FindProcessWindow({})) {
                    ::PostMessageA(left, WM_COMMAND, IDCANCEL, 0);
                    ::PostMessageA(left, WM_CLOSE, 0, 0);
                    WaitFor([&] { return !::IsWindow(left); }, std::chrono::milliseconds(200));
                }
            }
        }
    });
    open();
    g_openerReturned = true;
    driver.join();
}

}  // namespace gage::test
