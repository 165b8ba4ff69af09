#include "ui/dialog_controls.h"

#include <commctrl.h>

#include <array>
#include <vector>

#include "support/support.h"
#include "support/window_text.h"

namespace gage {

namespace {

constexpr int kMessageTextSize = 256;
constexpr int kMessageTitleSize = 64;

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

LPARAM TextParameter(const std::string& text) {
    return reinterpret_cast<LPARAM>(text.c_str());
}

int AsPosition(LRESULT result) {
    return result < 0 ? -1 : static_cast<int>(result);
}

constexpr UINT_PTR kTabBeneathPagesSubclassId = 1;

// Before the tab control paints, the shown controls after it are taken out of what it repaints.
LRESULT CALLBACK TabBeneathPagesProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR /*unused*/) {
    if (message == WM_PAINT) {
        for (HWND page = ::GetWindow(tabs, GW_HWNDNEXT); page != nullptr;
             page = ::GetWindow(page, GW_HWNDNEXT)) {
            RECT place{};
            if (::IsWindowVisible(page) && ::GetWindowRect(page, &place)) {
                ::MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&place), 2);
                ::ValidateRect(tabs, &place);
            }
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(tabs, TabBeneathPagesProc, id);
    }
    return ::DefSubclassProc(tabs, message, wParam, lParam);
}

}  // namespace

std::string ControlText(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    return control != nullptr ? WindowText(control) : std::string();
}

void SetControlText(HWND dialog, int id, std::string_view text) {
    ::SetDlgItemTextA(dialog, id, std::string(text).c_str());
}

void AppendEditText(HWND dialog, int id, std::string_view text) {
    HWND edit = ::GetDlgItem(dialog, id);
    if (edit == nullptr || text.empty()) {
        return;
    }
    const int end = ::GetWindowTextLengthA(edit);
    ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageA(edit, EM_REPLACESEL, FALSE, TextParameter(std::string(text)));
    ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void SelectAllEditText(HWND dialog, int id) {
    Send(dialog, id, EM_SETSEL, 0, -1);
}

bool IsChecked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked) {
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControl(HWND dialog, int id, bool enabled) {
    if (HWND control = ::GetDlgItem(dialog, id)) {
        ::EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

int ShowDlgControl(HWND dialog, int id, int on) {
    HWND control = ::GetDlgItem(dialog, id);
    if (control == nullptr) {
        return 0;
    }
    ::EnableWindow(control, on == 1 ? TRUE : FALSE);
    ::ShowWindow(control, on == 1 ? SW_SHOW : SW_HIDE);
    return 1;
}

int ListAddItem(HWND dialog, int id, std::string_view text, LPARAM data) {
    const std::string line(text);
    const int position = AsPosition(Send(dialog, id, LB_ADDSTRING, 0, TextParameter(line)));
    if (position >= 0) {
        Send(dialog, id, LB_SETITEMDATA, static_cast<WPARAM>(position), data);
    }
    return position;
}

int ListCount(HWND dialog, int id) {
    return AsPosition(Send(dialog, id, LB_GETCOUNT));
}

int ListSelection(HWND dialog, int id) {
    return AsPosition(Send(dialog, id, LB_GETCURSEL));
}

void ListSelect(HWND dialog, int id, int position) {
    Send(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(position));
}

void ListDeleteItem(HWND dialog, int id, int position) {
    Send(dialog, id, LB_DELETESTRING, static_cast<WPARAM>(position));
}

void ListClear(HWND dialog, int id) {
    Send(dialog, id, LB_RESETCONTENT);
}

std::optional<LPARAM> ListItemData(HWND dialog, int id, int position) {
    if (position < 0 || position >= ListCount(dialog, id)) {
        return std::nullopt;
    }
    return static_cast<LPARAM>(Send(dialog, id, LB_GETITEMDATA, static_cast<WPARAM>(position)));
}

std::string ListItemText(HWND dialog, int id, int position) {
    const LRESULT length = Send(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(position));
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    Send(dialog, id, LB_GETTEXT, static_cast<WPARAM>(position),
         reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

int ListFindData(HWND dialog, int id, LPARAM data) {
    const int count = ListCount(dialog, id);
    for (int position = 0; position < count; ++position) {
        if (ListItemData(dialog, id, position) == data) {
            return position;
        }
    }
    return -1;
}

int ComboAddItem(HWND dialog, int id, std::string_view text, LPARAM data) {
    const std::string line(text);
    const int position = AsPosition(Send(dialog, id, CB_ADDSTRING, 0, TextParameter(line)));
    if (position >= 0) {
        Send(dialog, id, CB_SETITEMDATA, static_cast<WPARAM>(position), data);
    }
    return position;
}

int ComboCount(HWND dialog, int id) {
    return AsPosition(Send(dialog, id, CB_GETCOUNT));
}

int ComboSelection(HWND dialog, int id) {
    return AsPosition(Send(dialog, id, CB_GETCURSEL));
}

void ComboSelect(HWND dialog, int id, int position) {
    Send(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(position));
}

void ComboClear(HWND dialog, int id) {
    Send(dialog, id, CB_RESETCONTENT);
}

std::optional<LPARAM> ComboItemData(HWND dialog, int id, int position) {
    if (position < 0 || position >= ComboCount(dialog, id)) {
        return std::nullopt;
    }
    return static_cast<LPARAM>(Send(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(position)));
}

std::optional<LPARAM> ComboSelectedData(HWND dialog, int id) {
    return ComboItemData(dialog, id, ComboSelection(dialog, id));
}

int SelectComboByData(HWND dialog, int comboId, LPARAM value) {
    const LRESULT count = Send(dialog, comboId, CB_GETCOUNT);
    if (count < 0) {
        return 65535;
    }
    for (int position = 0; position < count; ++position) {
        if (ComboItemData(dialog, comboId, position) == value) {
            ComboSelect(dialog, comboId, position);
            return position;
        }
    }
    return -1;  // also for an empty combo
}

void PostPollTickPresses(HWND dialog, int helpId, int pollCheckId, int pollButtonId) {
    if (::GetActiveWindow() != dialog) {
        return;
    }
    const auto press = [dialog](int id) {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    };
    if ((::GetAsyncKeyState(VK_F1) & 0x8000) != 0) {
        press(helpId);
    }
    if (IsChecked(dialog, pollCheckId)) {
        press(pollButtonId);
    }
}

void TabInsert(HWND dialog, int id, int position, const std::string& text) {
    std::vector<char> label(text.begin(), text.end());
    label.push_back('\0');
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = label.data();
    Send(dialog, id, TCM_INSERTITEMA, static_cast<WPARAM>(position),
         reinterpret_cast<LPARAM>(&item));
}

int TabSelection(HWND dialog, int id) {
    return AsPosition(Send(dialog, id, TCM_GETCURSEL));
}

void TabSelect(HWND dialog, int id, int position) {
    Send(dialog, id, TCM_SETCURSEL, static_cast<WPARAM>(position));
}

void KeepTabBeneathPages(HWND dialog, int id) {
    if (HWND tabs = ::GetDlgItem(dialog, id)) {
        ::SetWindowSubclass(tabs, TabBeneathPagesProc, kTabBeneathPagesSubclassId, 0);
    }
}

int MessageBoxFromStrings(Support& support, HWND owner, unsigned textId, unsigned titleId,
                          unsigned style) {
    std::array<char, kMessageTextSize> text{};
    if (support.LangLoadString(support.Module(), textId, text.data(), kMessageTextSize) <= 0) {
        return 0;
    }
    std::array<char, kMessageTitleSize> title{};
    if (support.LangLoadString(support.Module(), titleId, title.data(), kMessageTitleSize) <= 0) {
        std::string_view fallback = "Error";
        fallback.copy(title.data(), fallback.size());
        title[fallback.size()] = '\0';
    }
    return support.GenMessageBox(owner, text.data(), title.data(), style);
}

}  // namespace gage
