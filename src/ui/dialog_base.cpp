#include "ui/dialog_base.h"

namespace gage {

namespace {

// The common controls the templates use (tabs, progress bars) must be registered first.
void RegisterCommonControls() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS;
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    static_cast<void>(registered);
}

}  // namespace

INT_PTR DialogBase::RunModal(HINSTANCE module, int templateId, HWND owner) {
    RegisterCommonControls();
    if (module == nullptr) {
        module = ::GetModuleHandleA(nullptr);
    }
    HWND validOwner = (owner != nullptr && ::IsWindow(owner)) ? owner : nullptr;
    return ::DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), validOwner, Procedure,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DialogBase*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->window_ = window;
        return dialog->OnInit() ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<DialogBase*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG
    }
    return dialog->Handle(message, wParam, lParam);
}

INT_PTR DialogBase::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))
                       ? TRUE
                       : FALSE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
                return FALSE;
            }
            ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_TIMER:
            OnTimer(static_cast<UINT_PTR>(wParam));
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            ::SetWindowLongPtrA(window_, DWLP_USER, 0);
            window_ = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace gage
