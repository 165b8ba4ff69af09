#include <windows.h>

#include <string>

#include "host/library_loader.h"

namespace gage::host {

bool PlatformHasExportOrdinals() {
    return true;
}

namespace {

std::string DescribeLastError(DWORD code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) {
        ::LocalFree(text);
    }
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.')) {
        result.pop_back();
    }
    return result.empty() ? "Windows error " + std::to_string(code) : result;
}

HMODULE AsModule(void* handle) {
    return static_cast<HMODULE>(handle);
}

}  // namespace

namespace detail {

void* OpenLibrary(const std::string& path, std::string& error) {
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "cannot load " + path + ": " + DescribeLastError(::GetLastError());
    }
    return module;
}

void CloseLibrary(void* handle) {
    if (handle != nullptr) {
        ::FreeLibrary(AsModule(handle));
    }
}

GenericProc FindByName(void* handle, const char* name) {
    return reinterpret_cast<GenericProc>(::GetProcAddress(AsModule(handle), name));
}

GenericProc FindByOrdinal(void* handle, int ordinal) {
    return reinterpret_cast<GenericProc>(
        ::GetProcAddress(AsModule(handle), MAKEINTRESOURCEA(ordinal)));
}

}  // namespace detail

}  // namespace gage::host
