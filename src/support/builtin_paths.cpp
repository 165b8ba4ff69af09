#include "support/builtin_paths.h"

#include <cstdlib>

#include "support/fixed_string.h"

namespace gage::builtin {

namespace {

constexpr std::size_t kIdentityBuffer = 64;

std::string EnvironmentDirectory(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string WithTrailingSeparator(std::string directory) {
    if (!directory.empty() && !IsPathSeparator(directory.back())) {
        directory.push_back(PathSeparator());
    }
    return directory;
}

std::string LocationDirectory(std::string_view location) {
    std::string directory;
    if (EqualsIgnoreCase(location, "SHARED")) {
        directory = EnvironmentDirectory(kSharedDirectoryVariable);
        if (directory.empty()) {
            directory = DefaultSharedDirectory();
        }
    } else if (EqualsIgnoreCase(location, "LOCAL")) {
        directory = EnvironmentDirectory(kLocalDirectoryVariable);
        if (directory.empty()) {
            directory = DefaultLocalDirectory();
        }
    } else {
        return {};
    }
    directory = WithTrailingSeparator(std::move(directory));
    CreateDirectoryTree(directory);
    return directory;
}

void FillIdentity(char* first, char* second) {
    if (first != nullptr) {
        CopyTruncated(first, kIdentityBuffer, LoginName());
    }
    if (second != nullptr) {
        CopyTruncated(second, kIdentityBuffer, StationName());
    }
}

}  // namespace gage::builtin
