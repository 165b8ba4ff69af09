#include "support/support.h"

#include <cstring>

// Minimal stand-ins; the host binding and the full built-ins replace these.

namespace gage {

struct Support::HostBindings {};

Support::Support(void* module) : module_(module) {}
Support::~Support() = default;

void Support::UseBuiltInsOnly(bool builtInsOnly) { builtInsOnly_ = builtInsOnly; }
void Support::SetMessageBoxHook(MessageBoxHook hook) { messageBoxHook_ = std::move(hook); }

int Support::LangLoadString(void*, unsigned, char* buffer, int bufferSize) {
    if (buffer != nullptr && bufferSize > 0) {
        buffer[0] = '\0';
    }
    return 0;
}
void Support::LangTranslateDialog(WindowHandle) {}
void Support::LangBanner(WindowHandle) {}
std::string Support::LoadString(unsigned) { return {}; }
int Support::GenMessageBox(WindowHandle owner, const char* text, const char* caption,
                           unsigned style, int, int, int, int) {
    if (messageBoxHook_) {
        return messageBoxHook_({owner, text ? text : "", caption ? caption : "", style});
    }
    return MB_RESULT_OK;
}
void Support::GenEditFilter(WindowHandle, int, int, int, double, double, int, int) {}
void* Support::GenWaitCursor(int) { return nullptr; }
void Support::HelpShow(WindowHandle, int) {}
int Support::DbSignificantDigits(double) { return 15; }
double Support::MathRound(double value, int) { return value; }
void Support::UtilGetPath(int, const char*, char* buffer, int bufferSize) {
    if (buffer != nullptr && bufferSize > 0) {
        buffer[0] = '\0';
    }
}
void Support::UtilGetIdentity(char*, char*) {}
int Support::UtilStartup() { return 0; }
void Support::UtilLogError(const char*, const char*, const char*) {}
void Support::UtilTraceEntry(const char*, const char*) {}

}  // namespace gage
