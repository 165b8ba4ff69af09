// The Advanced dialog on Win32: shows the editing form's commands, delay, time-out and buffer
// options, and stores them back on OK.

#include "ui/format_advanced_dialog.h"

#include <string>

#include "support/support.h"
#include "ui/ascii_picker_dialog.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/format_definition_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

constexpr UINT kTimerPeriodMs = 100;

// The nine command edits in the order of AdvancedControls::commands.
constexpr int kCommandEdits[] = {
    IDC_ADVANCED_GAGE_INIT,    IDC_ADVANCED_MEAS_INIT,      IDC_ADVANCED_MEAS_START,
    IDC_ADVANCED_MEAS_STOP,    IDC_ADVANCED_MEAS_READ,      IDC_ADVANCED_MEAS_POST,
    IDC_ADVANCED_MEAS_REQUEST, IDC_ADVANCED_SUBGROUP_START, IDC_ADVANCED_SUBGROUP_END};
constexpr int kPickButtons[] = {IDC_ADVANCED_GAGE_INIT_PICK,    IDC_ADVANCED_MEAS_INIT_PICK,
                                IDC_ADVANCED_MEAS_START_PICK,   IDC_ADVANCED_MEAS_STOP_PICK,
                                IDC_ADVANCED_MEAS_READ_PICK,    IDC_ADVANCED_MEAS_POST_PICK,
                                IDC_ADVANCED_MEAS_REQUEST_PICK, IDC_ADVANCED_SUBGROUP_START_PICK,
                                IDC_ADVANCED_SUBGROUP_END_PICK};

class AdvancedDialog final : public DialogBase {
  public:
    AdvancedDialog(Support& support, GageFormat& form) : support_(support), form_(form) {}

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    void OnDestroy() override { ::KillTimer(Window(), IDT_POLL); }

  private:
    void Finish(INT_PTR result) {
        ::KillTimer(Window(), IDT_POLL);
        End(result);
    }

    Support& support_;
    GageFormat& form_;
};

bool AdvancedDialog::OnInit() {
    HWND window = Window();
    support_.LangTranslateDialog(window);
    support_.LangBanner(Control(IDC_BANNER));
    for (const int id : {IDC_ADVANCED_DELAY, IDC_ADVANCED_TIMEOUT}) {
        support_.GenEditFilter(Control(id), 3, 4, 0, 0.0, 0.0, 0, 1);
    }
    for (const int id : kCommandEdits) {
        ::SendMessageA(Control(id), EM_LIMITTEXT, kCommandEditRoom, 0);
    }
    ::SetTimer(window, IDT_POLL, kTimerPeriodMs, nullptr);
    const AdvancedControls controls = AdvancedControlTexts(form_);
    for (std::size_t i = 0; i < controls.commands.size(); ++i) {
        SetControlText(window, kCommandEdits[i], controls.commands[i]);
    }
    SetControlText(window, IDC_ADVANCED_DELAY, controls.delay);
    SetControlText(window, IDC_ADVANCED_TIMEOUT, controls.timeout);
    SetChecked(window, IDC_ADVANCED_CLEAR_BEFORE, controls.clearBefore);
    SetChecked(window, IDC_ADVANCED_CLEAR_AFTER, controls.clearAfter);
    return true;
}

bool AdvancedDialog::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED) {
        return false;
    }
    for (const int pick : kPickButtons) {
        if (id == pick) {
            OpenAsciiPicker(support_, Window(), ::GetNextDlgTabItem(Window(), control, TRUE));
            return true;
        }
    }
    switch (id) {
        case IDOK: {
            AdvancedControls controls;
            for (std::size_t i = 0; i < controls.commands.size(); ++i) {
                controls.commands[i] = ControlText(Window(), kCommandEdits[i]);
            }
            controls.delay = ControlText(Window(), IDC_ADVANCED_DELAY);
            controls.timeout = ControlText(Window(), IDC_ADVANCED_TIMEOUT);
            controls.clearBefore = IsChecked(Window(), IDC_ADVANCED_CLEAR_BEFORE);
            controls.clearAfter = IsChecked(Window(), IDC_ADVANCED_CLEAR_AFTER);
            StoreAdvanced(controls, form_);
            Finish(1);
            return true;
        }
        case IDCANCEL:
            Finish(0);
            return true;
        case IDC_ADVANCED_HELP:
            support_.HelpShow(Window(), HELP_FORMAT_ADVANCED);
            return true;
        default:
            return false;
    }
}

void AdvancedDialog::OnTimer(UINT_PTR timerId) {
    if (timerId == IDT_POLL && ::GetActiveWindow() == Window() &&
        (::GetAsyncKeyState(VK_F1) & 0x8000) != 0) {
        support_.HelpShow(Window(), HELP_FORMAT_ADVANCED);
    }
}

}  // namespace

int RunAdvancedDialog(Support& support, HWND owner, GageFormat& form) {
    AdvancedDialog dialog(support, form);
    return dialog.RunModal(static_cast<HINSTANCE>(support.Module()), IDD_FORMAT_ADVANCED, owner) ==
                   1
               ? 1
               : 0;
}

}  // namespace gage
