#include "ui/config_dialog.h"

#include <windows.h>

#include <array>
#include <vector>

#include "config/configuration_file.h"
#include "reading/connection_opening.h"
#include "ui/data_port_dialog.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/config_form.h"
#include "ui/gage_setup_dialog.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

constexpr int kTabTextSize = 128;
constexpr unsigned kConfirmStyle = MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2;

class ConfigurationDialog final : public DialogBase {
  public:
    explicit ConfigurationDialog(UiContext& context) : context_(context) {}

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnDestroy() override;

  private:
    Support& support() { return context_.engine.support; }

    void FillConnectionList();
    void FillGageList();
    void AddLine(int listId, const ListLine& line, bool select);
    void ShowTab(int tab);
    void AlignHeads(int firstId, int secondId, int listId, int tabStop);

    void Add();
    void Edit();
    void Delete();
    void AddConnection();
    void EditConnection();
    void AddGage();
    void EditGage();
    void DeleteConnection();
    void DeleteGage();
    void Close();

    // The selected line of a list and its item data; none (after the asterisk beep) when no
    // line is selected.
    std::optional<std::pair<int, std::uint32_t>> SelectedLine(int listId);

    UiContext& context_;
    int currentTab_ = CONFIG_TAB_CONNECTIONS;
};

bool ConfigurationDialog::OnInit() {
    HINSTANCE module = static_cast<HINSTANCE>(support().Module());
    if (HICON icon = ::LoadIconA(module != nullptr ? module : ::GetModuleHandleA(nullptr),
                                 MAKEINTRESOURCEA(IDI_GAGE_SERVER))) {
        ::SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    support().LangTranslateDialog(Window());
    support().LangBanner(Control(IDC_BANNER));
    context_.configDialog = Window();

    // One tab stop, in the lists' dialog units: the second column starts there.
    const int tabStop = (LOWORD(::GetDialogBaseUnits()) / 4) * 60;
    for (const int list : {IDC_CONFIG_CONNECTION_LIST, IDC_CONFIG_GAGE_LIST}) {
        ::SendDlgItemMessageA(Window(), list, LB_SETTABSTOPS, 1,
                              reinterpret_cast<LPARAM>(&tabStop));
    }
    AlignHeads(IDC_CONFIG_CONNECTION_HEAD_NAME, IDC_CONFIG_CONNECTION_HEAD_SOURCE,
               IDC_CONFIG_CONNECTION_LIST, tabStop);
    AlignHeads(IDC_CONFIG_GAGE_HEAD_NAME, IDC_CONFIG_GAGE_HEAD_CONNECTION, IDC_CONFIG_GAGE_LIST,
               tabStop);
    FillConnectionList();
    FillGageList();

    for (int tab = 0; tab < kConfigTabCount; ++tab) {
        std::array<char, kTabTextSize> text{};
        support().LangLoadString(support().Module(),
                                 static_cast<unsigned>(IDS_TAB_GAGE_INTERFACES + tab), text.data(),
                                 kTabTextSize);
        TabInsert(Window(), IDC_CONFIG_TABS, tab, text.data());
    }
    KeepTabBeneathPages(Window(), IDC_CONFIG_TABS);
    TabSelect(Window(), IDC_CONFIG_TABS, CONFIG_TAB_CONNECTIONS);
    currentTab_ = CONFIG_TAB_CONNECTIONS;
    ShowTab(currentTab_);
    return true;
}

// The tab stop follows the system font, the template the dialog font: the head of the second
// column is moved over the column wherever the stop puts it, and the first head ends there.
void ConfigurationDialog::AlignHeads(int firstId, int secondId, int listId, int tabStop) {
    HWND first = Control(firstId);
    HWND head = Control(secondId);
    HWND list = Control(listId);
    if (first == nullptr || head == nullptr || list == nullptr) {
        return;
    }
    RECT stop{0, 0, tabStop, 0};
    ::MapDialogRect(Window(), &stop);
    POINT listOrigin{0, 0};
    ::ClientToScreen(list, &listOrigin);
    ::ScreenToClient(Window(), &listOrigin);
    RECT place{};
    ::GetWindowRect(head, &place);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&place), 2);
    RECT listPlace{};
    ::GetWindowRect(list, &listPlace);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&listPlace), 2);
    const int left = listOrigin.x + stop.right + 2;  // the list's own text margin
    const int right = listPlace.right > left ? listPlace.right : left + 1;
    ::MoveWindow(head, left, place.top, right - left, place.bottom - place.top, FALSE);
    RECT firstPlace{};
    ::GetWindowRect(first, &firstPlace);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&firstPlace), 2);
    if (firstPlace.right > left && left > firstPlace.left) {
        ::MoveWindow(first, firstPlace.left, firstPlace.top, left - firstPlace.left,
                     firstPlace.bottom - firstPlace.top, FALSE);
    }
}

void ConfigurationDialog::AddLine(int listId, const ListLine& line, bool select) {
    const int position = ListAddItem(Window(), listId, line.text, static_cast<LPARAM>(line.data));
    if (select && position >= 0) {
        ListSelect(Window(), listId, position);
    }
}

void ConfigurationDialog::FillConnectionList() {
    ListClear(Window(), IDC_CONFIG_CONNECTION_LIST);
    for (const ListLine& line : ConnectionLines(support(), context_.engine.connections)) {
        AddLine(IDC_CONFIG_CONNECTION_LIST, line, true);  // the last one added stays selected
    }
}

void ConfigurationDialog::FillGageList() {
    ListClear(Window(), IDC_CONFIG_GAGE_LIST);
    for (const ListLine& line : GageLines(support(), context_.engine.connections, context_.gages)) {
        AddLine(IDC_CONFIG_GAGE_LIST, line, false);
    }
    ListSelect(Window(), IDC_CONFIG_GAGE_LIST, 0);
}

void ConfigurationDialog::ShowTab(int tab) {
    const int connections = tab == CONFIG_TAB_CONNECTIONS ? 1 : 0;
    const int gages = tab == CONFIG_TAB_GAGES ? 1 : 0;
    ShowDlgControl(Window(), IDC_CONFIG_CONNECTION_HEAD_NAME, connections);
    ShowDlgControl(Window(), IDC_CONFIG_CONNECTION_HEAD_SOURCE, connections);
    ShowDlgControl(Window(), IDC_CONFIG_CONNECTION_LIST, connections);
    ShowDlgControl(Window(), IDC_CONFIG_GAGE_HEAD_NAME, gages);
    ShowDlgControl(Window(), IDC_CONFIG_GAGE_HEAD_CONNECTION, gages);
    ShowDlgControl(Window(), IDC_CONFIG_GAGE_LIST, gages);
}

bool ConfigurationDialog::OnCommand(int id, int code, HWND /*control*/) {
    switch (id) {
        case IDC_CONFIG_ADD:
            Add();
            return true;
        case IDC_CONFIG_EDIT:
            Edit();
            return true;
        case IDC_CONFIG_DELETE:
            Delete();
            return true;
        case IDC_CONFIG_CLOSE:
        case IDCANCEL:  // Escape and the close box save as Close does
            Close();
            return true;
        case IDC_HELP_BUTTON:
            support().HelpShow(Window(), HELP_GAGE_SERVER_CONFIGURATION);
            return true;
        case IDC_CONFIG_CONNECTION_LIST:
        case IDC_CONFIG_GAGE_LIST:
            if (code == LBN_DBLCLK) {
                ::PostMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_CONFIG_EDIT, BN_CLICKED),
                               reinterpret_cast<LPARAM>(Control(IDC_CONFIG_EDIT)));
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool ConfigurationDialog::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_CONFIG_TABS || header.code != static_cast<UINT>(TCN_SELCHANGE)) {
        return false;
    }
    currentTab_ = TabSelection(Window(), IDC_CONFIG_TABS);
    if (currentTab_ != CONFIG_TAB_NONE) {
        ShowTab(currentTab_);
    }
    result = 0;
    return true;
}

void ConfigurationDialog::OnDestroy() {
    if (context_.configDialog == Window()) {
        context_.configDialog = nullptr;
    }
}

std::optional<std::pair<int, std::uint32_t>> ConfigurationDialog::SelectedLine(int listId) {
    const int position = ListSelection(Window(), listId);
    const std::optional<LPARAM> data = ListItemData(Window(), listId, position);
    if (!data) {
        ::MessageBeep(MB_ICONASTERISK);
        return std::nullopt;
    }
    return std::make_pair(position, static_cast<std::uint32_t>(*data));
}

void ConfigurationDialog::Add() {
    if (currentTab_ == CONFIG_TAB_CONNECTIONS) {
        AddConnection();
    } else if (currentTab_ == CONFIG_TAB_GAGES) {
        AddGage();
    }
}

void ConfigurationDialog::Edit() {
    if (currentTab_ == CONFIG_TAB_CONNECTIONS) {
        EditConnection();
    } else if (currentTab_ == CONFIG_TAB_GAGES) {
        EditGage();
    }
}

void ConfigurationDialog::Delete() {
    if (currentTab_ == CONFIG_TAB_CONNECTIONS) {
        DeleteConnection();
    } else if (currentTab_ == CONFIG_TAB_GAGES) {
        DeleteGage();
    }
}

void ConfigurationDialog::AddConnection() {
    const std::optional<int> row = FirstFreeConnectionRow(context_.engine.connections);
    if (!row) {
        return;  // all 64 rows in use
    }
    ConnectionRecord& record = context_.engine.connections[static_cast<std::size_t>(*row)];
    if (OpenDataPortDialog(context_, Window(), record, false) == 0) {
        return;
    }
    AddLine(IDC_CONFIG_CONNECTION_LIST,
            ConnectionLine(support(), context_.engine.connections, *row), true);
    // A new connection is usable at once: opened, its interface type's strings sent.
    OpenGageConnection(context_.engine, Window(), *row);
}

void ConfigurationDialog::EditConnection() {
    const auto line = SelectedLine(IDC_CONFIG_CONNECTION_LIST);
    if (!line) {
        return;
    }
    const int row = static_cast<int>(line->second);
    if (row < 0 || row >= kConnectionCount) {
        return;
    }
    ConnectionRecord& record = context_.engine.connections[static_cast<std::size_t>(row)];
    if (OpenDataPortDialog(context_, Window(), record, true) != 0) {
        ListDeleteItem(Window(), IDC_CONFIG_CONNECTION_LIST, line->first);
        AddLine(IDC_CONFIG_CONNECTION_LIST,
                ConnectionLine(support(), context_.engine.connections, row), true);
        FillGageList();  // gage lines show the connection's name and source
    }
    OpenGageConnection(context_.engine, Window(), row);
}

void ConfigurationDialog::AddGage() {
    if (!PrepareGageRow(context_.gages)) {
        return;
    }
    GageRecord gage = NewGage();
    const int index = static_cast<int>(context_.gages.size());
    if (gage::EditGage(context_, Window(), gage, index) == 0) {
        return;  // cancelled: the table stays as it was
    }
    context_.gages.push_back(gage);
    AddLine(IDC_CONFIG_GAGE_LIST,
            GageLine(support(), context_.engine.connections, context_.gages, index), true);
}

void ConfigurationDialog::EditGage() {
    const auto line = SelectedLine(IDC_CONFIG_GAGE_LIST);
    if (!line) {
        return;
    }
    const std::optional<int> index = GageIndexOfLine(context_.gages, line->second);
    if (!index) {
        return;
    }
    GageRecord& gage = context_.gages[static_cast<std::size_t>(*index)];
    if (gage::EditGage(context_, Window(), gage, *index) == 0) {
        return;
    }
    ListDeleteItem(Window(), IDC_CONFIG_GAGE_LIST, line->first);
    AddLine(IDC_CONFIG_GAGE_LIST,
            GageLine(support(), context_.engine.connections, context_.gages, *index), true);
}

void ConfigurationDialog::DeleteConnection() {
    const auto line = SelectedLine(IDC_CONFIG_CONNECTION_LIST);
    if (!line) {
        return;
    }
    if (MessageBoxFromStrings(support(), Window(), IDS_CONFIRM_REMOVE_CONNECTION, IDS_WARNING_TITLE,
                              kConfirmStyle) != IDYES) {
        return;
    }
    std::vector<std::uint32_t> gageLines;
    const int gageCount = ListCount(Window(), IDC_CONFIG_GAGE_LIST);
    for (int position = 0; position < gageCount; ++position) {
        gageLines.push_back(static_cast<std::uint32_t>(
            ListItemData(Window(), IDC_CONFIG_GAGE_LIST, position).value_or(0)));
    }
    const std::vector<int> removed = RemoveConnection(context_.engine, context_.gages,
                                                      static_cast<int>(line->second), gageLines);

    ListDeleteItem(Window(), IDC_CONFIG_CONNECTION_LIST, line->first);
    ListSelect(Window(), IDC_CONFIG_CONNECTION_LIST,
               SelectionAfterRemoval(line->first, ListCount(Window(), IDC_CONFIG_CONNECTION_LIST)));
    for (const int position : removed) {
        ListDeleteItem(Window(), IDC_CONFIG_GAGE_LIST, position);
    }
}

void ConfigurationDialog::DeleteGage() {
    const auto line = SelectedLine(IDC_CONFIG_GAGE_LIST);
    if (!line) {
        return;
    }
    if (MessageBoxFromStrings(support(), Window(), IDS_CONFIRM_DELETE_GAGE, IDS_WARNING_TITLE,
                              kConfirmStyle) != IDYES) {
        return;
    }
    if (const std::optional<int> index = GageIndexOfLine(context_.gages, line->second)) {
        ClearGage(context_.gages, *index);
    }
    ListDeleteItem(Window(), IDC_CONFIG_GAGE_LIST, line->first);
    ListSelect(Window(), IDC_CONFIG_GAGE_LIST,
               SelectionAfterRemoval(line->first, ListCount(Window(), IDC_CONFIG_GAGE_LIST)));
}

void ConfigurationDialog::Close() {
    SaveConfiguration(context_.gages, context_.engine.connections,
                      context_.engine.settings.ConfigurationPath);
    context_.configDialog = nullptr;
    End(1);
}

}  // namespace

void OpenGageServerConfiguration(UiContext& context, WindowHandle owner) {
    ConfigurationDialog dialog(context);
    dialog.RunModal(static_cast<HINSTANCE>(context.engine.support.Module()),
                    IDD_GAGE_SERVER_CONFIGURATION, owner);
    context.configDialog = nullptr;
}

}  // namespace gage
