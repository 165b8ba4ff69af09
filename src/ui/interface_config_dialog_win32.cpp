#include "ui/interface_config_dialog.h"

#include <windows.h>

#include <vector>

#include "ui/ascii_picker_dialog.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/interface_config_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

class InterfaceConfigDialog final : public DialogBase {
  public:
    InterfaceConfigDialog(Support& support, const std::string& definitionsPath, int type)
        : support_(support), definitionsPath_(definitionsPath), type_(type) {}

    const std::string& SavedDescription() const { return savedDescription_; }

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void ShowRows(int selection);
    void ShowSelectedRow();
    void CommitEdits();
    void Save();

    Support& support_;
    const std::string& definitionsPath_;
    int type_;
    std::vector<std::string> rows_;
    std::string savedDescription_;
};

bool InterfaceConfigDialog::OnInit() {
    support_.LangTranslateDialog(Window());
    support_.LangBanner(Control(IDC_BANNER));
    // Number, delay and string in columns.
    const std::array<int, 2> tabStops{20, 60};
    ::SendDlgItemMessageA(Window(), IDC_IFACE_LIST, LB_SETTABSTOPS, tabStops.size(),
                          reinterpret_cast<LPARAM>(tabStops.data()));
    if (type_ != kNewInterfaceType) {
        LoadedInterfaceType loaded = LoadInterfaceType(definitionsPath_, type_);
        SetControlText(Window(), IDC_IFACE_DESCRIPTION, loaded.description);
        rows_ = std::move(loaded.rows);
    } else {
        rows_ = NewInitRows();
    }
    ::SendDlgItemMessageA(Window(), IDC_IFACE_DESCRIPTION, EM_LIMITTEXT, 32, 0);
    ShowRows(0);
    return true;
}

void InterfaceConfigDialog::ShowRows(int selection) {
    ListClear(Window(), IDC_IFACE_LIST);
    for (const std::string& row : rows_) {
        ListAddItem(Window(), IDC_IFACE_LIST, row, 0);
    }
    ListSelect(Window(), IDC_IFACE_LIST, selection);
    ShowSelectedRow();
}

void InterfaceConfigDialog::ShowSelectedRow() {
    const int position = ListSelection(Window(), IDC_IFACE_LIST);
    InitRowParts parts;
    if (position >= 0 && static_cast<std::size_t>(position) < rows_.size()) {
        parts = SplitInitRow(rows_[static_cast<std::size_t>(position)]);
    }
    SetControlText(Window(), IDC_IFACE_DELAY, parts.delay);
    SetControlText(Window(), IDC_IFACE_STRING, parts.text);
}

void InterfaceConfigDialog::CommitEdits() {
    const int position = ListSelection(Window(), IDC_IFACE_LIST);
    if (position < 0 || static_cast<std::size_t>(position) >= rows_.size()) {
        return;
    }
    CommitInitRow(rows_, position, ControlText(Window(), IDC_IFACE_DELAY),
                  ControlText(Window(), IDC_IFACE_STRING));
    ListDeleteItem(Window(), IDC_IFACE_LIST, position);
    ::SendDlgItemMessageA(
        Window(), IDC_IFACE_LIST, LB_INSERTSTRING, static_cast<WPARAM>(position),
        reinterpret_cast<LPARAM>(rows_[static_cast<std::size_t>(position)].c_str()));
    ListSelect(Window(), IDC_IFACE_LIST, position);
}

void InterfaceConfigDialog::Save() {
    CommitEdits();
    savedDescription_ = ControlText(Window(), IDC_IFACE_DESCRIPTION).substr(0, kInitEditRoom);
    const int saved = SaveInterfaceType(definitionsPath_, type_, savedDescription_, rows_);
    if (saved != 0) {
        End(saved);
    }
}

bool InterfaceConfigDialog::OnCommand(int id, int code, HWND /*control*/) {
    const int position = ListSelection(Window(), IDC_IFACE_LIST);
    switch (id) {
        case IDC_IFACE_LIST:
            if (code == LBN_SELCHANGE) {
                ShowSelectedRow();
            }
            return true;
        case IDC_IFACE_DELAY:
        case IDC_IFACE_STRING:
            if (code == EN_KILLFOCUS) {
                CommitEdits();
            }
            return true;
        case IDC_IFACE_CLEAR:
            ClearInitRow(rows_, position);
            ShowRows(position);
            return true;
        case IDC_IFACE_CLEAR_ALL:
            rows_ = NewInitRows();
            ShowRows(0);
            return true;
        case IDC_IFACE_UP:
        case IDC_IFACE_DOWN:
            ShowRows(MoveInitRow(rows_, position, id == IDC_IFACE_UP ? -1 : 1));
            return true;
        case IDC_IFACE_PICK:
            OpenAsciiPicker(support_, Window(), Control(IDC_IFACE_STRING));
            return true;
        case IDOK:
            Save();
            return true;
        case IDCANCEL:
            End(0);
            return true;
        case IDC_HELP_BUTTON:
            support_.HelpShow(Window(), HELP_INTERFACE_CONFIGURATION);
            return true;
        default:
            return false;
    }
}

}  // namespace

int OpenInterfaceConfig(Support& support, const std::string& definitionsPath, WindowHandle owner,
                        int type, std::string& savedDescription) {
    InterfaceConfigDialog dialog(support, definitionsPath, type);
    const INT_PTR result = dialog.RunModal(static_cast<HINSTANCE>(support.Module()),
                                           IDD_INTERFACE_CONFIGURATION, owner);
    if (result <= 0) {
        return 0;
    }
    savedDescription = dialog.SavedDescription();
    return static_cast<int>(result);
}

}  // namespace gage
