// The Serial Data Monitor and ASCII Character Values on a TCP/IP connection to a listener of the
// test's own on 127.0.0.1 and on the simulator's COM port: what the line sends must show in both
// views, what the user sends must reach the other end byte for byte.

#include <winsock2.h>

#include <span>

#include "channels/serial_channel.h"
#include "dialog_fixture.h"
#include "gagesim/burst_pattern.h"
#include "helpers/serial_record.h"
#include "integration/loopback_peer.h"
#include "support/clipboard_text.h"
#include "ui/forms/monitor_text.h"
#include "ui/serial_monitor_dialog.h"

namespace gage::test {
namespace {

constexpr const char* kTitle = "Serial Data Monitor";
// The simulator behind the COM port answers "B\r" with this many bytes of its burst pattern.
constexpr std::size_t kBurstBytes = 100 * 1024;

class SerialMonitorDialogTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        listening.emplace();
        record.Name = "Bench";
        UseLocalTcp(record, listening->port());
    }
    void TearDown() override {
        listening.reset();
        DialogTest::TearDown();
    }
    // The monitor on connection while drive works it; what drive leaves open is closed the way
    // a user must close it (the monitor ignores Escape). The monitor's result.
    int Watch(ConnectionRecord& connection, const std::function<void(DialogDriver&)>& drive) {
        int result = -1;
        Drive(
            kTitle, [&] { result = OpenSerialMonitor(context, nullptr, connection); },
            [&](DialogDriver& dialog) {
                ::SetForegroundWindow(dialog.Window());
                drive(dialog);
                EXPECT_TRUE(dialog.CloseWith(IDC_MONITOR_CLOSE));
            });
        return result;
    }

    // Clears the views, has send make the line deliver a burst of kBurstBytes, and checks that
    // each view shows every byte once, in order, while the host's thread still answers.
    static void ExpectWholeBurst(DialogDriver& dialog, const std::function<void()>& send) {
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_CLEAR_VIEWS));
        ASSERT_TRUE(dialog.WaitText(IDC_MONITOR_TEXT_VIEW, ""));
        send();
        DWORD_PTR answer = 0;
        EXPECT_NE(
            ::SendMessageTimeoutA(dialog.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer), 0);
        // Growing views are slow to append to on a busy machine: a minute.
        ASSERT_TRUE(WaitFor(
            [&] {
                return ::GetWindowTextLengthA(dialog.Control(IDC_MONITOR_HEX_VIEW)) >=
                       static_cast<int>(kBurstBytes * 3);
            },
            std::chrono::minutes(1)))
            << dialog.Text(IDC_MONITOR_TEXT_VIEW).size() << " bytes shown";
        const std::string burst = gagesim::BurstPattern(kBurstBytes);
        EXPECT_TRUE(dialog.Text(IDC_MONITOR_TEXT_VIEW) == burst);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(burst.data());
        EXPECT_TRUE(dialog.Text(IDC_MONITOR_HEX_VIEW) ==
                    HexPairs(std::span<const std::uint8_t>(bytes, burst.size())));
    }

    std::optional<LoopbackPeer> listening;  // made once sockets are started
    ConnectionRecord& record = runtime.connections[0];
};

TEST_F(SerialMonitorDialogTest, ShowsWhatArrivesAndSendsTheLineWithItsTokens) {
    const int result = Watch(record, [this](DialogDriver& dialog) {
        ASSERT_TRUE(listening->Accept());
        EXPECT_FALSE(dialog.IsVisible(IDC_MONITOR_HEX_VIEW));  // the text view is shown
        listening->SendAll("Hello\r\n");
        ASSERT_TRUE(dialog.WaitText(IDC_MONITOR_TEXT_VIEW, "Hello\r\n"));
        dialog.PressEscape();  // ignored: the steps below need the monitor open

        dialog.SetEditText(IDC_MONITOR_SEND_LINE, "ABC<13>");
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_SEND));
        EXPECT_EQ(listening->Receive(4), "ABC\r");
        ASSERT_TRUE(WaitFor([&] { return dialog.FocusedControl() == IDC_MONITOR_SEND_LINE; }));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_SEND_CRLF));
        EXPECT_EQ(listening->Receive(6), "ABC\r\r\n");
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_ADD_CR));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_ADD_LF));
        EXPECT_TRUE(dialog.WaitText(IDC_MONITOR_SEND_LINE, "ABC<13><13><10>"));

        ASSERT_TRUE(dialog.Click(IDC_MONITOR_HEX_DATA));
        ASSERT_TRUE(WaitFor([&] { return dialog.IsVisible(IDC_MONITOR_HEX_VIEW); }));
        EXPECT_FALSE(dialog.IsVisible(IDC_MONITOR_TEXT_VIEW));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_COPY));  // the view shown, as shown
        EXPECT_TRUE(WaitFor([&] { return ClipboardText(nullptr) == "48 65 6C 6C 6F 0D 0A "; }));

        // Initialize connects again and empties the views; the new connection is watched.
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_INITIALIZE));
        EXPECT_TRUE(dialog.WaitText(IDC_MONITOR_HEX_VIEW, ""));
        ASSERT_TRUE(listening->Accept());
        listening->SendAll("new");
        EXPECT_TRUE(dialog.WaitText(IDC_MONITOR_HEX_VIEW, "6E 65 77 "))
            << dialog.Text(IDC_MONITOR_HEX_VIEW);
    });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(record.Socket.is_open());  // closed before, so closed again
}

TEST_F(SerialMonitorDialogTest, WaitsWhileThePickerIsInFrontAndShowsAWholeBurstInOrder) {
    const MessageCounter ticks([](const MSG& message) {
        return message.message == WM_TIMER && message.wParam == IDT_MONITOR_POLL &&
               ::GetDlgItem(message.hwnd, IDC_MONITOR_SEND_LINE) != nullptr;
    });
    const std::string longLine(200, 'q');
    const std::string cut = longLine.substr(0, 127);
    Watch(record, [&](DialogDriver& dialog) {
        ASSERT_TRUE(listening->Accept());
        dialog.SetEditText(IDC_MONITOR_SEND_LINE, longLine);
        ASSERT_TRUE(dialog.Open(IDC_MONITOR_PICK_BYTE, kPickerTitle, [&](DialogDriver& picker) {
            ::SetForegroundWindow(picker.Window());
            // Ticks go by with the picker in front; nothing is read, the data waits in the socket.
            listening->SendAll("late");
            ASSERT_TRUE(ticks.WaitForMore(5));
            EXPECT_EQ(dialog.Text(IDC_MONITOR_TEXT_VIEW), "");
            picker.DoubleClickList(IDC_PICKER_LIST, 13);
            ASSERT_TRUE(picker.WaitText(IDC_PICKER_LINE, cut + "<13>"));  // the line cut at 127
            ASSERT_TRUE(picker.CloseWith(IDOK));
        }));
        EXPECT_EQ(dialog.Text(IDC_MONITOR_SEND_LINE), cut + "<13>");
        ::SetForegroundWindow(dialog.Window());
        EXPECT_TRUE(dialog.WaitText(IDC_MONITOR_TEXT_VIEW, "late"));

        // Cancel leaves a long line whole.
        dialog.SetEditText(IDC_MONITOR_SEND_LINE, longLine);
        ASSERT_TRUE(dialog.Open(IDC_MONITOR_PICK_BYTE, kPickerTitle, [](DialogDriver& picker) {
            ASSERT_TRUE(picker.CloseWith(IDCANCEL));
        }));
        EXPECT_EQ(dialog.Text(IDC_MONITOR_SEND_LINE), longLine);
        ::SetForegroundWindow(dialog.Window());

        ExpectWholeBurst(dialog, [&] { listening->SendAll(gagesim::BurstPattern(kBurstBytes)); });
    });
}

TEST_F(SerialMonitorDialogTest, WatchesASerialPortAndClosesItAgain) {
    const int port = SimulatorComPort();
    if (port < 1 || SerialProbePort(runtime.settings, port) == 0) {
        GTEST_SKIP() << "no gage simulator behind a COM port (GAGE_SIM_COM unset)";
    }
    ConnectionRecord& serial = runtime.connections[1];
    serial.Name = "Bench COM";
    MakeSerial9600(serial, port);
    serial.BaudRate = 115200;
    // What the line sends reaches the simulator: it answers with the burst.
    const int result = Watch(serial, [](DialogDriver& dialog) {
        ExpectWholeBurst(dialog, [&] {
            dialog.SetEditText(IDC_MONITOR_SEND_LINE, "B<13>");
            EXPECT_TRUE(dialog.Click(IDC_MONITOR_SEND));
        });
    });
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(serial.PortHandle.is_open());
}

TEST_F(SerialMonitorDialogTest, ConnectionThatCannotBePreparedOpensNoMonitor) {
    listening->Close();
    EXPECT_EQ(OpenSerialMonitor(context, nullptr, record), 0);
    EXPECT_EQ(FindProcessWindow(kTitle), nullptr);
    EXPECT_FALSE(record.Socket.is_open());
}

// Not a test: holds the monitor with some traffic in both views, and the picker, while
// scripts/screenshots.sh photographs them.
TEST_F(SerialMonitorDialogTest, DISABLED_ScreenshotStates) {
    Watch(record, [this](DialogDriver& dialog) {
        ASSERT_TRUE(listening->Accept());
        const std::string records = "+1.500\r\n-2.250\r\n+0.125\r\n";
        listening->SendAll(records);
        ASSERT_TRUE(dialog.WaitText(IDC_MONITOR_TEXT_VIEW, records));
        dialog.SetEditText(IDC_MONITOR_SEND_LINE, "?<13>");
        EXPECT_TRUE(HoldForScreenshot(dialog.Window(), "serial-monitor"));
        ASSERT_TRUE(dialog.Click(IDC_MONITOR_HEX_DATA));
        ASSERT_TRUE(WaitFor([&] { return dialog.IsVisible(IDC_MONITOR_HEX_VIEW); }));
        EXPECT_TRUE(HoldForScreenshot(dialog.Window(), "serial-monitor-hex"));
        ASSERT_TRUE(dialog.Open(IDC_MONITOR_PICK_BYTE, kPickerTitle, [](DialogDriver& picker) {
            picker.SelectList(IDC_PICKER_LIST, 13);
            EXPECT_TRUE(HoldForScreenshot(picker.Window(), "ascii-picker"));
            EXPECT_TRUE(picker.CloseWith(IDCANCEL));
        }));
    });
}

}  // namespace
}  // namespace gage::test
