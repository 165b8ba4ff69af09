#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "support/builtin_strings.h"
#include "support/window_text.h"

namespace gage::builtin {

namespace {

// A string resource holds at most 4095 characters.
constexpr int kLongestResourceString = 4096;

void StripWindowTextKey(HWND window) {
    const std::string text = WindowText(window);
    const std::string_view stripped = StripTranslationKey(text);
    if (stripped.size() != text.size()) {
        ::SetWindowTextA(window, std::string(stripped).c_str());
    }
}

BOOL CALLBACK StripChildKey(HWND child, LPARAM) {
    StripWindowTextKey(child);
    return TRUE;
}

// The banner's bold font lives as long as the banner: the subclass deletes it on destruction.
constexpr UINT_PTR kBannerSubclassId = 0x6B42;
constexpr const char* kBannerProperty = "GageBannerFont";

LRESULT CALLBACK BannerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR font) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, BannerProc, id);
        ::RemovePropA(window, kBannerProperty);
        ::DeleteObject(reinterpret_cast<HFONT>(font));
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

std::optional<std::string> LoadRawString(void* module, unsigned id) {
    HINSTANCE instance =
        module != nullptr ? static_cast<HINSTANCE>(module) : ::GetModuleHandleA(nullptr);
    // Loaded whole, so that the key comes off before the text is cut to the caller's buffer.
    std::vector<char> text(kLongestResourceString + 1, '\0');
    const int length = ::LoadStringA(instance, id, text.data(), static_cast<int>(text.size()));
    if (length > 0) {
        return std::string(text.data(), static_cast<std::size_t>(length));
    }
    // A module without the string (a test program has no string table) uses the compiled-in
    // copy of the same list.
    if (const auto entry = FindTableString(id)) {
        return std::string(*entry);
    }
    return std::nullopt;
}

void TranslateDialog(WindowHandle dialog) {
    if (dialog == nullptr || !::IsWindow(dialog)) {
        return;
    }
    StripWindowTextKey(dialog);
    ::EnumChildWindows(dialog, StripChildKey, 0);
}

void ApplyBannerLook(WindowHandle banner) {
    if (banner == nullptr || !::IsWindow(banner)) {
        return;
    }
    if (::GetPropA(banner, kBannerProperty) != nullptr) {
        return;  // already bold
    }
    auto current = reinterpret_cast<HFONT>(::SendMessageA(banner, WM_GETFONT, 0, 0));
    if (current == nullptr) {
        current = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTA look{};
    if (::GetObjectA(current, sizeof(look), &look) == 0) {
        return;
    }
    look.lfWeight = FW_BOLD;
    HFONT bold = ::CreateFontIndirectA(&look);
    if (bold == nullptr) {
        return;
    }
    if (!::SetWindowSubclass(banner, BannerProc, kBannerSubclassId,
                             reinterpret_cast<DWORD_PTR>(bold))) {
        ::DeleteObject(bold);
        return;
    }
    ::SetPropA(banner, kBannerProperty, bold);
    ::SendMessageA(banner, WM_SETFONT, reinterpret_cast<WPARAM>(bold), TRUE);
}

}  // namespace gage::builtin
