// The entry commands that fill a host's combo box (6) or list box (7) with the gage names. (What
// command 18 says of the open configuration dialog is tested with the dialog.)

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "entry/commands.h"

namespace gage {
namespace {

std::vector<std::string> Items(HWND control, UINT countMessage, UINT textMessage) {
    std::vector<std::string> items;
    for (LRESULT i = 0; i < ::SendMessageA(control, countMessage, 0, 0); ++i) {
        char text[64] = {};
        ::SendMessageA(control, textMessage, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

TEST(EntryHostWindowTest, ComboAndListGetTheNamedGagesInTableOrder) {
    Runtime runtime;
    for (const char* name : {"Bore 1", "", "Caliper", "", "", "Depth"}) {
        runtime.gages.emplace_back().Name = name;
    }
    const auto make = [](const char* className, DWORD style) {
        return ::CreateWindowExA(0, className, "", WS_OVERLAPPED | style, 0, 0, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    };
    const test::WindowOwner combo(make("COMBOBOX", CBS_DROPDOWNLIST));
    const test::WindowOwner list(make("LISTBOX", 0));
    ASSERT_TRUE(combo.get() != nullptr && list.get() != nullptr);
    const std::vector<std::string> expected{"Bore 1", "Caliper", "Depth"};
    EXPECT_EQ(RunCommand(runtime, combo.get(), 1, GSV_CMD_FILL_COMBO, nullptr), 3);
    EXPECT_EQ(Items(combo.get(), CB_GETCOUNT, CB_GETLBTEXT), expected);
    // A high word changes nothing about which message is sent.
    EXPECT_EQ(RunCommand(runtime, list.get(), 1, 0x00010000 | GSV_CMD_FILL_LIST, nullptr), 3);
    EXPECT_EQ(Items(list.get(), LB_GETCOUNT, LB_GETTEXT), expected);
    // No window: nothing is added.
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_FILL_COMBO, nullptr), 0);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_FILL_LIST, nullptr), 0);
}

}  // namespace
}  // namespace gage
