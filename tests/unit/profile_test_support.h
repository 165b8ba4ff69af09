#pragma once
// A private temporary directory per test, removed afterwards, and the profile module bound to the
// conformance table's operations.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "config/profile.h"
#include "helpers/temporary_directory.h"
#include "unit/profile_conformance_cases.h"

namespace gage::profile_cases {

using test::TemporaryDirectory;

inline ProfileApi OurProfileApi() {
    ProfileApi api;
    api.getString = [](const std::string& path, const char* section, const char* key,
                       const char* defaultValue, char* buffer, std::size_t bufferSize) {
        return profile::GetString(path, section, key, defaultValue, buffer, bufferSize);
    };
    api.getInt = [](const std::string& path, const char* section, const char* key,
                    int defaultValue) { return profile::GetInt(path, section, key, defaultValue); };
    api.writeString = [](const std::string& path, const char* section, const char* key,
                         const char* value) {
        return profile::WriteString(path, section, key, value);
    };
    api.deleteKey = [](const std::string& path, const char* section, const char* key) {
        return profile::DeleteKey(path, section, key);
    };
    api.deleteSection = [](const std::string& path, const char* section) {
        return profile::DeleteSection(path, section);
    };
    return api;
}

}  // namespace gage::profile_cases
