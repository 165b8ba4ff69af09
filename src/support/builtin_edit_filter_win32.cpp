#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <memory>
#include <string>

#include "support/builtin_controls.h"
#include "support/builtin_math.h"
#include "support/clipboard_text.h"
#include "support/window_text.h"

namespace gage::builtin {

namespace {

constexpr UINT_PTR kEditFilterSubclassId = 0x6546;
// The filter state of an edit, also kept as a window property so that a second filter on the
// same edit can replace the first.
constexpr const char* kEditFilterProperty = "GageEditFilter";

struct EditFilterState {
    int kind = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    bool decimals = true;   // a decimal point may be typed
    bool negatives = true;  // a leading minus may be typed
    bool HasRange() const { return minimum < maximum; }
};

// The text as it would be with the current selection replaced by insert.
std::string TextWithSelectionReplaced(HWND edit, const std::string& insert) {
    const std::string text = WindowText(edit);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const std::size_t from = std::min<std::size_t>(start, text.size());
    const std::size_t to = std::min<std::size_t>(std::max<std::size_t>(end, from), text.size());
    return text.substr(0, from) + insert + text.substr(to);
}

// An entry on its way to a number: optional minus, digits, at most one decimal point.
bool IsNumberEntry(const std::string& text, const EditFilterState& filter) {
    bool point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            continue;
        }
        if (c == '-' && i == 0 && filter.negatives) {
            continue;
        }
        if ((c == '.' || c == ',') && filter.decimals && !point) {
            point = true;
            continue;
        }
        return false;
    }
    return true;
}

// Leaving the edit: a number outside the range is set to the nearer limit, a text that is no
// number is emptied. An empty edit stays empty (the dialogs give empty entries their meaning).
void CheckRange(HWND edit, const EditFilterState& filter) {
    const std::string text = WindowText(edit);
    if (text.empty() || !filter.HasRange()) {
        return;
    }
    const std::optional<double> value = ParseDecimal(text);
    std::string corrected;
    if (!value || std::isnan(*value)) {
        corrected.clear();
    } else if (*value < filter.minimum) {
        corrected = FormatGeneral(filter.minimum, 15);
    } else if (*value > filter.maximum) {
        corrected = FormatGeneral(filter.maximum, 15);
    } else {
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ::SetWindowTextA(edit, corrected.c_str());
}

LRESULT CALLBACK EditFilterProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR data) {
    auto* filter = reinterpret_cast<EditFilterState*>(data);
    switch (message) {
        case WM_CHAR: {
            const auto c = static_cast<char>(wParam);
            if (filter->kind == kEditFilterNumber && static_cast<unsigned char>(c) >= 0x20 &&
                !IsNumberEntry(TextWithSelectionReplaced(edit, std::string(1, c)), *filter)) {
                ::MessageBeep(MB_OK);
                return 0;
            }
            break;
        }
        case WM_PASTE:
            if (filter->kind == kEditFilterNumber &&
                !IsNumberEntry(TextWithSelectionReplaced(edit, ClipboardText(edit)), *filter)) {
                ::MessageBeep(MB_OK);
                return 0;
            }
            break;
        case WM_KILLFOCUS:
            if (filter->kind == kEditFilterNumber) {
                CheckRange(edit, *filter);
            }
            break;
        case WM_NCDESTROY: {
            ::RemoveWindowSubclass(edit, EditFilterProc, id);
            ::RemovePropA(edit, kEditFilterProperty);
            const std::unique_ptr<EditFilterState> owned(filter);  // ends with its edit
            break;
        }
        default:
            break;
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

bool IsWhole(double value) {
    return std::floor(value) == value;
}

}  // namespace

void ApplyEditFilter(WindowHandle edit, int kind, int maxCharacters, int maxLength, double minimum,
                     double maximum) {
    if (edit == nullptr || !::IsWindow(edit) ||
        (kind != kEditFilterText && kind != kEditFilterNumber)) {
        return;
    }
    const int limit = kind == kEditFilterText ? maxLength : maxCharacters;
    if (limit > 0) {
        ::SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    }
    auto state = std::make_unique<EditFilterState>();
    state->kind = kind;
    state->minimum = minimum;
    state->maximum = maximum;
    if (state->HasRange()) {
        state->decimals = !(IsWhole(minimum) && IsWhole(maximum));
        state->negatives = minimum < 0.0;
    }
    auto* previous = static_cast<EditFilterState*>(::GetPropA(edit, kEditFilterProperty));
    if (!::SetWindowSubclass(edit, EditFilterProc, kEditFilterSubclassId,
                             reinterpret_cast<DWORD_PTR>(state.get()))) {
        return;
    }
    ::SetPropA(edit, kEditFilterProperty, state.release());  // owned until WM_NCDESTROY
    const std::unique_ptr<EditFilterState> replaced(previous);
}

}  // namespace gage::builtin
