// The Format Definition and Advanced dialogs driven as a user works them, from the Gaging Device
// Setup dialog. The gage's connection is TCP/IP to the counting gage simulator on 127.0.0.1,
// which answers each "?\r" with the number of commands it has answered so far.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "channels/tcp_channel.h"
#include "config/profile.h"
#include "dialog_driver.h"
#include "entry/runtime.h"
#include "gage_dialog_fixture.h"
#include "helpers/serial_record.h"
#include "helpers/temporary_directory.h"
#include "reading/engine_clock.h"
#include "simulator_port.h"
#include "ui/gage_setup_dialog.h"
#include "ui/resources/resource.h"

namespace gage {
namespace {

using test::DialogDriver;

constexpr const char* kSetupTitle = "Gaging Device Setup";
constexpr const char* kTitle = "Gaging Device Format Definition";

constexpr const char* kDefinitions =
    "[TYPE1.1]\nDESCRIPTION=Counter\nMEAS_READ=?<13>\nRECEND=<13><10>\nVALUE1=1,1,0\n"
    "MEASTIMEOUT=3000\nFMTOPTS=48\n"
    "[TYPE1.2]\nDESCRIPTION=Spare\n"
    "[TYPE1.4]\nDESCRIPTION=Binary\nDATATYPE=2\nBITS=16\nFULLSCALE=10\n";

class FormatDefinitionDialogTest : public test::GageDialogFixture {
  protected:
    void SetUp() override { SetUpGage(kDefinitions, 2); }

    // Opens the setup dialog on the gage, presses button there and works the format dialog.
    int EditThrough(int button, const std::function<void(DialogDriver&)>& drive) {
        int result = -1;
        test::DriveDialog([&] { result = EditGage(context, nullptr, runtime.gages[0], 0); },
                          [&] {
                              auto setup = DialogDriver::Attach(kSetupTitle);
                              ASSERT_TRUE(setup.has_value());
                              if (button == IDC_SETUP_FORMAT_MODIFY) {
                                  ASSERT_TRUE(setup->SelectComboText(IDC_SETUP_FORMAT, "Counter"));
                              }
                              ASSERT_TRUE(setup->Click(button));
                              auto format = DialogDriver::Attach(kTitle);
                              ASSERT_TRUE(format.has_value());
                              drive(*format);
                              ASSERT_TRUE(format->WaitClosed());
                              formatCount = static_cast<int>(::SendMessageA(
                                  setup->Control(IDC_SETUP_FORMAT), CB_GETCOUNT, 0, 0));
                              formatSelected = setup->Text(IDC_SETUP_FORMAT);
                              ASSERT_TRUE(setup->Click(IDC_SETUP_CANCEL));
                              EXPECT_TRUE(setup->WaitClosed());
                          });
        return result;
    }
    std::string Key(int format, std::string_view key) {
        return profile::GetString(runtime.settings.DefinitionsPath,
                                  "TYPE1." + std::to_string(format), key, "<missing>");
    }

    int formatCount = 0;
    std::string formatSelected;
};

TEST_F(FormatDefinitionDialogTest, NewFormatIsTriedOnTheGageAndSavedAsTyped) {
    if (test::SimulatorPort() == 0) {
        GTEST_SKIP() << "no gage simulator on 127.0.0.1 (GAGE_SIM_TCP_PORT_FILE unset)";
    }
    EditThrough(IDC_SETUP_FORMAT_CREATE, [this](DialogDriver& dialog) {
        EXPECT_FALSE(dialog.IsEnabled(IDC_FORMAT_SAVE));  // a new format is saved as new
        for (const int id :
             {IDC_FORMAT_RESOLUTION, IDC_FORMAT_FULL_SCALE, IDC_FORMAT_DECIMAL_SEPARATOR}) {
            EXPECT_TRUE(dialog.IsEnabled(id)) << id;  // no type chosen yet
        }
        ASSERT_TRUE(dialog.SelectComboText(IDC_FORMAT_TYPE, "ASCII (16 bit)"));
        EXPECT_FALSE(dialog.IsEnabled(IDC_FORMAT_RESOLUTION));
        EXPECT_FALSE(dialog.IsEnabled(IDC_FORMAT_FULL_SCALE));
        EXPECT_TRUE(dialog.IsEnabled(IDC_FORMAT_DECIMAL_SEPARATOR));
        ASSERT_TRUE(dialog.SelectComboText(IDC_FORMAT_TYPE, "ASCII (8Bit)"));

        dialog.SetEditText(IDC_FORMAT_DESCRIPTION, "Counter B");
        dialog.SetEditText(IDC_FORMAT_RECORD_END, "<13><10>");
        dialog.SetEditText(IDC_FORMAT_ROW_VALUE_A, "1");
        dialog.SetEditText(IDC_FORMAT_ROW_VALUE_A + IDC_FORMAT_ROW_START, "1");
        ASSERT_TRUE(dialog.SelectComboText(IDC_FORMAT_COMBINATION, "Difference"));

        ASSERT_TRUE(dialog.Click(IDC_FORMAT_ADVANCED));
        auto advanced = DialogDriver::Attach("Advanced...");
        ASSERT_TRUE(advanced.has_value());
        advanced->SetEditText(IDC_ADVANCED_MEAS_READ, "?<13>");
        advanced->SetEditText(IDC_ADVANCED_TIMEOUT, "3000");
        ASSERT_TRUE(advanced->Click(IDOK));
        ASSERT_TRUE(advanced->WaitClosed());

        ASSERT_TRUE(dialog.Click(IDC_FORMAT_INIT_PORT));
        dialog.Sync();
        ASSERT_TRUE(dialog.Click(IDC_FORMAT_READ_GAGE));
        ASSERT_TRUE(test::WaitFor([&] { return !dialog.Text(IDC_FORMAT_SAMPLE_VALUE_A).empty(); }));
        EXPECT_EQ(dialog.Text(IDC_FORMAT_SAMPLE_VALUE_A)[0], '+');
        const std::string raw = dialog.Text(IDC_FORMAT_RAW_BYTES);
        EXPECT_NE(raw.find("<13><10>"), std::string::npos) << raw;
        EXPECT_EQ(dialog.Text(IDC_FORMAT_RAW_LENGTH), std::to_string(raw.size() - 8 + 2));
        EXPECT_EQ(Key(0, "MEAS_READ"), "?<13>");  // the scratch copy the read used

        ASSERT_TRUE(dialog.Click(IDC_FORMAT_CONTINUOUS_POLL));
        EXPECT_TRUE(test::WaitFor([&] { return !dialog.IsEnabled(IDC_FORMAT_READ_GAGE); }));
        ASSERT_TRUE(dialog.Click(IDC_FORMAT_CONTINUOUS_POLL));
        EXPECT_TRUE(test::WaitFor([&] { return dialog.IsEnabled(IDC_FORMAT_READ_GAGE); }));

        // Rows a record of the counter could not fill, so they come after the read.
        dialog.SetEditText(IDC_FORMAT_ROW_CHANNEL + IDC_FORMAT_ROW_START, "5");  // writes no key
        dialog.SetEditText(IDC_FORMAT_ROW_CODE + IDC_FORMAT_ROW_START, "5");
        dialog.SetEditText(IDC_FORMAT_ROW_CODE + IDC_FORMAT_ROW_LENGTH, "2");
        dialog.SelectCombo(IDC_FORMAT_ROW_CODE + IDC_FORMAT_ROW_OPERATOR, 1);  // EQ, no literal
        ASSERT_TRUE(dialog.Click(IDC_FORMAT_SAVE_AS_NEW));
    });
    EXPECT_EQ(Key(3, "DESCRIPTION"), "Counter B");  // the first free number
    EXPECT_EQ(Key(3, "DATATYPE"), "0");
    EXPECT_EQ(Key(3, "RECEND"), "<13><10>");
    EXPECT_EQ(Key(3, "MEAS_READ"), "?<13>");
    EXPECT_EQ(Key(3, "MEASTIMEOUT"), "3000");
    EXPECT_EQ(Key(3, "FMTOPTS"), "48");
    EXPECT_EQ(Key(3, "VALUE1"), "1,1,0");
    EXPECT_EQ(Key(3, "CHANNEL"), "<missing>");
    EXPECT_EQ(Key(3, "CODE"), "0,5,2");
    EXPECT_EQ(Key(0, "DESCRIPTION"), "<missing>");  // the scratch copy went with the save
    EXPECT_EQ(formatCount, 4);
    EXPECT_EQ(formatSelected, "Spare");  // the gage keeps its own format
}

TEST_F(FormatDefinitionDialogTest, ModifyShowsTheSavedFormatAndCancelLeavesNoScratchCopy) {
    EditThrough(IDC_SETUP_FORMAT_MODIFY, [this](DialogDriver& dialog) {
        EXPECT_TRUE(dialog.IsEnabled(IDC_FORMAT_SAVE));
        EXPECT_EQ(dialog.Text(IDC_FORMAT_DESCRIPTION), "Counter");
        EXPECT_EQ(dialog.Text(IDC_FORMAT_TYPE), "ASCII (8Bit)");
        EXPECT_EQ(dialog.Text(IDC_FORMAT_RECORD_END), "<13><10>");
        EXPECT_EQ(dialog.Text(IDC_FORMAT_ROW_VALUE_A), "1");
        EXPECT_EQ(dialog.Text(IDC_FORMAT_ROW_VALUE_A + IDC_FORMAT_ROW_LENGTH), "");
        EXPECT_EQ(dialog.Text(IDC_FORMAT_COMBINATION), "Difference (A - B)");
        EXPECT_TRUE(test::WaitFor([&] { return !dialog.IsEnabled(IDC_FORMAT_RESOLUTION); }));

        // "..." types a byte's token into the edit before it.
        ASSERT_TRUE(dialog.Click(IDC_FORMAT_RECORD_START_PICK));
        auto picker = DialogDriver::Attach("ASCII Character Values");
        ASSERT_TRUE(picker.has_value());
        picker->DoubleClickList(IDC_PICKER_LIST, 2);
        ASSERT_TRUE(test::WaitFor([&] { return picker->Text(IDC_PICKER_LINE) == "<2>"; }));
        ASSERT_TRUE(picker->Click(IDOK));
        ASSERT_TRUE(picker->WaitClosed());
        EXPECT_EQ(dialog.Text(IDC_FORMAT_RECORD_START), "<2>");

        ASSERT_TRUE(dialog.Click(IDC_FORMAT_INIT_GAGE));
        ASSERT_TRUE(test::WaitFor([&] { return Key(0, "RECSTART") == "<2>"; }));
        dialog.PressEscape();
    });
    ASSERT_FALSE(Boxes().empty());
    EXPECT_NE(Boxes()[0].text.find("MODIFY FORMAT!"), std::string::npos);
    EXPECT_EQ(Key(0, "DESCRIPTION"), "<missing>");
    EXPECT_EQ(Key(1, "RECSTART"), "<missing>");  // nothing saved
}

// Not a test: holds the format dialog after a read of a simulated gage, and its Advanced dialog,
// while scripts/screenshots.sh photographs them.
TEST_F(FormatDefinitionDialogTest, DISABLED_ScreenshotStates) {
    ASSERT_NE(std::getenv("GAGE_SCREENSHOT_DIR"), nullptr) << "run through scripts/screenshots.sh";
    ConnectionRecord& bench = runtime.connections[2];
    bench = ConnectionRecord{};
    bench.Name = "Bench left";
    bench.InterfaceType = 1;
    test::MakeSerial9600(bench, 3);
    runtime.gages[0].Name = "RandomValue Caliper";  // read from the simulated source
    EditThrough(IDC_SETUP_FORMAT_MODIFY, [](DialogDriver& dialog) {
        ASSERT_TRUE(dialog.Click(IDC_FORMAT_READ_GAGE));
        ASSERT_TRUE(test::WaitFor([&] { return !dialog.Text(IDC_FORMAT_SAMPLE_VALUE_A).empty(); }));
        dialog.Sync();
        EXPECT_TRUE(test::HoldForScreenshot(dialog.Window(), "format-definition"));
        ASSERT_TRUE(dialog.Click(IDC_FORMAT_ADVANCED));
        auto advanced = DialogDriver::Attach("Advanced...");
        ASSERT_TRUE(advanced.has_value());
        advanced->Sync();
        EXPECT_TRUE(test::HoldForScreenshot(advanced->Window(), "format-advanced"));
        ASSERT_TRUE(advanced->Click(IDCANCEL));
        ASSERT_TRUE(advanced->WaitClosed());
        dialog.PressEscape();
    });
}

}  // namespace
}  // namespace gage
