// The Gage Bar Columns display opened by command 15 and worked as a user works it, over
// simulated gages ("RandomValue" in the name), whose values need no device.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "dialog_driver.h"
#include "entry/commands.h"
#include "entry/runtime.h"
#include "screenshot_marker.h"
#include "ui/resources/resource.h"
#include "unit/reading_test_support.h"
#include "window_owner.h"

namespace gage {
namespace {

using test::DialogDriver;

// Poll ticks the dialog's thread takes from its queue.
std::atomic<int> g_ticks{0};

LRESULT CALLBACK CountTicks(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message.message == WM_TIMER &&
        message.wParam == IDT_POLL) {
        ++g_ticks;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class GageBarDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        runtime.support.UseBuiltInsOnly(true);
        runtime.gages.resize(3);
        for (int row = 0; row < 3; ++row) {
            GageRecord& gage = runtime.gages[static_cast<std::size_t>(row)];
            gage.Name = "RandomValue " + std::to_string(row + 1);
            gage.InterfaceTypeNumber = 1;
            gage.Precision = 3;
            gage.Format.ReadTimeout = 200;
            testing_support::SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength,
                                      "<13><10>");
            gage.Format.ValueAField = testing_support::Spec(1, 1, 0);
            gage.Minimum = -3.0;
            gage.Maximum = 3.0;
        }
        runtime.connections[0].PortNumber = 1;
    }

    // Runs command 15 while drive works the display; the command's result.
    std::intptr_t Run(const std::function<void(DialogDriver&)>& drive) {
        std::intptr_t result = -1;
        test::DriveDialog(
            [&] { result = RunCommand(runtime, nullptr, 1, GSV_CMD_GAGE_BAR, nullptr); },
            [&] {
                auto dialog = DialogDriver::Attach("Gage Bar Columns");
                ASSERT_TRUE(dialog.has_value());
                drive(*dialog);
            });
        return result;
    }

    Runtime runtime;
};

TEST_F(GageBarDialogTest, RowsShowTheGagesAndPlusReadsOnlyAGagesRow) {
    const std::intptr_t result = Run([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_BAR_NAME_FIRST + 2), "RandomValue 3");
        EXPECT_EQ(dialog.Text(IDC_BAR_NAME_FIRST + 3), "");
        EXPECT_FALSE(dialog.IsEnabled(IDC_BAR_GAGE_RANGE_LIMITS));
        ASSERT_TRUE(dialog.Click(IDC_BAR_READ_FIRST + 3));  // row D: no gage
        ASSERT_TRUE(dialog.Click(IDC_BAR_READ_FIRST + 1));
        ASSERT_TRUE(test::WaitFor([&] { return !dialog.Text(IDC_BAR_VALUE_FIRST + 1).empty(); }));
        EXPECT_EQ(dialog.Text(IDC_BAR_VALUE_FIRST + 0), "");
        EXPECT_EQ(dialog.Text(IDC_BAR_VALUE_FIRST + 3), "");
        const auto position =
            ::SendMessageA(dialog.Control(IDC_BAR_BAR_FIRST + 1), PBM_GETPOS, 0, 0);
        EXPECT_GT(position, 0);  // a simulated value lies well inside -3 to 3
        dialog.PressEscape();
        EXPECT_TRUE(dialog.WaitClosed());
    });
    EXPECT_EQ(result, 1);
}

TEST_F(GageBarDialogTest, SetAllPollsEveryGageWhileTheDisplayIsActiveOnly) {
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, CountTicks, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Run([](DialogDriver& dialog) {
        ::SetForegroundWindow(dialog.Window());
        ASSERT_TRUE(dialog.Click(IDC_BAR_POLL_ALL));
        for (int row = 0; row < 3; ++row) {
            EXPECT_TRUE(test::WaitFor([&] {
                return !dialog.Text(IDC_BAR_VALUE_FIRST + row).empty();
            })) << row;
        }
        // Another window active: ticks come, values stay.
        WindowOwner other(::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                            50, nullptr, nullptr, nullptr, nullptr));
        ASSERT_NE(other.get(), nullptr);
        ::SetForegroundWindow(other.get());
        ASSERT_TRUE(test::WaitFor([&] { return ::GetForegroundWindow() == other.get(); }));
        dialog.Sync();
        const std::string shown = dialog.Text(IDC_BAR_VALUE_FIRST);
        const int ticks = g_ticks;
        ASSERT_TRUE(test::WaitFor([&] { return g_ticks >= ticks + 5; }));
        dialog.Sync();
        EXPECT_EQ(dialog.Text(IDC_BAR_VALUE_FIRST), shown);
        ASSERT_TRUE(dialog.Click(IDCANCEL));
        EXPECT_TRUE(dialog.WaitClosed());
    });
    ::UnhookWindowsHookEx(hook);
}

// Not a test: holds the display after a read of every row for scripts/screenshots.sh.
TEST_F(GageBarDialogTest, DISABLED_ScreenshotStates) {
    ASSERT_NE(test::ScreenshotFolder(), nullptr) << "run through scripts/screenshots.sh";
    runtime.gages[0].Name = "RandomValue Caliper";
    runtime.gages[1].Name = "RandomValue Bore gage";
    runtime.gages[2].Name = "RandomValue Height stand";
    runtime.gages[2].Minimum = runtime.gages[2].Maximum = 0.0;  // no range: a grey bar
    Run([](DialogDriver& dialog) {
        ASSERT_TRUE(dialog.Click(IDC_BAR_READ_ALL));
        ASSERT_TRUE(test::WaitFor([&] { return !dialog.Text(IDC_BAR_VALUE_FIRST + 2).empty(); }));
        EXPECT_TRUE(test::HoldForScreenshot("gage-bar-columns", dialog.Window()));
        dialog.PressEscape();
    });
}

}  // namespace
}  // namespace gage
