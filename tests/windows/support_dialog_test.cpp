// The built-in dialog helpers on real windows. They need a display; without one they skip.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/support.h"
#include "window_owner.h"

namespace gage {
namespace {

std::string Text(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

class SupportDialogWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog_ = std::make_unique<WindowOwner>(
            ::CreateWindowExA(0, "STATIC", "3394|Gage Server Configuration", WS_OVERLAPPED, 0, 0,
                              300, 200, nullptr, nullptr, nullptr, nullptr));
        if (dialog_->get() == nullptr) {
            GTEST_SKIP() << "no display to create windows on";
        }
        support.UseBuiltInsOnly(true);
    }

    HWND Child(const char* className, const char* text, int id, DWORD style = 0) {
        return ::CreateWindowExA(0, className, text, WS_CHILD | style, 0, 0, 100, 20,
                                 dialog_->get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 nullptr, nullptr);
    }

    void Type(HWND edit, const std::string& keys) {
        for (const char c : keys) {
            ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
        }
    }

    void LeaveEdit(HWND edit) { ::SendMessageA(edit, WM_KILLFOCUS, 0, 0); }

    std::unique_ptr<WindowOwner> dialog_;
    Support support;
};

TEST_F(SupportDialogWin32Test, KeyedCaptionAndControlTextsLoseTheirKeys) {
    HWND label = Child("STATIC", "101|Hello", 1100);
    HWND edit = Child("EDIT", "102|World", 1208);
    HWND plain = Child("BUTTON", "&1. Add...", 1241);
    HWND almost = Child("STATIC", "12a|kept", 1101);
    HWND bar = Child("STATIC", "3124||", 1102);
    ASSERT_TRUE(label && edit && plain && almost && bar);
    support.LangTranslateDialog(dialog_->get());
    EXPECT_EQ(Text(dialog_->get()), "Gage Server Configuration");
    EXPECT_EQ(Text(label), "Hello");
    EXPECT_EQ(Text(edit), "World");
    EXPECT_EQ(Text(plain), "&1. Add...");
    EXPECT_EQ(Text(almost), "12a|kept");
    EXPECT_EQ(Text(bar), "|");
    support.LangTranslateDialog(dialog_->get());  // a second pass changes nothing
    EXPECT_EQ(Text(label), "Hello");
}

TEST_F(SupportDialogWin32Test, TheBannerGetsABoldFont) {
    HWND banner = Child("STATIC", "Gage Server Configuration", 1326);
    ASSERT_NE(banner, nullptr);
    support.LangBanner(banner);
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(banner, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA look{};
    ASSERT_NE(::GetObjectA(font, sizeof(look), &look), 0);
    EXPECT_GE(look.lfWeight, FW_BOLD);
    support.LangBanner(banner);  // once is enough; the font stays the same
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(banner, WM_GETFONT, 0, 0)), font);
}

TEST_F(SupportDialogWin32Test, NumberEditTakesDigitsUpToItsLengthAndKeepsTheRange) {
    HWND octet = Child("EDIT", "", 1333, ES_AUTOHSCROLL);
    ASSERT_NE(octet, nullptr);
    support.GenEditFilter(octet, 3, 3, 0, 1.0, 255.0, 5, 1);
    Type(octet, "a1-.9x24");
    EXPECT_EQ(Text(octet), "192");
    ::SetWindowTextA(octet, "300");
    LeaveEdit(octet);
    EXPECT_EQ(Text(octet), "255");
    ::SetWindowTextA(octet, "0");
    LeaveEdit(octet);
    EXPECT_EQ(Text(octet), "1");
    ::SetWindowTextA(octet, "");
    LeaveEdit(octet);
    EXPECT_EQ(Text(octet), "");  // empty stays empty
    ::SetWindowTextA(octet, "12");
    LeaveEdit(octet);
    EXPECT_EQ(Text(octet), "12");
}

TEST_F(SupportDialogWin32Test, NumberEditWithoutRangeTakesDecimalsAndSign) {
    HWND fullScale = Child("EDIT", "", 1193, ES_AUTOHSCROLL);
    ASSERT_NE(fullScale, nullptr);
    support.GenEditFilter(fullScale, 3, 12, 12, 0.0, 0.0, 0, 1);
    Type(fullScale, "-12.5.6,7");
    EXPECT_EQ(Text(fullScale), "-12.567");
    HWND signedValue = Child("EDIT", "", 1194, ES_AUTOHSCROLL);
    support.GenEditFilter(signedValue, 3, 6, 0, -10.0, 10.0, 0, 1);
    Type(signedValue, "5-");
    EXPECT_EQ(Text(signedValue), "5");  // a minus only in front
    ::SetWindowTextA(signedValue, "-99");
    LeaveEdit(signedValue);
    EXPECT_EQ(Text(signedValue), "-10");
    ::SetWindowTextA(signedValue, "-");
    LeaveEdit(signedValue);
    EXPECT_EQ(Text(signedValue), "");  // not a number
}

TEST_F(SupportDialogWin32Test, TextEditIsLimitedToItsLength) {
    HWND description = Child("EDIT", "", 1208, ES_AUTOHSCROLL);
    ASSERT_NE(description, nullptr);
    support.GenEditFilter(description, 2, 0, 31, 0.0, 0.0, 1, 1);
    EXPECT_EQ(::SendMessageA(description, EM_GETLIMITTEXT, 0, 0), 31);
    Type(description, std::string(40, 'a') + "!");
    EXPECT_EQ(Text(description), std::string(31, 'a'));
    // A second filter replaces the first.
    support.GenEditFilter(description, 3, 2, 0, 0.0, 0.0, 0, 1);
    ::SetWindowTextA(description, "");
    Type(description, "a123");
    EXPECT_EQ(Text(description), "12");
}

TEST_F(SupportDialogWin32Test, WaitCursorReturnsThePreviousCursor) {
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    ::SetCursor(arrow);
    void* previous = support.GenWaitCursor(0);
    EXPECT_EQ(previous, arrow);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    ::SetCursor(static_cast<HCURSOR>(previous));
}

}  // namespace
}  // namespace gage
