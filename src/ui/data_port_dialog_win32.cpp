#include "ui/data_port_dialog.h"

#include <windows.h>

#include <array>
#include <string>

#include "channels/serial_channel.h"
#include "channels/user_signals.h"
#include "config/interface_type_file.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/data_port_form.h"
#include "ui/forms/interface_config_form.h"
#include "ui/interface_config_dialog.h"
#include "ui/resources/resource.h"
#include "ui/serial_monitor_dialog.h"

namespace gage {

namespace {

constexpr unsigned kConfirmStyle = MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON1;
constexpr int kNumberFilter = 3;  // GenEditFilter: digits only, within a range
constexpr std::size_t kHostEditRoom = 63;

constexpr std::array<int, kSerialListCount> kSerialCombos{IDC_PORT_BAUD,      IDC_PORT_PARITY,
                                                          IDC_PORT_DATA_BITS, IDC_PORT_STOP_BITS,
                                                          IDC_PORT_FLOW,      IDC_PORT_BUFFER};
constexpr std::array<int, kSerialListCount * 2> kSerialControls{
    IDC_PORT_BAUD_LABEL,      IDC_PORT_BAUD,      IDC_PORT_PARITY_LABEL,    IDC_PORT_PARITY,
    IDC_PORT_DATA_BITS_LABEL, IDC_PORT_DATA_BITS, IDC_PORT_STOP_BITS_LABEL, IDC_PORT_STOP_BITS,
    IDC_PORT_FLOW_LABEL,      IDC_PORT_FLOW,      IDC_PORT_BUFFER_LABEL,    IDC_PORT_BUFFER};
constexpr std::array<int, kOctetCount> kOctetEdits{IDC_PORT_OCTET1, IDC_PORT_OCTET2,
                                                   IDC_PORT_OCTET3, IDC_PORT_OCTET4};
constexpr std::array<int, 8> kOctetForm{IDC_PORT_OCTET1, IDC_PORT_DOT1,       IDC_PORT_OCTET2,
                                        IDC_PORT_DOT2,   IDC_PORT_OCTET3,     IDC_PORT_DOT3,
                                        IDC_PORT_OCTET4, IDC_PORT_OCTET_COLON};
constexpr std::array<int, 4> kHostForm{IDC_PORT_HOST, IDC_PORT_HOST_COLON, IDC_PORT_HOST_PORT,
                                       IDC_PORT_RESOLVED};

class DataPortDialog final : public DialogBase {
  public:
    DataPortDialog(UiContext& context, ConnectionRecord& record, bool modify)
        : context_(context),
          form_(
              context.engine, record, modify,
              [&settings = context.engine.settings](int port) {
                  return SerialProbePort(settings, port) == 1;
              },
              TimedHostResolver(context.engine.settings)) {}

    DataPortForm& Form() { return form_; }

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    Support& support() { return context_.engine.support; }

    void FillInterfaceTypeList();
    void FillCombo(int id, const std::vector<ComboLine>& lines);
    void ShowPortControls(bool tcp);
    void ShowAddressForm();
    void SourceChanged();
    void ResolveHost();
    void EditType(int type);
    void RemoveType();
    std::optional<int> SelectedType();
    DataPortEntries Entries();
    bool Apply() { return form_.Apply(Window(), Entries()) == 1; }

    UiContext& context_;
    DataPortForm form_;
};

bool DataPortDialog::OnInit() {
    support().LangTranslateDialog(Window());
    support().LangBanner(Control(IDC_BANNER));
    FillInterfaceTypeList();
    if (form_.Modify()) {
        ShowDlgControl(Window(), IDC_PORT_TYPE, 0);
        ShowDlgControl(Window(), IDC_PORT_TYPE_NAME, 1);
        EnableControl(Window(), IDC_PORT_TYPE_CREATE, false);
        EnableControl(Window(), IDC_PORT_TYPE_REMOVE, false);
    }
    for (const int edit : kOctetEdits) {
        // From 0: addresses such as 127.0.0.1 and 10.0.0.5 need a zero octet.
        support().GenEditFilter(Control(edit), kNumberFilter, 3, 0, 0.0, 255.0, 5, 1);
    }
    support().GenEditFilter(Control(IDC_PORT_OCTET_PORT), kNumberFilter, 5, 0, 1.0, 99999.0, 5, 1);

    const std::vector<ComboLine> sources = form_.SourceLines();
    FillCombo(IDC_PORT_SOURCE, sources);
    SetChecked(Window(), IDC_PORT_IP_RADIO, true);
    const DataPortOpening shown = form_.Open(sources);
    SelectComboByData(Window(), IDC_PORT_SOURCE, shown.source);
    if (shown.hostForm) {
        SetControlText(Window(), IDC_PORT_HOST, shown.host);
        SetControlText(Window(), IDC_PORT_HOST_PORT, shown.hostPort);
        SetControlText(Window(), IDC_PORT_RESOLVED, shown.resolved);
        SetChecked(Window(), IDC_PORT_IP_RADIO, false);
        SetChecked(Window(), IDC_PORT_HOST_RADIO, true);
    } else {
        for (std::size_t index = 0; index < kOctetCount; ++index) {
            SetControlText(Window(), kOctetEdits[index], shown.octets[index]);
        }
        SetControlText(Window(), IDC_PORT_OCTET_PORT, shown.octetPort);
    }
    for (int index = 0; index < kSerialListCount; ++index) {
        const int combo = kSerialCombos[static_cast<std::size_t>(index)];
        FillCombo(combo, SerialListLines(support(), static_cast<SerialList>(index)));
        SelectComboByData(Window(), combo, shown.serial[static_cast<std::size_t>(index)]);
    }
    SourceChanged();
    ShowAddressForm();
    return true;
}

void DataPortDialog::FillCombo(int id, const std::vector<ComboLine>& lines) {
    ComboClear(Window(), id);
    for (const ComboLine& line : lines) {
        ComboAddItem(Window(), id, line.text, line.data);
    }
}

void DataPortDialog::FillInterfaceTypeList() {
    const std::vector<ComboLine> lines = InterfaceTypeLines(form_.DefinitionsPath());
    FillCombo(IDC_PORT_TYPE, lines);
    ComboSelect(Window(), IDC_PORT_TYPE,
                InterfaceTypeSelection(lines, form_.Working().Name.view()));
    SetControlText(Window(), IDC_PORT_TYPE_NAME, form_.Working().Name.view());
}

void DataPortDialog::ShowPortControls(bool tcp) {
    for (const int id : kSerialControls) {
        ShowDlgControl(Window(), id, tcp ? 0 : 1);
    }
    for (const int id : kOctetForm) {
        ShowDlgControl(Window(), id, tcp ? 1 : 0);
    }
    for (const int id : kHostForm) {
        ShowDlgControl(Window(), id, tcp ? 1 : 0);
    }
    for (const int id : {IDC_PORT_IP_RADIO, IDC_PORT_HOST_RADIO, IDC_PORT_OCTET_PORT}) {
        ShowDlgControl(Window(), id, tcp ? 1 : 0);
    }
}

void DataPortDialog::ShowAddressForm() {
    const bool octets = IsChecked(Window(), IDC_PORT_IP_RADIO);
    for (const int id : kOctetForm) {
        EnableControl(Window(), id, octets);
    }
    EnableControl(Window(), IDC_PORT_OCTET_PORT, octets);
    for (const int id : kHostForm) {
        EnableControl(Window(), id, !octets);
    }
}

void DataPortDialog::SourceChanged() {
    const bool tcp = ComboSelectedData(Window(), IDC_PORT_SOURCE) == kSourceTcp;
    ShowPortControls(tcp);
    if (tcp) {
        ShowAddressForm();
    }
}

void DataPortDialog::ResolveHost() {
    SetControlText(Window(), IDC_PORT_RESOLVED, "");
    const std::string host = ControlText(Window(), IDC_PORT_HOST).substr(0, kHostEditRoom);
    const ScopedWaitCursor waiting;
    SetControlText(Window(), IDC_PORT_RESOLVED, form_.ResolvedText(host));
}

std::optional<int> DataPortDialog::SelectedType() {
    const std::optional<LPARAM> type = ComboSelectedData(Window(), IDC_PORT_TYPE);
    if (!type) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return static_cast<int>(*type);
}

void DataPortDialog::EditType(int type) {
    std::string description;
    if (OpenInterfaceConfig(support(), form_.DefinitionsPath(), Window(), type, description) != 0) {
        // The saved type's description selects it in the refilled list.
        form_.Working().Name = std::string_view(description).substr(0, kNameSize - 1);
        FillInterfaceTypeList();
    }
}

void DataPortDialog::RemoveType() {
    const std::optional<int> type = SelectedType();
    if (!type || MessageBoxFromStrings(support(), Window(), IDS_CONFIRM_REMOVE_INTERFACE,
                                       IDS_WARNING_TITLE, kConfirmStyle) != IDYES) {
        return;
    }
    RemoveInterfaceType(form_.DefinitionsPath(), *type);
    FillInterfaceTypeList();
}

DataPortEntries DataPortDialog::Entries() {
    DataPortEntries entries;
    const int type = ComboSelection(Window(), IDC_PORT_TYPE);
    if (const std::optional<LPARAM> data = ComboItemData(Window(), IDC_PORT_TYPE, type)) {
        std::array<char, kNameSize> text{};
        ::SendDlgItemMessageA(Window(), IDC_PORT_TYPE, CB_GETLBTEXT, static_cast<WPARAM>(type),
                              reinterpret_cast<LPARAM>(text.data()));
        entries.interfaceType = ComboLine{text.data(), static_cast<std::int32_t>(*data)};
    }
    if (const std::optional<LPARAM> source = ComboSelectedData(Window(), IDC_PORT_SOURCE)) {
        entries.source = static_cast<std::int32_t>(*source);
    }
    entries.hostForm = IsChecked(Window(), IDC_PORT_HOST_RADIO);
    entries.host = ControlText(Window(), IDC_PORT_HOST);
    entries.hostPort = ControlText(Window(), IDC_PORT_HOST_PORT);
    for (std::size_t index = 0; index < kOctetCount; ++index) {
        entries.octets[index] = ControlText(Window(), kOctetEdits[index]);
    }
    entries.octetPort = ControlText(Window(), IDC_PORT_OCTET_PORT);
    for (std::size_t index = 0; index < kSerialCombos.size(); ++index) {
        if (const std::optional<LPARAM> value = ComboSelectedData(Window(), kSerialCombos[index])) {
            entries.serial[index] = static_cast<std::int32_t>(*value);
        }
    }
    return entries;
}

bool DataPortDialog::OnCommand(int id, int code, HWND control) {
    for (std::size_t index = 0; index < kOctetCount; ++index) {
        if (id == kOctetEdits[index]) {
            if (code == EN_CHANGE && IsOctetComplete(ControlText(Window(), id))) {
                HWND next = ::GetNextDlgTabItem(Window(), control, FALSE);
                ::SetFocus(next);
                ::SendMessageA(next, EM_SETSEL, 0, -1);
            }
            return true;
        }
    }
    switch (id) {
        case IDC_PORT_SOURCE:
            if (code == CBN_SELCHANGE) {
                SourceChanged();
            }
            return true;
        case IDC_PORT_IP_RADIO:
        case IDC_PORT_HOST_RADIO:
            if (code == BN_CLICKED) {
                // The two radios are in groups of their own (each leads its edits).
                ::CheckRadioButton(Window(), IDC_PORT_IP_RADIO, IDC_PORT_HOST_RADIO, id);
                ShowAddressForm();
            }
            return true;
        case IDC_PORT_HOST:
            if (code == EN_KILLFOCUS) {
                ResolveHost();
            }
            return true;
        case IDC_PORT_TYPE_CREATE:
            EditType(kNewInterfaceType);
            return true;
        case IDC_PORT_TYPE_MODIFY:
            if (const std::optional<int> type = SelectedType()) {
                if (MessageBoxFromStrings(support(), Window(), IDS_CONFIRM_MODIFY_INTERFACE,
                                          IDS_WARNING_TITLE, kConfirmStyle) == IDYES) {
                    EditType(*type);
                }
            }
            return true;
        case IDC_PORT_TYPE_REMOVE:
            RemoveType();
            return true;
        case IDOK:
            if (Apply()) {
                End(1);
            }
            return true;
        case IDC_PORT_MONITOR:
            if (Apply()) {
                OpenSerialMonitor(context_, Window(), form_.Working());
            }
            return true;
        case IDCANCEL:
            form_.Cancel();
            End(0);
            return true;
        case IDC_HELP_BUTTON:
            support().HelpShow(Window(), HELP_DATA_PORT);
            return true;
        default:
            return false;
    }
}

}  // namespace

int OpenDataPortDialog(UiContext& context, WindowHandle owner, ConnectionRecord& record,
                       bool modify) {
    DataPortDialog dialog(context, record, modify);
    const INT_PTR result = dialog.RunModal(static_cast<HINSTANCE>(context.engine.support.Module()),
                                           IDD_DATA_PORT, owner);
    dialog.Form().Finish(record);
    return result == 1 ? 1 : 0;
}

}  // namespace gage
