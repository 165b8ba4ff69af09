// The Serial Data Monitor and ASCII Character Values driven as a user works them, on a TCP/IP
// connection to a listener of the test's own on 127.0.0.1: what the listener sends must show in
// both views, what the user sends must reach the listener byte for byte.

#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "channels/tcp_channel.h"
#include "dialog_driver.h"
#include "entry/runtime.h"
#include "reading/engine_clock.h"
#include "tcp_listener_win32.h"
#include "ui/forms/monitor_text.h"
#include "ui/resources/resource.h"
#include "ui/serial_monitor_dialog.h"

namespace gage {
namespace {

using test::DialogDriver;

constexpr const char* kTitle = "Serial Data Monitor";
constexpr const char* kPickerTitle = "ASCII Character Values";

// Poll ticks the monitor's thread takes from its queue.
std::atomic<int> g_monitorTicks{0};

LRESULT CALLBACK CountTicks(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message.message == WM_TIMER &&
        message.wParam == IDT_MONITOR_POLL && ::GetDlgItem(message.hwnd, IDC_MONITOR_SEND_LINE)) {
        ++g_monitorTicks;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ClipboardText() {
    std::string text;
    if (::OpenClipboard(nullptr) == FALSE) {
        return text;
    }
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

class SerialMonitorDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        runtime.support.UseBuiltInsOnly(true);
        ASSERT_EQ(TcpStartup(runtime.channels), 1);
        listening.emplace();
        record.Name = "Bench";
        record.Kind = KIND_TCPIP;
        record.BaudRate = 127;  // 127.0.0.1
        record.Parity = 1;
        record.PortNumber = listening->port();
        TcpSettleAddress(runtime.channels, record);
    }
    void TearDown() override {
        listening.reset();
        TcpShutdown(runtime.channels, runtime.connections);
    }

    // Runs the monitor while drive works it; whatever drive leaves open is closed the way a user
    // must close it (the monitor ignores Escape).
    int Watch(const std::function<void(DialogDriver&)>& drive) {
        int result = -1;
        test::DriveDialog([&] { result = OpenSerialMonitor(context, nullptr, record); },
                          [&] {
                              auto dialog = DialogDriver::Attach(kTitle);
                              ASSERT_TRUE(dialog.has_value());
                              ASSERT_TRUE(listening->Accept());
                              ::SetForegroundWindow(dialog->Window());
                              drive(*dialog);
                              if (HWND picker = test::FindProcessWindow(kPickerTitle)) {
                                  ::PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
                              }
                              if (dialog->IsOpen()) {
                                  ::PostMessageA(dialog->Window(), WM_COMMAND,
                                                 MAKEWPARAM(IDC_MONITOR_CLOSE, BN_CLICKED), 0);
                              }
                          });
        return result;
    }

    Runtime runtime;
    std::optional<test::Listener> listening;  // made once sockets are started
    ConnectionRecord& record = runtime.connections[0];
    WindowHandle configDialog = nullptr;
    UiContext context{{runtime.channels, runtime.connections, runtime.settings, runtime.support,
                       SystemEngineClock()},
                      runtime.gages,
                      configDialog};
};

TEST_F(SerialMonitorDialogTest, ShowsWhatArrivesAndSendsTheLineWithItsTokens) {
    const int result = Watch([this](DialogDriver& dialog) {
        EXPECT_TRUE(dialog.IsVisible(IDC_MONITOR_TEXT_VIEW));
        EXPECT_FALSE(dialog.IsVisible(IDC_MONITOR_HEX_VIEW));
        listening->SendAll("Hello\r\n");
        ASSERT_TRUE(test::WaitFor(
            [&] { return dialog.Text(IDC_MONITOR_HEX_VIEW) == "48 65 6C 6C 6F 0D 0A "; }));
        EXPECT_EQ(dialog.Text(IDC_MONITOR_TEXT_VIEW), "Hello\r\n");
        listening->SendAll(std::string("\0B", 2));  // a zero byte ends the text of its tick
        ASSERT_TRUE(test::WaitFor(
            [&] { return dialog.Text(IDC_MONITOR_HEX_VIEW) == "48 65 6C 6C 6F 0D 0A 00 42 "; }));
        EXPECT_EQ(dialog.Text(IDC_MONITOR_TEXT_VIEW), "Hello\r\n");

        dialog.PressEscape();
        dialog.Sync();
        EXPECT_TRUE(dialog.IsOpen());

        dialog.SetEditText(IDC_MONITOR_SEND_LINE, "ABC<13>");
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_SEND));
        EXPECT_EQ(listening->Receive(4), "ABC\r");
        ASSERT_TRUE(
            test::WaitFor([&] { return dialog.FocusedControl() == IDC_MONITOR_SEND_LINE; }));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_SEND_CRLF));
        EXPECT_EQ(listening->Receive(6), "ABC\r\r\n");
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_ADD_CR));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_ADD_LF));
        EXPECT_TRUE(
            test::WaitFor([&] { return dialog.Text(IDC_MONITOR_SEND_LINE) == "ABC<13><13><10>"; }));

        ASSERT_TRUE(dialog.Click(IDC_MONITOR_HEX_DATA));
        ASSERT_TRUE(test::WaitFor([&] { return dialog.IsVisible(IDC_MONITOR_HEX_VIEW); }));
        EXPECT_FALSE(dialog.IsVisible(IDC_MONITOR_TEXT_VIEW));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_COPY));
        EXPECT_TRUE(
            test::WaitFor([&] { return ClipboardText() == "48 65 6C 6C 6F 0D 0A 00 42 "; }));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_CLEAR_VIEWS));
        EXPECT_TRUE(test::WaitFor([&] { return dialog.Text(IDC_MONITOR_HEX_VIEW).empty(); }));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_CLOSE));
        EXPECT_TRUE(dialog.WaitClosed());
    });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(record.Socket.is_open());  // closed before, so closed again
}

TEST_F(SerialMonitorDialogTest, WaitsWhileThePickerIsInFrontAndShowsAWholeBurstInOrder) {
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, CountTicks, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const std::string longLine(200, 'q');
    Watch([&](DialogDriver& dialog) {
        dialog.SetEditText(IDC_MONITOR_SEND_LINE, longLine);
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_PICK_BYTE));
        auto picker = DialogDriver::Attach(kPickerTitle);
        ASSERT_TRUE(picker.has_value());
        ::SetForegroundWindow(picker->Window());
        const std::vector<std::string> rows = picker->ListLines(IDC_PICKER_LIST);
        ASSERT_EQ(rows.size(), 256u);
        EXPECT_EQ(rows[2], "<2>\tSTX");
        EXPECT_EQ(picker->Text(IDC_PICKER_LINE), longLine.substr(0, 127));

        // Ticks go by with the picker in front; nothing is read, the data waits in the socket.
        listening->SendAll("late");
        const int ticks = g_monitorTicks;
        ASSERT_TRUE(test::WaitFor([&] { return g_monitorTicks >= ticks + 5; }));
        EXPECT_EQ(dialog.Text(IDC_MONITOR_TEXT_VIEW), "");

        picker->DoubleClickList(IDC_PICKER_LIST, 13);
        ASSERT_TRUE(test::WaitFor(
            [&] { return picker->Text(IDC_PICKER_LINE) == longLine.substr(0, 127) + "<13>"; }));
        ASSERT_TRUE(picker->Click(IDOK));
        ASSERT_TRUE(picker->WaitClosed());
        EXPECT_EQ(dialog.Text(IDC_MONITOR_SEND_LINE), longLine.substr(0, 127) + "<13>");
        ::SetForegroundWindow(dialog.Window());
        EXPECT_TRUE(test::WaitFor([&] { return dialog.Text(IDC_MONITOR_TEXT_VIEW) == "late"; }));

        // Cancel leaves a long line whole.
        dialog.SetEditText(IDC_MONITOR_SEND_LINE, longLine);
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_PICK_BYTE));
        picker = DialogDriver::Attach(kPickerTitle);
        ASSERT_TRUE(picker.has_value());
        ASSERT_TRUE(picker->Click(IDCANCEL));
        ASSERT_TRUE(picker->WaitClosed());
        EXPECT_EQ(dialog.Text(IDC_MONITOR_SEND_LINE), longLine);
        ::SetForegroundWindow(dialog.Window());

        // 100 KB in one burst: every byte once, in order, in each view.
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_CLEAR_VIEWS));
        ASSERT_TRUE(test::WaitFor([&] { return dialog.Text(IDC_MONITOR_TEXT_VIEW).empty(); }));
        std::string burst;
        for (int line = 0; burst.size() < 100 * 1024; ++line) {
            burst += std::string(62, static_cast<char>('A' + line % 26)) + "\r\n";
        }
        listening->SendAll(burst);
        ASSERT_TRUE(test::WaitFor([&] {
            return ::GetWindowTextLengthA(dialog.Control(IDC_MONITOR_HEX_VIEW)) >=
                   static_cast<int>(burst.size() * 3);
        }));
        const std::string shownText = dialog.Text(IDC_MONITOR_TEXT_VIEW);
        EXPECT_EQ(shownText.size(), burst.size());
        EXPECT_TRUE(shownText == burst);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(burst.data());
        EXPECT_TRUE(dialog.Text(IDC_MONITOR_HEX_VIEW) ==
                    HexPairs(std::span<const std::uint8_t>(bytes, burst.size())));
    });
    ::UnhookWindowsHookEx(hook);
}

TEST_F(SerialMonitorDialogTest, ConnectionThatCannotBePreparedOpensNoMonitor) {
    listening->Close();
    EXPECT_EQ(OpenSerialMonitor(context, nullptr, record), 0);
    EXPECT_EQ(test::FindProcessWindow(kTitle), nullptr);
    EXPECT_FALSE(record.Socket.is_open());
}

}  // namespace
}  // namespace gage
