#include <windows.h>

#include <shlobj.h>

#include <array>

#include "support/builtin_paths.h"

namespace gage::builtin {

namespace {

std::string Variable(const char* name) {
    std::array<char, MAX_PATH + 1> value{};
    const DWORD length = ::GetEnvironmentVariableA(name, value.data(), value.size());
    if (length == 0 || length >= value.size()) {
        return {};
    }
    return std::string(value.data(), length);
}

std::string ShellFolder(int folder) {
    std::array<char, MAX_PATH + 1> path{};
    if (FAILED(::SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path.data()))) {
        return {};
    }
    return std::string(path.data());
}

std::string TempDirectory() {
    std::array<char, MAX_PATH + 1> path{};
    const DWORD length = ::GetTempPathA(path.size(), path.data());
    if (length == 0 || length >= path.size()) {
        return "C:\\";
    }
    return std::string(path.data(), length);
}

std::string ApplicationDirectory(const char* variable, int folder) {
    std::string base = Variable(variable);
    if (base.empty()) {
        base = ShellFolder(folder);
    }
    if (base.empty()) {
        base = TempDirectory();
    }
    return WithTrailingSeparator(base) + "GageServer\\";
}

}  // namespace

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}
char PathSeparator() {
    return '\\';
}

std::string DefaultSharedDirectory() {
    return ApplicationDirectory("PROGRAMDATA", CSIDL_COMMON_APPDATA);
}

std::string DefaultLocalDirectory() {
    return ApplicationDirectory("LOCALAPPDATA", CSIDL_LOCAL_APPDATA);
}

void CreateDirectoryTree(const std::string& directory) {
    for (std::size_t i = 1; i <= directory.size(); ++i) {
        if (i == directory.size() || IsPathSeparator(directory[i])) {
            const std::string prefix = directory.substr(0, i);
            ::CreateDirectoryA(prefix.c_str(), nullptr);  // drives and existing ones just fail
        }
    }
}

std::string LoginName() {
    std::array<char, 257> name{};
    DWORD size = name.size();
    if (::GetUserNameA(name.data(), &size)) {
        return std::string(name.data());
    }
    return Variable("USERNAME");
}

std::string StationName() {
    std::array<char, MAX_COMPUTERNAME_LENGTH + 1> name{};
    DWORD size = name.size();
    if (::GetComputerNameA(name.data(), &size)) {
        return std::string(name.data(), size);
    }
    return Variable("COMPUTERNAME");
}

}  // namespace gage::builtin
