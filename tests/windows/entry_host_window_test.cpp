// The entry commands that talk to the host's windows: filling a combo box (6) or list box (7)
// with the gage names, and telling whether the configuration dialog is open (18).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/commands.h"
#include "window_owner.h"

namespace gage {
namespace {

class EntryHostWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"Bore 1", "", "Caliper", "", "", "Depth"}) {
            GageRecord gage;
            gage.Name = name;
            runtime.gages.push_back(gage);
        }
    }

    static HWND MakeWindow(const char* className, DWORD style = 0) {
        return ::CreateWindowExA(0, className, "", WS_OVERLAPPED | style, 0, 0, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    }

    Runtime runtime;
};

std::vector<std::string> Items(HWND control, UINT countMessage, UINT textMessage) {
    std::vector<std::string> items;
    const auto count = ::SendMessageA(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = {};
        ::SendMessageA(control, textMessage, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

TEST_F(EntryHostWindowTest, ComboAndListGetTheNamedGagesInTableOrder) {
    const WindowOwner combo(MakeWindow("COMBOBOX", CBS_DROPDOWNLIST));
    const WindowOwner list(MakeWindow("LISTBOX"));
    if (combo.get() == nullptr || list.get() == nullptr) {
        GTEST_SKIP() << "no display to create windows on";
    }
    const std::vector<std::string> expected{"Bore 1", "Caliper", "Depth"};

    EXPECT_EQ(RunCommand(runtime, combo.get(), 1, GSV_CMD_FILL_COMBO, nullptr), 3);
    EXPECT_EQ(Items(combo.get(), CB_GETCOUNT, CB_GETLBTEXT), expected);

    // A high word changes nothing about which message is sent.
    EXPECT_EQ(RunCommand(runtime, list.get(), 1, 0x00010000 | GSV_CMD_FILL_LIST, nullptr), 3);
    EXPECT_EQ(Items(list.get(), LB_GETCOUNT, LB_GETTEXT), expected);

    // The count agrees with command 5 and the order with command 4.
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_GAGE_COUNT, nullptr), 3);
    const auto second = RunCommand(runtime, nullptr, 1, GSV_CMD_GAGE_NAME,
                                   reinterpret_cast<const char*>(static_cast<std::intptr_t>(1)));
    ASSERT_NE(second, 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(second), "Caliper");
}

TEST_F(EntryHostWindowTest, FillingAWindowThatIsNoControlAddsNothing) {
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_FILL_COMBO, nullptr), 0);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_FILL_LIST, nullptr), 0);
}

TEST_F(EntryHostWindowTest, IsConfiguringFollowsTheDialogWindowsLife) {
    HWND dialog = MakeWindow("STATIC");
    if (dialog == nullptr) {
        GTEST_SKIP() << "no display to create windows on";
    }
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_IS_CONFIGURING, nullptr), 0);
    runtime.configDialog = dialog;
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_IS_CONFIGURING, nullptr), 1);
    // While the dialog is open, command 3 only raises it and answers 1 without reloading.
    runtime.gages.resize(1);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_CONFIGURE, nullptr), 1);
    EXPECT_EQ(runtime.gages.size(), 1u);
    ::DestroyWindow(dialog);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_IS_CONFIGURING, nullptr), 0);
}

}  // namespace
}  // namespace gage
