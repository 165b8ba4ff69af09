#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "support/builtin_paths.h"

namespace gage::builtin {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

struct PasswordEntry {
    std::string name;
    std::string home;
};

PasswordEntry CurrentUser() {
    std::vector<char> scratch(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, scratch.data(), scratch.size(), &found) != 0 ||
        found == nullptr) {
        return {};
    }
    return {found->pw_name != nullptr ? found->pw_name : "",
            found->pw_dir != nullptr ? found->pw_dir : ""};
}

std::string HomeDirectory() {
    std::string home = Variable("HOME");
    if (home.empty()) {
        home = CurrentUser().home;
    }
    if (home.empty()) {
        home = "/tmp";
    }
    return WithTrailingSeparator(home);
}

// $variable when set to an absolute path, else the home directory + fallback.
std::string XdgDirectory(const char* variable, const char* fallback) {
    const std::string value = Variable(variable);
    if (!value.empty() && value.front() == '/') {
        return WithTrailingSeparator(value);
    }
    return HomeDirectory() + fallback;
}

}  // namespace

bool IsPathSeparator(char c) {
    return c == '/';
}
char PathSeparator() {
    return '/';
}

std::string DefaultSharedDirectory() {
    constexpr const char* kSystemDirectory = "/etc/gageserver/";
    struct stat status {};
    if (::stat(kSystemDirectory, &status) == 0 && S_ISDIR(status.st_mode) &&
        ::access(kSystemDirectory, R_OK | X_OK) == 0) {
        return kSystemDirectory;
    }
    return XdgDirectory("XDG_DATA_HOME", ".local/share/") + "gageserver/";
}

std::string DefaultLocalDirectory() {
    return XdgDirectory("XDG_CONFIG_HOME", ".config/") + "gageserver/";
}

void CreateDirectoryTree(const std::string& directory) {
    for (std::size_t i = 1; i <= directory.size(); ++i) {
        if (i == directory.size() || directory[i] == '/') {
            const std::string prefix = directory.substr(0, i);
            ::mkdir(prefix.c_str(), 0755);  // an existing directory is fine
        }
    }
}

std::string LoginName() {
    std::string name = CurrentUser().name;
    if (name.empty()) {
        name = Variable("USER");
    }
    if (name.empty()) {
        name = Variable("LOGNAME");
    }
    return name;
}

std::string StationName() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) {
        return {};
    }
    return std::string(name.data());
}

}  // namespace gage::builtin
