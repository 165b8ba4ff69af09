// The Gage Server Configuration dialog, opened by command 3 on the test's main thread as a host
// opens it and worked from a second thread by the dialog driver. The assertions are on
// BRW_GAGE.CFG as the dialog wrote it and on the tables reloaded from it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "entry/commands.h"
#include "entry/configuration_reload.h"
#include "helpers/scoped_environment.h"
#include "helpers/temporary_directory.h"
#include "helpers/text_lines.h"
#include "support/builtin_message_box.h"
#include "ui/resources/resource.h"

namespace gage {
namespace {

using test::DialogDriver;

constexpr const char* kTitle = "Gage Server Configuration";
constexpr UINT kHostCommandMessage = WM_APP + 1;

// Three gages on Bench, one on Line 2, one connection without gages.
constexpr const char* kConfiguration =
    "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n"
    "[INTERFACES]\r\n"
    "MUX_0=\"Bench\",1,0,9600,8,1,1,1,1024,0,\r\n"
    "MUX_3=\"Line 2\",1,0,9600,8,1,1,1,1024,0,\r\n"
    "MUX_5=\"Spare\",1,0,9600,8,1,1,1,1024,0,\r\n"
    "[GAGES]\r\n"
    "GAGE_1=\"Caliper\",1,1,0,1,SN-1,0,25,0,1,3,0,0\r\n"
    "GAGE_2=\"Bore\",1,1,0,2,SN-2,0,25,0,1,3,0,0\r\n"
    "GAGE_3=\"Depth\",1,1,0,3,SN-3,0,25,0,1,3,0,3\r\n"
    "GAGE_4=\"Height\",1,1,0,4,SN-4,0,25,0,1,3,0,0\r\n";

// The host: a window of the main thread owns the dialog; a message posted to it makes it call
// the entry point from inside the dialog's message loop, as a host's window procedure would.
struct HostCalls {
    Runtime* runtime = nullptr;
    std::intptr_t configure = -1;
    std::intptr_t configuring = -1;
};
HostCalls g_host;

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHostCommandMessage) {
        g_host.configure = RunCommand(*g_host.runtime, window, 1, GSV_CMD_CONFIGURE, nullptr);
        g_host.configuring =
            RunCommand(*g_host.runtime, window, 1, GSV_CMD_IS_CONFIGURING, nullptr);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

class ConfigDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = HostProcedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "GageTestHost";
        ::RegisterClassA(&windowClass);
        host_ = ::CreateWindowExA(0, "GageTestHost", "Host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (host_ == nullptr) {
            GTEST_SKIP() << "no display to create windows on";
        }
        ::ShowWindow(host_, SW_SHOW);
        g_host = HostCalls{&runtime_};
        runtime_.settings.ConfigurationPath = directory_.Write("BRW_GAGE.CFG", kConfiguration);
        runtime_.settings.DefinitionsPath = directory_.File("BRW_GAGE.DEF");
        ASSERT_EQ(LoadRuntimeConfiguration(runtime_, nullptr), 1);
    }

    void TearDown() override {
        if (host_ != nullptr) {
            ::DestroyWindow(host_);
        }
    }

    // Command 3 on this thread while drive works the dialog; then the dialog must be closed.
    void Configure(const std::function<void(DialogDriver&)>& drive) {
        test::DriveDialog(
            [&] { EXPECT_EQ(RunCommand(runtime_, host_, 1, GSV_CMD_CONFIGURE, nullptr), 1); },
            [&] {
                auto dialog = DialogDriver::Attach(kTitle);
                ASSERT_TRUE(dialog) << "the dialog did not open";
                drive(*dialog);
                EXPECT_TRUE(dialog->WaitClosed());
            });
        EXPECT_EQ(runtime_.configDialog, nullptr);
        EXPECT_EQ(RunCommand(runtime_, host_, 1, GSV_CMD_IS_CONFIGURING, nullptr), 0);
    }

    std::vector<std::string> SavedLines() const {
        return test::ReadLines(directory_.File("BRW_GAGE.CFG"));
    }
    std::vector<std::string> SavedKeys(std::string_view prefix) const {
        std::vector<std::string> keys;
        for (const std::string& line : SavedLines()) {
            if (line.rfind(prefix, 0) == 0) {
                keys.push_back(line);
            }
        }
        return keys;
    }
    std::vector<std::string> GageNames() const {
        std::vector<std::string> names;
        for (const GageRecord& gage : runtime_.gages) {
            names.push_back(gage.Name.str());
        }
        return names;
    }

    // Delete on the current tab, and the answer to its warning.
    static void Delete(DialogDriver& dialog, int answer, std::string_view expectedText) {
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_DELETE));
        const auto box = test::WaitForMessageBox(dialog.Window());
        ASSERT_TRUE(box) << "no warning";
        EXPECT_EQ(box->title, "Warning");
        EXPECT_NE(box->text.find(expectedText), std::string::npos) << box->text;
        ASSERT_TRUE(test::AnswerMessageBox(*box, answer));
        dialog.Sync();
    }

    // Real message boxes, answered by the driver.
    test::ScopedEnvironment boxesShown_{builtin::kNoMessageBoxesVariable, std::nullopt};
    test::TemporaryDirectory directory_{"gage-dialog-"};
    Runtime runtime_;
    HWND host_ = nullptr;
};

TEST_F(ConfigDialogTest, EveryControlTheCodeUsesIsInTheTemplate) {
    Configure([](DialogDriver& dialog) {
        for (const int id : {IDC_BANNER, IDC_CONFIG_TABS, IDC_CONFIG_CONNECTION_HEAD_NAME,
                             IDC_CONFIG_CONNECTION_HEAD_SOURCE, IDC_CONFIG_GAGE_HEAD_NAME,
                             IDC_CONFIG_GAGE_HEAD_CONNECTION, IDC_CONFIG_CONNECTION_LIST,
                             IDC_CONFIG_GAGE_LIST, IDC_CONFIG_ADD, IDC_CONFIG_EDIT,
                             IDC_CONFIG_DELETE, IDC_CONFIG_CLOSE, IDC_HELP_BUTTON}) {
            EXPECT_TRUE(dialog.HasControl(id)) << "control " << id;
        }
        EXPECT_EQ(dialog.Text(IDC_BANNER), "Gage Server Configuration");  // keys are gone
        EXPECT_EQ(dialog.Text(IDC_CONFIG_ADD), "&1. Add...");
        // The underlined characters work: Alt+A goes to the list, Alt+1 adds.
        dialog.PressAlt('a');
        EXPECT_TRUE(
            test::WaitFor([&] { return dialog.FocusedControl() == IDC_CONFIG_CONNECTION_LIST; }));
        dialog.PressAlt('1');
        auto port = DialogDriver::Attach("Gage Interface Selection");
        ASSERT_TRUE(port) << "Alt+1 did not add";
        port->PressEscape();
        ASSERT_TRUE(port->WaitClosed());
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_CLOSE));
    });
}

TEST_F(ConfigDialogTest, EscapeSavesAsCloseDoesAndTheTablesAreReloaded) {
    // The file on disk differs from the tables: a line the loader skips is not written back.
    directory_.Write("BRW_GAGE.CFG", std::string(kConfiguration) + "GAGE_9=\"Lost\",1\r\n");
    runtime_.gages[1].Name = "Bore renamed";  // what an edit in the open dialog leaves behind
    Configure([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.ListLines(IDC_CONFIG_CONNECTION_LIST),
                  (std::vector<std::string>{"Bench\t(undefined)", "Line 2\t(undefined)",
                                            "Spare\t(undefined)"}));
        EXPECT_EQ(dialog.ListSelection(IDC_CONFIG_CONNECTION_LIST), 2);  // the last added
        dialog.PressEscape();
    });
    EXPECT_EQ(SavedKeys("GAGE_"),
              (std::vector<std::string>{"GAGE_1=\"Caliper\",1,1,0,1,SN-1,0,25,0,1,3,0,0",
                                        "GAGE_2=\"Bore renamed\",1,1,0,2,SN-2,0,25,0,1,3,0,0",
                                        "GAGE_3=\"Depth\",1,1,0,3,SN-3,0,25,0,1,3,0,3",
                                        "GAGE_4=\"Height\",1,1,0,4,SN-4,0,25,0,1,3,0,0"}));
    EXPECT_EQ(GageNames(),
              (std::vector<std::string>{"Caliper", "Bore renamed", "Depth", "Height"}));
}

TEST_F(ConfigDialogTest, DeletingAConnectionRemovesItsGagesAndKeepsTheRest) {
    Configure([](DialogDriver& dialog) {
        ASSERT_TRUE(dialog.SelectListText(IDC_CONFIG_CONNECTION_LIST, "Bench"));
        Delete(dialog, IDYES, "REMOVE CONNECTION!");
        EXPECT_EQ(dialog.ListLines(IDC_CONFIG_CONNECTION_LIST),
                  (std::vector<std::string>{"Line 2\t(undefined)", "Spare\t(undefined)"}));
        EXPECT_EQ(dialog.ListSelection(IDC_CONFIG_CONNECTION_LIST), 0);  // same position
        dialog.SwitchTab(IDC_CONFIG_TABS, 1);
        EXPECT_TRUE(dialog.IsVisible(IDC_CONFIG_GAGE_LIST));
        EXPECT_FALSE(dialog.IsVisible(IDC_CONFIG_CONNECTION_LIST));
        EXPECT_EQ(dialog.ListLines(IDC_CONFIG_GAGE_LIST),
                  (std::vector<std::string>{"Depth\tLine 2 ((undefined))"}));
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_CLOSE));
    });
    EXPECT_EQ(SavedKeys("MUX_"),
              (std::vector<std::string>{"MUX_3=\"Line 2\",1,0,9600,8,1,1,1,1024,0,",
                                        "MUX_5=\"Spare\",1,0,9600,8,1,1,1,1024,0,"}));
    EXPECT_EQ(SavedKeys("GAGE_"),
              (std::vector<std::string>{"GAGE_1=\"Depth\",1,1,0,3,SN-3,0,25,0,1,3,0,3"}));
    EXPECT_EQ(GageNames(), (std::vector<std::string>{"Depth"}));
}

TEST_F(ConfigDialogTest, NoToTheWarningAndACancelledDataPortDialogChangeNothing) {
    const std::vector<std::string> before = SavedLines();
    Configure([](DialogDriver& dialog) {
        Delete(dialog, IDNO, "REMOVE CONNECTION!");  // Spare, the selected line
        dialog.DoubleClickList(IDC_CONFIG_CONNECTION_LIST, 0);
        auto port = DialogDriver::Attach("Gage Interface Selection");
        ASSERT_TRUE(port) << "a double-click edits the connection";
        port->PressEscape();
        ASSERT_TRUE(port->WaitClosed());

        dialog.SwitchTab(IDC_CONFIG_TABS, 1);
        ASSERT_TRUE(dialog.SelectListText(IDC_CONFIG_GAGE_LIST, "Depth"));
        Delete(dialog, IDNO, "DELETE GAGE!");
        EXPECT_EQ(dialog.ListLines(IDC_CONFIG_GAGE_LIST).size(), 4u);
        EXPECT_EQ(dialog.ListLines(IDC_CONFIG_CONNECTION_LIST).size(), 3u);
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_CLOSE));
    });
    EXPECT_EQ(SavedLines(), before);
}

TEST_F(ConfigDialogTest, DeletingTheLastLineSelectsTheNewLastAndTheOnlyLineLeavesNone) {
    Configure([](DialogDriver& dialog) {
        dialog.SwitchTab(IDC_CONFIG_TABS, 1);
        // Sorted: Bore, Caliper, Depth, Height.
        EXPECT_EQ(dialog.ListSelection(IDC_CONFIG_GAGE_LIST), 0);
        for (const int remaining : {3, 2, 1}) {
            dialog.SelectList(IDC_CONFIG_GAGE_LIST, remaining);
            Delete(dialog, IDYES, "DELETE GAGE!");
            EXPECT_EQ(dialog.ListSelection(IDC_CONFIG_GAGE_LIST), remaining - 1);
        }
        Delete(dialog, IDYES, "DELETE GAGE!");
        EXPECT_TRUE(dialog.ListLines(IDC_CONFIG_GAGE_LIST).empty());
        EXPECT_EQ(dialog.ListSelection(IDC_CONFIG_GAGE_LIST), -1);
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_CLOSE));
    });
    EXPECT_TRUE(SavedKeys("GAGE_").empty());
    EXPECT_EQ(SavedKeys("MUX_").size(), 3u);
    EXPECT_TRUE(runtime_.gages.empty());
}

TEST_F(ConfigDialogTest, ASecondConfigureWhileOpenRaisesTheOpenDialog) {
    HWND host = host_;
    Configure([host](DialogDriver& dialog) {
        ::ShowWindow(dialog.Window(), SW_HIDE);
        ASSERT_TRUE(test::WaitFor([&] { return !::IsWindowVisible(dialog.Window()); }));
        ::PostMessageA(host, kHostCommandMessage, 0, 0);
        EXPECT_TRUE(test::WaitFor([&] { return ::IsWindowVisible(dialog.Window()) != FALSE; }));
        dialog.Sync();
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_CLOSE));
    });
    EXPECT_EQ(g_host.configure, 1);
    EXPECT_EQ(g_host.configuring, 1);
}

// Not a test: holds the dialog in the states the user documentation shows while
// scripts/screenshots.sh photographs them. For each state it writes NAME.ready (holding the
// window's title) into GAGE_SCREENSHOT_DIR and waits until the script has removed it.
TEST_F(ConfigDialogTest, DISABLED_ScreenshotStates) {
    ASSERT_NE(std::getenv("GAGE_SCREENSHOT_DIR"), nullptr) << "run through scripts/screenshots.sh";
    directory_.Write("BRW_GAGE.CFG",
                     "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n[INTERFACES]\r\n"
                     "MUX_0=\"Bench left\",1,3,9600,8,1,1,1,1024,0,\r\n"
                     "MUX_1=\"Cell 4 converter\",1,4001,127,0,0,1,1,1024,1,\r\n"
                     "MUX_2=\"Spare port\",1,0,9600,8,1,1,1,1024,0,\r\n"
                     "[GAGES]\r\n"
                     "GAGE_1=\"Caliper 1\",1,1,0,1,SN-1234,0,25,0,1,3,0,0\r\n"
                     "GAGE_2=\"Bore gage\",1,1,2,5,SN-77,0,25,0,1,3,0,1\r\n"
                     "GAGE_3=\"Depth indicator\",1,1,3,6,,0,10,0,1,4,0,1\r\n"
                     "GAGE_4=\"Height stand\",1,1,0,1,,0,300,0,1,2,0,0\r\n");
    runtime_.TearDown();
    ASSERT_EQ(LoadRuntimeConfiguration(runtime_, nullptr), 1);
    Configure([&](DialogDriver& dialog) {
        dialog.Sync();
        EXPECT_TRUE(test::HoldForScreenshot(dialog.Window(), "config-connections"));
        dialog.SwitchTab(IDC_CONFIG_TABS, 1);
        dialog.SelectListText(IDC_CONFIG_GAGE_LIST, "Caliper 1");
        dialog.Sync();
        EXPECT_TRUE(test::HoldForScreenshot(dialog.Window(), "config-gages"));
        dialog.SwitchTab(IDC_CONFIG_TABS, 0);
        dialog.SelectListText(IDC_CONFIG_CONNECTION_LIST, "Bench left");
        ASSERT_TRUE(dialog.Click(IDC_CONFIG_DELETE));
        const auto box = test::WaitForMessageBox(dialog.Window());
        ASSERT_TRUE(box);
        EXPECT_TRUE(test::HoldForScreenshot(box->window, "config-remove-connection"));
        ASSERT_TRUE(test::AnswerMessageBox(*box, IDNO));
        dialog.PressEscape();
    });
}

}  // namespace
}  // namespace gage
