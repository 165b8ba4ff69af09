// The Format Definition and Advanced dialogs worked from the Gaging Device Setup dialog. The
// gage's connection is TCP/IP to the counting gage simulator on 127.0.0.1, which answers each
// "?\r" with the number of commands it has answered so far.

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

constexpr const char* kDefinitions =
    "[TYPE1.1]\nDESCRIPTION=Counter\nMEAS_READ=?<13>\nRECEND=<13><10>\nVALUE1=1,1,0\n"
    "MEASTIMEOUT=3000\nFMTOPTS=48\n"
    "[TYPE1.2]\nDESCRIPTION=Spare\n"
    "[TYPE1.4]\nDESCRIPTION=Binary\nDATATYPE=2\nBITS=16\nFULLSCALE=10\n";

class FormatDefinitionDialogTest : public test::DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        UseBenchGage(kDefinitions, 2);
    }
    // The setup dialog on the gage; button there opens the format dialog that drive works.
    void EditThrough(int button, const std::function<void(DialogDriver&)>& drive) {
        Drive(
            "Gaging Device Setup", [&] { EditGage(context, nullptr, runtime.gages[0], 0); },
            [&](DialogDriver& setup) {
                if (button == IDC_SETUP_FORMAT_MODIFY) {
                    ASSERT_TRUE(setup.SelectComboText(IDC_SETUP_FORMAT, "Counter"));
                }
                auto format = setup.Open(button, "Gaging Device Format Definition");
                ASSERT_TRUE(format.has_value());
                drive(*format);
                ASSERT_TRUE(format->WaitClosed());
                formatCount = setup.ComboCount(IDC_SETUP_FORMAT);
                formatSelected = setup.Text(IDC_SETUP_FORMAT);
                ASSERT_TRUE(setup.Click(IDC_SETUP_CANCEL));
                EXPECT_TRUE(setup.WaitClosed());
            });
    }
    std::string Key(int format, std::string_view key) {
        return Saved("BRW_GAGE.DEF", "TYPE1." + std::to_string(format), key, "<missing>");
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
        EXPECT_TRUE(dialog.IsEnabled(IDC_FORMAT_FULL_SCALE));
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
        {
            auto advanced = dialog.Open(IDC_FORMAT_ADVANCED, "Advanced...");
            ASSERT_TRUE(advanced.has_value());
            advanced->SetEditText(IDC_ADVANCED_MEAS_READ, "?<13>");
            advanced->SetEditText(IDC_ADVANCED_TIMEOUT, "3000");
            ASSERT_TRUE(advanced->Click(IDOK));
            ASSERT_TRUE(advanced->WaitClosed());
        }
        ASSERT_TRUE(dialog.ClickNow(IDC_FORMAT_INIT_PORT));
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
    const std::pair<const char*, const char*> saved[] = {
        {"DESCRIPTION", "Counter B"}, {"DATATYPE", "0"},        {"RECEND", "<13><10>"},
        {"MEAS_READ", "?<13>"},       {"MEASTIMEOUT", "3000"},  {"FMTOPTS", "48"},
        {"VALUE1", "1,1,0"},          {"CHANNEL", "<missing>"}, {"CODE", "0,5,2"}};
    for (const auto& [key, value] : saved) {
        EXPECT_EQ(Key(3, key), value) << key;  // 3: the first free number
    }
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
        EXPECT_EQ(dialog.Text(IDC_FORMAT_COMBINATION), "Difference (A - B)");
        EXPECT_TRUE(test::WaitFor([&] { return !dialog.IsEnabled(IDC_FORMAT_RESOLUTION); }));
        {
            // "..." types a byte's token into the edit before it.
            auto picker = dialog.Open(IDC_FORMAT_RECORD_START_PICK, "ASCII Character Values");
            ASSERT_TRUE(picker.has_value());
            picker->DoubleClickList(IDC_PICKER_LIST, 2);
            ASSERT_TRUE(test::WaitFor([&] { return picker->Text(IDC_PICKER_LINE) == "<2>"; }));
            ASSERT_TRUE(picker->Click(IDOK));
            ASSERT_TRUE(picker->WaitClosed());
        }
        EXPECT_EQ(dialog.Text(IDC_FORMAT_RECORD_START), "<2>");
        ASSERT_TRUE(dialog.ClickNow(IDC_FORMAT_INIT_GAGE));
        EXPECT_EQ(Key(0, "RECSTART"), "<2>");
        dialog.PressEscape();
    });
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_NE(boxes.boxes[0].text.find("MODIFY FORMAT!"), std::string::npos);
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
        auto advanced = dialog.Open(IDC_FORMAT_ADVANCED, "Advanced...");
        ASSERT_TRUE(advanced.has_value());
        advanced->Sync();
        EXPECT_TRUE(test::HoldForScreenshot(advanced->Window(), "format-advanced"));
        ASSERT_TRUE(advanced->Dismiss());
        dialog.PressEscape();
    });
}

}  // namespace
}  // namespace gage
