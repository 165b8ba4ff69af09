#pragma once
// The base of every dialog: the object lives with its window for the dialog's whole life and the
// dialog procedure hands the messages a dialog cares about to its handlers.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/dialog_controls.h"

namespace gage {

class DialogBase {
  public:
    DialogBase() = default;
    virtual ~DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Runs dialog template templateId of module modally, owned by owner. Returns the result the
    // dialog ended with, or -1 when it could not be created.
    INT_PTR RunModal(HINSTANCE module, int templateId, HWND owner);

    HWND Window() const { return window_; }

  protected:
    // WM_INITDIALOG: true lets the dialog manager set the focus.
    virtual bool OnInit() { return true; }
    // WM_COMMAND: true when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    // WM_NOTIFY: true when handled; result is what the notification returns.
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // WM_TIMER.
    virtual void OnTimer(UINT_PTR /*timerId*/) {}
    // WM_DESTROY, before the window goes.
    virtual void OnDestroy() {}

    void End(INT_PTR result) { ::EndDialog(window_, result); }
    HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    std::string Text(int id) const { return ControlText(window_, id); }
    void SetText(int id, const std::string& text) { SetControlText(window_, id, text); }
    void Enable(int id, bool on) { EnableControl(window_, id, on); }

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

}  // namespace gage
