#include "ui/gage_bar_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <array>

#include "reading/read_cycle.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/gage_bar_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

constexpr UINT kPollPeriodMs = 100;

class GageBarDialog final : public DialogBase {
  public:
    explicit GageBarDialog(UiContext& context) : context_(context), form_(context) {}

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    void OnDestroy() override { ::KillTimer(Window(), IDT_POLL); }

  private:
    void ReadRow(int row, unsigned options);

    UiContext& context_;
    GageBarForm form_;
};

bool GageBarDialog::OnInit() {
    context_.engine.support.LangTranslateDialog(Window());
    const std::array<std::string, kBarRowCount> names = form_.OpenRows(Window());
    for (int row = 0; row < kBarRowCount; ++row) {
        SetControlText(Window(), IDC_BAR_NAME_FIRST + row, names[static_cast<std::size_t>(row)]);
    }
    ::SetTimer(Window(), IDT_POLL, kPollPeriodMs, nullptr);
    return true;
}

void GageBarDialog::ReadRow(int row, unsigned options) {
    const std::optional<BarRowReading> reading = form_.ReadRow(Window(), row, options);
    if (!reading) {
        return;  // the row keeps its last value and bar
    }
    SetControlText(Window(), IDC_BAR_VALUE_FIRST + row, reading->valueText);
    HWND bar = Control(IDC_BAR_BAR_FIRST + row);
    ::SendMessageA(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(reading->bar.colour));
    if (reading->bar.position) {
        ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(*reading->bar.position), 0);
    }
}

bool GageBarDialog::OnCommand(int id, int /*code*/, HWND /*control*/) {
    if (id >= IDC_BAR_READ_FIRST && id < IDC_BAR_READ_FIRST + kBarRowCount) {
        const int row = id - IDC_BAR_READ_FIRST;
        if (IsBarRowShown(context_.gages, row)) {
            ReadRow(row, 0);
        }
        return true;
    }
    switch (id) {
        case IDC_BAR_READ_ALL:
            for (int row = 0; row < kBarRowCount; ++row) {
                if (IsBarRowShown(context_.gages, row)) {
                    ReadRow(row, 0);
                }
            }
            return true;
        case IDCANCEL:  // Close, Escape and the close box
            ::KillTimer(Window(), IDT_POLL);
            End(1);
            return true;
        case IDC_HELP_BUTTON:
            context_.engine.support.HelpShow(Window(), HELP_GAGE_BAR_COLUMNS);
            return true;
        default:
            return false;
    }
}

void GageBarDialog::OnTimer(UINT_PTR timerId) {
    if (timerId != IDT_POLL || ::GetActiveWindow() != Window()) {
        return;
    }
    std::array<bool, kBarRowCount> rowPolled{};
    for (int row = 0; row < kBarRowCount; ++row) {
        rowPolled[static_cast<std::size_t>(row)] = IsChecked(Window(), IDC_BAR_POLL_FIRST + row);
    }
    const bool allPolled = IsChecked(Window(), IDC_BAR_POLL_ALL);
    for (const int row : PolledBarRows(context_.gages, allPolled, rowPolled)) {
        ReadRow(row, READ_OPT_POLL);
    }
}

}  // namespace

int OpenGageBarColumns(UiContext& context, WindowHandle owner) {
    GageBarDialog dialog(context);
    dialog.RunModal(static_cast<HINSTANCE>(context.engine.support.Module()), IDD_GAGE_BAR_COLUMNS,
                    owner);
    return 1;
}

}  // namespace gage
