#pragma once
// A private temporary directory per test, removed afterwards, and the profile module bound to the
// conformance table's operations.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

#include "config/profile.h"
#include "unit/profile_conformance_cases.h"

namespace gage::profile_cases {

class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        static std::atomic<unsigned> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        for (unsigned attempt = 0; attempt < 1000; ++attempt) {
            path_ =
                base / ("gage-profile-" +
                        std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                        std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt));
            std::error_code error;
            if (std::filesystem::create_directory(path_, error)) {
                return;
            }
        }
        ADD_FAILURE() << "no temporary directory";
    }
    ~TemporaryDirectory() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

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
