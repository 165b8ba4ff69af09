#include "support/support.h"

#include <array>
#include <string>

#include "support/builtin_controls.h"
#include "support/builtin_help.h"
#include "support/builtin_log.h"
#include "support/builtin_math.h"
#include "support/builtin_message_box.h"
#include "support/builtin_paths.h"
#include "support/builtin_strings.h"
#include "support/fixed_string.h"
#include "support/host_bindings.h"

namespace gage {

namespace {

constexpr const char* kLogFileName = "ZRNGSV32.LOG";
constexpr int kPathBuffer = 256;
constexpr int kStringBuffer = 4096;

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

Support::Support(void* module)
    : module_(module),
      traceEnabled_(builtin::TraceRequested()),
      host_(std::make_unique<HostBindings>()) {}

Support::~Support() = default;

void Support::UseBuiltInsOnly(bool builtInsOnly) {
    builtInsOnly_ = builtInsOnly;
}
void Support::SetMessageBoxHook(MessageBoxHook hook) {
    messageBoxHook_ = std::move(hook);
}

void Support::SetLogPath(std::string path) {
    logPath_ = std::move(path);
}

std::string Support::LogPath() {
    if (!logPath_.empty()) {
        return logPath_;
    }
    if (defaultLogPath_.empty()) {
        std::array<char, kPathBuffer> directory{};
        UtilGetPath(0, "LOCAL", directory.data(), kPathBuffer);
        defaultLogPath_ = std::string(directory.data()) + kLogFileName;
    }
    return defaultLogPath_;
}

template <typename Function>
Function Support::Host(HostOperation operation) {
    if (builtInsOnly_) {
        return nullptr;
    }
    return reinterpret_cast<Function>(host_->Find(operation));
}

// --- tqxLanguage ---------------------------------------------------------------------------------

int Support::LangLoadString(void* module, unsigned id, char* buffer, int bufferSize) {
    if (const auto host = Host<host::LangLoadStringFn>(HostOperation::LangLoadString)) {
        return host(module, id, buffer, bufferSize);
    }
    return builtin::LoadTranslatedString(module != nullptr ? module : module_, id, buffer,
                                         bufferSize);
}

void Support::LangTranslateDialog(WindowHandle dialog) {
    if (const auto host = Host<host::LangTranslateDialogFn>(HostOperation::LangTranslateDialog)) {
        host(dialog);
        return;
    }
    builtin::TranslateDialog(dialog);
}

void Support::LangBanner(WindowHandle banner) {
    if (const auto host = Host<host::LangBannerFn>(HostOperation::LangBanner)) {
        host(banner);
        return;
    }
    builtin::ApplyBannerLook(banner);
}

std::string Support::LoadString(unsigned id) {
    std::string text(kStringBuffer, '\0');
    const int length = LangLoadString(module_, id, text.data(), kStringBuffer);
    if (length <= 0) {
        return {};
    }
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

// --- tqxGenDlgs6 ---------------------------------------------------------------------------------

int Support::GenMessageBox(WindowHandle owner, const char* text, const char* caption,
                           unsigned style, int constant, int reserved1, int reserved2,
                           int reserved3) {
    if (messageBoxHook_) {
        return messageBoxHook_({owner, OrEmpty(text), OrEmpty(caption), style});
    }
    if (const auto host = Host<host::GenMessageBoxFn>(HostOperation::GenMessageBox)) {
        return host(owner, OrEmpty(text), OrEmpty(caption), style, constant, reserved1, reserved2,
                    reserved3);
    }
    if (!builtin::MessageBoxesSuppressed()) {
        if (const auto answer =
                builtin::ShowSystemMessageBox(owner, OrEmpty(text), OrEmpty(caption), style)) {
            return *answer;
        }
    }
    const int answer = builtin::DefaultButtonAnswer(style);
    const std::string line =
        builtin::DescribeUnshownMessageBox(OrEmpty(caption), OrEmpty(text), answer);
    UtilLogError(LogPath().c_str(), kApplicationName, line.c_str());
    return answer;
}

void Support::GenEditFilter(WindowHandle edit, int kind, int maxCharacters, int maxLength,
                            double minimum, double maximum, int option1, int option2) {
    if (const auto host = Host<host::GenEditFilterFn>(HostOperation::GenEditFilter)) {
        host(edit, kind, maxCharacters, maxLength, minimum, maximum, option1, option2);
        return;
    }
    builtin::ApplyEditFilter(edit, kind, maxCharacters, maxLength, minimum, maximum);
}

void* Support::GenWaitCursor(int reserved) {
    if (const auto host = Host<host::GenWaitCursorFn>(HostOperation::GenWaitCursor)) {
        return host(reserved);
    }
    return builtin::ShowWaitCursor();
}

// --- tqxHelp6 ------------------------------------------------------------------------------------

void Support::HelpShow(WindowHandle owner, int contextId) {
    if (const auto host = Host<host::HelpShowFn>(HostOperation::HelpShow)) {
        host(owner, contextId);
        return;
    }
    if (!builtin::OpenHelpTopic(module_, owner, contextId)) {
        const std::string text = "help topic " + std::to_string(contextId) + " requested";
        UtilLogError(LogPath().c_str(), kApplicationName, text.c_str());
    }
}

// --- tqxDBLib6, tqxMath6 -------------------------------------------------------------------------

int Support::DbSignificantDigits(double value) {
    if (const auto host = Host<host::DbSignificantDigitsFn>(HostOperation::DbSignificantDigits)) {
        return host(value);
    }
    return builtin::SignificantDigits(value);
}

double Support::MathRound(double value, int places) {
    if (const auto host = Host<host::MathRoundFn>(HostOperation::MathRound)) {
        return host(value, places);
    }
    return builtin::RoundToPlaces(value, places);
}

// --- tqxUtility6 ---------------------------------------------------------------------------------

void Support::UtilGetPath(int reserved, const char* location, char* buffer, int bufferSize) {
    if (const auto host = Host<host::UtilGetPathFn>(HostOperation::UtilGetPath)) {
        host(reserved, location, buffer, bufferSize);
        return;
    }
    if (buffer == nullptr || bufferSize <= 0) {
        return;
    }
    CopyTruncated(buffer, static_cast<std::size_t>(bufferSize),
                  builtin::LocationDirectory(OrEmpty(location)));
}

void Support::UtilGetIdentity(char* first, char* second) {
    if (const auto host = Host<host::UtilGetIdentityFn>(HostOperation::UtilGetIdentity)) {
        host(first, second);
        return;
    }
    builtin::FillIdentity(first, second);
}

int Support::UtilStartup() {
    if (const auto host = Host<host::UtilStartupFn>(HostOperation::UtilStartup)) {
        return host();
    }
    return 0;  // the built-in installation has no shared-configuration rule of its own
}

void Support::UtilLogError(const char* logPath, const char* application, const char* text) {
    if (const auto host = Host<host::UtilLogErrorFn>(HostOperation::UtilLogError)) {
        host(logPath, application, text);
        return;
    }
    try {
        const std::string path =
            (logPath != nullptr && logPath[0] != '\0') ? std::string(logPath) : LogPath();
        builtin::AppendLogLine(path, OrEmpty(application), OrEmpty(text));
    } catch (...) {
        // Logging never fails its caller.
    }
}

void Support::UtilTraceEntry(const char* application, const char* entry) {
    if (const auto host = Host<host::UtilTraceEntryFn>(HostOperation::UtilTraceEntry)) {
        host(application, entry);
        return;
    }
    if (!traceEnabled_) {
        return;
    }
    try {
        builtin::AppendLogLine(LogPath(), OrEmpty(application),
                               std::string("entry ") + OrEmpty(entry));
    } catch (...) {
        // Tracing never fails its caller.
    }
}

}  // namespace gage
