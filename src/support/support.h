#pragma once
// The operations the gage server takes from the host's support libraries. Each is bound lazily
// to the host's library (by name and ordinal) when the host has loaded it; otherwise a built-in
// implementation with the same arguments and results stands in, so the library also works
// stand-alone, in tests and on Linux.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "support/application_names.h"
#include "support/window_handle.h"

// <windows.h> maps LoadString to LoadStringA; Support::LoadString is a member of its own. Files
// that include <windows.h> after this header still reach it through the LoadStringA alias below.
#ifdef LoadString
#undef LoadString
#endif

namespace gage {

class HostBindings;
enum class HostOperation : std::size_t;

// Message-box style and result values, as the Windows message box uses them.
inline constexpr unsigned MB_STYLE_OK = 0x0;
inline constexpr unsigned MB_STYLE_OKCANCEL = 0x1;
inline constexpr unsigned MB_STYLE_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_STYLE_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_STYLE_YESNO = 0x4;
inline constexpr unsigned MB_STYLE_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_STYLE_ICONERROR = 0x10;
inline constexpr unsigned MB_STYLE_ICONQUESTION = 0x20;
inline constexpr unsigned MB_STYLE_ICONWARNING = 0x30;
inline constexpr unsigned MB_STYLE_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_STYLE_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_STYLE_DEFBUTTON3 = 0x200;

inline constexpr int MB_RESULT_OK = 1;
inline constexpr int MB_RESULT_CANCEL = 2;
inline constexpr int MB_RESULT_ABORT = 3;
inline constexpr int MB_RESULT_RETRY = 4;
inline constexpr int MB_RESULT_IGNORE = 5;
inline constexpr int MB_RESULT_YES = 6;
inline constexpr int MB_RESULT_NO = 7;

inline constexpr int kGenMessageBoxConstant = 18432;

struct MessageBoxRequest {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned style;
};

// Answers a message box instead of showing it (tests, unattended runs).
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

class Support {
  public:
    // module is the library's own instance handle (HINSTANCE on Windows), used for its string
    // table and dialogs; null stands for the running executable.
    explicit Support(void* module = nullptr);
    ~Support();
    Support(const Support&) = delete;
    Support& operator=(const Support&) = delete;

    void* Module() const { return module_; }
    void SetModule(void* module) { module_ = module; }

    // The built-in implementations are used even when a host library is loaded (tests).
    void UseBuiltInsOnly(bool builtInsOnly);
    // Answers every message box through hook while it is set; an empty hook removes it. The hook
    // answers before the host's library and before the built-in.
    void SetMessageBoxHook(MessageBoxHook hook);

    // The log file of the built-in UtilLogError and UtilTraceEntry, and of message boxes answered
    // without being shown; start-up sets it once the local directory is known. Until then, and
    // when a caller passes no log path, it is the local directory's ZRNGSV32.LOG.
    void SetLogPath(std::string path);
    std::string LogPath();
    // Whether every entry call is traced: ZRNGSV_TRACE was set (not empty, not "0") when this
    // object was made.
    bool TraceEnabled() const { return traceEnabled_; }

    // tqxLanguage
    int LangLoadString(void* module, unsigned id, char* buffer, int bufferSize);
    void LangTranslateDialog(WindowHandle dialog);
    void LangBanner(WindowHandle banner);
    // Loads a string into a std::string; empty when there is no such string.
    std::string LoadString(unsigned id);
    std::string LoadStringA(unsigned id) { return LoadString(id); }

    // tqxGenDlgs6
    int GenMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style,
                      int constant = kGenMessageBoxConstant, int reserved1 = 0, int reserved2 = 0,
                      int reserved3 = 0);
    void GenEditFilter(WindowHandle edit, int kind, int maxCharacters, int maxLength,
                       double minimum, double maximum, int option1, int option2);
    void* GenWaitCursor(int reserved);

    // tqxHelp6
    void HelpShow(WindowHandle owner, int contextId);

    // tqxDBLib6
    int DbSignificantDigits(double value);

    // tqxMath6
    double MathRound(double value, int places);

    // tqxUtility6
    void UtilGetPath(int reserved, const char* location, char* buffer, int bufferSize);
    void UtilGetIdentity(char* first, char* second);  // two 64-character buffers
    int UtilStartup();
    void UtilLogError(const char* logPath, const char* application, const char* text);
    void UtilTraceEntry(const char* application, const char* entry);

  private:
    // The host's operation, or null when the built-in stands in.
    template <typename Function>
    Function Host(HostOperation operation);

    void* module_;
    bool builtInsOnly_ = false;
    bool traceEnabled_ = false;
    MessageBoxHook messageBoxHook_;
    std::string logPath_;
    std::string defaultLogPath_;
    std::unique_ptr<HostBindings> host_;
};

}  // namespace gage
