// Support on Windows: the built-in dialog helpers on real windows (the bold banner, the edit
// filters and the wait cursor) and the strings of a module's string table. Key-stripping of a
// dialog's texts shows in the dialog tests, which find every dialog by its stripped title.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "dialog_driver.h"
#include "helpers/loaded_module.h"
#include "support/support.h"

namespace gage {
namespace {

class SupportDialogWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(dialog_, nullptr);
        support.UseBuiltInsOnly(true);
    }
    HWND Child(const char* className, const char* text) {
        return ::CreateWindowExA(0, className, text, WS_CHILD | ES_AUTOHSCROLL, 0, 0, 100, 20,
                                 dialog_.get(), nullptr, nullptr, nullptr);
    }
    static void Type(HWND edit, const std::string& keys) {
        for (const char c : keys) {
            ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
        }
    }

    test::WindowOwner dialog_{::CreateWindowExA(0, "STATIC", "Gage Server Configuration",
                                                WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr,
                                                nullptr, nullptr)};
    Support support;
};

TEST_F(SupportDialogWin32Test, TheBannerGetsABoldFontOnce) {
    HWND banner = Child("STATIC", "Gage Server Configuration");
    support.LangBanner(banner);
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(banner, WM_GETFONT, 0, 0));
    LOGFONTA look{};
    ASSERT_NE(::GetObjectA(font, sizeof(look), &look), 0);
    EXPECT_GE(look.lfWeight, FW_BOLD);
    support.LangBanner(banner);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(banner, WM_GETFONT, 0, 0)), font);
}

TEST_F(SupportDialogWin32Test, EditFiltersTakeWhatTheirKindAllowsAndKeepTheRange) {
    struct Filter {
        int kind, digits, length;
        double minimum, maximum;
        int flags;
    };
    const Filter octet{3, 3, 0, 1.0, 255.0, 5}, signedRange{3, 6, 0, -10.0, 10.0, 0};
    // Typed keys: what the edit shows.
    const std::tuple<Filter, std::string, std::string> typed[] = {
        {octet, "a1-.9x24", "192"},
        {{3, 12, 12, 0.0, 0.0, 0}, "-12.5.6,7", "-12.567"},  // no range: decimals and sign
        {signedRange, "5-", "5"},                            // minus only in front
        {{2, 0, 31, 0.0, 0.0, 1}, std::string(40, 'a') + "!", std::string(31, 'a')}};  // text
    // Text set, then the focus lost: what the edit shows.
    const std::tuple<Filter, const char*, const char*> left[] = {
        {octet, "300", "255"}, {octet, "0", "1"},           {octet, "", ""},
        {octet, "12", "12"},   {signedRange, "-99", "-10"}, {signedRange, "-", ""}};
    const auto edit = [this](const Filter& f) {
        HWND made = Child("EDIT", "");
        support.GenEditFilter(made, f.kind, f.digits, f.length, f.minimum, f.maximum, f.flags, 1);
        return made;
    };
    for (const auto& [filter, keys, shown] : typed) {
        HWND made = edit(filter);
        Type(made, keys);
        EXPECT_EQ(WindowText(made), shown) << keys;
    }
    for (const auto& [filter, text, shown] : left) {
        HWND made = edit(filter);
        ::SetWindowTextA(made, text);
        ::SendMessageA(made, WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(WindowText(made), shown) << text;
    }
    HWND text = edit({2, 0, 31, 0.0, 0.0, 1});
    support.GenEditFilter(text, 3, 2, 0, 0.0, 0.0, 0, 1);  // a second filter replaces the first
    Type(text, "a123");
    EXPECT_EQ(WindowText(text), "12");
}

TEST_F(SupportDialogWin32Test, WaitCursorReturnsThePreviousCursor) {
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    ::SetCursor(arrow);
    void* previous = support.GenWaitCursor(0);
    EXPECT_EQ(previous, arrow);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    ::SetCursor(static_cast<HCURSOR>(previous));
}

TEST(SupportModuleStringsWin32Test, StringsComeFromTheModulesStringTable) {
    const test::LoadedModule other("tqxLanguage.dll");  // the host library's stand-in
    ASSERT_NE(other.get(), nullptr);
    Support support(other.get());
    support.UseBuiltInsOnly(true);
    EXPECT_EQ(support.LoadString(120), "undefined in the module");
    EXPECT_EQ(support.LoadString(4001), "only in the module");
    std::array<char, 10> buffer{};
    EXPECT_EQ(support.LangLoadString(other.get(), 4001, buffer.data(), buffer.size()), 9);
    EXPECT_STREQ(buffer.data(), "only in t");
    // Ids the module lacks come from the compiled-in copy of the library's table.
    EXPECT_EQ(support.LoadString(115), "Warning");
    EXPECT_EQ(support.LoadString(4002), "");
    // The test program has no string table at all.
    Support own;
    own.UseBuiltInsOnly(true);
    EXPECT_EQ(own.LoadString(120), "undefined");
}

}  // namespace
}  // namespace gage
