// The Gaging Device Setup dialog on Win32: moves texts between its controls and the gage setup
// form, which holds the working copy and every rule.

#include "ui/gage_setup_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "support/support.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/format_definition_dialog.h"
#include "ui/forms/gage_setup_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

constexpr UINT kPollPeriodMs = 100;
constexpr int kSerialNumberLimit = static_cast<int>(kSerialNumberSize) - 1;

// Enabled exactly while a format is applied: the gage's own settings, the test area and the
// buttons that work on the selected format.
constexpr int kTestAndFormatControls[] = {
    IDC_SETUP_CHANNEL,         IDC_SETUP_SERIAL_NUMBER,   IDC_SETUP_GAGE_ID,
    IDC_SETUP_MINIMUM,         IDC_SETUP_MAXIMUM,         IDC_SETUP_ABSOLUTE,
    IDC_SETUP_NO_READ_COMMAND, IDC_SETUP_CONTINUOUS_POLL, IDC_SETUP_READ_GAGE,
    IDC_SETUP_FORMAT_MODIFY,   IDC_SETUP_FORMAT_REMOVE,   IDC_SETUP_INIT_GAGE,
    IDC_SETUP_INIT_PORT};
// Disabled until a format is first applied; a format that fails to apply leaves them as they are.
constexpr int kFormatSettingControls[] = {
    IDC_SETUP_ZERO,       IDC_SETUP_ZERO_LABEL, IDC_SETUP_GAIN,
    IDC_SETUP_GAIN_LABEL, IDC_SETUP_PRECISION,  IDC_SETUP_PRECISION_LABEL,
    IDC_SETUP_CHANNEL,    IDC_SETUP_ABSOLUTE,   IDC_SETUP_NO_READ_COMMAND};

std::optional<std::int32_t> AsItemData(std::optional<LPARAM> data) {
    if (!data) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*data);
}

bool IsEditChange(int code) {
    return code == EN_CHANGE || code == EN_KILLFOCUS;
}

class GageSetupDialog final : public DialogBase {
  public:
    GageSetupDialog(UiContext& context, const GageRecord& gage, int gageIndex)
        : context_(context), form_(context, gage, gageIndex) {}

    const GageRecord& Working() const { return form_.Working(); }

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    void OnDestroy() override { ::KillTimer(Window(), IDT_POLL); }

  private:
    Support& support() { return context_.engine.support; }
    std::optional<std::int32_t> SelectedInterface() const {
        return AsItemData(ComboSelectedData(Window(), IDC_SETUP_INTERFACE));
    }
    std::optional<std::int32_t> SelectedFormat() const {
        return AsItemData(ComboSelectedData(Window(), IDC_SETUP_FORMAT));
    }

    void FillInterfaces();
    void FillFormats();
    void ApplyFormat();
    void ShowRange();
    void ShowZeroAndGain();
    void ShowPrecision();
    bool OnEditNotification(int id, int code);
    void OnCreateFormat();
    void OnModifyFormat();
    void OnRemoveFormat();
    void ReadGageOnce(unsigned options);
    void OnOk();
    void Finish(INT_PTR result) {
        ::KillTimer(Window(), IDT_POLL);
        End(result);
    }

    UiContext& context_;
    GageSetupForm form_;
    ReadingResult reading_{};
};

bool GageSetupDialog::OnInit() {
    HWND window = Window();
    support().LangTranslateDialog(window);
    for (const int id : kFormatSettingControls) {
        Enable(id, false);
    }
    FillInterfaces();
    FillFormats();
    SetText(IDC_SETUP_DESCRIPTION, form_.Working().Name.str());
    support().GenEditFilter(Control(IDC_SETUP_DESCRIPTION), 2, 0, static_cast<int>(kNameSize) - 1,
                            0.0, 0.0, 1, 1);
    support().GenEditFilter(Control(IDC_SETUP_CHANNEL), 3, 5, 0, 0.0, 100.0, 7, 1);
    support().GenEditFilter(Control(IDC_SETUP_GAGE_ID), 3, 5, 0, 0.0, 255.0, 7, 1);
    ::SendMessageA(Control(IDC_SETUP_SERIAL_NUMBER), EM_LIMITTEXT, kSerialNumberLimit, 0);
    ::SetTimer(window, IDT_POLL, kPollPeriodMs, nullptr);
    return true;
}

void GageSetupDialog::FillInterfaces() {
    ComboClear(Window(), IDC_SETUP_INTERFACE);
    for (const ComboLine& line : form_.InterfaceLines()) {
        ComboAddItem(Window(), IDC_SETUP_INTERFACE, line.text, line.data);
    }
    SelectComboByData(Window(), IDC_SETUP_INTERFACE, form_.Working().ConnectionIndex);
}

void GageSetupDialog::FillFormats() {
    ComboClear(Window(), IDC_SETUP_FORMAT);
    const std::optional<std::int32_t> selectedInterface = SelectedInterface();
    for (const int id : {IDC_SETUP_FORMAT_CREATE, IDC_SETUP_FORMAT_LABEL, IDC_SETUP_FORMAT}) {
        Enable(id, selectedInterface.has_value());
    }
    for (const ComboLine& line : form_.FormatLines(selectedInterface)) {
        ComboAddItem(Window(), IDC_SETUP_FORMAT, line.text, line.data);
    }
    SelectComboByData(Window(), IDC_SETUP_FORMAT, form_.WorkingFormatData());
    ApplyFormat();
}

void GageSetupDialog::ApplyFormat() {
    const bool applied = form_.ApplyFormat(Window(), SelectedInterface(), SelectedFormat());
    if (applied) {
        for (const int id : kFormatSettingControls) {
            Enable(id, true);
        }
        const GageRecord& gage = form_.Working();
        if (gage.ChannelNumber > 0) {
            SetText(IDC_SETUP_CHANNEL, ChannelText(gage.ChannelNumber));
        }
        SetText(IDC_SETUP_GAGE_ID, std::to_string(gage.GageId));
        SetText(IDC_SETUP_SERIAL_NUMBER, gage.SerialNumber.str());
        SetChecked(Window(), IDC_SETUP_NO_READ_COMMAND, (gage.Flags & GAGE_FLAG_NO_READ_CMD) != 0);
        SetChecked(Window(), IDC_SETUP_ABSOLUTE, (gage.Flags & GAGE_FLAG_ABSOLUTE) != 0);
        ShowRange();
        ShowZeroAndGain();
        ShowPrecision();
    }
    const int entered = HasEnteredRange(form_.Working()) ? 1 : 0;
    ShowDlgControl(Window(), IDC_SETUP_MINIMUM, entered);
    ShowDlgControl(Window(), IDC_SETUP_MAXIMUM, entered);
    ShowDlgControl(Window(), IDC_SETUP_MINIMUM_TEXT, 1 - entered);
    ShowDlgControl(Window(), IDC_SETUP_MAXIMUM_TEXT, 1 - entered);
    for (const int id : kTestAndFormatControls) {
        Enable(id, applied);
    }
}

void GageSetupDialog::ShowRange() {
    const GageRange range = form_.RefreshRange();
    const std::string maximum = form_.Number(range.maximum);
    const std::string minimum = form_.Number(range.minimum);
    SetText(IDC_SETUP_MAXIMUM_TEXT, maximum);
    SetText(IDC_SETUP_MAXIMUM, maximum);
    SetText(IDC_SETUP_MINIMUM_TEXT, minimum);
    SetText(IDC_SETUP_MINIMUM, minimum);
}

void GageSetupDialog::ShowZeroAndGain() {
    form_.NormaliseGainAndPrecision();
    const GageRecord& gage = form_.Working();
    SetText(IDC_SETUP_ZERO, form_.Number(gage.Zero));
    SetText(IDC_SETUP_GAIN, form_.Number(gage.Gain));
}

void GageSetupDialog::ShowPrecision() {
    form_.NormaliseGainAndPrecision();
    SetText(IDC_SETUP_PRECISION, std::to_string(form_.Working().Precision));
}

bool GageSetupDialog::OnEditNotification(int id, int code) {
    GageRecord& gage = form_.Working();
    switch (id) {
        case IDC_SETUP_CHANNEL:
            if (IsEditChange(code)) {
                gage.ChannelNumber = CappedEntry(Text(id));
                if (code == EN_KILLFOCUS) {
                    SetText(id, ChannelText(gage.ChannelNumber));
                }
            }
            return true;
        case IDC_SETUP_GAGE_ID:
            if (IsEditChange(code)) {
                gage.GageId = CappedEntry(Text(id));
                if (code == EN_KILLFOCUS) {
                    SetText(id, std::to_string(gage.GageId));
                }
            }
            return true;
        case IDC_SETUP_SERIAL_NUMBER:
            if (code == EN_CHANGE) {
                gage.SerialNumber = Text(id);
            }
            return true;
        case IDC_SETUP_ZERO:
        case IDC_SETUP_GAIN:
            if (IsEditChange(code)) {
                const std::string text = Text(id);
                if (id == IDC_SETUP_ZERO) {
                    gage.Zero = ZeroEntry(text);
                } else {
                    gage.Gain = GainEntry(text);
                }
            }
            ShowRange();
            return true;
        case IDC_SETUP_PRECISION:
            if (IsEditChange(code)) {
                const PrecisionEntry entry = PrecisionFromText(Text(id));
                gage.Precision = entry.value;
                if (entry.rewrite) {
                    SetText(id, std::to_string(entry.value));
                }
            }
            return true;
        case IDC_SETUP_MINIMUM:
        case IDC_SETUP_MAXIMUM:
            if (IsEditChange(code)) {
                if (const std::optional<double> value = RangeEntry(Text(id))) {
                    (id == IDC_SETUP_MINIMUM ? gage.Minimum : gage.Maximum) = *value;
                    if (code == EN_KILLFOCUS) {
                        ShowRange();
                    }
                }
            }
            return true;
        default:
            return false;
    }
}

bool GageSetupDialog::OnCommand(int id, int code, HWND /*control*/) {
    if (id == IDC_SETUP_INTERFACE || id == IDC_SETUP_FORMAT) {
        if (code == CBN_SELCHANGE) {
            id == IDC_SETUP_INTERFACE ? FillFormats() : ApplyFormat();
        }
        return true;
    }
    if (OnEditNotification(id, code)) {
        return true;
    }
    if (code != BN_CLICKED) {
        return false;
    }
    GageRecord& gage = form_.Working();
    switch (id) {
        case IDC_SETUP_ABSOLUTE:
            gage.Flags = IsChecked(Window(), id) ? (gage.Flags | GAGE_FLAG_ABSOLUTE)
                                                 : (gage.Flags & ~GAGE_FLAG_ABSOLUTE);
            ShowRange();
            return true;
        case IDC_SETUP_NO_READ_COMMAND:
            gage.Flags = IsChecked(Window(), id) ? (gage.Flags | GAGE_FLAG_NO_READ_CMD)
                                                 : (gage.Flags & ~GAGE_FLAG_NO_READ_CMD);
            return true;
        case IDC_SETUP_FORMAT_CREATE:
            OnCreateFormat();
            return true;
        case IDC_SETUP_FORMAT_MODIFY:
            OnModifyFormat();
            return true;
        case IDC_SETUP_FORMAT_REMOVE:
            OnRemoveFormat();
            return true;
        case IDC_SETUP_INIT_GAGE:
            form_.InitializeGage(Window());
            return true;
        case IDC_SETUP_INIT_PORT:
            form_.InitializePort(Window());
            return true;
        case IDC_SETUP_READ_GAGE:
            ReadGageOnce(0);
            return true;
        case IDC_SETUP_POLL_READ:
            ReadGageOnce(READ_OPT_POLL);
            return true;
        case IDC_HELP_BUTTON:
            support().HelpShow(Window(), HELP_GAGING_DEVICE_SETUP);
            return true;
        case IDC_SETUP_OK:
        case IDOK:
            OnOk();
            return true;
        case IDC_SETUP_CANCEL:
        case IDCANCEL:
            Finish(0);
            return true;
        default:
            return false;
    }
}

// Create opens the Format Definition dialog for a new format of the selected connection's
// interface type; Modify, once confirmed, for the selected format. After a save the format list
// is filled again, which selects and applies the working copy's own format as before.
void GageSetupDialog::OnCreateFormat() {
    const std::optional<int> type = form_.InterfaceTypeOf(SelectedInterface());
    if (!type) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (EditFormat(context_, Window(), form_.Working(), *type, 0) == 1) {
        FillFormats();
    }
}

void GageSetupDialog::OnModifyFormat() {
    const std::optional<std::int32_t> format = SelectedFormat();
    if (!format) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (MessageBoxFromStrings(support(), Window(), IDS_CONFIRM_MODIFY_FORMAT, IDS_WARNING_TITLE,
                              MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    if (EditFormat(context_, Window(), form_.Working(), FormatItemType(*format),
                   FormatItemNumber(*format)) == 1) {
        FillFormats();
    }
}

void GageSetupDialog::OnRemoveFormat() {
    const std::optional<std::int32_t> format = SelectedFormat();
    if (!format) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (MessageBoxFromStrings(support(), Window(), IDS_CONFIRM_REMOVE_FORMAT, IDS_WARNING_TITLE,
                              MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    form_.RemoveFormat(*format);
    FillFormats();
}

void GageSetupDialog::ReadGageOnce(unsigned options) {
    if (form_.Read(Window(), options, reading_) == 0) {
        return;  // the read cycle has reported what went wrong
    }
    const double value = reading_.Value;
    SetText(IDC_SETUP_LAST_VALUE, form_.Number(value));
    const GageRecord& gage = form_.Working();
    const BarState bar = ReadingBar(value, {gage.Minimum, gage.Maximum});
    HWND progress = Control(IDC_SETUP_VALUE_BAR);
    ::SendMessageA(progress, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(bar.colour));
    if (bar.position) {
        ::SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(*bar.position), 0);
    }
}

void GageSetupDialog::OnOk() {
    const std::string name = Text(IDC_SETUP_DESCRIPTION).substr(0, kNameSize - 1);
    if (!form_.IsNameAccepted(name)) {
        form_.ReportNameRefused(Window());
        return;
    }
    GageRecord& gage = form_.Working();
    gage.Name = name;
    StoreEntries(
        {Text(IDC_SETUP_CHANNEL), Text(IDC_SETUP_GAGE_ID), Text(IDC_SETUP_SERIAL_NUMBER),
         Text(IDC_SETUP_MAXIMUM), Text(IDC_SETUP_MINIMUM), Text(IDC_SETUP_ZERO),
         Text(IDC_SETUP_GAIN), Text(IDC_SETUP_PRECISION),
         IsChecked(Window(), IDC_SETUP_NO_READ_COMMAND), IsChecked(Window(), IDC_SETUP_ABSOLUTE)},
        gage);
    Finish(1);
}

void GageSetupDialog::OnTimer(UINT_PTR timerId) {
    if (timerId == IDT_POLL) {
        PostPollTickPresses(Window(), IDC_HELP_BUTTON, IDC_SETUP_CONTINUOUS_POLL,
                            IDC_SETUP_POLL_READ);
    }
}

}  // namespace

int EditGage(UiContext& context, WindowHandle owner, GageRecord& gage, int gageIndex) {
    GageSetupDialog dialog(context, gage, gageIndex);
    const auto module = static_cast<HINSTANCE>(context.engine.support.Module());
    if (dialog.RunModal(module, IDD_GAGING_DEVICE_SETUP, owner) != 1) {
        return 0;
    }
    CommitGage(context, owner, dialog.Working(), gage);
    return 1;
}

}  // namespace gage
