// The Serial Data Monitor on Win32: polls the connection every 50 ms while it is the active
// window and appends what arrived to both views; the send line goes out with command tokens.

#include "ui/serial_monitor_dialog.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "support/clipboard_text.h"
#include "support/support.h"
#include "ui/ascii_picker_dialog.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/forms/serial_monitor_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

constexpr UINT kPollPeriodMs = 50;
constexpr char kViewFace[] = "Courier";

struct FontDeleter {
    void operator()(HFONT font) const { ::DeleteObject(font); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The dialog's own font with another face.
OwnedFont FontWithFace(HWND dialog, const char* face) {
    const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (dialogFont == nullptr || ::GetObjectA(dialogFont, sizeof description, &description) == 0) {
        return nullptr;
    }
    ::lstrcpynA(description.lfFaceName, face, LF_FACESIZE);
    return OwnedFont(::CreateFontIndirectA(&description));
}

class SerialMonitorDialog final : public DialogBase {
  public:
    SerialMonitorDialog(UiContext& context, ConnectionRecord& record)
        : context_(context), record_(record) {}

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    void OnDestroy() override { ::KillTimer(Window(), IDT_MONITOR_POLL); }

  private:
    Support& support() { return context_.engine.support; }
    void ShowView(bool raw);
    void ClearViews();
    void Send(bool withLineEnd);

    UiContext& context_;
    ConnectionRecord& record_;
    OwnedFont viewFont_;
    bool busy_ = false;
};

bool SerialMonitorDialog::OnInit() {
    HWND window = Window();
    viewFont_ = FontWithFace(window, kViewFace);
    for (const int view : {IDC_MONITOR_TEXT_VIEW, IDC_MONITOR_HEX_VIEW}) {
        if (viewFont_) {
            ::SendMessageA(Control(view), WM_SETFONT, reinterpret_cast<WPARAM>(viewFont_.get()),
                           FALSE);
        }
        // The views accumulate: no limit but memory, so a long watch loses nothing.
        ::SendMessageA(Control(view), EM_SETLIMITTEXT, 0, 0);
    }
    support().LangTranslateDialog(window);
    support().LangBanner(Control(IDC_BANNER));
    ::CheckRadioButton(window, IDC_MONITOR_RAW_DATA, IDC_MONITOR_HEX_DATA, IDC_MONITOR_RAW_DATA);
    ShowView(true);
    busy_ = false;
    ::SetTimer(window, IDT_MONITOR_POLL, kPollPeriodMs, nullptr);
    return true;
}

void SerialMonitorDialog::ShowView(bool raw) {
    ShowDlgControl(Window(), IDC_MONITOR_TEXT_VIEW, raw ? 1 : 0);
    ShowDlgControl(Window(), IDC_MONITOR_HEX_VIEW, raw ? 0 : 1);
}

void SerialMonitorDialog::ClearViews() {
    SetControlText(Window(), IDC_MONITOR_TEXT_VIEW, "");
    SetControlText(Window(), IDC_MONITOR_HEX_VIEW, "");
}

void SerialMonitorDialog::Send(bool withLineEnd) {
    SendMonitorLine(context_.engine, Window(), record_, Text(IDC_MONITOR_SEND_LINE), withLineEnd);
    // Ready for the next line to replace this one.
    ::SendMessageA(Window(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(Control(IDC_MONITOR_SEND_LINE)), TRUE);
    SelectAllEditText(Window(), IDC_MONITOR_SEND_LINE);
}

bool SerialMonitorDialog::OnCommand(int id, int code, HWND /*control*/) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_MONITOR_RAW_DATA:
        case IDC_MONITOR_HEX_DATA:
            ShowView(IsChecked(Window(), IDC_MONITOR_RAW_DATA));
            return true;
        case IDC_MONITOR_COPY: {
            const bool raw = IsChecked(Window(), IDC_MONITOR_RAW_DATA);
            if (SetClipboardText(Window(),
                                 Text(raw ? IDC_MONITOR_TEXT_VIEW : IDC_MONITOR_HEX_VIEW))) {
                ::MessageBeep(MB_OK);
            }
            return true;
        }
        case IDC_MONITOR_INITIALIZE:
            ChannelPrepare(context_.engine.channels, Window(), record_);
            ClearViews();
            return true;
        case IDC_MONITOR_CLEAR_VIEWS:
            ClearViews();
            return true;
        case IDC_MONITOR_ADD_CR:
        case IDC_MONITOR_ADD_LF:
            SetControlText(
                Window(), IDC_MONITOR_SEND_LINE,
                AppendToken(Text(IDC_MONITOR_SEND_LINE),
                            id == IDC_MONITOR_ADD_CR ? kCarriageReturnToken : kLineFeedToken));
            return true;
        case IDC_MONITOR_PICK_BYTE:
            OpenAsciiPicker(support(), Window(), Control(IDC_MONITOR_SEND_LINE));
            return true;
        case IDC_MONITOR_SEND:
        case IDOK:
            Send(false);
            return true;
        case IDC_MONITOR_SEND_CRLF:
            Send(true);
            return true;
        case IDC_MONITOR_CLEAR_LINE:
            SetControlText(Window(), IDC_MONITOR_SEND_LINE, "");
            return true;
        case IDC_MONITOR_CLOSE:
            ::KillTimer(Window(), IDT_MONITOR_POLL);
            End(1);
            return true;
        case IDCANCEL:
            return true;  // Escape: the monitor ends only through Close
        case IDC_HELP_BUTTON:
            support().HelpShow(Window(), HELP_SERIAL_MONITOR);
            return true;
        default:
            return false;
    }
}

void SerialMonitorDialog::OnTimer(UINT_PTR timerId) {
    // Another window in front (the picker, an error box) stops the polling; the data waits.
    if (timerId != IDT_MONITOR_POLL || busy_ || ::GetActiveWindow() != Window()) {
        return;
    }
    busy_ = true;
    MonitorTickText shown;
    if (PollMonitorConnection(context_.engine.channels, Window(), record_, shown) > 0) {
        AppendEditText(Window(), IDC_MONITOR_HEX_VIEW, shown.hex);
        AppendEditText(Window(), IDC_MONITOR_TEXT_VIEW, shown.raw);
    }
    busy_ = false;
}

}  // namespace

int OpenSerialMonitor(UiContext& context, WindowHandle owner, ConnectionRecord& record) {
    return WatchPreparedConnection(context.engine.channels, owner, record, [&] {
        SerialMonitorDialog dialog(context, record);
        const auto module = static_cast<HINSTANCE>(context.engine.support.Module());
        return dialog.RunModal(module, IDD_SERIAL_MONITOR, owner) == 1 ? 1 : 0;
    });
}

}  // namespace gage
