#include "support/clipboard_text.h"

#include <windows.h>

#include <cstring>

namespace gage {

std::string ClipboardText(WindowHandle owner) {
    std::string text;
    if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

bool SetClipboardText(WindowHandle owner, const std::string& text) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block == nullptr) {
        return false;
    }
    void* bytes = ::GlobalLock(block);
    if (bytes == nullptr) {
        ::GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    if (::OpenClipboard(owner) == FALSE) {
        ::GlobalFree(block);
        return false;
    }
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(CF_TEXT, block) != nullptr;
    ::CloseClipboard();
    if (!placed) {
        ::GlobalFree(block);  // the clipboard owns the block only once it has taken it
    }
    return placed;
}

}  // namespace gage
