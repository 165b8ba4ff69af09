// The Gaging Device Setup dialog. The gage's connection is TCP/IP to the gage simulator on
// 127.0.0.1, which answers each "?\r" with the number of commands it has answered so far: the
// value the dialog shows says how many reads reached it.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dialog_fixture.h"
#include "helpers/serial_record.h"
#include "ui/gage_setup_dialog.h"

namespace gage {
namespace {

using test::DialogDriver;

constexpr const char* kTitle = "Gaging Device Setup";

class GageSetupDialogTest : public test::DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        UseBenchGage(
            "[TYPE1.1]\nDESCRIPTION=Counter\nMEAS_READ=?<13>\nRECEND=<13><10>\n"
            "VALUE1=1,1,0\nMEASTIMEOUT=3000\n[TYPE1.2]\nDESCRIPTION=Spare\n",
            1);
    }
    // EditGage on row index (a new default row when index is the gage count); its result.
    int Edit(int index, const std::function<void(DialogDriver&)>& drive) {
        if (index == static_cast<int>(runtime.gages.size())) {
            runtime.gages.emplace_back();
        }
        int result = -1;
        Drive(
            kTitle, [&] { result = EditGage(context, nullptr, runtime.gages[index], index); },
            drive);
        return result;
    }
};

TEST_F(GageSetupDialogTest, NewGageIsEnabledStepByStepAndNeedsAUniqueName) {
    const int result = Edit(1, [this](DialogDriver& dialog) {
        for (const int id : {IDC_SETUP_CHANNEL, IDC_SETUP_GAGE_ID, IDC_SETUP_SERIAL_NUMBER,
                             IDC_SETUP_NO_READ_COMMAND, IDC_SETUP_ABSOLUTE, IDC_SETUP_MAXIMUM_TEXT,
                             IDC_SETUP_MINIMUM_TEXT, IDC_SETUP_VALUE_BAR, IDC_SETUP_FORMAT_CREATE,
                             IDC_SETUP_INIT_GAGE, IDC_SETUP_POLL_READ, IDC_SETUP_FORMAT_LABEL,
                             IDC_SETUP_ZERO_LABEL, IDC_SETUP_GAIN_LABEL, IDC_SETUP_PRECISION_LABEL,
                             IDC_HELP_BUTTON}) {
            EXPECT_TRUE(dialog.HasControl(id)) << id;  // the rest are worked below
        }
        EXPECT_FALSE(dialog.IsEnabled(IDC_SETUP_FORMAT));  // no connection chosen yet
        ASSERT_TRUE(dialog.SelectComboText(IDC_SETUP_INTERFACE, "Bench"));
        EXPECT_FALSE(dialog.IsEnabled(IDC_SETUP_READ_GAGE));  // no format chosen yet
        ASSERT_TRUE(dialog.SelectComboText(IDC_SETUP_FORMAT, "Counter"));
        EXPECT_TRUE(dialog.IsEnabled(IDC_SETUP_READ_GAGE));
        EXPECT_EQ(dialog.Text(IDC_SETUP_GAIN), "+1");
        EXPECT_TRUE(dialog.IsVisible(IDC_SETUP_MINIMUM));  // an ASCII format's entered range

        dialog.SetEditText(IDC_SETUP_DESCRIPTION, "CALIPER");  // the other gage's, in capitals
        ASSERT_TRUE(dialog.ClickNow(IDC_SETUP_OK));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_NE(boxes.boxes[0].text.find("NOT UNQUE"), std::string::npos);
        EXPECT_TRUE(dialog.IsVisible(IDC_SETUP_OK));
        dialog.SetEditText(IDC_SETUP_DESCRIPTION, "Depth");
        ASSERT_TRUE(dialog.Click(IDC_SETUP_OK));
        EXPECT_TRUE(dialog.WaitClosed());
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(runtime.gages[1].Name.view(), "Depth");
}

TEST_F(GageSetupDialogTest, GageAddedThroughCommandThreeIsSavedAsEntered) {
    Configure([](DialogDriver& configuration) {
        configuration.SwitchTab(IDC_CONFIG_TABS, 1);
        auto setup = configuration.Open(IDC_CONFIG_ADD, kTitle);
        ASSERT_TRUE(setup.has_value());
        ASSERT_TRUE(setup->SelectComboText(IDC_SETUP_INTERFACE, "Bench"));
        ASSERT_TRUE(setup->SelectComboText(IDC_SETUP_FORMAT, "Counter"));
        setup->SetEditText(IDC_SETUP_DESCRIPTION, "Depth");
        setup->SetEditText(IDC_SETUP_GAGE_ID, "7");
        setup->SetEditText(IDC_SETUP_GAIN, "2");
        ASSERT_TRUE(setup->Click(IDC_SETUP_ABSOLUTE));
        ASSERT_TRUE(setup->Click(IDC_SETUP_OK));
        ASSERT_TRUE(setup->WaitClosed());
    });
    const std::string saved = directory.Read("BRW_GAGE.CFG").value_or("");
    EXPECT_NE(saved.find("=\"Depth\",1,1,0,7,,0,0,0,2,7,2,2\r\n"), std::string::npos) << saved;
}

TEST_F(GageSetupDialogTest, ReadShowsTheValueAndPollingReadsOncePerTick) {
    if (test::SimulatorPort() == 0) {
        GTEST_SKIP() << "no gage simulator on 127.0.0.1 (GAGE_SIM_TCP_PORT_FILE unset)";
    }
    // Polling ticks (while the dialog is active and polling) and poll presses, as the dialog's
    // thread takes them from its queue.
    const test::MessageCounter ticks([](const MSG& message) {
        return message.message == WM_TIMER && message.wParam == IDT_POLL &&
               ::IsDlgButtonChecked(message.hwnd, IDC_SETUP_CONTINUOUS_POLL) == BST_CHECKED &&
               ::GetActiveWindow() == message.hwnd;
    });
    const test::MessageCounter presses([](const MSG& message) {
        return message.message == WM_COMMAND && LOWORD(message.wParam) == IDC_SETUP_POLL_READ;
    });
    const auto shownCount = [](DialogDriver& dialog) {
        return std::atoi(dialog.Text(IDC_SETUP_LAST_VALUE).c_str());
    };
    Edit(0, [&](DialogDriver& dialog) {
        ASSERT_TRUE(dialog.Click(IDC_SETUP_INIT_PORT));
        ASSERT_TRUE(dialog.Click(IDC_SETUP_READ_GAGE));
        ASSERT_TRUE(test::WaitFor([&] { return dialog.Text(IDC_SETUP_LAST_VALUE) != "?"; }));
        EXPECT_EQ(dialog.Text(IDC_SETUP_LAST_VALUE)[0], '+');
        const int first = shownCount(dialog);

        ::SetForegroundWindow(dialog.Window());
        ASSERT_TRUE(dialog.Click(IDC_SETUP_CONTINUOUS_POLL));
        EXPECT_TRUE(test::WaitFor([&] { return presses.Count() >= 3; }));
        ASSERT_TRUE(dialog.Click(IDC_SETUP_CONTINUOUS_POLL));
        ASSERT_TRUE(test::WaitFor([&] {
            return ::SendMessageA(dialog.Control(IDC_SETUP_CONTINUOUS_POLL), BM_GETCHECK, 0, 0) ==
                   BST_UNCHECKED;
        }));
        // A press posted by the last polling tick may still be queued behind the click.
        EXPECT_TRUE(test::WaitFor([&] { return presses.Count() == ticks.Count(); }));
        dialog.Sync();
        const int pressed = presses.Count();
        const std::string polled = dialog.Text(IDC_SETUP_LAST_VALUE);
        ASSERT_TRUE(dialog.Click(IDC_SETUP_READ_GAGE));
        ASSERT_TRUE(test::WaitFor([&] { return dialog.Text(IDC_SETUP_LAST_VALUE) != polled; }));
        // Every press was one read command, and nothing else reached the simulator.
        EXPECT_EQ(shownCount(dialog), first + pressed + 1);
        EXPECT_TRUE(dialog.Click(IDC_SETUP_CANCEL));
    });
}

TEST_F(GageSetupDialogTest, RemovedFormatStaysRemovedAfterCancel) {
    const int result = Edit(0, [this](DialogDriver& dialog) {
        ASSERT_TRUE(dialog.SelectComboText(IDC_SETUP_FORMAT, "Spare"));
        ASSERT_TRUE(dialog.ClickNow(IDC_SETUP_FORMAT_REMOVE));
        EXPECT_FALSE(dialog.IsEnabled(IDC_SETUP_READ_GAGE));
        EXPECT_NE(boxes.boxes.at(0).text.find("REMOVE FORMAT!"), std::string::npos);
        EXPECT_EQ(dialog.ComboCount(IDC_SETUP_FORMAT), 1);
        EXPECT_EQ(::SendMessageA(dialog.Control(IDC_SETUP_FORMAT), CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_TRUE(dialog.Click(IDC_SETUP_CANCEL));
        EXPECT_TRUE(dialog.WaitClosed());
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Saved("BRW_GAGE.DEF", "TYPE1.2", "DESCRIPTION"), "");
    EXPECT_EQ(Saved("BRW_GAGE.DEF", "TYPE1.1", "DESCRIPTION"), "Counter");
    EXPECT_EQ(runtime.gages[0].FormatNumber, 1);  // cancelled: the working copy is dropped
}

// Not a test: holds the dialog after a read of a simulated gage while scripts/screenshots.sh
// photographs it.
TEST_F(GageSetupDialogTest, DISABLED_ScreenshotStates) {
    ASSERT_NE(std::getenv("GAGE_SCREENSHOT_DIR"), nullptr) << "run through scripts/screenshots.sh";
    ConnectionRecord& bench = runtime.connections[2];
    bench = ConnectionRecord{};
    bench.Name = "Bench left";
    bench.InterfaceType = 1;
    test::MakeSerial9600(bench, 3);
    GageRecord& gage = runtime.gages[0];
    gage.Name = "RandomValue Caliper";
    gage.SerialNumber = "SN-1234";
    gage.GageId = 1;
    gage.Minimum = -3.0;
    gage.Maximum = 3.0;
    gage.Precision = 4;
    Edit(0, [&](DialogDriver& dialog) {
        ASSERT_TRUE(dialog.Click(IDC_SETUP_READ_GAGE));
        ASSERT_TRUE(test::WaitFor([&] { return dialog.Text(IDC_SETUP_LAST_VALUE) != "?"; }));
        dialog.Sync();
        EXPECT_TRUE(test::HoldForScreenshot(dialog.Window(), "gaging-device-setup"));
        EXPECT_TRUE(dialog.Click(IDC_SETUP_CANCEL));
    });
}

}  // namespace
}  // namespace gage
