// ASCII Character Values on Win32: a list of the 256 byte values; a double-click types the
// row's token at the caret of the working line, and OK hands the line to the target edit.

#include "ui/ascii_picker_dialog.h"

#include <windows.h>

#include <optional>
#include <string>

#include "support/window_text.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/ascii_picker_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

class AsciiPickerDialog final : public DialogBase {
  public:
    AsciiPickerDialog(Support& support, HWND target) : support_(support), target_(target) {}

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    Support& support_;
    HWND target_;
};

bool AsciiPickerDialog::OnInit() {
    HWND window = Window();
    support_.LangTranslateDialog(window);
    const std::string line = PickerStartLine(WindowText(target_));
    SetControlText(window, IDC_PICKER_LINE, line);
    const auto end = static_cast<LPARAM>(line.size());
    ::SendDlgItemMessageA(window, IDC_PICKER_LINE, EM_SETSEL, static_cast<WPARAM>(end), end);
    for (const std::string& row : AsciiPickerRows(support_)) {
        ListAddItem(window, IDC_PICKER_LIST, row, 0);
    }
    ListSelect(window, IDC_PICKER_LIST, 0);
    return true;
}

bool AsciiPickerDialog::OnCommand(int id, int code, HWND /*control*/) {
    if (id == IDC_PICKER_LIST) {
        if (code == LBN_DBLCLK) {
            const int row = ListSelection(Window(), IDC_PICKER_LIST);
            if (row >= 0) {
                const std::string token = RowToken(ListItemText(Window(), IDC_PICKER_LIST, row));
                ::SendDlgItemMessageA(Window(), IDC_PICKER_LINE, EM_REPLACESEL, TRUE,
                                      reinterpret_cast<LPARAM>(token.c_str()));
            }
        }
        return true;
    }
    if (code != BN_CLICKED) {
        return false;
    }
    if (id == IDOK) {
        if (const std::optional<std::string> line =
                PickerResult(ControlText(Window(), IDC_PICKER_LINE))) {
            ::SetWindowTextA(target_, line->c_str());
        }
        End(1);
        return true;
    }
    if (id == IDCANCEL) {
        End(0);
        return true;
    }
    return false;
}

}  // namespace

void OpenAsciiPicker(Support& support, WindowHandle owner, WindowHandle targetEdit) {
    AsciiPickerDialog dialog(support, targetEdit);
    dialog.RunModal(static_cast<HINSTANCE>(support.Module()), IDD_ASCII_PICKER, owner);
}

}  // namespace gage
