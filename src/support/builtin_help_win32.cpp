#include <windows.h>

#include <shellapi.h>

#include <array>
#include <string>

#include "support/builtin_help.h"

namespace gage::builtin {

namespace {

std::string ModuleDirectory(void* module) {
    std::array<char, MAX_PATH + 1> path{};
    const DWORD length =
        ::GetModuleFileNameA(static_cast<HMODULE>(module), path.data(), path.size());
    if (length == 0 || length >= path.size()) {
        return {};
    }
    std::string directory(path.data(), length);
    const std::size_t slash = directory.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
}

}  // namespace

bool OpenHelpTopic(void* module, WindowHandle owner, int contextId) {
    const std::string directory = ModuleDirectory(module);
    if (directory.empty()) {
        return false;
    }
    const std::string file = directory + kHelpFileName;
    const DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    // The HTML help viewer opens a topic by its map id; it runs on its own, nothing waits.
    const std::string arguments = contextId > 0
                                      ? "-mapid " + std::to_string(contextId) + " \"" + file + "\""
                                      : "\"" + file + "\"";
    HWND window = (owner != nullptr && ::IsWindow(owner)) ? owner : nullptr;
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(window, "open", "hh.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace gage::builtin
